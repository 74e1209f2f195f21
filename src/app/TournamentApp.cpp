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

}  // namespace

int CTournamentApp::Run()
{
    QLockFile lock(LockFileName());
    if (!TakeInstanceLock(lock)) return 1;
    DatabaseAccess access = DatabaseAccess::ReadWrite;
    if (!CDialog::Guarded([&access] { access = OpenTournamentDatabase(); })) {
        CDatabase::Close();
        return 1;
    }
    if (access == DatabaseAccess::ReadOnly) ShowMessage(ReadOnlyDatabaseWarning(), kAppName, MsgIcon::Exclamation);
    {
        CMainDialog mainDialog;
        mainDialog.DoModal();
    }
    CDatabase::Close();
    return 0;
}
