#include "heats/Seeding.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "heats/SeatingTables.h"
#include "scoring/ScoringSystem.h"
#include "tournament/CurrentTournament.h"
#include "ui/UiServices.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

void LoadHeatScoringSystem(int heatSystemID)
{
    LoadScoringSystem(heatSystemID != 0 ? heatSystemID : CurrentTournament.systemID);
}

AssignPowersOverride::AssignPowersOverride(bool assignPowers) : m_kept(CurrentTournament.assignPowers)
{
    CurrentTournament.assignPowers = assignPowers ? 1 : 0;
}

AssignPowersOverride::~AssignPowersOverride() { CurrentTournament.assignPowers = m_kept; }

void DrawSeating(int heatID, std::vector<int> toSeedIDs)
{
    if (toSeedIDs.empty() || toSeedIDs.size() % 7 != 0)
        throw std::invalid_argument("players are seeded in games of seven");

    Transaction transaction;
    int lastGame = 0;
    for (CRecordset rs(Sql("select gameNum from Game where heatID = %d order by gameNum", heatID)); !rs.IsEOF();
         rs.MoveNext())
        lastGame = rs.GetInt(0);

    SeedingRandom random(static_cast<std::uint32_t>(Services().CurrentTimeSeconds()));
    const bool assignPowers = CurrentTournament.assignPowers != 0;
    int gameID = -1;
    for (int n = int(toSeedIDs.size()); n > 0; --n) {
        const int r = n % 7;
        if (r == 0) {
            ++lastGame;
            ExecuteSQL(Sql("insert into Game (heatID, gameNum, gameStat) values (%d, %d, %d)", heatID, lastGame,
                           int(kUnstarted)));
            gameID = QueryInt(Sql("select id from Game where heatID = %d and gameNum = %d", heatID, lastGame), -1);
        }
        const int i = random.Next() % n;
        const int playerID = toSeedIDs[size_t(i)];
        ExecuteSQL(Sql("insert into GamePlayer (gameID, playerID, powerID, result, years, centers) values (%d, %d, %d, "
                       "%d, %d, %d)",
                       gameID, playerID, assignPowers ? r : int(kNoPower), int(kNoResult), -1, -1));
        ExecuteSQL(Sql("delete from HeatPlayer where heatID = %d and playerID = %d", heatID, playerID));
        toSeedIDs.erase(toSeedIDs.begin() + i);
    }
    transaction.Commit();
}

void ApplyTeamWeightRule(int heatNum)
{
    TournamentRecord& t = CurrentTournament;
    if (t.teamSize == 0 || t.teamHeat <= 0) return;
    t.teamConflict = t.teamHeat == heatNum ? 2 * std::abs(t.playerConflict + t.powerConflict) : 0;
}

int SeedingConflict(int heatNum)
{
    if (!g_conflictModel) g_conflictModel = BuildConflictModel(heatNum);
    ApplyTeamWeightRule(heatNum);
    return g_conflictModel->TotalConflict();
}

int OptimiseSeating(ConflictModel& model, int start)
{
    if (model.players.empty()) return start;
    SeatingTables seating(model);
    const int best = ClimbSeating(seating, start);
    seating.WriteBack();
    return best;
}

int OptimiseSeating(int start)
{
    if (!g_conflictModel) return start;
    ApplyTeamWeightRule(g_conflictModel->heatNum);
    return OptimiseSeating(*g_conflictModel, start);
}
