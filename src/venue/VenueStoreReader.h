#pragma once
// The venue server's reading of the store: one thread with a database
// connection of its own keeps the event of the tournament shown as the
// store holds it now, and reads it again only when the store has changed.
//
// Whether it has changed is asked after the request for the event came in,
// so that a game finished at any desk shows on the next load. Many requests
// that come in together share one question. On the file the question is
// answered by SQLite's change counter in the file's header, which any
// thread may read without a connection; the reading thread is asked only
// when it has moved on. On PostgreSQL the reading thread asks the server.

#include "venue/VenueEvent.h"

#include <QString>

#include <memory>

// The event as the store held it at one moment.
struct VenueSnapshot {
    QString mark;  // the store's change mark it was read at
    int tournamentID = -1;
    // None when the store holds no such tournament.
    std::shared_ptr<const VenueEvent> event;
};

class VenueStoreReader {
public:
    // Starts the reading thread on its connection to the store; throws
    // VenueServerError saying why the store cannot be read.
    explicit VenueStoreReader(const QString& connectString);
    // Stops the thread once every request waiting for it is answered.
    ~VenueStoreReader();
    VenueStoreReader(const VenueStoreReader&) = delete;
    VenueStoreReader& operator=(const VenueStoreReader&) = delete;

    // The tournament's event as the store holds it now; none when the store
    // cannot be read just now (another desk holds it locked too long, the
    // server's connection is lost), which the next call tries again.
    std::shared_ptr<const VenueSnapshot> Now(int tournamentID);

    // Events read from the store so far.
    long long Reads() const;

    class Thread;

private:
    std::unique_ptr<Thread> m_thread;
};
