#pragma once
// The venue display's web server: the read-only pages of one tournament
// (VenuePages.h) for the players' phones and the projector in the room.
//
// GNU libmicrohttpd serves them on threads of its own, with a limit on
// connections in all and from one address, a time-out for clients that stall
// and a memory limit for over-long requests. The pages are computed on one
// further thread of the server's, on a database connection of its own to
// the store the program works on, opened read-only: the dialogs on the main
// thread never wait for a page, and a game finished at any desk shows on the
// next load. A page is computed again only when the store has changed since
// (SQLite's data version of the file, the server's transaction snapshot on
// PostgreSQL); until then it is served from memory.

#include "venue/VenueConnection.h"  // VenueServerError, OpenVenueConnection

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// How the server listens and what the projector does.
struct VenueServerSettings {
    int port = 8080;  // 0: any free port, which Port() then tells
    // Every network of this computer, so phones in the room reach it; else
    // this computer only.
    bool everyNetwork = false;
    int secondsPerScreen = 20;
};

inline constexpr int kDefaultVenuePort = 8080;
inline constexpr int kMinSecondsPerScreen = 5;
inline constexpr int kMaxSecondsPerScreen = 300;
inline constexpr int kDefaultSecondsPerScreen = 20;

// What a page request was answered with, for the tests and the benchmark.
struct VenueServerCounts {
    long long requests = 0;   // answered by the page thread
    long long computed = 0;   // pages computed (the others came from memory)
    long long storeReads = 0; // events read from the store
};

class VenueServer {
public:
    // Starts serving tournamentID of the store connectString names (the
    // program's own: CDatabase::Store().connectString). Throws
    // VenueServerError when the port cannot be listened on or the store
    // cannot be opened; nothing is left running then.
    VenueServer(const QString& connectString, int tournamentID, const VenueServerSettings& settings);
    // Stops serving: open connections are closed, the port is free again.
    ~VenueServer();
    VenueServer(const VenueServer&) = delete;
    VenueServer& operator=(const VenueServer&) = delete;

    VenueServerSettings Settings() const;
    int Port() const;
    // The address phones are given: this computer's address on its network
    // when the server listens on every network, else 127.0.0.1.
    QString MainAddress() const;
    // Every address the server answers on, the main one first.
    QStringList Addresses() const;

    // The tournament the pages show; -1 shows none.
    void ShowTournament(int tournamentID);
    void SetSecondsPerScreen(int seconds);

    VenueServerCounts Counts() const;

    class Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

// The text the server's addresses are given in: "http://HOST:PORT/".
QString VenueAddress(const QString& host, int port);

// Makes the calling thread one of the venue display's: it runs at a lower
// priority than the program's window, so that under a room's load the
// director's result entry is never kept waiting for the processor.
void GiveWayToTheWindow();

// The port a director typed: a whole number from 1 to 65535. Returns why
// it is no port (empty when it is one) and sets port.
QString VenuePortProblem(const QString& text, int& port);
