#include "db/Database.h"
#include "scoring/ScoringSystem.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "tournament/CurrentTournament.h"

using namespace testdata;

class LoadTournamentTest : public DbTest {};

TEST_F(LoadTournamentTest, FillsEverySettingAndLoadsTheScoringSystem)
{
    const int systemID = AddSystem();
    const int id = AddTournament({.name = "Autumn Cup",
                                  .description = "Two lines\nof text",
                                  .systemID = systemID,
                                  .teamSize = 2,
                                  .teamHeat = -2,
                                  .teamConflict = 7,
                                  .playerConflict = 3,
                                  .powerConflict = 2,
                                  .numHeats = 5,
                                  .dropHeats = 11,
                                  .minHeats = 2,
                                  .assignPowers = 0,
                                  .groupPowers = 3,
                                  .preregistration = 1,
                                  .unplayedScore = 4,
                                  .multDrop = 2500.50});
    LoadTournament(id);
    const TournamentRecord& t = CurrentTournament;
    EXPECT_EQ(t.id, id);
    EXPECT_EQ(t.name, "Autumn Cup");
    EXPECT_EQ(t.description, "Two lines\nof text");
    EXPECT_EQ(t.systemID, systemID);
    EXPECT_EQ(t.teamSize, 2);
    EXPECT_EQ(t.teamHeat, -2);
    EXPECT_EQ(t.teamConflict, 7);
    EXPECT_EQ(t.playerConflict, 3);
    EXPECT_EQ(t.powerConflict, 2);
    EXPECT_EQ(t.numHeats, 5);
    EXPECT_EQ(t.dropHeats, 11);
    EXPECT_EQ(t.minHeats, 2);
    EXPECT_EQ(t.assignPowers, 0);
    EXPECT_EQ(t.groupPowers, 3);
    EXPECT_EQ(t.preregistration, 1);
    EXPECT_EQ(t.unplayedScore, 4);
    EXPECT_FLOAT_EQ(t.multDrop, 2500.5f);
    EXPECT_EQ(ScoringSystem.id, systemID);
}

TEST_F(LoadTournamentTest, OfAMissingRowIsAnError)
{
    EXPECT_THROW(LoadTournament(42), DbError);
}
