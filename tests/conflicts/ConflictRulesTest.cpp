// The conflict rules on models built in memory: each term, its points and its
// explanation line, word for word.

#include "conflicts/ConflictModel.h"
#include "db/ValueCodes.h"
#include "support/ScriptedUi.h"
#include "tournament/CurrentTournament.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Game ids of the model's heat are 1, 2, ...; an earlier game g of heat h is 100 * h + g.
PastSeat Now(int game, int power, int heat = 4) { return {heat, game, power}; }
PastSeat Earlier(int heat, int game, int power = kNoPower) { return {heat, 100 * heat + game, power}; }

ModelPlayer Player(int id, const QString& name, std::vector<PastSeat> seats, int teamID = -1)
{
    ModelPlayer p;
    p.playerID = id;
    p.name = name;
    p.teamID = teamID;
    p.seats = std::move(seats);
    return p;
}

class ConflictRules : public testing::Test {
protected:
    void SetUp() override
    {
        ResetCurrentTournament();
        CurrentTournament.playerConflict = 1;
        model.heatNum = 4;
    }
    void TearDown() override { ResetCurrentTournament(); }

    ModelPlayer& Add(ModelPlayer p)
    {
        model.players.push_back(std::move(p));
        return model.players.back();
    }

    ConflictModel model;
};

using Lines = std::vector<QString>;

}  // namespace

TEST_F(ConflictRules, APlayerWithoutHistoryGroupsConflictsOrTeamHasNone)
{
    Add(Player(1, "Ann Archer", {Now(1, kAustria)}));
    Add(Player(2, "Bob Baker", {Now(1, kEngland)}));
    EXPECT_EQ(model.ComputePlayerConflict(1), 0);
    EXPECT_TRUE(model.explanation.empty());
    ASSERT_NE(model.lastPlayer, nullptr);
    EXPECT_EQ(model.lastPlayer->name, "Ann Archer");
}

TEST_F(ConflictRules, EarlierPowersCountForTheSamePowerAndItsPowerGroup)
{
    struct Case {
        int groupPowers, w, now;
        std::vector<int> before;
        int value;
        Lines lines;
    };
    const Case cases[] = {
        {1, 5, kItaly, {kItaly, kGermany, kGermany}, 9,
         {"5 pts. for having played this power 1 time before.",
          "4 pts. for having played a power in this power group 2 times before."}},
        // Germany is in no group of grouping 3.
        {3, 5, kGermany, {kAustria, kItaly, kGermany}, 5, {"5 pts. for having played this power 1 time before."}},
        {3, 4, kAustria, {kItaly, kGermany}, 2, {"2 pts. for having played a power in this power group 1 time before."}},
        {2, 3, kEngland, {kTurkey, kFrance}, 1, {"1 pt. for having played a power in this power group 1 time before."}},
        {2, 3, kFrance, {kRussia, kFrance, kFrance}, 7,
         {"6 pts. for having played this power 2 times before.",
          "1 pt. for having played a power in this power group 1 time before."}},
        {1, 6, kRussia, {kEngland, kAustria}, 0, {}},
        {4, 6, kRussia, {kTurkey}, 0, {}},  // an unknown grouping groups nothing
        // W = 0 still says so.
        {0, 0, kEngland, {kEngland}, 0, {"0 pts. for having played this power 1 time before."}},
        // No power now, or earlier seats without a power, count nothing.
        {1, 5, kNoPower, {kNoPower, kNoPower}, 0, {}},
        {1, 5, kAustria, {kNoPower}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "grouping " << c.groupPowers << ", power " << c.now);
        CurrentTournament.groupPowers = c.groupPowers;
        CurrentTournament.powerConflict = c.w;
        model.players.clear();
        std::vector<PastSeat> seats{Now(1, c.now)};
        for (size_t i = 0; i < c.before.size(); ++i) seats.push_back(Earlier(3 - int(i), 1, c.before[i]));
        Add(Player(1, "Ann Archer", seats));
        EXPECT_EQ(model.ComputePlayerConflict(1), c.value);
        EXPECT_EQ(model.explanation, c.lines);
    }
}

TEST_F(ConflictRules, EarlierMeetingsCountForBothPlayersOfAGame)
{
    CurrentTournament.playerConflict = 3;
    Add(Player(1, "Ann Archer", {Now(1, kAustria), Earlier(3, 2), Earlier(2, 1), Earlier(1, 5)}));
    Add(Player(2, "Bob Baker", {Now(1, kEngland), Earlier(3, 2), Earlier(2, 4), Earlier(1, 5)}));
    Add(Player(3, "Cy Cole", {Now(1, kFrance), Earlier(2, 1)}));
    Add(Player(4, "Di Dunn", {Now(2, kFrance), Earlier(3, 2)}));  // met them, but plays elsewhere now

    EXPECT_EQ(model.ComputePlayerConflict(1), 9);
    EXPECT_EQ(model.explanation, (Lines{"6 pts. for having played against Bob Baker 2 times before.",
                                        "3 pts. for having played against Cy Cole 1 time before."}));
    EXPECT_EQ(model.ComputePlayerConflict(2), 6);
    EXPECT_EQ(model.explanation, Lines{"6 pts. for having played against Ann Archer 2 times before."});
    EXPECT_EQ(model.ComputePlayerConflict(4), 0);
    EXPECT_EQ(model.TotalConflict(), 9 + 6 + 3);
}

TEST_F(ConflictRules, ADeclaredConflictCountsForBothPlayersOfAGame)
{
    ModelPlayer ann = Player(1, "Ann Archer", {Now(1, kAustria)});
    ann.pairConflicts = {{3, 9}, {2, 4}};
    Add(ann);
    Add(Player(2, "Bob Baker", {Now(1, kEngland)}));
    Add(Player(3, "Cy Cole", {Now(2, kEngland)}));  // in another game: not counted

    EXPECT_EQ(model.ComputePlayerConflict(1), 4);
    EXPECT_EQ(model.explanation, Lines{"4 pts. inherent conflict with Bob Baker."});
    EXPECT_EQ(model.ComputePlayerConflict(2), 4);
    EXPECT_EQ(model.explanation, Lines{"4 pts. inherent conflict with Ann Archer."});
    EXPECT_EQ(model.TotalConflict(), 8);

    model.players[0].pairConflicts = {{2, 1}};
    EXPECT_EQ(model.ComputePlayerConflict(2), 1);
    EXPECT_EQ(model.explanation, Lines{"1 pt. inherent conflict with Ann Archer."});
}

TEST_F(ConflictRules, SharedGroupsCountForEachGroupBothShare)
{
    ModelPlayer ann = Player(1, "Ann Archer", {Now(1, kAustria)});
    ann.groups = {{7, 2, "Chess Club"}, {8, 1, "Family"}, {9, 5, "Elsewhere"}};
    ModelPlayer bob = Player(2, "Bob Baker", {Now(1, kEngland)});
    bob.groups = {{8, 1, "Family"}, {7, 2, "Chess Club"}};
    Add(ann);
    Add(bob);
    EXPECT_EQ(model.ComputePlayerConflict(1), 3);
    EXPECT_EQ(model.explanation, (Lines{"2 pts. for being in the group 'Chess Club' with Bob Baker.",
                                        "1 pt. for being in the group 'Family' with Bob Baker."}));
    EXPECT_EQ(model.ComputePlayerConflict(2), 3);
    EXPECT_EQ(model.explanation, (Lines{"1 pt. for being in the group 'Family' with Ann Archer.",
                                        "2 pts. for being in the group 'Chess Club' with Ann Archer."}));
}

TEST_F(ConflictRules, TeamMatesInOneGameCountOnlyInTheTeamHeatOrWhenEveryHeatCounts)
{
    CurrentTournament.playerConflict = 3;
    CurrentTournament.powerConflict = 2;
    Add(Player(1, "Ann Archer", {Now(1, kAustria)}, 10));
    Add(Player(2, "Bob Baker", {Now(1, kEngland)}, 10));
    Add(Player(3, "Cy Cole", {Now(1, kFrance)}, 11));
    struct Case {
        int teamHeat, teamConflict, value;
        Lines lines;
    };
    const Case cases[] = {
        {-1, 0, 5, {"5 pts. for being on the same team as Bob Baker."}},  // T falls back to P + W
        {4, 7, 7, {"7 pts. for being on the same team as Bob Baker."}},
        {4, 1, 1, {"1 pt. for being on the same team as Bob Baker."}},
        {2, 7, 0, {}},  // another heat is the team heat
        {0, 7, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "teamHeat " << c.teamHeat);
        CurrentTournament.teamHeat = c.teamHeat;
        CurrentTournament.teamConflict = c.teamConflict;
        EXPECT_EQ(model.ComputePlayerConflict(1), c.value);
        EXPECT_EQ(model.explanation, c.lines);
        EXPECT_EQ(model.TotalConflict(), 2 * c.value);
    }
}

TEST_F(ConflictRules, TeamMatesOnOnePowerInOtherGamesCountHalfTheWeightPlusOneInTheTeamHeat)
{
    CurrentTournament.teamHeat = 4;
    Add(Player(1, "Ann Archer", {Now(1, kAustria)}, 10));
    Add(Player(2, "Bob Baker", {Now(2, kAustria)}, 10));
    Add(Player(3, "Cy Cole", {Now(3, kAustria)}, 11));   // same power, other team
    Add(Player(4, "Di Dunn", {Now(3, kEngland)}, 10));  // same team, other power
    struct Case {
        int teamConflict, value;
        QString line;
    };
    // The line shows T / 2; it says "pt" only for 0, "pts" otherwise.
    const Case cases[] = {
        {5, 3, "2 pts. for playing the same power as team member Bob Baker."},
        {2, 2, "1 pts. for playing the same power as team member Bob Baker."},
        {1, 1, "0 pt. for playing the same power as team member Bob Baker."},
        {-3, 0, "-1 pts. for playing the same power as team member Bob Baker."},
    };
    for (const Case& c : cases) {
        CurrentTournament.teamConflict = c.teamConflict;
        EXPECT_EQ(model.ComputePlayerConflict(1), c.value) << c.teamConflict;
        EXPECT_EQ(model.explanation, Lines{c.line});
        EXPECT_EQ(model.ComputePlayerConflict(2), c.value) << c.teamConflict;
    }

    // Two seats without a power are on the same power for this rule.
    model.players[0].seats[0].powerID = kNoPower;
    model.players[1].seats[0].powerID = kNoPower;
    CurrentTournament.teamConflict = 6;
    EXPECT_EQ(model.ComputePlayerConflict(2), 4);
    EXPECT_EQ(model.explanation, Lines{"3 pts. for playing the same power as team member Ann Archer."});

    // Outside the team heat the rule does not apply.
    CurrentTournament.teamHeat = -1;
    EXPECT_EQ(model.ComputePlayerConflict(2), 0);
    CurrentTournament.teamHeat = 3;
    EXPECT_EQ(model.ComputePlayerConflict(2), 0);
}

TEST_F(ConflictRules, LinesComeInTheOrderOfTheRulesAndThePlayers)
{
    CurrentTournament.powerConflict = 2;
    CurrentTournament.teamHeat = -1;
    CurrentTournament.teamConflict = 4;
    ModelPlayer ann = Player(1, "Ann Archer", {Now(1, kAustria), Earlier(3, 1, kAustria)}, 10);
    ann.pairConflicts = {{2, 3}};
    ann.groups = {{7, 1, "Club"}};
    ModelPlayer bob = Player(2, "Bob Baker", {Now(1, kEngland), Earlier(3, 1, kEngland)}, 10);
    bob.groups = {{7, 1, "Club"}};
    Add(Player(3, "Cy Cole", {Now(1, kFrance), Earlier(3, 1)}));
    Add(ann);
    Add(bob);
    EXPECT_EQ(model.ComputePlayerConflict(1), 2 + 1 + 3 + 1 + 4 + 1);
    EXPECT_EQ(model.explanation, (Lines{"2 pts. for having played this power 1 time before.",
                                        "1 pt. for having played against Cy Cole 1 time before.",
                                        "3 pts. inherent conflict with Bob Baker.",
                                        "1 pt. for being in the group 'Club' with Bob Baker.",
                                        "4 pts. for being on the same team as Bob Baker.",
                                        "1 pt. for having played against Bob Baker 1 time before."}));
}

TEST_F(ConflictRules, LongExplanationsKeepEveryLineWhole)
{
    const QString longName = QString(120, QChar('x'));
    ModelPlayer ann = Player(1, "Ann " + longName, {Now(1, kAustria)});
    ModelPlayer bob = Player(2, "Bob " + longName, {Now(1, kEngland)});
    for (int g = 0; g < 30; ++g) {
        const QString name = QString("Group %1 ").arg(g) + longName;
        ann.groups.push_back({g, 2, name});
        bob.groups.push_back({g, 2, name});
    }
    Add(ann);
    Add(bob);
    EXPECT_EQ(model.ComputePlayerConflict(1), 60);
    ASSERT_EQ(model.explanation.size(), 30u);
    EXPECT_EQ(model.explanation[29],
              "2 pts. for being in the group 'Group 29 " + longName + "' with Bob " + longName + ".");
    EXPECT_EQ(model.TotalConflict(), 120);
    EXPECT_EQ(model.explanation.size(), 30u);
}

TEST_F(ConflictRules, APlayerOutsideTheModelHasNoConflictAndNoLastPlayer)
{
    ModelPlayer ann = Player(1, "Ann Archer", {Now(1, kAustria)});
    ann.pairConflicts = {{2, 4}};
    Add(ann);
    Add(Player(2, "Bob Baker", {Now(1, kEngland)}));
    EXPECT_EQ(model.ComputePlayerConflict(1), 4);
    EXPECT_EQ(model.ComputePlayerConflict(99), 0);
    EXPECT_TRUE(model.explanation.empty());
    EXPECT_EQ(model.lastPlayer, nullptr);
}

TEST_F(ConflictRules, TheTotalSumsThePlayersAndLeavesTheLastPlayersLines)
{
    ModelPlayer ann = Player(1, "Ann Archer", {Now(1, kAustria)});
    ann.pairConflicts = {{2, 4}, {3, 1}};
    Add(ann);
    Add(Player(2, "Bob Baker", {Now(1, kEngland)}));
    Add(Player(3, "Cy Cole", {Now(1, kFrance)}));
    EXPECT_EQ(model.TotalConflict(), 10);
    ASSERT_NE(model.lastPlayer, nullptr);
    EXPECT_EQ(model.lastPlayer->name, "Cy Cole");
    EXPECT_EQ(model.explanation, Lines{"1 pt. inherent conflict with Ann Archer."});
}

TEST_F(ConflictRules, ACopyPointsItsLastPlayerIntoItself)
{
    Add(Player(1, "Ann Archer", {Now(1, kAustria)}));
    Add(Player(2, "Bob Baker", {Now(1, kEngland)}));
    model.ComputePlayerConflict(2);
    ConflictModel copy(model);
    ASSERT_NE(copy.lastPlayer, nullptr);
    EXPECT_EQ(copy.lastPlayer, &copy.players[1]);
    ConflictModel assigned;
    assigned = model;
    EXPECT_EQ(assigned.lastPlayer, &assigned.players[1]);
}
