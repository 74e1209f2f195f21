// The shared store's connection: a lost one is reported with the server's
// name, takes the action under way with it and comes back at the next
// action; a change another desk makes at the same moment is run again.

#include "db/Database.h"
#include "db/Recordset.h"
#include "heats/Seeding.h"
#include "support/DbTest.h"
#include "support/SecondDesk.h"
#include "support/TestData.h"
#include "tournament/CurrentTournament.h"

using namespace testdata;

class OnServerConnection : public DbTest {
protected:
    static void EndOwnConnection() { ScratchStore::EndServerConnection(QueryInt("select pg_backend_pid()", -1)); }
};

TEST_F(OnServerConnection, ALostConnectionIsNamedRollsTheActionBackAndComesBackAtTheNextAction)
{
    const QString server = CDatabase::Store().ServerName();
    // Lost while idle: a read simply connects again.
    EndOwnConnection();
    EXPECT_EQ(Count("select * from Player"), 0);

    // Lost in the middle of an action: nothing of it stays.
    try {
        RunAtomically([&] {
            AddPlayer("Saved", "Never");
            EndOwnConnection();
            AddPlayer("Second", "Statement");
        });
        ADD_FAILURE() << "the action went on without its connection";
    } catch (const DbError& lost) {
        EXPECT_TRUE(lost.IsConnectionLost()) << lost.State().toStdString() << " " << lost.Message().toStdString();
        EXPECT_TRUE(lost.Message().startsWith("The connection to the PostgreSQL server " + server + " was lost"))
            << lost.Message().toStdString();
        EXPECT_FALSE(lost.Message().contains(CDatabase::Store().password));
    }
    EXPECT_EQ(Count("select * from Player"), 0);
    AddPlayer("After", "Reconnecting");
    EXPECT_EQ(Count("select * from Player"), 1);
}

// The server's process for this connection dies while the draw is being
// written: no player is seated, every one is still registered.
TEST_F(OnServerConnection, ASeedingCutOffHalfWaySeatsNobody)
{
    const int tournament = AddTournament({.systemID = AddSystem()});
    LoadTournament(tournament);
    const int heat = AddHeat(tournament, 1);
    std::vector<int> players;
    for (int i = 0; i < 14; ++i) {
        players.push_back(AddPlayer("Cut", QString::number(i)));
        AddHeatPlayer(heat, players.back());
    }
    Exec(
        "create function CutOff() returns trigger language plpgsql as $$ begin if (select count(*) from GamePlayer) "
        "= 9 then perform pg_terminate_backend(pg_backend_pid()); end if; return new; end $$");
    Exec("create trigger CutOff before insert on GamePlayer for each row execute function CutOff()");
    try {
        DrawSeating(heat, players, 1);
        ADD_FAILURE() << "the draw went on without its connection";
    } catch (const DbError& lost) {
        EXPECT_TRUE(lost.IsConnectionLost()) << lost.Message().toStdString();
    }
    EXPECT_EQ(Count("select * from GamePlayer"), 0);
    EXPECT_EQ(Count("select * from Game"), 0);
    EXPECT_EQ(Count("select * from HeatPlayer"), 14);
}

// Another desk changes the row this desk's transaction is changing: the
// server refuses this desk's transaction and it runs again from the start,
// up to three times more; a fourth refusal is reported.
TEST_F(OnServerConnection, AChangeRefusedForAnotherDesksIsRunAgainThreeTimesAtMost)
{
    const int player = AddPlayer("Shared", "Row");
    SecondDesk other(store());
    for (const int interfering : {1, 4}) {
        SCOPED_TRACE(interfering);
        int attempts = 0;
        auto action = [&] {
            RunAtomically([&] {
                ++attempts;
                (void)Count("select * from Player");  // this desk's view is taken
                if (attempts <= interfering) {
                    EXPECT_TRUE(other.Write(
                        QStringLiteral("update Player set email = 'other%1' where id = %2").arg(attempts).arg(player)))
                        << other.LastError().toStdString();
                }
                Exec(Sql("update Player set email = 'mine' where id = %d", player));
            });
        };
        if (interfering == 1) {
            action();
            EXPECT_EQ(attempts, 2);
            EXPECT_EQ(Rows(Sql("select email from Player where id = %d", player)), std::vector<QStringList>{{"mine"}});
        } else {
            try {
                action();
                ADD_FAILURE() << "four refusals were not reported";
            } catch (const DbError& refused) {
                EXPECT_TRUE(refused.Message().startsWith(
                    "Another desk changed the same data at the same moment, 4 times in a row, so this change was "
                    "not saved."))
                    << refused.Message().toStdString();
            }
            EXPECT_EQ(attempts, 4);
            EXPECT_EQ(Rows(Sql("select email from Player where id = %d", player)),
                      std::vector<QStringList>{{"other4"}});
        }
    }
}
