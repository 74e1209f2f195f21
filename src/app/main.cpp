#include "app/TournamentApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvane"));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));
    CTournamentApp app;
    return app.Run(QApplication::arguments().mid(1));
}
