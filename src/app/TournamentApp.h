#pragma once
// Start-up and shutdown: the database connection around the main window.

#include "app/StartOptions.h"

#include <QStringList>

class CTournamentApp {
public:
    // Enters the folder the options name, opens the database they name, runs
    // the main window and closes the database. The file Orvex.mdb is held by
    // one window at a time (the lock that keeps a second window off it, its
    // tables created in a new file); a database on a PostgreSQL server is
    // shared by the windows of several desks. Every failure to start is
    // shown in a message box and written as one line to standard error.
    // Returns the process exit status: 1 when the program could not start
    // (a folder that cannot be used, a wrong connect string, the database in
    // use by another window, missing, unreachable, refused, damaged or
    // incomplete), else 0.
    int Run(const StartOptions& options);

    // Runs with the options of a command line (the arguments after the
    // program's name) and the environment's QUORVANE_DATABASE; a command line
    // the program does not understand is one line on standard error and
    // status 2.
    int Run(const QStringList& arguments = {});
};
