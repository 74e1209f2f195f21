#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/Schema.h"
#include "support/DbTest.h"
#include "support/TestData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <sqlite3.h>

#include <chrono>
#include <functional>
#include <thread>

using namespace testdata;

namespace {

QStringList ColumnsOf(const char* table)
{
    CRecordset rs(Sql("select * from %s", table));
    QStringList names;
    // PostgreSQL names the columns in lower case.
    for (int c = 0; c < rs.ColumnCount(); ++c) names << rs.ColumnName(c).toLower();
    return names;
}

}  // namespace

class Schema : public DbTest {};

TEST_F(Schema, HoldsTheThirteenTables)
{
    const QStringList names = SchemaTableNames();
    ASSERT_EQ(names.size(), 13);
    EXPECT_EQ(MissingSchemaTables(), QStringList());
    for (const QString& table : names) {
        const QByteArray name = table == "Group" ? QByteArray("[Group]") : table.toLatin1();
        EXPECT_EQ(Count(Sql("select * from %s", name.constData())), 0);
    }
}

TEST_F(Schema, KeepsTheColumnOrdersStatementsRelyOn)
{
    EXPECT_EQ(ColumnsOf("Player"), QStringList({"id", "first", "last", "email"}));
    EXPECT_EQ(ColumnsOf("[Group]"), QStringList({"id", "name", "conflict"}));
    EXPECT_EQ(ColumnsOf("PlayerConflicts"), QStringList({"player1", "player2", "value"}));
    EXPECT_EQ(ColumnsOf("TournamentTeam"), QStringList({"id", "tournamentid", "name"}));
    // An insert without a column list fills them in that order.
    Exec("Insert into PlayerConflicts values(4, 9, 1)");
    EXPECT_EQ(Rows("select player1, player2, value from PlayerConflicts"), std::vector<QStringList>({{"4", "9", "1"}}));
}

TEST_F(Schema, NewHeatsAndGamesInheritTheirScoringSystem)
{
    Exec("insert into Heat (tournamentID, heatNum) values (1, 1)");
    Exec("insert into Game (heatID, gameNum, gameStat) values (1, 1, 0)");
    EXPECT_EQ(Int("select systemID from Heat where tournamentID = 1 and heatNum = 1"), 0);
    EXPECT_EQ(Int("select systemID from Game where heatID = 1 and gameNum = 1"), 0);
}

TEST_F(Schema, NeverReusesAnIdentifier)
{
    const int first = AddPlayer("Ada", "Byron");
    Exec(Sql("Delete from player where id=%d", first));
    const int second = AddPlayer("Ada", "Byron");
    EXPECT_GT(second, first);
}

TEST_F(Schema, ReadsNumbersAsTheyAreStored)
{
    AddTournament(TournamentRow{.multDrop = 2500.50});
    CRecordset rs("select multDrop, numHeats, name from Tournament");
    EXPECT_DOUBLE_EQ(rs.GetDouble(0), 2500.5);
    EXPECT_EQ(rs.GetInt(1), 3);
    EXPECT_EQ(rs.GetString(2), "Spring Open");
}

TEST_F(Schema, TreatsNamesCaseInsensitively)
{
    AddGroup("Club", 3);
    EXPECT_EQ(Int("select conflict from [group] where name = 'Club'"), 3);
    EXPECT_EQ(Int("Select * from [GROUP]"), 1);
    Exec("insert into playergroup (groupid, playerid) values (1, 7)");
    EXPECT_EQ(Int("select playerID from PlayerGroup"), 7);
}

TEST_F(Schema, IsCreatedOnlyInADatabaseWithoutTables)
{
    EXPECT_FALSE(EnsureSchema());  // the fixture created them already
    CDatabase::Close();
    QFile::remove("Orvex.mdb");
    CDatabase::Open();
    Exec("create table Player (id INTEGER PRIMARY KEY, first TEXT)");
    EXPECT_FALSE(EnsureSchema());  // an existing database is never altered
    EXPECT_EQ(Count("select name from sqlite_master where type = 'table' and name <> 'sqlite_sequence'"), 1);
}

class Statements : public DbTest {};

TEST_F(Statements, StoreAnApostropheAsTyped)
{
    Exec(Sql("insert into Tournament (name, description) values ('%s', '%s')", QStringLiteral("O'Brien's Cup"),
             QStringLiteral("it's on")));
    EXPECT_EQ(Rows(Sql("select name, description from Tournament where name = '%s'", QStringLiteral("O'Brien's Cup"))),
              std::vector<QStringList>({{"O'Brien's Cup", "it's on"}}));
}

TEST_F(Statements, ReportAFailureWithTheDriversText)
{
    try {
        ExecuteSQL("delete from NoSuchTable");
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.Message().contains("NoSuchTable", Qt::CaseInsensitive)) << e.Message().toStdString();
    }
    EXPECT_THROW(CRecordset("select nothing from"), DbError);
}

TEST_F(Statements, LetARecordSetBeWalkedWhileWriting)
{
    for (int i = 0; i < 5; ++i) AddPlayer("P", QString::number(i));
    int seen = 0;
    for (CRecordset rs("select id from Player order by id"); !rs.IsEOF(); rs.MoveNext()) {
        Exec(Sql("delete from Player where id = %d", rs.GetInt(0)));
        ++seen;
    }
    EXPECT_EQ(seen, 5);
    EXPECT_EQ(Count("select * from Player"), 0);
}

TEST_F(Statements, AnswerEmptinessAndFirstValues)
{
    EXPECT_FALSE(RecordExists("select * from Player"));
    EXPECT_EQ(QueryInt("select id from Player", -1), -1);
    const int id = AddPlayer("Ada", "Byron");
    EXPECT_TRUE(RecordExists("select * from Player"));
    EXPECT_EQ(QueryInt("select id from Player", -1), id);
    CRecordset rs("select email from Player");
    EXPECT_EQ(rs.GetString(0), "");
    EXPECT_THROW(rs.GetInt(3), DbError);
}

class Transactions : public DbTest {};

TEST_F(Transactions, CommitTogether)
{
    {
        Transaction t;
        AddPlayer("A", "One");
        AddPlayer("B", "Two");
        t.Commit();
    }
    EXPECT_EQ(Count("select * from Player"), 2);
}

TEST_F(Transactions, RollBackEverythingWhenAStatementFails)
{
    AddPlayer("Kept", "Player");
    try {
        Transaction t;
        Exec("delete from Player");
        AddPlayer("New", "Player");
        ExecuteSQL("delete from NoSuchTable");
        t.Commit();
    } catch (const DbError&) {
    }
    EXPECT_EQ(Rows("select first from Player"), std::vector<QStringList>({{"Kept"}}));
}

TEST_F(Transactions, NestedGuardsFailAsOne)
{
    try {
        Transaction outer;
        AddPlayer("A", "One");
        {
            Transaction inner;
            AddPlayer("B", "Two");
            inner.Commit();
        }
        ExecuteSQL("delete from NoSuchTable");
        outer.Commit();
    } catch (const DbError&) {
    }
    EXPECT_EQ(Count("select * from Player"), 0);
    // The connection is back in its normal state afterwards.
    AddPlayer("C", "Three");
    CDatabase::Close();
    CDatabase::Open(store().ConnectString());
    EXPECT_EQ(Count("select * from Player"), 1);
}

TEST_F(Transactions, AGuardLeftWithoutCommitRollsBack)
{
    {
        Transaction t;
        AddPlayer("A", "One");
    }
    EXPECT_EQ(Count("select * from Player"), 0);
}

TEST(Connection, FailsWithTheDriversTextWhenTheFileCannotBeOpened)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QDir().mkdir("Orvex.mdb");  // a folder where the file should be
    EXPECT_THROW(CDatabase::Open(), DbError);
    EXPECT_FALSE(CDatabase::IsOpen());
    QDir::setCurrent(previous);
}

TEST_F(Schema, ComparesAndSortsTextsWithoutRegardToCase)
{
    AddPlayer("Anna", "Zimmer");
    AddPlayer("Piet", "de Vries");
    AddPlayer("Carl", "Dahl");
    AddPlayer("Eva", "\u00c4ngstr\u00f6m");
    // Only A to Z fold: other letters keep their case and sort after them.
    EXPECT_EQ(Rows("select last from Player order by last, first"),
              std::vector<QStringList>({{"Dahl"}, {"de Vries"}, {"Zimmer"}, {"\u00c4ngstr\u00f6m"}}));
    AddTournament({.name = "Spring Open"});
    AddTournament({.name = "\u00c9t\u00e9 Cup"});
    EXPECT_TRUE(RecordExists("select * from Tournament where name = 'spring open'"));
    EXPECT_TRUE(RecordExists(Sql("select * from Tournament where name = '%s'", QStringLiteral("SPRING open"))));
    EXPECT_TRUE(RecordExists(Sql("select * from Tournament where name = '%s'", QStringLiteral("\u00c9T\u00e9 cup"))));
    EXPECT_FALSE(RecordExists(Sql("select * from Tournament where name = '%s'", QStringLiteral("\u00e9t\u00e9 cup"))));
}

// Another program on the same file (a second SQLite connection): a statement
// waits for the connect string's Timeout and then says who holds the file; a
// commit waits for readers the same way, and completes when they let go.
TEST_F(Statements, WaitForAnotherProgramAsLongAsTheConnectStringSays)
{
    CDatabase::Close();
    CDatabase::Open(QStringLiteral("DRIVER=SQLite3;Database=Orvex.mdb;Timeout=1000"));
    struct Case {
        const char* holder;  // what the other program runs and keeps
        int releaseAfterMs;  // -1: it keeps the file until the statement has failed
        std::function<void()> write;
    } cases[] = {
        {"begin immediate", -1, [] { AddPlayer("Ann", "Ash"); }},
        {"select * from sqlite_master", -1,
         [] {
             Transaction t;
             AddPlayer("Ann", "Ash");
             t.Commit();
         }},
        {"select * from sqlite_master", 300,
         [] {
             Transaction t;
             AddPlayer("Ann", "Ash");
             t.Commit();
         }},
    };
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(kDatabaseFileName, &other), SQLITE_OK);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holder);
        sqlite3_stmt* held = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(other, c.holder, -1, &held, nullptr), SQLITE_OK);
        ASSERT_NE(sqlite3_step(held), SQLITE_BUSY);
        auto release = [&] {
            sqlite3_finalize(held);
            if (!sqlite3_get_autocommit(other)) sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
        };
        std::thread releaser;
        if (c.releaseAfterMs >= 0)
            releaser = std::thread([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.releaseAfterMs));
                release();
            });
        QElapsedTimer clock;
        clock.start();
        QString failure;
        try {
            c.write();
        } catch (const DbError& e) {
            failure = e.Message();
        }
        const qint64 waited = clock.elapsed();
        if (releaser.joinable()) {
            releaser.join();
            EXPECT_EQ(failure, QString());
            EXPECT_EQ(Count("select * from Player"), 1);
            Exec("delete from Player");
            continue;
        }
        release();
        EXPECT_TRUE(failure.startsWith("Another program is writing to Orvex.mdb. Try again when it has finished.\n\n"
                                       "[SQLite]database is locked"))
            << failure.toStdString();
        EXPECT_GE(waited, 950);
        EXPECT_LT(waited, 1700) << "the wait runs once, not twice";
        EXPECT_EQ(Count("select * from Player"), 0);
    }
    sqlite3_close(other);
}
