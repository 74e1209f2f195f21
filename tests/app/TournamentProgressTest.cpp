#include "app/TournamentProgress.h"

#include <gtest/gtest.h>

TEST(TournamentProgress, NamesTheNextStepInEveryState)
{
    const auto at = [](TournamentProgress p) { return NextStepHint(p); };
    TournamentProgress open{.tournamentsExist = true, .open = true, .playersExist = true, .numHeats = 3};
    struct Case {
        TournamentProgress progress;
        const char* hint;
    } cases[] = {
        {{},
         "Next: create your first tournament with Tournament > New, or look around a ready-made one with "
         "Tournament > Example Tournament..."},
        {{.tournamentsExist = true},
         "Next: open a tournament with Tournament > Open, or start one with Tournament > New"},
        {{.tournamentsExist = true, .open = true}, "Next: add players with Players > View"},
        {open, "Next: press Heats to create heat 1"},
        {[&] { auto p = open; p.teamSize = 1; return p; }(),
         "Next: press Teams to form the teams, then Heats to create heat 1"},
        {[&] { auto p = open; p.teamSize = 1; p.teamsExist = true; return p; }(), "Next: press Heats to create heat 1"},
        {[&] { auto p = open; p.lastHeat = 2; return p; }(),
         "Next: press Heats to register the players for heat 2 and seed them"},
        {[&] { auto p = open; p.lastHeat = 2; p.seated = 14; p.unstartedGames = 1; p.startedGames = 1; return p; }(),
         "Next: press Heats to start the games of heat 2"},
        {[&] { auto p = open; p.lastHeat = 2; p.seated = 14; p.startedGames = 1; return p; }(),
         "Next: press Heats, then View Games, to enter the results of heat 2"},
        {[&] { auto p = open; p.lastHeat = 2; p.seated = 14; return p; }(),
         "Next: press Scores for the standings, or Heats to create heat 3"},
        {[&] { auto p = open; p.lastHeat = 3; p.seated = 14; return p; }(),
         "Next: press Scores for the final standings and the awards"},
    };
    for (const Case& c : cases) EXPECT_EQ(at(c.progress).toStdString(), c.hint);
}

TEST(TournamentProgress, AvailableCommandsGiveNoReason)
{
    EXPECT_TRUE(OpenCommandReason(true).isEmpty());
    EXPECT_TRUE(OpenTournamentReason(true).isEmpty());
    EXPECT_TRUE(PreRegCommandReason(true, 1).isEmpty());
    EXPECT_TRUE(TeamsCommandReason(true, 2).isEmpty());
    EXPECT_TRUE(ScoresCommandReason(true, true).isEmpty());
    // Without a tournament every tournament command names the one reason.
    for (const QString& reason : {PreRegCommandReason(false, 1), TeamsCommandReason(false, 2),
                                  ScoresCommandReason(false, true)})
        EXPECT_EQ(reason, OpenTournamentReason(false));
    EXPECT_EQ(PreRegCommandReason(true, 0), "This tournament has no heat pre-registration (Tournament > Edit)");
}
