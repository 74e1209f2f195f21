#pragma once
// The tournament database as the program finds it at start-up: the file
// Orvex.mdb, or a database on a PostgreSQL server.

#include <QString>

enum class DatabaseAccess { ReadWrite, ReadOnly };

// True when nothing may be written at path: the current user may not, or the
// file or folder is marked read-only (no one has write permission), which
// the program honours even for an administrator the system would let write.
bool IsWriteProtected(const QString& path);

// Opens Orvex.mdb in the working directory for the program, creating the
// tables in a new file. Throws DbError with the text to show when the
// program cannot work on it: the file cannot be opened (a folder, permission
// denied, not a database, damaged) or holds only some of the program's
// tables (the file is left untouched). A write-protected file (or folder)
// opens read-only: the connection then refuses every write.
DatabaseAccess OpenTournamentDatabase();

// Opens the PostgreSQL database a connect string names, creating the tables
// in an empty one. Throws DbError with the text to show (naming the server
// and what is wrong, never the password) when the connect string is no
// connect string, the driver is missing, the server cannot be reached or
// refuses the user, or the database holds only some of the tables (it is
// then left untouched).
void OpenServerDatabase(const QString& connectString);

// The warning shown once when the database opened read-only.
QString ReadOnlyDatabaseWarning();
