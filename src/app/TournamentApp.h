#pragma once
// Start-up and shutdown: the database connection around the main window.

class CTournamentApp {
public:
    // Takes the lock that keeps a second window off the database, opens the
    // database (creating its tables in a new file), runs the main window and
    // closes the database. Returns the process exit status: 1 when the
    // program could not start (the database is in use by another window, or
    // cannot be opened, is damaged or incomplete), else 0.
    int Run();
};
