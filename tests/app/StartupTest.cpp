#include "app/MainDialog.h"
#include "app/TournamentApp.h"
#include "db/Database.h"
#include "db/Recordset.h"
#include "db/Schema.h"
#include "support/ScriptedUi.h"
#include "ui/Messages.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <unistd.h>

namespace {

// The working directory of one test, restored afterwards.
class ScratchFolder {
public:
    ScratchFolder() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~ScratchFolder()
    {
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir::setCurrent(m_previous);
    }
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

int TableCount()
{
    return int(SchemaTableNames().size() - MissingSchemaTables().size());
}

QByteArray Contents(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A database of the program, with 400 players when asked.
void MakeDatabase(bool withPlayers = false)
{
    CDatabase::Open();
    EnsureSchema();
    if (withPlayers)
        ExecuteSQL("insert into Player (first, last, email) with recursive n(i) as (select 1 union all "
                   "select i + 1 from n where i < 400) "
                   "select 'Player ' || i, 'Number ' || i, 'player' || i || '@example.org' from n");
    CDatabase::Close();
}

// The process's file accesses as a user without privileges, for as long as
// it lives (the tests may run as root, whom file modes do not stop).
class AsUnprivilegedUser {
public:
    AsUnprivilegedUser() : m_wasRoot(geteuid() == 0)
    {
        if (m_wasRoot) m_switched = seteuid(65534) == 0;
    }
    ~AsUnprivilegedUser()
    {
        if (m_switched && seteuid(0) != 0) ADD_FAILURE() << "cannot return to the root user";
    }
    bool Ready() const { return !m_wasRoot || m_switched; }

private:
    bool m_wasRoot;
    bool m_switched = false;
};

QString InFolder(const char* text)
{
    return QString::fromUtf8(text).replace(QStringLiteral("FOLDER"), QDir::toNativeSeparators(QDir::currentPath()));
}

const QString kAlreadyOpen =
    QStringLiteral("The tournament database Orvex.mdb is already open in another Quorvane Tournament Manager window.");

}  // namespace

class StartupInProcess : public testing::Test {
protected:
    void SetUp() override
    {
        auto scripted = std::make_unique<ScriptedUi>();
        ui = scripted.get();
        previous = InstallUiServices(std::move(scripted));
    }
    void TearDown() override
    {
        ui->VerifyAllUsed();
        InstallUiServices(std::move(previous));
    }
    ScriptedUi* ui = nullptr;
    std::unique_ptr<UiServices> previous;
};

// The program itself, started as a user starts it, in an empty folder. While
// it runs, a second start is refused; once it has crashed, its lock is stale
// and the next start proceeds.
TEST_F(StartupInProcess, TheProgramCreatesItsDatabaseRunsAloneAndLeavesNoLiveLockWhenItCrashes)
{
    ScratchFolder folder;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(folder.Path());
    program.start(QStringLiteral(QUORVANE_EXE), {});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();

    int tables = 0;
    for (int i = 0; i < 200 && tables < 13; ++i) {
        program.waitForFinished(100);
        if (QFile::exists("Orvex.mdb")) {
            CDatabase::Open();
            tables = TableCount();
            CDatabase::Close();
        }
    }
    EXPECT_EQ(tables, 13);
    ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();

    ui->Expect(kAppName).Icon(MsgIcon::Stop).Text(kAlreadyOpen);
    EXPECT_EQ(CTournamentApp().Run(), 1);

    program.kill();
    program.waitForFinished(10000);
    EXPECT_TRUE(QFile::exists("Orvex.mdb.lock"));
    ui->ExpectDialog<CMainDialog>();
    EXPECT_EQ(CTournamentApp().Run(), 0);
    EXPECT_FALSE(QFile::exists("Orvex.mdb.lock")) << "the lock goes with the window";
}

TEST_F(StartupInProcess, RunsTheMainWindowBetweenOpeningAndClosingTheDatabase)
{
    ScratchFolder folder;
    bool openWhileRunning = false;
    bool lockedWhileRunning = false;
    ui->ExpectDialog<CMainDialog>([&](CMainDialog&) {
        openWhileRunning = CDatabase::IsOpen();
        lockedWhileRunning = QFile::exists("Orvex.mdb.lock");
    });
    EXPECT_EQ(CTournamentApp().Run(), 0);
    EXPECT_TRUE(openWhileRunning);
    EXPECT_TRUE(lockedWhileRunning);
    EXPECT_FALSE(CDatabase::IsOpen());
    EXPECT_FALSE(QFile::exists("Orvex.mdb.lock"));
}

// Another window holding the database (here the test itself, a live owner)
// keeps a second start out, however old its lock, and the second start
// touches nothing.
TEST_F(StartupInProcess, RefusesASecondWindowOnTheSameDatabase)
{
    ScratchFolder folder;
    QLockFile other(QStringLiteral("Orvex.mdb.lock"));
    ASSERT_TRUE(other.tryLock(0));
    QFile lockFile(QStringLiteral("Orvex.mdb.lock"));
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTime().addYears(-1), QFileDevice::FileModificationTime));
    lockFile.close();

    ui->Expect(kAppName).Icon(MsgIcon::Stop).Text(kAlreadyOpen);
    EXPECT_EQ(CTournamentApp().Run(), 1);
    EXPECT_EQ(ui->DialogsRun(), 0);
    EXPECT_EQ(QDir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList({"Orvex.mdb.lock"}));
}

// Every database the program cannot work on stops the start with a message
// that names the file, its folder and the reason, and leaves the file as it
// was; a write-protected one opens read-only after one warning.
TEST_F(StartupInProcess, SaysWhyItCannotWorkOnTheDatabase)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
        const char* message;  // FOLDER stands for the working folder
        int status;
        bool unprivileged = false;  // started by a user whom file modes stop
        bool locks = true;          // a window takes the lock (not in a read-only folder)
    } cases[] = {
        {"a folder", [] { QDir().mkdir("Orvex.mdb"); },
         "The tournament database Orvex.mdb in FOLDER cannot be opened: it is a folder, not a file.", 1},
        {"not a database",
         [] {
             QFile file("Orvex.mdb");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(QByteArray(4096, 'x'));
         },
         "The tournament database Orvex.mdb in FOLDER cannot be opened: it is not a database.\n\n"
         "[SQLite]file is not a database (26)",
         1},
        {"permission denied",
         [] {
             MakeDatabase();
             QFile::setPermissions("Orvex.mdb", {});
             QFile::setPermissions(".", QFileDevice::Permissions(0x7777));
         },
         "The tournament database Orvex.mdb in FOLDER cannot be opened: permission denied.", 1, true},
        {"a damaged page",
         [] {
             MakeDatabase(true);
             QFile file("Orvex.mdb");
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             ASSERT_GT(file.size(), 8 * 4096);
             file.seek(file.size() - 2 * 4096 + 8);
             file.write(QByteArray(200, '\x7f'));
         },
         "The tournament database Orvex.mdb in FOLDER cannot be opened: it is damaged.\n\n", 1},
        {"some of the tables",
         [] {
             CDatabase::Open();
             ExecuteSQL("create table Player (id INTEGER PRIMARY KEY, first TEXT)");
             ExecuteSQL("create table heat (id INTEGER PRIMARY KEY)");
             CDatabase::Close();
         },
         "The tournament database Orvex.mdb in FOLDER is incomplete: the tables Tournament, System, Group, "
         "PlayerGroup, PlayerConflicts, TournamentPlayer, TournamentTeam, TeamPlayer, HeatPlayer, Game, GamePlayer "
         "are missing. The file was left unchanged.",
         1},
        {"a read-only file",
         [] {
             MakeDatabase(true);
             QFile::setPermissions("Orvex.mdb", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
         },
         "The tournament database Orvex.mdb in FOLDER is read-only: changes cannot be saved.", 0},
        {"a read-only folder",
         [] {
             MakeDatabase(true);
             QFile::setPermissions(".", QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
         },
         "The tournament database Orvex.mdb in FOLDER is read-only: changes cannot be saved.", 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        c.prepare();
        const QByteArray before = Contents("Orvex.mdb");
        const QStringList entries = QDir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        const bool readOnly = c.status == 0;
        const size_t shownBefore = ui->Messages().size();
        ui->Expect(kAppName).Icon(readOnly ? MsgIcon::Exclamation : MsgIcon::Stop);
        QString writeRefusal;
        QStringList entriesWhileRunning;
        if (readOnly)
            ui->ExpectDialog<CMainDialog>([&](CMainDialog&) {
                entriesWhileRunning = QDir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
                try {
                    ExecuteSQL("delete from Player");
                } catch (const DbError& e) {
                    writeRefusal = e.Message();
                }
            });
        {
            std::optional<AsUnprivilegedUser> user;
            if (c.unprivileged) user.emplace();
            ASSERT_TRUE(!user || user->Ready());
            EXPECT_EQ(CTournamentApp().Run(), c.status);
        }
        ASSERT_EQ(ui->Messages().size(), shownBefore + 1);
        const QString shown = ui->Messages().back().text;
        EXPECT_TRUE(shown.startsWith(InFolder(c.message))) << shown.toStdString();
        if (readOnly) {
            EXPECT_TRUE(writeRefusal.startsWith("Orvex.mdb is read-only")) << writeRefusal.toStdString();
            EXPECT_EQ(entriesWhileRunning, c.locks ? entries + QStringList{"Orvex.mdb.lock"} : entries);
        }
        EXPECT_FALSE(CDatabase::IsOpen());
        EXPECT_EQ(Contents("Orvex.mdb"), before);
        EXPECT_EQ(QDir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries), entries);
    }
}

// What stops the start is also one line on standard error, for a terminal
// or a log: a folder that cannot be used, a driver that is not installed.
TEST_F(StartupInProcess, AFailureToStartIsShownAndWrittenToStandardError)
{
    ScratchFolder folder;
    QFile("a file").open(QIODevice::WriteOnly);
    const struct {
        QStringList arguments;
        QString message;
    } cases[] = {
        {{"a file"}, "The folder " + QDir::toNativeSeparators(folder.Path() + "/a file") +
                         " cannot be used: it is a file, not a folder."},
        {{"--database", "DRIVER={Nope};Database=event;Pwd=secret"},
         "The ODBC driver Nope is not installed, so the tournament database cannot be opened (the program works "
         "with the drivers {PostgreSQL Unicode}, from Debian's package odbc-postgresql, and SQLite3, from Debian's "
         "package libsqliteodbc)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        ui->Expect(kAppName).Icon(MsgIcon::Stop);
        testing::internal::CaptureStderr();
        EXPECT_EQ(CTournamentApp().Run(c.arguments), 1);
        const QString err = QString::fromStdString(testing::internal::GetCapturedStderr());
        const QString shown = ui->Messages().back().text;
        EXPECT_TRUE(shown.startsWith(c.message)) << shown.toStdString();
        EXPECT_TRUE(err.startsWith("quorvane: " + c.message)) << err.toStdString();
        EXPECT_EQ(err.count('\n'), 1);
        EXPECT_FALSE(err.contains("secret"));
        EXPECT_EQ(QDir::currentPath(), folder.Path());
    }
}
