#pragma once
// The command line of the program:
//
//   quorvane [FOLDER] [--documents] [--database CONNECT]
//   quorvane --display-only [--tournament NAME] [--port N] [--listen local|all]
//            [--database CONNECT] [FOLDER]
//   quorvane --help | --version
//
// Without a folder the program works on Orvex.mdb in the folder it is
// started in; FOLDER or --documents (the folder "Quorvane" in the user's
// documents folder, as the menu entry starts it) names another.
// --database (or the environment variable QUORVANE_DATABASE) names a shared
// PostgreSQL database instead. --display-only serves the venue display's
// pages without a window until the program is stopped.

#include <QString>
#include <QStringList>

#include <optional>

// The environment variable that may name the shared database instead of
// --database.
inline constexpr char kDatabaseVariable[] = "QUORVANE_DATABASE";

// The exit status of a command line the program does not understand.
inline constexpr int kCommandLineStatus = 2;

struct StartOptions {
    enum class Mode { Window, DisplayOnly, Help, Version };
    Mode mode = Mode::Window;
    QString folder;  // FOLDER; empty for the folder the program is started in
    bool documents = false;
    // The connect string of a shared database: --database, else the
    // environment's; none for the file Orvex.mdb.
    std::optional<QString> database;
    // --display-only: the tournament by name (empty: the only one), the
    // port and the networks, as typed (checked when the display starts).
    QString tournament;
    QString port;
    QString listen;
};

// The options of a command line (the arguments after the program's name)
// and the value of QUORVANE_DATABASE. An option the program does not know, a
// missing or empty value, two folders, or an option of --display-only
// without it set error to the one line to print (exit status 2).
StartOptions ParseStartOptions(const QStringList& arguments, const QString& environmentDatabase, QString& error);

// The text --help prints (needs the application object) and --version's:
// "quorvane 3.12.19".
QString StartHelpText();
QString StartVersionText();

// The folder the program works in: FOLDER, or the folder "Quorvane" in the
// documents folder; empty for the folder it is started in.
QString WorkFolderOf(const StartOptions& options);

// Makes the folder the options name the working folder. For the window it
// is created when missing and must be writable; for the display only it must
// exist. Returns why it cannot be, as one sentence naming the folder; empty
// when it is the working folder now (or none was named).
QString EnterWorkFolder(const StartOptions& options);

// A message as one line for standard error: its lines joined by blanks.
QString OneLine(const QString& message);

// Writes "quorvane: " and the message as one line to standard error, and
// text as it stands to standard output.
void PrintError(const QString& message);
void PrintOutput(const QString& text);
