#pragma once
// A fresh database of the program for one test or benchmark, opened as the
// program's connection with its tables created.
//
// The store under test is the file Orvex.mdb in the working directory,
// unless QUORVANE_TEST_STORE is "postgres": then it is a new database on the
// PostgreSQL server whose "postgres" database QUORVANE_TEST_POSTGRES names
// (tools/with-postgres starts one), dropped again afterwards. A server run
// without a server fails; it never falls back to the file.

#include <QString>

class ScratchStore {
public:
    // Opened, with the program's tables; or, for start-up tests, an empty
    // database nobody has opened (on the file: nothing yet).
    enum class Start { Open, Empty };

    explicit ScratchStore(Start start = Start::Open);
    ~ScratchStore();
    ScratchStore(const ScratchStore&) = delete;
    ScratchStore& operator=(const ScratchStore&) = delete;

    // True when the store under test is the PostgreSQL server.
    static bool OnServer();
    // The connect string of the server's "postgres" database; throws
    // std::runtime_error when there is no server to test on.
    static QString ServerAdminConnectString();

    // The connect string the program's connection was opened with.
    const QString& ConnectString() const { return m_connectString; }

    // A statement on the server's "postgres" database as its superuser,
    // outside the program's connection (to end another connection, say).
    static void RunAsServerAdmin(const QString& statement);

    // Ends the server connection of the given backend process (the
    // program's: "select pg_backend_pid()"), as a server stopped or a network
    // cut would, and returns when it has ended.
    static void EndServerConnection(int backendPid);

private:
    QString m_database;  // on the server; empty for the file
    QString m_connectString;
};
