#include "app/DisplayOnly.h"
#include "app/StartOptions.h"
#include "app/TournamentApp.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("quorvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("quorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));

    // The command line is read before any window system is asked for, so
    // that --help, --version, a wrong option and the display without a
    // window all work where there is no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    const StartOptions options = ParseStartOptions(arguments, qEnvironmentVariable(kDatabaseVariable), error);
    if (!error.isEmpty()) {
        PrintError(error);
        return kCommandLineStatus;
    }
    switch (options.mode) {
    case StartOptions::Mode::Version:
        PrintOutput(StartVersionText());
        return 0;
    case StartOptions::Mode::Help: {
        QCoreApplication application(argc, argv);
        PrintOutput(StartHelpText());
        return 0;
    }
    case StartOptions::Mode::DisplayOnly: {
        QCoreApplication application(argc, argv);
        return RunDisplayOnly(
            options, [](const QString& line) { PrintOutput(line + QChar('\n')); }, &PrintError);
    }
    case StartOptions::Mode::Window:
        break;
    }
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));
    return CTournamentApp().Run(options);
}
