#include "seating/SeatingPlanState.h"

#include "seating/LeastCostAssignment.h"
#include "seating/SeatingDesign.h"
#include "seating/SeatingPlan.h"

#include <algorithm>
#include <map>

namespace {

// The first heat's games, numbered in the order of their ids.
std::vector<int> GameIDsOf(const ConflictModel& model)
{
    std::vector<int> ids;
    for (const ModelPlayer& p : model.players) ids.push_back(p.seats.front().gameID);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

}  // namespace

SeatingPlanState::SeatingPlanState(const ConflictModel& model, const SeatingRules& rules, std::uint32_t seed)
    : m_n(int(model.players.size())), m_firstHeatNum(model.heatNum), m_assignPowers(rules.assignPowers),
      m_mostHeats(rules.mostHeats), m_random(std::uint64_t(seed) ^ 0x5EA7ED9A11ull)
{
    // Later heats need games of seven.
    const int heats = int(rules.heatWeights.size());
    m_heats = m_n % 7 == 0 && m_n > 0 ? std::clamp(heats, 1, kSeatingMostPlannedHeats) : 1;
    ReadWeights(rules);
    ReadTerms(model, rules.heatWeights.front());
    ReadSeats(model);
    m_neverBelowZero = m_player >= 0 && m_power1 >= 0 && m_teamInGame[0] >= 0 && m_teamPower[0] >= 0 &&
                       std::all_of(m_pairs.begin(), m_pairs.end(), [](const PairTerms& p) { return p.fixed >= 0; });
    if (m_n == 0) return;

    // The heats the design does not give are built after it, in turn.
    SearchRandom construction(std::uint64_t(seed) * 0x9E3779B97F4A7C15ull + 1);
    for (int k = SeatByDesign(model); k < m_heats; ++k) {
        SeatByLayers(k, construction);
        MarkMeetings(k);
    }
    SeatAll();
    m_best = m_objective;
    StartAnnealing();
}


void SeatingPlanState::ReadWeights(const SeatingRules& rules)
{
    const ConflictWeights& w = rules.heatWeights.front();
    m_player = w.player;
    m_power1 = w.power;
    m_powerGroup = w.power >> 1;
    for (int p = 0; p < kPlanPowers; ++p)
        for (int q = 0; q < kPlanPowers; ++q)
            if (SamePowerGroup(w.groupPowers, p, q)) m_groupMates[size_t(p)].push_back(q);
    for (int k = 0; k < m_heats; ++k) {
        const int heatNum = m_firstHeatNum + k;
        const ConflictWeights& wk = rules.heatWeights[size_t(k)];
        m_weight.push_back(SeatingPlanWeight(k, m_heats));
        m_teamInGame.push_back(wk.teamHeat < 0 || wk.teamHeat == heatNum ? 2 * wk.team : 0);
        m_teamPower.push_back(wk.teamHeat == heatNum ? 2 * (wk.team / 2 + 1) : 0);
    }

    // A pair's points in the planned heats it shares, by the set of them.
    const size_t sets = size_t(1) << m_heats;
    m_sharedWeight.assign(sets, 0);
    m_sharedTeam.assign(sets, 0);
    m_sharedRank.assign(sets, 0);
    for (size_t set = 0; set < sets; ++set) {
        int rank = 0;
        for (int k = 0; k < m_heats; ++k) {
            if (!(set & (size_t(1) << k))) continue;
            m_sharedWeight[set] += m_weight[size_t(k)];
            m_sharedTeam[set] += m_weight[size_t(k)] * m_teamInGame[size_t(k)];
            m_sharedRank[set] += m_weight[size_t(k)] * rank++;
        }
    }
}

void SeatingPlanState::ReadTerms(const ConflictModel& model, const ConflictWeights& w)
{
    // The terms that do not depend on the plan, from the model itself: with
    // no meeting weight and a team heat no heat has, a pair's same-game
    // points are its declared conflict and groups.
    ConflictWeights fixedOnly = w;
    fixedOnly.player = 0;
    fixedOnly.teamHeat = m_firstHeatNum + 1;
    ConflictWeights meetingOnly = fixedOnly;
    meetingOnly.player = 1;
    const std::vector<ModelPlayer>& players = model.players;
    const size_t n = players.size();
    m_history.assign(n, {});
    m_pairs.assign(n * n, {});
    m_mateList.resize(n);
    for (const ModelPlayer& p : players) m_teamOf.push_back(p.teamID);
    for (size_t i = 0; i < n; ++i) {
        for (size_t e = 1; e < players[i].seats.size(); ++e) {
            const int power = players[i].seats[e].powerID;
            if (power >= 0 && power < kPlanPowers) ++m_history[i][size_t(power)];
        }
        for (size_t j = i + 1; j < n; ++j) {
            const ModelPlayer &s = players[i], &o = players[j];
            const int fixed = model.SameGameConflict(s, o, fixedOnly) + model.SameGameConflict(o, s, fixedOnly);
            const int met =
                model.SameGameConflict(s, o, meetingOnly) + model.SameGameConflict(o, s, meetingOnly) - fixed;
            const bool mates = s.teamID != -1 && s.teamID == o.teamID;
            Pair(int(i), int(j)) = Pair(int(j), int(i)) = {fixed, met, 0, mates};
            if (mates) {
                m_mateList[i].push_back(int(j));
                m_mateList[j].push_back(int(i));
            }
        }
    }
}

void SeatingPlanState::ReadSeats(const ConflictModel& model)
{
    // The first heat's seats are the model's; later heats have games of
    // seven with the seven powers (or none).
    m_gameIDs = GameIDsOf(model);
    std::map<int, size_t> gameIndex;
    for (size_t g = 0; g < m_gameIDs.size(); ++g) gameIndex[m_gameIDs[g]] = g;
    const size_t n = size_t(m_n);
    m_slots.resize(size_t(m_heats));
    m_slots[0].resize(m_gameIDs.size());
    m_game.assign(size_t(m_heats) * n, 0);
    m_power.assign(size_t(m_heats) * n, kSeatingNoPower);
    for (size_t i = 0; i < n; ++i) {
        const PastSeat& seat = model.players[i].seats.front();
        m_game[i] = int(gameIndex[seat.gameID]);
        m_power[i] = seat.powerID;
        m_slots[0][size_t(m_game[i])].push_back(seat.powerID);
    }
    for (int k = 1; k < m_heats; ++k) {
        std::vector<int> powers(7, kSeatingNoPower);
        for (int p = 0; m_assignPowers && p < kPlanPowers; ++p) powers[size_t(p)] = p;
        m_slots[size_t(k)].assign(n / 7, powers);
    }
}

int SeatingPlanState::SeatByDesign(const ConflictModel& model)
{
    // A plain tournament: no fixed terms between the players, each of whom
    // played every earlier heat once.
    const int n = m_n;
    for (const PairTerms& pair : m_pairs)
        if (pair.fixed != 0 || pair.mates) return 0;
    // The design numbers the players by id, whatever order the model lists
    // them in.
    std::vector<int> byID(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) byID[size_t(i)] = i;
    std::sort(byID.begin(), byID.end(),
              [&](int a, int b) { return model.players[size_t(a)].playerID < model.players[size_t(b)].playerID; });
    const int played = m_firstHeatNum - 1;
    std::vector<DesignHeat> history(size_t(std::max(played, 0)), DesignHeat(size_t(n)));
    for (int d = 0; d < n; ++d) {
        const std::vector<PastSeat>& seats = model.players[size_t(byID[size_t(d)])].seats;
        if (int(seats.size()) != played + 1) return 0;
        std::vector<bool> seen(size_t(std::max(played, 0)), false);
        for (size_t e = 1; e < seats.size(); ++e) {
            const int h = seats[e].heatNum;
            if (h < 1 || h > played || seen[size_t(h - 1)]) return 0;
            seen[size_t(h - 1)] = true;
            history[size_t(h - 1)][size_t(d)] = {seats[e].gameID, seats[e].powerID};
        }
    }
    // The first heat's games must be games of seven with the seven powers
    // (or none), so that the design's first heat fits them.
    if (int(m_gameIDs.size()) * 7 != n) return 0;
    std::vector<bool> powered(m_gameIDs.size());
    for (size_t g = 0; g < m_gameIDs.size(); ++g) {
        std::vector<int> powers = m_slots[0][g];
        std::sort(powers.begin(), powers.end());
        powered[g] = powers == std::vector<int>{0, 1, 2, 3, 4, 5, 6};
        if (!powered[g] && powers != std::vector<int>(7, kSeatingNoPower)) return 0;
    }
    const std::vector<DesignHeat> next = ContinueSeatingDesign(history, n, m_heats, m_mostHeats);
    m_fromDesign = !next.empty();
    for (size_t k = 0; k < next.size(); ++k) {
        for (int d = 0; d < n; ++d) {
            const DesignSeat& seat = next[k][size_t(d)];
            const bool powers = k == 0 ? bool(powered[size_t(seat.game)]) : m_assignPowers;
            m_game[Seat(int(k), byID[size_t(d)])] = seat.game;
            m_power[Seat(int(k), byID[size_t(d)])] = powers ? seat.power : kSeatingNoPower;
        }
        MarkMeetings(int(k));
    }
    return int(next.size());
}

void SeatingPlanState::MarkMeetings(int heat)
{
    std::vector<std::vector<int>> games(m_slots[size_t(heat)].size());
    for (int i = 0; i < m_n; ++i) games[size_t(m_game[Seat(heat, i)])].push_back(i);
    for (const std::vector<int>& game : games)
        for (int s : game)
            for (int o : game)
                if (s < o) Share(s, o, heat, true);
}

SeatingPlanState::PowerShare SeatingPlanState::PowerShareOf(int heat) const
{
    PowerShare share;
    std::vector<int>& values = share.values;
    for (const std::vector<int>& game : m_slots[size_t(heat)])
        for (int p : game)
            if (std::find(values.begin(), values.end(), p) == values.end()) values.push_back(p);
    std::sort(values.begin(), values.end());
    share.capacity.assign(values.size(), 0);
    for (const std::vector<int>& game : m_slots[size_t(heat)])
        for (int p : game) ++share.capacity[size_t(std::find(values.begin(), values.end(), p) - values.begin())];
    share.cost.assign(size_t(m_n), std::vector<int>(values.size()));
    for (int i = 0; i < m_n; ++i) {
        const std::array<int, kPlanPowers> earlier = EarlierPowers(i, heat);
        for (size_t v = 0; v < values.size(); ++v) share.cost[size_t(i)][v] = PowerTerm(earlier, values[v]);
    }
    // In the team heat, team mates on one power cost points too.
    share.together = m_teamPower[size_t(heat)];
    share.team.assign(size_t(m_n), -1);
    for (int i = 0; i < m_n && share.together != 0; ++i)
        if (!m_mateList[size_t(i)].empty()) share.team[size_t(i)] = m_teamOf[size_t(i)];
    return share;
}

void SeatingPlanState::SeatByLayers(int heat, SearchRandom& random)
{
    const std::vector<std::vector<int>>& slots = m_slots[size_t(heat)];
    // The powers shared out at the least cost for what each player has
    // played before this heat.
    const PowerShare share = PowerShareOf(heat);
    const std::vector<int>& values = share.values;
    const std::vector<int> power = AssignAtLeastCost(share.cost, share.capacity, share.team, share.together);

    // Then the games, one seat of each at a time: the layer of the games'
    // k-th seats takes as many players of each power as it has seats of it,
    // the next ones waiting, and they go to the games where they add the
    // fewest points with the players seated there before, at the least
    // total (a seat of a power only for a player given that power).
    std::vector<std::vector<int>> seats = slots;
    for (std::vector<int>& game : seats) std::sort(game.begin(), game.end());
    std::vector<int> waiting(static_cast<size_t>(m_n));
    for (int i = 0; i < m_n; ++i) waiting[size_t(i)] = i;
    for (int i = m_n - 1; i > 0; --i) std::swap(waiting[size_t(i)], waiting[size_t(random.Below(i + 1))]);
    std::vector<std::vector<int>> members(seats.size());
    constexpr int kNotThisSeat = 1 << 28;
    for (size_t layer = 0; !waiting.empty(); ++layer) {
        std::vector<size_t> games;
        std::vector<int> wanted(values.size(), 0);
        for (size_t g = 0; g < seats.size(); ++g) {
            if (seats[g].size() <= layer) continue;
            games.push_back(g);
            ++wanted[size_t(std::find(values.begin(), values.end(), seats[g][layer]) - values.begin())];
        }
        std::vector<int> rows;
        for (int s : waiting)
            if (wanted[size_t(power[size_t(s)])]-- > 0) rows.push_back(s);
        std::vector<std::vector<int>> points(rows.size(), std::vector<int>(games.size(), 0));
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < games.size(); ++c) {
                const size_t g = games[c];
                int& p = points[r][c];
                if (values[size_t(power[size_t(rows[r])])] != seats[g][layer]) {
                    p = kNotThisSeat;
                    continue;
                }
                for (int o : members[g]) p += SameGameAt(rows[r], o, heat);
            }
        const std::vector<int> taken = AssignAtLeastCost(points, std::vector<int>(games.size(), 1), {}, 0);
        for (size_t r = 0; r < rows.size(); ++r) {
            const int s = rows[r];
            const size_t g = games[size_t(taken[r])];
            members[g].push_back(s);
            m_game[Seat(heat, s)] = int(g);
            m_power[Seat(heat, s)] = seats[g][layer];
            waiting.erase(std::find(waiting.begin(), waiting.end(), s));
        }
    }
}

