#pragma once
// The one process-wide database connection.
//
// The database is the SQLite file Orvex.mdb in the working directory,
// reached through Qt SQL's ODBC driver, unixODBC and the SQLite ODBC driver.
// Writes go through ExecuteSQL, reads through CRecordset. Every failing
// statement throws DbError carrying the driver's message; the handler guard
// of the dialogs reports it and abandons the action.

#include <QString>

#include <stdexcept>

// The driver reads the file from its Database key; the busy timeout (in
// milliseconds) makes a statement wait while another program holds the file.
inline constexpr char kConnectString[] = "DRIVER=SQLite3;Database=Orvex.mdb;Timeout=5000";

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message);
    QString Message() const { return m_message; }

private:
    QString m_message;
};

class CDatabase {
public:
    // Opens the connection; throws DbError when it cannot be opened.
    static void Open(const QString& connectString = QString::fromLatin1(kConnectString));
    static void Close();
    static bool IsOpen();

    // Runs one write statement.
    static void ExecuteSQL(const QString& statement);

    // Name of the Qt SQL connection (for CRecordset).
    static QString ConnectionName();
};

inline void ExecuteSQL(const QString& statement) { CDatabase::ExecuteSQL(statement); }

// Scope guard for a user action that writes more than one statement: the
// statements commit together when Commit() is called, and are rolled back
// when the guard is left without it (a statement threw). Guards nest; only
// the outermost one talks to the database, and any inner guard left without
// Commit() makes the whole action roll back.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

private:
    bool m_committed = false;
};
