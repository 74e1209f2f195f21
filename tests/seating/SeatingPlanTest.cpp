// The seating plan: never worse for the heat than the deeper search alone
// with the same seed and steps, never below its lower bound, measured heat
// by heat as the conflict model measures, the same however its steps are
// split; and the plain 49-player tournament seeded heat by heat at the
// bound, without a repeated opponent through heat 8 or a repeated power
// through heat 7, each heat stopping as it reaches the bound.

#include "db/Format.h"
#include "heats/RandomHeat.h"
#include "heats/Seeding.h"
#include "seating/SeatingBound.h"
#include "seating/SeatingPlan.h"
#include "support/HeatTest.h"
#include "tournament/CurrentTournament.h"

#include <set>

using namespace randomheat;

namespace {

using SeatingPlanTest = HeatTest;

}  // namespace

TEST_F(SeatingPlanTest, NeverWorseThanTheDeeperSearchAloneAndMeasuredAsTheModelMeasures)
{
    std::mt19937 rng(20250622);
    int better = 0;
    for (int round = 0; round < 40; ++round) {
        ConflictModel model = PassedRandomHeat(rng);
        CurrentTournament.numHeats = model.heatNum + Uniform(rng, 0, 3);
        CurrentTournament.assignPowers = Chance(rng, 0.8) ? 1 : 0;
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << model.players.size() << " players, heats "
                                        << model.heatNum << " to " << CurrentTournament.numHeats);
        const Seating seats = SeatsHeld(model);
        const std::uint32_t seed = std::uint32_t(round);
        const long long steps = 10000;
        const SeatingRules rules = SeedingRules(model.heatNum, CurrentTournament.numHeats);

        ConflictModel alone = model;
        const int deeper = SearchSeatingDeeper(alone, rules.heatWeights.front(), seed, steps);
        ConflictModel once = model;
        const int planned = PlanSeating(once, rules, seed, SeatingBudget::Steps(steps));

        SeatingPlanner planner(model, rules, seed);
        planner.Run(steps / 3);
        planner.Run(steps - steps / 3);
        EXPECT_TRUE(planner.Steps() == steps || planner.Done());
        // Each planned heat as the model prices it, with the team weight of
        // its own heat.
        const std::vector<ConflictModel> heats = planner.PlannedModels();
        ASSERT_EQ(int(heats.size()), planner.PlannedHeats());
        long long weighted = 0;
        for (size_t k = 0; k < heats.size(); ++k) {
            ConflictModel heat = heats[k];
            ApplyTeamWeightRule(heat.heatNum);
            weighted += SeatingPlanWeight(int(k), int(heats.size())) * heat.TotalConflict();
        }
        ApplyTeamWeightRule(model.heatNum);
        EXPECT_EQ(weighted, planner.PlanObjective());

        const int value = planner.Finish();
        EXPECT_EQ(value, planned);
        EXPECT_EQ(SeatingOf(model), SeatingOf(once));
        EXPECT_LE(value, deeper);
        if (planner.HeatBound() != kNoSeatingBound) {
            EXPECT_LE(planner.HeatBound(), value);
        }
        ExpectAnExchangePassEnd(model, value, seats);
        better += value < deeper;
        if (HasFailure()) break;
    }
    // The plan found lower seatings than the search on some heats.
    EXPECT_GT(better, 5);
}

TEST_F(SeatingPlanTest, APlainTournamentOf49SeededHeatByHeatRepeatsNoOpponentThroughHeat8)
{
    OpenTournament({.playerConflict = 3, .powerConflict = 2, .numHeats = 8});
    std::vector<int> players;
    for (int i = 0; i < 49; ++i) players.push_back(testdata::AddPlayer("Player", Format("P%d", i)));
    for (int heatNum = 1; heatNum <= 8; ++heatNum) {
        for (int p : players) testdata::AddHeatPlayer(HeatID(heatNum), p);
        const std::uint32_t seed = 1700000000u + 86400u * std::uint32_t(heatNum);
        DrawSeating(HeatID(heatNum), players, seed);
        // As the Heats dialog seeds with "Search Deeper" ticked.
        ConflictModel model = *BuildConflictModel(heatNum);
        ApplyTeamWeightRule(heatNum);
        if (model.TotalConflict() > 0) {
            OptimiseSeating(model, model.TotalConflict());
            SeatingPlanner planner(model, SeedingRules(heatNum, CurrentTournament.numHeats), seed);
            EXPECT_TRUE(planner.FromDesign()) << "heat " << heatNum;
            // The design's heats are each at their bound: nothing to search.
            EXPECT_TRUE(planner.Done()) << "heat " << heatNum;
            planner.Run(5000);
            EXPECT_EQ(planner.Steps(), 0) << "heat " << heatNum;
            const int value = planner.Finish();
            EXPECT_EQ(value, heatNum < 8 ? 0 : 49 * 2) << "heat " << heatNum;
            EXPECT_EQ(planner.HeatBound(), value) << "heat " << heatNum;
        }
        model.WriteSeating();
        Exec(Sql("update Game set gameStat = 2 where heatID = %d", HeatID(heatNum)));
    }

    std::set<std::pair<int, int>> met, played;
    for (const QStringList& seat : Rows(Sql("select playerID, powerID from GamePlayer, Game, Heat where gameID = "
                                            "Game.id and heatID = Heat.id and heatNum < 8")))
        EXPECT_TRUE(played.insert({seat[0].toInt(), seat[1].toInt()}).second) << "a power again in heats 1 to 7";
    const std::vector<QStringList> pairs = Rows(Sql("select a.playerID, b.playerID from GamePlayer a, GamePlayer b "
                                                    "where a.gameID = b.gameID and a.playerID < b.playerID"));
    for (const QStringList& pair : pairs) met.insert({pair[0].toInt(), pair[1].toInt()});
    // Every two players have met, each pair once.
    EXPECT_EQ(pairs.size(), 49u * 48u / 2u);
    EXPECT_EQ(met.size(), pairs.size());
    EXPECT_EQ(played.size(), 49u * 7u);
}
