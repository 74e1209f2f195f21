#include "heats/HeatActionReasons.h"
#include "heats/HeatRecords.h"

#include <gtest/gtest.h>

TEST(HeatActionReasons, SeedingNamesTheNearestWholeGames)
{
    const struct {
        int count;
        const char* all;
        const char* some;
    } cases[] = {
        {0, "No player is registered for this heat", "Select the registered players to seed, 7 for each game"},
        {3, "3 registered: seeding needs a multiple of 7 \u2014 register 4 more",
         "3 selected: seeding needs a multiple of 7 \u2014 select 4 more"},
        {7, "", ""},
        {34, "34 registered: seeding needs a multiple of 7 \u2014 register 1 more or leave 6 out",
         "34 selected: seeding needs a multiple of 7 \u2014 select 1 more or 6 fewer"},
        {36, "36 registered: seeding needs a multiple of 7 \u2014 register 6 more or leave 1 out",
         "36 selected: seeding needs a multiple of 7 \u2014 select 6 more or 1 fewer"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SeedAllReason(c.count).toStdString(), c.all);
        EXPECT_EQ(SeedSomeReason(c.count).toStdString(), c.some);
    }
    // A reason exactly when the button's rule disables it.
    for (int n = 0; n <= 50; ++n) EXPECT_EQ(SeedAllReason(n).isEmpty(), IsSeedableCount(n)) << n;
}
