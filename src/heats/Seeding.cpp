#include "heats/Seeding.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "heats/HeatRecords.h"
#include "playerrecords/PlayerRecords.h"
#include "scoring/ScoringSystem.h"
#include "seating/SeatingTables.h"
#include "tournament/CurrentTournament.h"
#include "tournament/TournamentSettings.h"
#include "ui/UiServices.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <unordered_set>

void LoadHeatScoringSystem(int heatSystemID)
{
    LoadScoringSystem(heatSystemID != 0 ? heatSystemID : CurrentTournament.systemID);
}

AssignPowersOverride::AssignPowersOverride(bool assignPowers) : m_kept(CurrentTournament.assignPowers)
{
    CurrentTournament.assignPowers = assignPowers ? 1 : 0;
}

AssignPowersOverride::~AssignPowersOverride() { CurrentTournament.assignPowers = m_kept; }

std::uint32_t SeedingSeed() { return static_cast<std::uint32_t>(Services().CurrentTimeSeconds()); }

namespace {

const QString kNotSeeded = QStringLiteral("Heat Not Seeded");

QString NameOfPlayer(int playerID)
{
    CRecordset rs(Sql("select first, last from Player where id = %d", playerID));
    return rs.IsEOF() ? Format("Player %d", playerID) : PlayerDisplayName(rs.GetString(0), rs.GetString(1));
}

// Refuses the draw unless the heat exists and every player to seed is
// registered for it and seated in none of its games.
void CheckStillToSeed(int heatID, const std::vector<int>& toSeedIDs)
{
    const int heatNum = QueryInt(Sql("select heatNum from Heat where id = %d", heatID), -1);
    if (heatNum == -1)
        throw HeatChangedElsewhere(kNotSeeded, QStringLiteral("This heat no longer exists: another program has "
                                                              "abandoned it.\nNothing was seeded."));
    std::unordered_set<int> registered, seated;
    for (CRecordset rs(Sql("select playerID from HeatPlayer where heatID = %d", heatID)); !rs.IsEOF(); rs.MoveNext())
        registered.insert(rs.GetInt(0));
    for (CRecordset rs(Sql("select GamePlayer.playerID from GamePlayer, Game where GamePlayer.gameID = Game.id and "
                           "Game.heatID = %d",
                           heatID));
         !rs.IsEOF(); rs.MoveNext())
        seated.insert(rs.GetInt(0));
    for (int playerID : toSeedIDs) {
        if (seated.contains(playerID))
            throw HeatChangedElsewhere(kNotSeeded, Format("%s is already seated in Heat %d: another program has "
                                                          "changed the heat.\nNothing was seeded.",
                                                          NameOfPlayer(playerID), heatNum));
        if (!registered.contains(playerID))
            throw HeatChangedElsewhere(kNotSeeded, Format("%s is no longer registered for Heat %d: another program "
                                                          "has changed the heat.\nNothing was seeded.",
                                                          NameOfPlayer(playerID), heatNum));
    }
}

// One try at the draw, inside its transaction: the players are checked
// against the heat as it is stored, then drawn into new games.
void DrawSeatingOnce(int heatID, std::vector<int> toSeedIDs, std::uint32_t seed)
{
    CheckStillToSeed(heatID, toSeedIDs);
    int lastGame = 0;
    for (CRecordset rs(Sql("select gameNum from Game where heatID = %d order by gameNum", heatID)); !rs.IsEOF();
         rs.MoveNext())
        lastGame = rs.GetInt(0);

    SeedingRandom random(seed);
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
}

}  // namespace

void DrawSeating(int heatID, const std::vector<int>& players, std::uint32_t seed)
{
    if (players.empty() || players.size() % 7 != 0) throw std::invalid_argument("players are seeded in games of seven");
    RunAtomically([&] { DrawSeatingOnce(heatID, players, seed); });
}

namespace {

bool TeamWeightRuleApplies(const TournamentRecord& t) { return t.teamSize != 0 && t.teamHeat > 0; }

int RuledTeamConflict(const TournamentRecord& t, int heatNum)
{
    return t.teamHeat == heatNum ? 2 * std::abs(t.playerConflict + t.powerConflict) : 0;
}

}  // namespace

void ApplyTeamWeightRule(int heatNum)
{
    TournamentRecord& t = CurrentTournament;
    if (TeamWeightRuleApplies(t)) t.teamConflict = RuledTeamConflict(t, heatNum);
}

ConflictWeights SeedingWeights(int heatNum)
{
    const TournamentRecord& t = CurrentTournament;
    ConflictWeights w = ConflictWeights::FromCurrentTournament();
    if (TeamWeightRuleApplies(t)) {
        const int team = RuledTeamConflict(t, heatNum);
        w.team = team != 0 ? team : t.playerConflict + t.powerConflict;
    }
    return w;
}

// The engine's own names for the powers and its limit of planned heats.
static_assert(kSeatingNoPower == kNoPower && kSeatingPowers == kPowerCount);
static_assert(kMaxHeats <= kSeatingMostPlannedHeats, "a plan takes every heat of a tournament");

SeatingRules SeedingRules(int heatNum, int lastHeat)
{
    SeatingRules rules;
    const int heats = std::clamp(lastHeat - heatNum + 1, 1, kMaxHeats);
    for (int k = 0; k < heats; ++k) rules.heatWeights.push_back(SeedingWeights(heatNum + k));
    rules.assignPowers = CurrentTournament.assignPowers != 0;
    rules.mostHeats = kMaxHeats;
    return rules;
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
    SeatingTables seating(model, ConflictWeights::FromCurrentTournament());
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

HeatSeating CurrentSeating(const ConflictModel& model)
{
    HeatSeating seating;
    for (const ModelPlayer& p : model.players)
        seating.push_back({p.seats.front().gameID, p.playerID, p.seats.front().powerID});
    std::sort(seating.begin(), seating.end());
    return seating;
}

void WriteOptimisedSeating(int heatID, const ConflictModel& model, const HeatSeating& drawn)
{
    RunAtomically([&] {
        HeatSeating stored;
        for (CRecordset rs(Sql("select GamePlayer.gameID, GamePlayer.playerID, GamePlayer.powerID from GamePlayer, "
                               "Game where GamePlayer.gameID = Game.id and Game.heatID = %d and Game.gameStat = %d",
                               heatID, int(kUnstarted)));
             !rs.IsEOF(); rs.MoveNext())
            stored.push_back({rs.GetInt(0), rs.GetInt(1), rs.GetInt(2)});
        std::sort(stored.begin(), stored.end());
        if (stored != drawn)
            throw HeatChangedElsewhere(QStringLiteral("Optimization Not Saved"),
                                       Format("Another program has changed the games of Heat %d while the seating was "
                                              "being optimized.\nThe seating is kept as it is stored.",
                                              model.heatNum));
        model.WriteSeating();
    });
}
