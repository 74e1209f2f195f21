#pragma once
// Fixture of the heat engine's tests: an open tournament in the scratch
// database and short ways to seat players in its heats.

#include "conflicts/ConflictModel.h"
#include "support/DbTest.h"
#include "support/TestData.h"

#include <map>
#include <utility>
#include <vector>

class HeatTest : public DbTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the tournament and loads it as the open one.
    int OpenTournament(testdata::TournamentRow row = {});

    // The id of heat heatNum of the open tournament, created when missing.
    int HeatID(int heatNum);
    // A game of heat heatNum with these (player, power) seats.
    int SeatGame(int heatNum, int gameNum, const std::vector<std::pair<int, int>>& seats, int gameStat = 0);

    // The model player with this id in g_conflictModel (fails when absent).
    ModelPlayer& InModel(int playerID);

    int systemID = 0;
    int tournamentID = 0;

private:
    std::map<int, int> m_heats;
};
