#include "app/TournamentApp.h"

#include "app/MainDialog.h"
#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "ui/Dialog.h"
#include "ui/Messages.h"
#include "ui/UiServices.h"

#include <QDir>
#include <QLockFile>

namespace {

QString LockFileName() { return QString::fromLatin1(kDatabaseFileName) + QStringLiteral(".lock"); }

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
        ShowMessage(Format("The tournament database %s is already open in another %s window.", kDatabaseFileName,
                           kAppName),
                    kAppName, MsgIcon::Stop);
    else
        ShowMessage(Format("The lock file %s cannot be created in %s, so the tournament database cannot be opened "
                           "safely.",
                           LockFileName(), QDir::toNativeSeparators(folder)),
                    kAppName, MsgIcon::Stop);
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
    if (!CDialog::Guarded([&] { OpenServerDatabase(connectString); })) {
        CDatabase::Close();
        return 1;
    }
    return RunMainWindow();
}

}  // namespace

std::optional<QString> DatabaseNamedAtStart(const QStringList& arguments, const QString& environmentValue,
                                            QString& refusal)
{
    static const QString option = QStringLiteral("--database");
    std::optional<QString> named;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == option && i + 1 < arguments.size()) {
            named = arguments[++i];
        } else if (argument.startsWith(option + QChar('='))) {
            named = argument.mid(option.size() + 1);
        } else if (argument == option) {
            refusal = QStringLiteral("--database needs the ODBC connect string of a PostgreSQL database, as in\n"
                                     "--database \"DRIVER={PostgreSQL Unicode};Server=...;Port=...;Database=...;"
                                     "Uid=...;Pwd=...\"");
            return {};
        } else {
            refusal = Format("The program does not know the argument \"%s\". It takes only --database with the ODBC "
                             "connect string of a PostgreSQL database; without it, it works on %s in the folder it "
                             "is started in.",
                             WithoutPassword(argument, argument), kDatabaseFileName);
            return {};
        }
        if (named->trimmed().isEmpty()) {
            refusal = QStringLiteral("--database was given an empty connect string.");
            return {};
        }
    }
    if (!named && !environmentValue.trimmed().isEmpty()) named = environmentValue;
    return named;
}

int CTournamentApp::Run(const QStringList& arguments)
{
    QString refusal;
    const std::optional<QString> named =
        DatabaseNamedAtStart(arguments, qEnvironmentVariable(kDatabaseVariable), refusal);
    if (!refusal.isEmpty()) {
        ShowMessage(refusal, kAppName, MsgIcon::Stop);
        return 1;
    }
    if (named) return RunOnServer(*named);

    QLockFile lock(LockFileName());
    if (!TakeInstanceLock(lock)) return 1;
    DatabaseAccess access = DatabaseAccess::ReadWrite;
    if (!CDialog::Guarded([&access] { access = OpenTournamentDatabase(); })) {
        CDatabase::Close();
        return 1;
    }
    if (access == DatabaseAccess::ReadOnly) ShowMessage(ReadOnlyDatabaseWarning(), kAppName, MsgIcon::Exclamation);
    return RunMainWindow();
}
