#include "seating/SeatingTables.h"

#include <algorithm>

namespace {

int IndexOf(std::vector<int>& values, int value)
{
    const auto found = std::find(values.begin(), values.end(), value);
    if (found != values.end()) return int(found - values.begin());
    values.push_back(value);
    return int(values.size()) - 1;
}

}  // namespace

SeatingTables::SeatingTables(ConflictModel& model, const ConflictWeights& w)
    : m_model(model), m_players(int(model.players.size()))
{
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
    SumGames();
}

void SeatingTables::SumGames()
{
    m_gameSum.assign(size_t(m_players) * size_t(m_games), 0);
    for (int i = 0; i < m_players; ++i)
        for (int j = 0; j < m_players; ++j) GameSum(i, m_game[size_t(j)]) += Same(i, j);
}

int SeatingTables::Total() const
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

int SeatingTables::MatesChange(int s, int other, int fromGame, int fromPower, int toGame, int toPower) const
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

int SeatingTables::Delta(int a, int b) const
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

void SeatingTables::Exchange(int a, int b)
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

void SeatingTables::Restore(const Seats& seats)
{
    m_game = seats.game;
    m_power = seats.power;
    SumGames();
}

void SeatingTables::WriteBack() const
{
    for (int i = 0; i < m_players; ++i) {
        PastSeat& seat = m_model.players[size_t(i)].seats.front();
        seat.gameID = m_gameIDs[size_t(m_game[size_t(i)])];
        seat.powerID = m_powerValues[size_t(m_power[size_t(i)])];
    }
}

int ClimbSeating(SeatingTables& seating, int start)
{
    int best = start;
    const int n = seating.Players();
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
                if (t == 0) return 0;
                best = t;
                improved = true;
            }
        }
    }
    return best;
}
