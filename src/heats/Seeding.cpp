#include "heats/Seeding.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
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

namespace {

// The model's conflict terms tabulated for one optimisation. During it only
// the current seats move, so everything that depends on earlier seats,
// declared conflicts, groups and teams is fixed; a trial exchange of a and b
// changes only the terms of the pairs that involve a or b, and those are
// found from the tables in time independent of the heat's size (apart from
// the team mates of a and b).
//
// The total is the same integer the model computes:
//   sum over players s of PowerHistory(s, power(s))
// + sum over pairs {s, o} in one game of same(s, o) + same(o, s)
// + sum over pairs {s, o} in different games on one power of team(s, o) + team(o, s).
class SeatingOptimiser {
public:
    explicit SeatingOptimiser(ConflictModel& model);

    int Total() const;
    // How much the total changes when a and b exchange seats.
    int Delta(int a, int b) const;
    void Exchange(int a, int b);
    // Puts the seating into the model's current seats.
    void WriteBack() const;

private:
    int Same(int i, int j) const { return m_same[size_t(i) * size_t(m_players) + size_t(j)]; }
    int& GameSum(int i, int g) { return m_gameSum[size_t(i) * size_t(m_games) + size_t(g)]; }
    int GameSum(int i, int g) const { return m_gameSum[size_t(i) * size_t(m_games) + size_t(g)]; }
    int PowerCost(int i, int p) const { return m_powerCost[size_t(i) * m_powerValues.size() + size_t(p)]; }
    int MatesChange(int s, int other, int fromGame, int fromPower, int toGame, int toPower) const;

    struct Mate {
        int player;
        int weight;  // both sides' points when on one power in different games
    };

    ConflictModel& m_model;
    int m_players = 0;
    int m_games = 0;
    std::vector<int> m_gameIDs;      // game index -> Game.id
    std::vector<int> m_powerValues;  // power index -> powerID
    std::vector<int> m_game;         // player -> game index
    std::vector<int> m_power;        // player -> power index
    std::vector<int> m_same;         // players x players: both sides' points for sharing a game
    std::vector<int> m_gameSum;      // players x games: sum of m_same with the game's players
    std::vector<int> m_powerCost;    // players x powers: PowerHistory
    std::vector<std::vector<Mate>> m_mates;
};

int IndexOf(std::vector<int>& values, int value)
{
    const auto found = std::find(values.begin(), values.end(), value);
    if (found != values.end()) return int(found - values.begin());
    values.push_back(value);
    return int(values.size()) - 1;
}

SeatingOptimiser::SeatingOptimiser(ConflictModel& model) : m_model(model), m_players(int(model.players.size()))
{
    const ConflictWeights w = ConflictWeights::FromCurrentTournament();
    const std::vector<ModelPlayer>& players = model.players;
    const size_t n = players.size();

    for (const ModelPlayer& p : players) {
        m_game.push_back(IndexOf(m_gameIDs, p.seats.front().gameID));
        m_power.push_back(IndexOf(m_powerValues, p.seats.front().powerID));
    }
    m_games = int(m_gameIDs.size());

    m_powerCost.resize(n * m_powerValues.size());
    for (size_t i = 0; i < n; ++i)
        for (size_t k = 0; k < m_powerValues.size(); ++k)
            m_powerCost[i * m_powerValues.size() + k] = model.PowerHistoryConflict(players[i], m_powerValues[k], w);

    m_same.assign(n * n, 0);
    m_mates.resize(n);
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            const int same = model.SameGameConflict(players[i], players[j], w) +
                             model.SameGameConflict(players[j], players[i], w);
            m_same[i * n + j] = m_same[j * n + i] = same;
            if (players[i].teamID != -1 && players[i].teamID == players[j].teamID) {
                const int team = model.TeamPowerConflict(players[i], players[j], w) +
                                 model.TeamPowerConflict(players[j], players[i], w);
                if (team != 0) {
                    m_mates[i].push_back({int(j), team});
                    m_mates[j].push_back({int(i), team});
                }
            }
        }
    }

    m_gameSum.assign(n * size_t(m_games), 0);
    for (int i = 0; i < m_players; ++i)
        for (int j = 0; j < m_players; ++j) GameSum(i, m_game[size_t(j)]) += Same(i, j);
}

int SeatingOptimiser::Total() const
{
    int total = 0;
    for (int i = 0; i < m_players; ++i) {
        total += PowerCost(i, m_power[size_t(i)]);
        // Each pair once, from its first player.
        for (int j = i + 1; j < m_players; ++j) {
            if (m_game[size_t(i)] == m_game[size_t(j)]) total += Same(i, j);
        }
        for (const Mate& mate : m_mates[size_t(i)]) {
            if (mate.player > i && m_game[size_t(mate.player)] != m_game[size_t(i)] &&
                m_power[size_t(mate.player)] == m_power[size_t(i)])
                total += mate.weight;
        }
    }
    return total;
}

int SeatingOptimiser::MatesChange(int s, int other, int fromGame, int fromPower, int toGame, int toPower) const
{
    int change = 0;
    for (const Mate& mate : m_mates[size_t(s)]) {
        if (mate.player == other) continue;  // the pair of the exchange keeps its terms
        const int g = m_game[size_t(mate.player)];
        const int p = m_power[size_t(mate.player)];
        const bool before = g != fromGame && p == fromPower;
        const bool after = g != toGame && p == toPower;
        change += (int(after) - int(before)) * mate.weight;
    }
    return change;
}

int SeatingOptimiser::Delta(int a, int b) const
{
    const int ga = m_game[size_t(a)], gb = m_game[size_t(b)];
    const int pa = m_power[size_t(a)], pb = m_power[size_t(b)];
    int delta = PowerCost(a, pb) + PowerCost(b, pa) - PowerCost(a, pa) - PowerCost(b, pb);
    if (ga != gb) {
        // a joins b's game without b, b joins a's game without a.
        delta += GameSum(a, gb) + GameSum(b, ga) - 2 * Same(a, b) - GameSum(a, ga) - GameSum(b, gb);
    }
    delta += MatesChange(a, b, ga, pa, gb, pb) + MatesChange(b, a, gb, pb, ga, pa);
    return delta;
}

void SeatingOptimiser::Exchange(int a, int b)
{
    const int ga = m_game[size_t(a)], gb = m_game[size_t(b)];
    if (ga != gb) {
        for (int j = 0; j < m_players; ++j) {
            const int change = Same(j, a) - Same(j, b);
            GameSum(j, ga) -= change;
            GameSum(j, gb) += change;
        }
    }
    std::swap(m_game[size_t(a)], m_game[size_t(b)]);
    std::swap(m_power[size_t(a)], m_power[size_t(b)]);
}

void SeatingOptimiser::WriteBack() const
{
    for (int i = 0; i < m_players; ++i) {
        PastSeat& seat = m_model.players[size_t(i)].seats.front();
        seat.gameID = m_gameIDs[size_t(m_game[size_t(i)])];
        seat.powerID = m_powerValues[size_t(m_power[size_t(i)])];
    }
}

}  // namespace

int OptimiseSeating(ConflictModel& model, int start)
{
    int best = start;
    if (model.players.empty()) return best;

    SeatingOptimiser seating(model);
    const int n = int(model.players.size());
    int current = seating.Total();
    bool improved = true;
    while (improved) {
        improved = false;
        for (int a = 0; a < n; ++a) {
            for (int b = a + 1; b < n; ++b) {
                const int t = current + seating.Delta(a, b);
                if (t >= best) continue;
                seating.Exchange(a, b);
                current = t;
                if (t == 0) {
                    seating.WriteBack();
                    return 0;
                }
                best = t;
                improved = true;
            }
        }
    }
    seating.WriteBack();
    return best;
}

int OptimiseSeating(int start)
{
    if (!g_conflictModel) return start;
    ApplyTeamWeightRule(g_conflictModel->heatNum);
    return OptimiseSeating(*g_conflictModel, start);
}
