#include "db/DatabaseFile.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// SQLite's result codes for a file that is damaged or is no database at all.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

// The most lines of an integrity report a message shows.
constexpr int kDamageLinesShown = 5;

QString Folder() { return QDir::toNativeSeparators(QDir::currentPath()); }

DbError CannotOpen(const QString& reason, const QString& details = {})
{
    QString text = Format("The tournament database %s in %s cannot be opened: %s", kDatabaseFileName, Folder(), reason);
    if (!details.isEmpty()) text += QStringLiteral("\n\n") + details;
    return DbError(text);
}

// What can be learnt of the file before the driver sees it.
void RequireOpenableFile(const QFileInfo& file)
{
    if (file.isDir()) throw CannotOpen(QStringLiteral("it is a folder, not a file."));
    const int fd = ::open(QFile::encodeName(file.filePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    const int why = errno;
    if (why == EACCES || why == EPERM) throw CannotOpen(QStringLiteral("permission denied."));
    throw CannotOpen(QString::fromLocal8Bit(std::strerror(why)) + QChar('.'));
}

// A damaged page is found only when it is read, so every page is checked once.
void RequireIntactFile()
{
    QStringList problems;
    try {
        for (CRecordset rs("PRAGMA quick_check"); !rs.IsEOF(); rs.MoveNext())
            problems << rs.GetString(0).split(QChar('\n'), Qt::SkipEmptyParts);
    } catch (const DbError& failure) {
        if (failure.Code() == kSqliteNotADatabase)
            throw CannotOpen(QStringLiteral("it is not a database."), failure.Message());
        if (failure.Code() == kSqliteCorrupt) throw CannotOpen(QStringLiteral("it is damaged."), failure.Message());
        throw;
    }
    if (problems == QStringList{QStringLiteral("ok")}) return;
    problems.removeAll(QStringLiteral("*** in database main ***"));
    throw CannotOpen(QStringLiteral("it is damaged."), problems.mid(0, kDamageLinesShown).join(QChar('\n')));
}

// Creates the tables in a database that has none; refuses one that holds
// only some of them, leaving it as it is.
void RequireWholeSchema(bool mayCreate)
{
    const QStringList missing = MissingSchemaTables();
    if (mayCreate && missing.size() == SchemaTableNames().size()) {
        EnsureSchema();
        return;
    }
    if (missing.isEmpty()) return;
    const bool file = CDatabase::Kind() == StoreKind::File;
    const QString store = file ? Format("tournament database %s in %s", kDatabaseFileName, Folder())
                               : CDatabase::Store().Description();
    throw DbError(Format("The %s is incomplete: the table%s %s %s missing. The %s was left unchanged.", store,
                         PluralSuffix(missing.size()), missing.join(QStringLiteral(", ")),
                         missing.size() == 1 ? "is" : "are", file ? "file" : "database"));
}

}  // namespace

bool IsWriteProtected(const QString& path)
{
    const QFileInfo info(path);
    const QFileDevice::Permissions anyoneWrites =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyoneWrites);
}

DatabaseAccess OpenTournamentDatabase()
{
    const QFileInfo file(QString::fromLatin1(kDatabaseFileName));
    const bool protectedFolder = IsWriteProtected(QDir::currentPath());
    if (file.exists() || file.isSymLink()) {
        RequireOpenableFile(file);
    } else if (protectedFolder) {
        throw DbError(Format("The tournament database %s cannot be created in %s: the folder is read-only.",
                             kDatabaseFileName, Folder()));
    }
    const DatabaseAccess access =
        file.exists() && (protectedFolder || IsWriteProtected(file.filePath())) ? DatabaseAccess::ReadOnly
                                                                                 : DatabaseAccess::ReadWrite;
    try {
        CDatabase::Open();
    } catch (const DbError& failure) {
        throw CannotOpen(QStringLiteral("the database driver refused it."), failure.Message());
    }
    if (access == DatabaseAccess::ReadOnly) ExecuteSQL("PRAGMA query_only = 1");
    RequireIntactFile();
    RequireWholeSchema(access == DatabaseAccess::ReadWrite);
    return access;
}

void OpenServerDatabase(const QString& connectString)
{
    CDatabase::Open(connectString);
    RequireWholeSchema(true);
}

QString ReadOnlyDatabaseWarning()
{
    return Format("The tournament database %s in %s is read-only: changes cannot be saved.", kDatabaseFileName,
                  Folder());
}
