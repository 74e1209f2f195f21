#pragma once
// The failure every statement of the store and every reading of a connect
// string throws (Database.h, StoreAddress.h).

#include <QString>

#include <stdexcept>

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, int code = 0, QString state = {});
    QString Message() const { return m_message; }
    // SQLite's result code of a failed statement ("file is not a database"
    // is 26); 0 when the failure did not come from the database.
    int Code() const { return m_code; }
    // The SQLSTATE of a failure on the shared store; empty otherwise.
    QString State() const { return m_state; }
    // The server refused a transaction because another one changed the same
    // rows at the same time; run again, it may well succeed.
    bool IsSerializationFailure() const;
    // The connection to the server was lost.
    bool IsConnectionLost() const;

private:
    QString m_message;
    int m_code = 0;
    QString m_state;
};

// Whether a failure's SQLSTATE or the driver's text says that the
// connection to the server is gone.
bool IsConnectionLostState(const QString& state, const QString& text);
