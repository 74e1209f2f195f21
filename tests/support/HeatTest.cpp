#include "support/HeatTest.h"

#include "tournament/CurrentTournament.h"

void HeatTest::SetUp()
{
    DbTest::SetUp();
    g_conflictModel.reset();
    systemID = testdata::AddSystem();
}

void HeatTest::TearDown()
{
    g_conflictModel.reset();
    DbTest::TearDown();
}

int HeatTest::OpenTournament(testdata::TournamentRow row)
{
    row.systemID = systemID;
    tournamentID = testdata::AddTournament(row);
    LoadTournament(tournamentID);
    m_heats.clear();
    return tournamentID;
}

int HeatTest::HeatID(int heatNum)
{
    auto found = m_heats.find(heatNum);
    if (found == m_heats.end()) found = m_heats.emplace(heatNum, testdata::AddHeat(tournamentID, heatNum)).first;
    return found->second;
}

int HeatTest::SeatGame(int heatNum, int gameNum, const std::vector<std::pair<int, int>>& seats, int gameStat)
{
    const int gameID = testdata::AddGame(HeatID(heatNum), gameNum, gameStat);
    for (const auto& [playerID, powerID] : seats) testdata::AddSeat(gameID, playerID, powerID);
    return gameID;
}

ModelPlayer& HeatTest::InModel(int playerID)
{
    static ModelPlayer none;
    if (!g_conflictModel) {
        ADD_FAILURE() << "no conflict model";
        return none;
    }
    for (ModelPlayer& p : g_conflictModel->players)
        if (p.playerID == playerID) return p;
    ADD_FAILURE() << "player " << playerID << " is not in the model";
    return none;
}
