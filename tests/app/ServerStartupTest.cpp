// Starting the program on a PostgreSQL database: the database it names is
// opened (its tables created when it has none) and named in the title;
// whatever keeps it from working is said in one message, without the
// password, and the start ends with status 1.

#include "app/MainDialog.h"
#include "app/TournamentApp.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "support/ScratchStore.h"
#include "support/ScriptedUi.h"
#include "ui/Messages.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString WithKey(QString connectString, const char* key, const QString& value)
{
    const QRegularExpression pair(QStringLiteral("%1=[^;]*").arg(QLatin1String(key)),
                                  QRegularExpression::CaseInsensitiveOption);
    return connectString.replace(pair, QLatin1String(key) + QChar('=') + value);
}

}  // namespace

class OnServerStartup : public testing::Test {
protected:
    void SetUp() override { previous = InstallUiServices(std::make_unique<ScriptedUi>()); }
    void TearDown() override
    {
        Ui().VerifyAllUsed();
        InstallUiServices(std::move(previous));
    }
    ScriptedUi& Ui() { return static_cast<ScriptedUi&>(Services()); }
    std::unique_ptr<UiServices> previous;
};

TEST_F(OnServerStartup, OpensTheDatabaseItIsGivenAndNamesItInTheTitle)
{
    ScratchStore empty(ScratchStore::Start::Empty);
    const StoreAddress address = StoreAddressOf(empty.ConnectString());
    QString title;
    int tables = 0;
    Ui().ExpectDialog<CMainDialog>([&](CMainDialog& main) {
        title = main.windowTitle();
        tables = int(SchemaTableNames().size() - MissingSchemaTables().size());
    });
    EXPECT_EQ(CTournamentApp().Run({QStringLiteral("--database"), empty.ConnectString()}), 0);
    EXPECT_EQ(title, kWindowTitle + " - PostgreSQL database " + address.database + " on " + address.ServerName());
    EXPECT_EQ(tables, 13);
    // The environment names it as well; the tables are there now.
    qputenv(kDatabaseVariable, empty.ConnectString().toUtf8());
    Ui().ExpectDialog<CMainDialog>();
    EXPECT_EQ(CTournamentApp().Run(), 0);
    qunsetenv(kDatabaseVariable);
}

TEST_F(OnServerStartup, SaysWhatKeepsItFromTheDatabaseWithoutThePassword)
{
    ScratchStore empty(ScratchStore::Start::Empty);
    const QString good = empty.ConnectString();
    const StoreAddress address = StoreAddressOf(good);
    const QString server = address.ServerName();
    {
        // A database holding some of the tables.
        CDatabase::Open(good);
        ExecuteSQL("create table Player (id integer primary key, first text)");
        CDatabase::Close();
    }
    const struct {
        const char* what;
        QString connectString;
        QString message;
    } cases[] = {
        {"no connect string", QStringLiteral("Server=x;Pwd=") + address.password, "it names no DRIVER"},
        {"no database named", WithKey(good, "Database", {}), "it names no Database."},
        {"a missing driver", WithKey(good, "DRIVER", QStringLiteral("{PostgreSQL Nowhere}")),
         "The ODBC driver PostgreSQL Nowhere is not installed"},
        {"a wrong password", WithKey(good, "Pwd", QStringLiteral("wrong-") + address.password),
         "The PostgreSQL server " + server + " refused the user name " + address.user + " or its password."},
        {"no such database", WithKey(good, "Database", QStringLiteral("nowhere")),
         "The PostgreSQL server " + server + " has no database nowhere."},
        {"an unreachable server", WithKey(good, "Port", QStringLiteral("1")),
         "The PostgreSQL server " + address.server + ":1 cannot be reached."},
        {"some of the tables", good,
         "The PostgreSQL database " + address.database + " on " + server +
             " is incomplete: the tables Tournament, System, Group, PlayerGroup, PlayerConflicts, TournamentPlayer, "
             "TournamentTeam, TeamPlayer, Heat, HeatPlayer, Game, GamePlayer are missing. The database was left "
             "unchanged."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Ui().Expect(kAppName).Icon(MsgIcon::Stop);
        EXPECT_EQ(CTournamentApp().Run({QStringLiteral("--database=") + c.connectString}), 1);
        const QString shown = Ui().Messages().back().text;
        EXPECT_TRUE(shown.contains(c.message)) << shown.toStdString();
        EXPECT_FALSE(shown.contains(address.password)) << shown.toStdString();
        EXPECT_FALSE(CDatabase::IsOpen());
    }
    // A wrong command line is one line on standard error, without the
    // password of the connect string it may hold.
    const size_t shown = Ui().Messages().size();
    testing::internal::CaptureStderr();
    EXPECT_EQ(CTournamentApp().Run({QStringLiteral("--databse=") + good}), kCommandLineStatus);
    const QString err = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_TRUE(err.startsWith("quorvane: Unknown option")) << err.toStdString();
    EXPECT_FALSE(err.contains(address.password)) << err.toStdString();
    EXPECT_EQ(Ui().Messages().size(), shown);
}
