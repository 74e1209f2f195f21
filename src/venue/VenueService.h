#pragma once
// The desk program's venue display: the one server, started and stopped from
// the Venue Display dialog, running on after the dialog has closed until it
// is stopped or the program ends. The main window shows whether it runs.

#include "venue/VenueServer.h"

#include <QObject>

#include <memory>

class CVenueService : public QObject {
    Q_OBJECT
public:
    explicit CVenueService(QObject* parent = nullptr);
    ~CVenueService() override;

    // Starts serving the tournament from the program's store. A server that
    // runs already is replaced once the new one has started. Throws
    // VenueServerError (a port in use, say) and then changes nothing.
    void Start(int tournamentID, const VenueServerSettings& settings);
    void Stop();

    // The server while it runs; none when it is stopped.
    const VenueServer* Running() const { return m_server.get(); }

    // The main window opened another tournament (-1: none).
    void ShowTournament(int tournamentID);
    void SetSecondsPerScreen(int seconds);

Q_SIGNALS:
    // Started or stopped.
    void StateChanged();

private:
    std::unique_ptr<VenueServer> m_server;
};

// The settings of the last start, kept for the next (QSettings); the
// defaults for a first start.
VenueServerSettings LoadVenueSettings();
void SaveVenueSettings(const VenueServerSettings& settings);
