// The deeper seating search: never above the exchange pass, ending where no
// single exchange improves, with every game keeping its seats; and a fixed
// result for a fixed seed and amount of work.

#include "heats/RandomHeat.h"
#include "heats/Seeding.h"
#include "seating/SeatingSearch.h"
#include "support/HeatTest.h"

using namespace randomheat;

namespace {

using SeatingSearchTest = HeatTest;

}  // namespace

TEST_F(SeatingSearchTest, NeverEndsAboveTheExchangePassAndEndsWhereNoExchangeImproves)
{
    std::mt19937 rng(20250301);
    int deeper = 0;
    for (int round = 0; round < 100; ++round) {
        ConflictModel model = PassedRandomHeat(rng);
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << model.players.size() << " players");
        const int pass = model.TotalConflict();
        const Seating seats = SeatsHeld(model);

        const int value = SearchSeatingDeeper(model, SeedingWeights(model.heatNum), std::uint32_t(round), 100000);
        EXPECT_LE(value, pass);
        ExpectAnExchangePassEnd(model, value, seats);
        deeper += value < pass;
        if (HasFailure()) break;
    }
    // The search did find better seatings than the pass on many heats.
    EXPECT_GT(deeper, 30);
}

TEST_F(SeatingSearchTest, AFixedSeedAndAmountOfWorkGiveAFixedSeatingHoweverTheWorkIsSplit)
{
    std::mt19937 rng(11);
    ConflictModel drawn;
    do {
        drawn = RandomHeat(rng);
    } while (drawn.players.size() < 35);
    ApplyTeamWeightRule(drawn.heatNum);
    const int pass = OptimiseSeating(drawn, drawn.TotalConflict());

    const ConflictWeights w = SeedingWeights(drawn.heatNum);
    ConflictModel once = drawn;
    const int value = SearchSeatingDeeper(once, w, 5, 30000);
    ASSERT_LT(value, pass);

    ConflictModel sliced = drawn;
    SeatingSearch search(sliced, w, 5);
    for (int slice : {1, 255, 4096, 10000, 15648}) {
        search.Run(slice);
        // A deadline already passed runs nothing.
        search.Run(1000, SeatingSearch::Clock::now() - std::chrono::seconds(1));
    }
    EXPECT_EQ(search.Steps(), 30000);
    EXPECT_EQ(search.Finish(), value);
    EXPECT_EQ(SeatingOf(sliced), SeatingOf(once));
}
