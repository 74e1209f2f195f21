#pragma once
// Start-up and shutdown: the database connection around the main window.

#include <QString>
#include <QStringList>

#include <optional>

// The environment variable that may name the shared database instead of
// --database.
inline constexpr char kDatabaseVariable[] = "QUORVANE_DATABASE";

// The connect string of the shared database the program was started on: the
// value of --database (as "--database <text>" or "--database=<text>"), else
// a non-empty environmentValue; none for the database file Orvex.mdb. Any
// other argument, or --database without a value, sets refusal to the text to
// show.
std::optional<QString> DatabaseNamedAtStart(const QStringList& arguments, const QString& environmentValue,
                                            QString& refusal);

class CTournamentApp {
public:
    // Opens the database the start names (arguments after the program's name,
    // and the environment variable), runs the main window and closes the
    // database. The file Orvex.mdb is held by one window at a time (the lock
    // that keeps a second window off it, its tables created in a new file);
    // a database on a PostgreSQL server is shared by the windows of several
    // desks. Returns the process exit status: 1 when the program could not
    // start (a wrong argument or connect string, the database in use by
    // another window, missing, unreachable, refused, damaged or incomplete),
    // else 0.
    int Run(const QStringList& arguments = {});
};
