#include "app/DisplayOnly.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "venue/VenueServer.h"

#include <QDir>
#include <QFileInfo>

#include <csignal>

#include <pthread.h>

namespace {

// SIGINT and SIGTERM are taken by sigwait, not by a handler: they are
// blocked before any thread of the server starts, so every thread inherits
// the mask and the signal waits for the main thread.
sigset_t StopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

void WaitForStopSignal()
{
    const sigset_t signals = StopSignals();
    int signal = 0;
    while (sigwait(&signals, &signal) != 0) {
    }
}

std::vector<StoredTournament> StoredTournaments()
{
    std::vector<StoredTournament> stored;
    for (CRecordset rs(Sql("select id, name from Tournament order by name")); !rs.IsEOF(); rs.MoveNext())
        stored.push_back({rs.GetInt(0), rs.GetString(1)});
    return stored;
}

QString NameList(const std::vector<StoredTournament>& stored)
{
    QStringList names;
    for (const StoredTournament& t : stored) names << Format("\"%s\"", t.name);
    return names.join(QStringLiteral(", "));
}

}  // namespace

StoredTournament ChooseDisplayedTournament(const QString& named, QString& refusal)
{
    refusal.clear();
    const std::vector<StoredTournament> stored = StoredTournaments();
    if (!named.isEmpty()) {
        CRecordset rs(Sql("select id, name from Tournament where name = '%s'", named));
        if (!rs.IsEOF()) return {rs.GetInt(0), rs.GetString(1)};
        refusal = stored.empty() ? Format("There is no tournament \"%s\": the database holds none.", named)
                                 : Format("There is no tournament \"%s\". The database holds %s.", named,
                                          NameList(stored));
        return {};
    }
    if (stored.size() == 1) return stored.front();
    refusal = stored.empty() ? QStringLiteral("The database holds no tournament to show.")
                             : Format("The database holds %d tournaments: %s. Name the one to show with "
                                      "--tournament \"NAME\".",
                                      int(stored.size()), NameList(stored));
    return {};
}

int RunDisplayOnly(const StartOptions& options, const std::function<void(const QString&)>& out,
                   const std::function<void(const QString&)>& err, const std::function<void()>& wait)
{
    const sigset_t signals = StopSignals();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &signals, &previous);
    auto fail = [&](const QString& why) {
        err(OneLine(why));
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return 1;
    };

    VenueServerSettings settings;
    if (!options.port.isEmpty())
        if (const QString problem = VenuePortProblem(options.port, settings.port); !problem.isEmpty())
            return fail(problem);
    if (options.listen == QLatin1String("all"))
        settings.everyNetwork = true;
    else if (!options.listen.isEmpty() && options.listen != QLatin1String("local"))
        return fail(Format("--listen takes \"local\" (this computer only) or \"all\" (every network), not \"%s\".",
                           options.listen));
    if (const QString problem = EnterWorkFolder(options); !problem.isEmpty()) return fail(problem);

    QString connectString = QString::fromLatin1(kConnectString);
    if (options.database) {
        connectString = *options.database;
    } else if (!QFileInfo::exists(QString::fromLatin1(kDatabaseFileName))) {
        return fail(Format("There is no tournament database %s in %s.", kDatabaseFileName,
                           QDir::toNativeSeparators(QDir::currentPath())));
    }

    StoredTournament shown;
    QString refusal;
    try {
        OpenVenueConnection(connectString);
        shown = ChooseDisplayedTournament(options.tournament, refusal);
        CDatabase::Close();
    } catch (const VenueServerError& failure) {
        return fail(failure.Message());
    } catch (const DbError& failure) {
        CDatabase::Close();
        return fail(failure.Message());
    }
    if (shown.id < 0) return fail(refusal);

    try {
        VenueServer server(connectString, shown.id, settings);
        out(Format("The venue display of \"%s\" serves at %s", shown.name, server.MainAddress()));
        for (const QString& address : server.Addresses().mid(1)) out(Format("and at %s", address));
        if (wait)
            wait();
        else
            WaitForStopSignal();
    } catch (const VenueServerError& failure) {
        return fail(failure.Message());
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return 0;
}
