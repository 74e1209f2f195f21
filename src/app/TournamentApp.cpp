#include "app/TournamentApp.h"

#include "app/MainDialog.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "ui/Messages.h"
#include "ui/UiServices.h"

#include <QDir>
#include <QLockFile>

#include <exception>
#include <utility>

namespace {

QString LockFileName() { return QString::fromLatin1(kDatabaseFileName) + QStringLiteral(".lock"); }

// A start-up failure: in a box for the director, and on standard error for
// a terminal or a log.
void ReportStartFailure(const QString& text)
{
    PrintError(text);
    ShowMessage(text, kAppName, MsgIcon::Stop);
}

// Opens the database; a failure is reported as start-up failures are.
template <class Open>
bool OpenReported(Open&& open)
{
    try {
        std::forward<Open>(open)();
        return true;
    } catch (const DbError& failure) {
        CDatabase::Close();
        ReportStartFailure(failure.Message());
    } catch (const std::exception& failure) {
        CDatabase::Close();
        ReportStartFailure(QString::fromUtf8(failure.what()));
    }
    return false;
}

// True when this window may work on the database: no other window of the
// program holds it. A lock whose owner process is gone (a program that
// crashed) is stale and taken over; a live owner's lock never goes stale
// with age. In a read-only folder nothing can be written, by this window or
// any other, so the database opens read-only without a lock.
bool TakeInstanceLock(QLockFile& lock)
{
    const QString folder = QDir::currentPath();
    if (IsWriteProtected(folder)) return true;
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) return true;
    if (lock.error() == QLockFile::LockFailedError)
        ReportStartFailure(
            Format("The tournament database %s is already open in another %s window.", kDatabaseFileName, kAppName));
    else
        ReportStartFailure(Format("The lock file %s cannot be created in %s, so the tournament database cannot be "
                                  "opened safely.",
                                  LockFileName(), QDir::toNativeSeparators(folder)));
    return false;
}

int RunMainWindow()
{
    {
        CMainDialog mainDialog;
        mainDialog.DoModal();
    }
    CDatabase::Close();
    return 0;
}

// Several desks share a server's database, so no lock keeps them apart: each
// change is a transaction of its own on the server.
int RunOnServer(const QString& connectString)
{
    if (!OpenReported([&] { OpenServerDatabase(connectString); })) return 1;
    return RunMainWindow();
}

}  // namespace

int CTournamentApp::Run(const QStringList& arguments)
{
    QString error;
    const StartOptions options = ParseStartOptions(arguments, qEnvironmentVariable(kDatabaseVariable), error);
    if (!error.isEmpty()) {
        PrintError(error);
        return kCommandLineStatus;
    }
    return Run(options);
}

int CTournamentApp::Run(const StartOptions& options)
{
    if (const QString problem = EnterWorkFolder(options); !problem.isEmpty()) {
        ReportStartFailure(problem);
        return 1;
    }
    if (options.database) return RunOnServer(*options.database);

    QLockFile lock(LockFileName());
    if (!TakeInstanceLock(lock)) return 1;
    DatabaseAccess access = DatabaseAccess::ReadWrite;
    if (!OpenReported([&access] { access = OpenTournamentDatabase(); })) return 1;
    if (access == DatabaseAccess::ReadOnly) ShowMessage(ReadOnlyDatabaseWarning(), kAppName, MsgIcon::Exclamation);
    return RunMainWindow();
}
