#pragma once
// Start-up and shutdown: the database connection around the main window.

class CTournamentApp {
public:
    // Opens the database (creating its tables in a new file), runs the main
    // window and closes the database. Returns the process exit status:
    // non-zero when the database could not be opened.
    int Run();
};
