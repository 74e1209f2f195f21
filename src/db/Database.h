#pragma once
// The database connection of each thread that works on the store.
//
// The default store is the SQLite file Orvex.mdb in the working directory,
// reached through Qt SQL's ODBC driver, unixODBC and the SQLite ODBC driver.
// A connect string naming the PostgreSQL ODBC driver opens a database on a
// PostgreSQL server instead, shared by several desks (src/db/StoreAddress.h).
// The statements are the same for both; where the stores differ the layer
// rewrites them (src/db/ServerDialect.h).
//
// Writes go through ExecuteSQL, reads through CRecordset; both take only a
// SqlStatement (src/db/Format.h). Before a statement runs, the layer makes
// sure that what reaches the driver is exactly what was built: the statement
// text must be ASCII (the driver manager narrows it to bytes), and every text
// is bound as a parameter, which the driver takes as UTF-16 whole. A
// statement that does not meet this throws DbError and runs no part of it.
// Every failing statement throws DbError carrying the driver's message; the
// handler guard of the dialogs reports it and abandons the action.
//
// On the shared store every transaction is serializable: when two desks
// change the same rows at once, the server refuses one of them, and the layer
// runs it again (RunAtomically). A lost connection fails the statement with a
// message naming the server; the action's transaction is gone with it, and
// the next action connects again.
//
// The program's dialogs all work on the main thread's connection. A thread
// of its own (the venue display's) opens a connection of its own with
// CDatabase::Open, on the same store; everything here then works on the
// calling thread's connection: its statements, transactions and store.

#include "db/DbError.h"
#include "db/Format.h"
#include "db/StoreAddress.h"

#include <QString>

#include <functional>

class QSqlError;
class QSqlQuery;

// The driver reads the file from its Database key; the busy timeout (in
// milliseconds) is how long a statement waits while another program is
// writing to the file before it fails.
inline constexpr char kConnectString[] = "DRIVER=SQLite3;Database=Orvex.mdb;Timeout=5000";

// How often an action the server refused for a concurrent change is run
// again before its failure is reported.
inline constexpr int kSerializationRetries = 3;

class CDatabase {
public:
    // Opens the connection; throws DbError when it cannot be opened (the
    // text then names the store and the driver's reason, never a password).
    static void Open(const QString& connectString = QString::fromLatin1(kConnectString));
    static void Close();
    static bool IsOpen();

    // The store the connection was opened on.
    static const StoreAddress& Store();
    static StoreKind Kind() { return Store().kind; }

    // Runs one write statement.
    static void ExecuteSQL(const SqlStatement& statement);

    // Runs a read statement and hands back its query, positioned before the
    // first row (for CRecordset).
    static QSqlQuery Run(const SqlStatement& statement);

    // The error a failed statement throws: the driver's text, after a
    // sentence that says what it means where the cause is known (another
    // program writing to the file, a read-only file, a lost server).
    static DbError Failure(const QSqlError& error, const QString& state = {});

    // A mark that changes whenever another connection has committed a change
    // to the store since it was last taken on this connection: SQLite's data
    // version of the file, the server's transaction snapshot on PostgreSQL
    // (which any committed change moves on). Cheap: no table is read.
    static QString ChangeMark();

    // The id the store gave the row the statement inserts ("insert into
    // Player (first, last, email) values (...)" into a table with an id).
    static int InsertReturningId(const SqlStatement& insert);
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

    // True while a transaction is open.
    static bool Active();

private:
    bool m_committed = false;
};

// Runs action in a Transaction and commits it. When the shared store refuses
// the transaction for a concurrent change at another desk, it is rolled
// back and action runs again from the start (at most kSerializationRetries
// times more), so action must read what it decides on inside itself and
// leave nothing behind outside the database until it returns. Inside
// another transaction it simply joins that one, whose own runner retries.
void RunAtomically(const std::function<void()>& action);
