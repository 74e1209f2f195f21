// The random draw, the settings a seeding changes for its length, the
// team-weight rule and the optimiser's stopping rules.

#include "db/Database.h"
#include "db/Format.h"
#include "db/ValueCodes.h"
#include "heats/Seeding.h"
#include "support/HeatTest.h"
#include "tournament/CurrentTournament.h"

#include <algorithm>
#include <stdexcept>

using namespace testdata;

class SeedingTest : public HeatTest {
protected:
    std::vector<int> Register(int heatNum, int count, const char* first = "P")
    {
        std::vector<int> ids;
        for (int i = 0; i < count; ++i) {
            ids.push_back(AddPlayer(first, QString("Player %1").arg(i, 2, 10, QChar('0'))));
            AddHeatPlayer(HeatID(heatNum), ids.back());
        }
        return ids;
    }
    // (playerID, powerID) of a game's seats in the order they were written.
    std::vector<std::pair<int, int>> SeatsInDrawOrder(int heatNum, int gameNum)
    {
        std::vector<std::pair<int, int>> seats;
        for (const QStringList& r : Rows(Sql("select playerID, powerID from GamePlayer, Game where GamePlayer.gameID "
                                             "= Game.id and Game.heatID = %d and Game.gameNum = %d order by "
                                             "GamePlayer.%s",
                                             HeatID(heatNum), gameNum, WrittenOrder())))
            seats.push_back({r[0].toInt(), r[1].toInt()});
        return seats;
    }
};

TEST(SeedingRandomTest, YieldsTheFifteenBitSequenceOfTheSeed)
{
    SeedingRandom one(1);
    for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}) EXPECT_EQ(one.Next(), expected);
    SeedingRandom wrapping(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i) {
        const int v = wrapping.Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
}

TEST_F(SeedingTest, TheDrawContinuesTheGameNumbersAndSeatsSevenToAGameInPowerOrder)
{
    OpenTournament();
    const std::vector<int> earlier = Register(1, 14, "Early");
    for (int g = 1; g <= 2; ++g) {
        std::vector<std::pair<int, int>> seats;
        for (int k = 0; k < 7; ++k) seats.push_back({earlier[size_t((g - 1) * 7 + k)], k});
        SeatGame(1, g, seats, g == 1 ? kStarted : kUnstarted);
    }
    Exec(Sql("delete from HeatPlayer where heatID = %d", HeatID(1)));
    const std::vector<int> players = Register(1, 14);
    const int otherHeatPlayer = AddPlayer("Other", "Heat");
    AddHeatPlayer(HeatID(2), otherHeatPlayer);

    DrawSeating(HeatID(1), players);

    EXPECT_EQ(Rows(Sql("select gameNum, gameStat, systemID from Game where heatID = %d order by gameNum", HeatID(1))),
              (std::vector<QStringList>{{"1", "1", "0"}, {"2", "0", "0"}, {"3", "0", "0"}, {"4", "0", "0"}}));
    std::vector<int> seated;
    for (int g = 3; g <= 4; ++g) {
        const auto seats = SeatsInDrawOrder(1, g);
        ASSERT_EQ(seats.size(), 7u);
        const int powers[] = {kAustria, kTurkey, kRussia, kItaly, kGermany, kFrance, kEngland};
        for (size_t k = 0; k < 7; ++k) {
            EXPECT_EQ(seats[k].second, powers[k]) << "game " << g << ", seat " << k;
            seated.push_back(seats[k].first);
        }
    }
    std::sort(seated.begin(), seated.end());
    EXPECT_EQ(seated, players);
    EXPECT_EQ(Count(Sql("select * from GamePlayer where result <> -1 or years <> -1 or centers <> -1")), 0);
    EXPECT_EQ(Count(Sql("select * from HeatPlayer where heatID = %d", HeatID(1))), 0);
    EXPECT_EQ(Count(Sql("select * from HeatPlayer where heatID = %d", HeatID(2))), 1);
}

TEST_F(SeedingTest, AFixedClockGivesAFixedDraw)
{
    OpenTournament();
    const std::vector<int> p = Register(1, 7);
    ui().SetTime(1);
    DrawSeating(HeatID(1), p);
    // Draws 41, 18467, 6334, 26500, 19169, 15724, 11478 pick from the
    // players still waiting: index 6 of 7, 5 of 6, 4 of 5, 0 of 4, 2 of 3, 0 of 2, 0 of 1.
    EXPECT_EQ(SeatsInDrawOrder(1, 1), (std::vector<std::pair<int, int>>{{p[6], kAustria},
                                                                       {p[5], kTurkey},
                                                                       {p[4], kRussia},
                                                                       {p[0], kItaly},
                                                                       {p[3], kGermany},
                                                                       {p[1], kFrance},
                                                                       {p[2], kEngland}}));

    // The same clock seeds the same draw again; another clock another one.
    const std::vector<int> q = Register(2, 14, "Q");
    const std::vector<int> r = Register(3, 14, "R");
    ui().SetTime(1700000000);
    DrawSeating(HeatID(2), q);
    DrawSeating(HeatID(3), r);
    auto positions = [&](int heatNum, const std::vector<int>& ids) {
        std::vector<long> order;
        for (int g = 1; g <= 2; ++g)
            for (const auto& seat : SeatsInDrawOrder(heatNum, g))
                order.push_back(std::find(ids.begin(), ids.end(), seat.first) - ids.begin());
        return order;
    };
    EXPECT_EQ(positions(2, q), positions(3, r));
    const std::vector<int> s = Register(4, 14, "S");
    ui().SetTime(1700000001);
    DrawSeating(HeatID(4), s);
    EXPECT_NE(positions(4, s), positions(2, q));
}

TEST_F(SeedingTest, TheCheckBoxDecidesThePowersForOneSeedingOnly)
{
    TournamentRow row;
    row.assignPowers = 1;
    OpenTournament(row);
    const std::vector<int> players = Register(1, 7);
    {
        AssignPowersOverride powers(false);
        EXPECT_EQ(CurrentTournament.assignPowers, 0);
        DrawSeating(HeatID(1), players);
    }
    EXPECT_EQ(CurrentTournament.assignPowers, 1);
    EXPECT_EQ(Count(Sql("select * from GamePlayer where powerID = -1")), 7);

    CurrentTournament.assignPowers = 0;
    try {
        AssignPowersOverride powers(true);
        EXPECT_EQ(CurrentTournament.assignPowers, 1);
        throw DbError("a failing statement");
    } catch (const DbError&) {
    }
    EXPECT_EQ(CurrentTournament.assignPowers, 0);
}

TEST_F(SeedingTest, ADrawOfNoWholeGamesWritesNothing)
{
    OpenTournament();
    const std::vector<int> players = Register(1, 8);
    EXPECT_THROW(DrawSeating(HeatID(1), players), std::invalid_argument);
    EXPECT_THROW(DrawSeating(HeatID(1), {}), std::invalid_argument);
    EXPECT_EQ(Count("select * from Game"), 0);
    EXPECT_EQ(Count("select * from GamePlayer"), 0);
    EXPECT_EQ(Count("select * from HeatPlayer"), 8);
}

TEST_F(SeedingTest, ADrawThatFailsHalfWayLeavesNothingBehind)
{
    OpenTournament();
    std::vector<int> players = Register(1, 7);
    RefuseWrites("FailSeventh", "before insert on GamePlayer", "(select count(*) from GamePlayer) = 6");
    EXPECT_THROW(DrawSeating(HeatID(1), players), DbError);
    EXPECT_EQ(Count("select * from Game"), 0);
    EXPECT_EQ(Count("select * from GamePlayer"), 0);
    EXPECT_EQ(Count("select * from HeatPlayer"), 7);
}

TEST_F(SeedingTest, TheTeamWeightOfATeamHeatTournamentDependsOnTheHeatSeeded)
{
    TournamentRow row;
    row.playerConflict = 3;
    row.powerConflict = 2;
    row.teamSize = 4;
    row.teamHeat = 2;
    row.teamConflict = 7;
    OpenTournament(row);
    const int ann = AddPlayer("Ann", "Archer");
    const int bob = AddPlayer("Bob", "Baker");
    AddTeam(tournamentID, "Reds", {ann, bob});
    SeatGame(1, 1, {{ann, kEngland}, {bob, kAustria}});
    SeatGame(2, 1, {{ann, kAustria}, {bob, kEngland}});

    // In the team heat team mates in one game count T = 2 * |P + W| each.
    EXPECT_EQ(SeedingConflict(2), 20 + 2 * 3);  // and the meeting in heat 1
    EXPECT_EQ(CurrentTournament.teamConflict, 10);
    ASSERT_TRUE(g_conflictModel);
    EXPECT_EQ(g_conflictModel->heatNum, 2);
    g_conflictModel->ComputePlayerConflict(ann);
    EXPECT_EQ(g_conflictModel->explanation[0], "10 pts. for being on the same team as Bob Baker.");

    // Elsewhere the weight falls back to P + W, and team mates do not count.
    g_conflictModel.reset();
    EXPECT_EQ(SeedingConflict(1), 0);
    EXPECT_EQ(CurrentTournament.teamConflict, 0);
    EXPECT_EQ(ConflictWeights::FromCurrentTournament().team, 5);

    // A negative sum gives a positive weight; other tournaments keep theirs.
    CurrentTournament.powerConflict = -9;
    ApplyTeamWeightRule(2);
    EXPECT_EQ(CurrentTournament.teamConflict, 12);
    CurrentTournament.teamHeat = -1;
    ApplyTeamWeightRule(2);
    EXPECT_EQ(CurrentTournament.teamConflict, 12);
    CurrentTournament.teamHeat = 2;
    CurrentTournament.teamSize = 0;
    ApplyTeamWeightRule(1);
    EXPECT_EQ(CurrentTournament.teamConflict, 12);
}

TEST_F(SeedingTest, SeedingConflictUsesTheModelItFindsAndBuildsOneOnlyWhenThereIsNone)
{
    OpenTournament();
    const int ann = AddPlayer("Ann", "Archer");
    const int bob = AddPlayer("Bob", "Baker");
    SeatGame(1, 1, {{ann, kAustria}, {bob, kEngland}});
    AddConflict(ann, bob, 2);
    EXPECT_EQ(SeedingConflict(1), 4);
    const ConflictModel* built = g_conflictModel.get();
    Exec("delete from PlayerConflicts");
    EXPECT_EQ(SeedingConflict(1), 4);  // the model does not read the database again
    EXPECT_EQ(g_conflictModel.get(), built);
}

TEST_F(SeedingTest, ALaterSeedingOptimisesOverEveryUnstartedGameOfTheHeat)
{
    TournamentRow row;
    row.playerConflict = 2;
    OpenTournament(row);
    const std::vector<int> first = Register(2, 7, "First");
    const std::vector<int> second = Register(2, 7, "Second");
    const std::vector<int> started = Register(2, 7, "Started");
    // In heat 1 the first and second runs' players met in games of their own.
    std::vector<std::pair<int, int>> g1, g2, g3;
    for (int k = 0; k < 7; ++k) {
        g1.push_back({first[size_t(k)], k});
        g2.push_back({second[size_t(k)], k});
        g3.push_back({started[size_t(k)], k});
    }
    SeatGame(1, 1, g1, kFinished);
    SeatGame(1, 2, g2, kFinished);
    const int startedGame = SeatGame(2, 1, g3, kStarted);
    Exec(Sql("delete from HeatPlayer where heatID = %d and playerID >= %d", HeatID(2), started[0]));

    DrawSeating(HeatID(2), first);
    DrawSeating(HeatID(2), second);
    g_conflictModel = BuildConflictModel(2);
    ASSERT_EQ(g_conflictModel->players.size(), 14u);
    const int start = SeedingConflict(2);
    EXPECT_EQ(start, 7 * 6 * 2 * 2);  // every pair met before, both sides count
    const int best = OptimiseSeating(start);
    EXPECT_LT(best, start);
    EXPECT_EQ(g_conflictModel->TotalConflict(), best);
    g_conflictModel->WriteSeating();

    // Players of the first run now share games with players of the second.
    EXPECT_EQ(Count(Sql("select distinct a.gameID from GamePlayer a, GamePlayer b where a.gameID = b.gameID and "
                        "a.playerID <= %d and b.playerID >= %d and b.playerID <= %d",
                        first.back(), second.front(), second.back())),
              2);
    for (int g = 2; g <= 3; ++g) EXPECT_EQ(SeatsInDrawOrder(2, g).size(), 7u);
    EXPECT_EQ(Count(Sql("select * from GamePlayer where gameID = %d", startedGame)), 7);
    EXPECT_EQ(Count("select * from GamePlayer where result <> -1"), 0);
}

class OptimiseSeatingRules : public HeatTest {
protected:
    ModelPlayer& Add(int id, int game, int power = kNoPower)
    {
        ModelPlayer p;
        p.playerID = id;
        p.name = QString("Player %1").arg(id);
        p.seats = {{1, game, power}};
        g_conflictModel->players.push_back(p);
        return g_conflictModel->players.back();
    }
    void SetUp() override
    {
        HeatTest::SetUp();
        CurrentTournament.playerConflict = 1;
        g_conflictModel = std::make_unique<ConflictModel>();
        g_conflictModel->heatNum = 1;
    }
    std::vector<int> Games() const
    {
        std::vector<int> games;
        for (const ModelPlayer& p : g_conflictModel->players) games.push_back(p.seats[0].gameID);
        return games;
    }
    std::vector<std::pair<int, int>> Seats() const
    {
        std::vector<std::pair<int, int>> seats;
        for (const ModelPlayer& p : g_conflictModel->players) seats.push_back({p.seats[0].gameID, p.seats[0].powerID});
        return seats;
    }
};

TEST_F(OptimiseSeatingRules, ReachingZeroStopsAtOnce)
{
    // a and b would gain most from sharing a game (a negative group value), but
    // the first exchange already reaches 0 and ends the climb.
    Add(1, 1).groups = {{5, -3, "Friends"}};
    Add(2, 2).groups = {{5, -3, "Friends"}};
    Add(3, 2);
    g_conflictModel->players[1].pairConflicts = {{3, 2}};
    ASSERT_EQ(SeedingConflict(1), 4);
    EXPECT_EQ(OptimiseSeating(4), 0);
    EXPECT_EQ(Games(), (std::vector<int>{2, 1, 2}));
    EXPECT_EQ(g_conflictModel->TotalConflict(), 0);
}

TEST_F(OptimiseSeatingRules, OnlyStrictImprovementsOnTheBestSoFarAreKept)
{
    // Any two of the three in one game count 2, however they sit.
    Add(1, 1, kAustria).pairConflicts = {{2, 1}, {3, 1}};
    Add(2, 1, kEngland).pairConflicts = {{3, 1}};
    Add(3, 2, kTurkey);
    ASSERT_EQ(SeedingConflict(1), 2);

    // Below every reachable total nothing is kept.
    EXPECT_EQ(OptimiseSeating(1), 1);
    EXPECT_EQ(Seats(), (std::vector<std::pair<int, int>>{{1, kAustria}, {1, kEngland}, {2, kTurkey}}));

    // Above it the first exchange is kept (a and b swap powers), then every
    // tie is undone.
    EXPECT_EQ(OptimiseSeating(3), 2);
    EXPECT_EQ(Seats(), (std::vector<std::pair<int, int>>{{1, kEngland}, {1, kAustria}, {2, kTurkey}}));
}

TEST_F(OptimiseSeatingRules, WithoutPlayersOrAModelTheStartIsReturned)
{
    EXPECT_EQ(OptimiseSeating(17), 17);
    g_conflictModel.reset();
    EXPECT_EQ(OptimiseSeating(5), 5);
}
