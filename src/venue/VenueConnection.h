#pragma once
// The venue display's own connection to the store the program works on, and
// the failure the venue display reports when it cannot start or read.

#include <QString>

#include <stdexcept>

// Why the server could not start, as a message for the director (naming
// the port that is taken, or the store that cannot be read).
class VenueServerError : public std::runtime_error {
public:
    explicit VenueServerError(const QString& message);
    QString Message() const { return m_message; }

private:
    QString m_message;
};

// Opens the calling thread's connection to the store as the venue's pages
// read it: read-only (the file is never created, nothing is ever written),
// on a store that holds the program's tables. Throws VenueServerError
// saying why the store cannot be read; no connection is left open then.
void OpenVenueConnection(const QString& connectString);
