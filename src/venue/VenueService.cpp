#include "venue/VenueService.h"

#include "db/Database.h"

#include <QSettings>

#include <algorithm>

namespace {

QString Key(const char* name) { return QStringLiteral("venue/") + QString::fromLatin1(name); }

}  // namespace

CVenueService::CVenueService(QObject* parent) : QObject(parent) {}

CVenueService::~CVenueService() = default;

void CVenueService::Start(int tournamentID, const VenueServerSettings& settings)
{
    // A server that cannot start changes nothing: one that runs goes on.
    auto server = std::make_unique<VenueServer>(CDatabase::Store().connectString, tournamentID, settings);
    m_server = std::move(server);
    Q_EMIT StateChanged();
}

void CVenueService::Stop()
{
    if (!m_server) return;
    m_server.reset();
    Q_EMIT StateChanged();
}

void CVenueService::ShowTournament(int tournamentID)
{
    if (m_server) m_server->ShowTournament(tournamentID);
}

void CVenueService::SetSecondsPerScreen(int seconds)
{
    if (m_server) m_server->SetSecondsPerScreen(seconds);
}

VenueServerSettings LoadVenueSettings()
{
    const QSettings stored;
    VenueServerSettings settings;
    const int port = stored.value(Key("port"), kDefaultVenuePort).toInt();
    settings.port = port >= 1 && port <= 65535 ? port : kDefaultVenuePort;
    settings.everyNetwork = stored.value(Key("everyNetwork"), false).toBool();
    settings.secondsPerScreen = std::clamp(stored.value(Key("secondsPerScreen"), kDefaultSecondsPerScreen).toInt(),
                                           kMinSecondsPerScreen, kMaxSecondsPerScreen);
    return settings;
}

void SaveVenueSettings(const VenueServerSettings& settings)
{
    QSettings stored;
    stored.setValue(Key("port"), settings.port);
    stored.setValue(Key("everyNetwork"), settings.everyNetwork);
    stored.setValue(Key("secondsPerScreen"), settings.secondsPerScreen);
}
