#include "app/MainDialog.h"
#include "app/TournamentApp.h"
#include "db/Database.h"
#include "db/Recordset.h"
#include "db/Schema.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// The working directory of one test, restored afterwards.
class ScratchFolder {
public:
    ScratchFolder() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~ScratchFolder() { QDir::setCurrent(m_previous); }
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

int TableCount()
{
    int n = 0;
    for (const QString& table : SchemaTableNames())
        if (RecordExists(Sql("select name from sqlite_master where type = 'table' and name = '%s'", table)))
            ++n;
    return n;
}

}  // namespace

// The program itself, started as a user starts it, in an empty folder.
TEST(Startup, TheProgramCreatesItsDatabaseAndRuns)
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
    EXPECT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    program.kill();
    program.waitForFinished(10000);
}

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

TEST_F(StartupInProcess, RunsTheMainWindowBetweenOpeningAndClosingTheDatabase)
{
    ScratchFolder folder;
    bool openWhileRunning = false;
    ui->ExpectDialog<CMainDialog>([&](CMainDialog&) { openWhileRunning = CDatabase::IsOpen(); });
    EXPECT_EQ(CTournamentApp().Run(), 0);
    EXPECT_TRUE(openWhileRunning);
    EXPECT_FALSE(CDatabase::IsOpen());
}

TEST_F(StartupInProcess, LeavesAnExistingDatabaseAlone)
{
    ScratchFolder folder;
    CDatabase::Open();
    ExecuteSQL("create table Player (id INTEGER PRIMARY KEY, first TEXT)");
    CDatabase::Close();
    // The main window cannot read the tournaments of such a file and says so.
    ui->Expect("Quorvane Tournament Manager").Icon(MsgIcon::Stop);
    CTournamentApp().Run();
    CDatabase::Open();
    EXPECT_EQ(TableCount(), 1);
    CDatabase::Close();
}

TEST_F(StartupInProcess, StopsWithTheDriversMessageWhenTheDatabaseCannotBeOpened)
{
    ScratchFolder folder;
    QDir().mkdir("Orvex.mdb");
    ui->Expect("Quorvane Tournament Manager").Icon(MsgIcon::Stop);
    EXPECT_NE(CTournamentApp().Run(), 0);
    ASSERT_EQ(ui->Messages().size(), 1u);
    EXPECT_FALSE(ui->Messages()[0].text.isEmpty());
    EXPECT_EQ(ui->DialogsRun(), 0);
}
