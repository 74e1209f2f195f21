#pragma once
// A second connection to the database under test, as another program on
// the file, or another desk on the shared database, has: its statements run
// outside the program's connection and transactions, exactly as written.

#include <QString>

class ScratchStore;

class SecondDesk {
public:
    // On the file, a statement waits at most 200 ms for the file to be free.
    explicit SecondDesk(const ScratchStore& store);
    ~SecondDesk();
    SecondDesk(const SecondDesk&) = delete;
    SecondDesk& operator=(const SecondDesk&) = delete;

    // Runs a statement; false when it failed (LastError says why).
    bool Write(const QString& statement);
    // Column 0 of the first row, or -1.
    int Int(const QString& statement);
    bool Begin();
    bool Commit();
    QString LastError() const { return m_lastError; }

private:
    QString m_name;
    QString m_lastError;
};
