#pragma once
// The one process-wide database connection.
//
// The database is the SQLite file Orvex.mdb in the working directory,
// reached through Qt SQL's ODBC driver, unixODBC and the SQLite ODBC driver.
// Writes go through ExecuteSQL, reads through CRecordset; both take only a
// SqlStatement (src/db/Format.h). Before a statement runs, the layer makes
// sure that what reaches the driver is exactly what was built: the statement
// text must be ASCII (the driver manager narrows it to bytes), and every text
// is bound as a parameter, which the driver takes as UTF-16 whole. A
// statement that does not meet this throws DbError and runs no part of it.
// Every failing statement throws DbError carrying the driver's message; the
// handler guard of the dialogs reports it and abandons the action.

#include "db/Format.h"

#include <QString>

#include <stdexcept>

class QSqlError;
class QSqlQuery;

// The file of the program's data, in the working directory.
inline constexpr char kDatabaseFileName[] = "Orvex.mdb";

// The driver reads the file from its Database key; the busy timeout (in
// milliseconds) is how long a statement waits while another program is
// writing to the file before it fails.
inline constexpr char kConnectString[] = "DRIVER=SQLite3;Database=Orvex.mdb;Timeout=5000";

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, int code = 0);
    QString Message() const { return m_message; }
    // SQLite's result code of a failed statement ("file is not a database"
    // is 26); 0 when the failure did not come from the database.
    int Code() const { return m_code; }

private:
    QString m_message;
    int m_code = 0;
};

class CDatabase {
public:
    // Opens the connection; throws DbError when it cannot be opened.
    static void Open(const QString& connectString = QString::fromLatin1(kConnectString));
    static void Close();
    static bool IsOpen();

    // Runs one write statement.
    static void ExecuteSQL(const SqlStatement& statement);

    // Runs a statement and hands back its query, positioned before the first
    // row (for CRecordset).
    static QSqlQuery Run(const SqlStatement& statement);

    // The error a failed statement throws: the driver's text, after a
    // sentence that says what it means where the cause is known (another
    // program writing to the file, a read-only file).
    static DbError Failure(const QSqlError& error);
};

inline void ExecuteSQL(const SqlStatement& statement) { CDatabase::ExecuteSQL(statement); }

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
