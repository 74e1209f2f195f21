#include "db/Database.h"
#include "db/Schema.h"
#include "db/ServerDialect.h"
#include "db/StoreAddress.h"

#include <gtest/gtest.h>

TEST(StoreAddress, ReadsTheServerAndDatabaseOfAPostgreSQLConnectString)
{
    const StoreAddress a = StoreAddressOf(QStringLiteral(
        "DRIVER={PostgreSQL Unicode};Server=db.example;Port=5433;Database=event;Uid=desk;Pwd={se;cr}}et}"));
    EXPECT_EQ(a.kind, StoreKind::Server);
    EXPECT_EQ(a.driver, "PostgreSQL Unicode");
    EXPECT_EQ(a.password, "se;cr}et");
    EXPECT_EQ(a.Description(), "PostgreSQL database event on db.example:5433");
    EXPECT_EQ(StoreAddressOf(QString::fromLatin1(kConnectString)).kind, StoreKind::File);
}

// Each mistake is named, and the password never appears in the text.
TEST(StoreAddress, RefusesWhatIsNoConnectStringOfADatabaseWithoutShowingThePassword)
{
    const struct {
        const char* connectString;
        const char* says;
    } cases[] = {
        {"", "it is empty."},
        {"Server=db;Database=x;Pwd=hunter22", "it names no DRIVER"},
        {"DSN=event;Pwd=hunter22", "it names a data source (DSN)"},
        {"DRIVER={PostgreSQL Unicode};Database=x;Pwd=hunter22", "it names no Server."},
        {"DRIVER={PostgreSQL Unicode};Server=db;Pwd=hunter22", "it names no Database."},
        {"DRIVER={PostgreSQL Unicode};Server=db;Port=54x;Database=x;Pwd=hunter22",
         "the Port 54x is not a port number."},
        {"DRIVER={PostgreSQL Unicode;Server=db;Pwd=hunter22", "opens a brace that is never closed."},
        {"DRIVER={PostgreSQL Unicode};Server;Pwd=hunter22", "\"Server\" is not of the form key=value."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.connectString);
        try {
            StoreAddressOf(QString::fromLatin1(c.connectString));
            ADD_FAILURE() << "accepted";
        } catch (const DbError& refused) {
            EXPECT_TRUE(refused.Message().contains(QLatin1String(c.says))) << refused.Message().toStdString();
            EXPECT_FALSE(refused.Message().contains(QLatin1String("hunter22"))) << refused.Message().toStdString();
        }
    }
    EXPECT_EQ(WithoutPassword(QStringLiteral("x Pwd={a;b} y hunter22"), QStringLiteral("Pwd=hunter22")),
              "x Pwd=***** y *****");
}

// Statements as the PostgreSQL store runs them: the bracketed table name
// quoted, texts compared and sorted with A to Z folded, nothing inside a
// literal or before WHERE touched.
TEST(ServerDialect, RewritesWhatTheStoresDoDifferently)
{
    const QString fold = QStringLiteral("translate(%1, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')");
    auto f = [&](const char* expr) { return fold.arg(QLatin1String(expr)); };
    const struct {
        QString statement;
        QString expected;
    } cases[] = {
        {"select id from [group] where name = ?", "select id from \"group\" where " + f("name") + " = " + f("?")},
        {"select * from Tournament where name = 'spring open'",
         "select * from Tournament where " + f("name") + " = " + f("'spring open'")},
        {"Select * from [group] where name = ? and id <> 4",
         "Select * from \"group\" where " + f("name") + " = " + f("?") + " and id <> 4"},
        {"update [group] set name = ?, conflict = 3 where id = 7",
         "update \"group\" set name = ?, conflict = 3 where id = 7"},
        {"select * from Player order by last, first", "select * from Player order by " + f("last") + ", " + f("first")},
        {"select id from heat where tournamentID = 1 order by heatNum desc",
         "select id from heat where tournamentID = 1 order by heatNum desc"},
        {"select a from t where x in (select y from u order by Player.last desc) order by gameNum",
         "select a from t where x in (select y from u order by " + f("Player.last") + " desc) order by gameNum"},
        {"select name from System order by name limit 1", "select name from System order by " + f("name") + " limit 1"},
        {"insert into System (name, score1) values (?, '[x] where a = ?')",
         "insert into System (name, score1) values (?, '[x] where a = ?')"},
    };
    for (const auto& c : cases) EXPECT_EQ(ServerStatementText(c.statement, SchemaTextColumns()), c.expected);
}
