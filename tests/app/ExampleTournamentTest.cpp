#include "app/ExampleTournament.h"

#include "db/Database.h"
#include "db/ValueCodes.h"
#include "games/GameResults.h"
#include "heats/HeatRecords.h"
#include "scores/Awards.h"
#include "scores/Standings.h"
#include "scoring/ScoringSystem.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "tournament/CurrentTournament.h"

#include <map>
#include <set>
#include <utility>

using namespace testdata;

class ExampleTournament : public DbTest {
protected:
    // Every row that belongs to the tournament, to see whether it changed.
    static std::vector<QStringList> RowsOf(int tournamentID)
    {
        std::vector<QStringList> rows = Rows(Sql("select * from Tournament where id = %d", tournamentID));
        for (const SqlStatement& part :
             {Sql("select Heat.* from Heat where tournamentID = %d order by id", tournamentID),
              Sql("select Game.* from Game, Heat where Game.heatID = Heat.id and Heat.tournamentID = %d order by "
                  "Game.id",
                  tournamentID),
              Sql("select GamePlayer.* from GamePlayer, Game, Heat where GamePlayer.gameID = Game.id and Game.heatID "
                  "= Heat.id and Heat.tournamentID = %d order by gameID, playerID",
                  tournamentID),
              Sql("select HeatPlayer.* from HeatPlayer, Heat where HeatPlayer.heatID = Heat.id and "
                  "Heat.tournamentID = %d order by heatID, playerID",
                  tournamentID)}) {
            const std::vector<QStringList> more = Rows(part);
            rows.insert(rows.end(), more.begin(), more.end());
        }
        return rows;
    }
    static int Seats(int tournamentID, const char* condition)
    {
        return Int(Sql("select count(*) from GamePlayer, Game, Heat where GamePlayer.gameID = Game.id and Game.heatID "
                       "= Heat.id and Heat.tournamentID = %d and %s",
                       tournamentID, condition));
    }
};

TEST_F(ExampleTournament, IsCreatedWholeWithValidGamesStandingsAndAwards)
{
    const int t = CreateExampleTournament();
    EXPECT_EQ(Rows(Sql("select name, numHeats, minHeats, dropHeats, assignPowers from Tournament where id = %d", t)),
              (std::vector<QStringList>{{"Example Open", "4", "2", "1", "1"}}));
    EXPECT_EQ(Count("select * from Player"), 35);
    const std::vector<TournamentHeat> heats = TournamentHeats(t);
    ASSERT_EQ(heats.size(), 4u);
    EXPECT_EQ(heats[3].heatNum, 4);
    EXPECT_EQ(Count(Sql("select * from HeatPlayer where heatID = %d", heats[3].id)), 35);
    EXPECT_EQ(Count(Sql("select * from Game where heatID = %d", heats[3].id)), 0);
    EXPECT_EQ(Seats(t, "Game.gameStat = 2"), 3 * 35);
    EXPECT_GT(Seats(t, "GamePlayer.centers >= 18"), 0);  // a solo now and then

    // Each played heat seats everybody once; nobody meets an opponent in all
    // three heats or plays a power twice, and everybody meets 15 others.
    LoadTournament(t);
    std::map<int, std::set<int>> powers;
    std::map<std::pair<int, int>, int> meetings;
    int games = 0;
    for (int h = 0; h < 3; ++h) {
        EXPECT_EQ(Int(Sql("select count(distinct playerID) from GamePlayer, Game where GamePlayer.gameID = Game.id and "
                          "Game.heatID = %d",
                          heats[size_t(h)].id)),
                  35);
        for (const HeatGame& game : HeatGames(heats[size_t(h)].id)) {
            ++games;
            CScoringSystem system;
            system.Load(SystemForGame(GameSystemID(game.id), HeatSystemID(heats[size_t(h)].id),
                                      CurrentTournament.systemID));
            const std::vector<GameRow> rows = ReadGameRows(game.id, system);
            ASSERT_EQ(rows.size(), 7u);
            EXPECT_EQ(FinishingFailure(rows, system), "") << "game " << game.gameNum << " of heat " << h + 1;
            for (const GameRow& row : rows) {
                EXPECT_GE(row.yearIndex, 1);
                EXPECT_LE(row.yearIndex, LastYearIndex(system));
                powers[row.playerID].insert(row.power);
                for (const GameRow& other : rows)
                    if (row.playerID < other.playerID) ++meetings[{row.playerID, other.playerID}];
            }
        }
    }
    EXPECT_EQ(games, 15);
    ASSERT_EQ(powers.size(), 35u);
    for (const auto& [player, played] : powers) EXPECT_EQ(played.size(), 3u) << player;
    std::map<int, int> opponents;
    for (const auto& [pair, count] : meetings) {
        EXPECT_LT(count, 3);
        ++opponents[pair.first];
        ++opponents[pair.second];
    }
    for (const auto& [player, count] : opponents) EXPECT_GE(count, 15) << player;

    // The example system's formulas are sound, and the Scores dialog's
    // computations list everybody and give out the awards.
    CScoringSystem example;
    example.Load(CurrentTournament.systemID);
    EXPECT_EQ(example.name, "Example");
    for (int slot = 0; slot < kFormulaCount; ++slot) {
        example.EvaluateScoreFormula(slot, 9, 10, 3, 0, 0, 0, 4, 12);
        EXPECT_EQ(example.error, 0) << example.formulas[size_t(slot)].toStdString();
    }
    Standings standings = ComputeStandings(true);
    EXPECT_EQ(standings.playerRows.size(), 35u);
    const AwardList awards = DrawUpAwards(standings, CurrentTournament, ScoringSystem.winDrawScoring);
    for (int entry = kFirstPlace; entry <= kLastPlace; ++entry) {
        if (entry != kBestLosses) {
            EXPECT_FALSE(awards[size_t(entry)].text.isEmpty()) << awards[size_t(entry)].label.toStdString();
        }
    }
}

TEST_F(ExampleTournament, TakesTheNextFreeNameAndLeavesExistingTournamentsAlone)
{
    // A tournament of the name made by hand, with its own rules, games and
    // scoring system "Example" (ranking by centres), and a player the
    // example names, spelt with other capitals.
    const int system = AddSystem({.name = "EXAMPLE", .winDrawScoring = 0});
    const int own =
        AddTournament({.name = "example open", .description = "Ours", .systemID = system, .numHeats = 2});
    const int ann = AddPlayer("amélie", "DURAND");
    const int game = AddGame(AddHeat(own, 1), 1, kStarted);
    AddSeat(game, ann, kFrance);
    const std::vector<QStringList> ownRows = RowsOf(own);
    EXPECT_EQ(ExampleTournamentName(), "Example Open 2");

    const int first = CreateExampleTournament();
    EXPECT_EQ(Rows(Sql("select name, systemID from Tournament where id = %d", first)),
              (std::vector<QStringList>{{"Example Open 2", QString::number(system)}}));
    EXPECT_EQ(Count("select * from System"), 1);
    EXPECT_EQ(Count("select * from Player"), 35);
    EXPECT_EQ(Count(Sql("select * from GamePlayer, Game, Heat where GamePlayer.gameID = Game.id and Game.heatID = "
                        "Heat.id and Heat.tournamentID = %d and GamePlayer.playerID = %d",
                        first, ann)),
              3);
    const std::vector<QStringList> firstRows = RowsOf(first);

    const int second = CreateExampleTournament();
    EXPECT_EQ(Rows(Sql("select name from Tournament where id = %d", second)),
              (std::vector<QStringList>{{"Example Open 3"}}));
    EXPECT_EQ(Count("select * from Player"), 35);
    EXPECT_EQ(RowsOf(own), ownRows);
    EXPECT_EQ(RowsOf(first), firstRows);
}

TEST_F(ExampleTournament, IsWrittenAfterOneQuestionOrNotAtAll)
{
    ui().Expect("Example Tournament", MsgAnswer::No).Text(ExampleTournamentQuestion("Example Open"));
    EXPECT_EQ(OfferExampleTournament(), -1);
    EXPECT_EQ(Count("select * from Tournament"), 0);

    // The store refuses the very last write: nothing of the example stays.
    RefuseWrites("refuse_heat_player", "before insert on HeatPlayer");
    EXPECT_THROW(CreateExampleTournament(), DbError);
    for (const char* table : {"Tournament", "System", "Player", "Heat", "Game", "GamePlayer", "HeatPlayer"})
        EXPECT_EQ(Count(Sql("select * from %s", table)), 0) << table;
    AllowWrites("refuse_heat_player", "HeatPlayer");

    ui().Expect("Example Tournament", MsgAnswer::Yes);
    const int t = OfferExampleTournament();
    EXPECT_EQ(Rows(Sql("select id, name from Tournament")),
              (std::vector<QStringList>{{QString::number(t), "Example Open"}}));
}
