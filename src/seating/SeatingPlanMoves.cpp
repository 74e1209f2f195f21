#include "seating/SeatingPlanState.h"

#include "seating/SeatingBound.h"

#include <algorithm>
#include <bit>

void SeatingPlanState::StartAnnealing()
{
    for (int k = 0; k < m_heats && !m_movable; ++k)
        for (int i = 1; i < m_n && !m_movable; ++i) m_movable = !SameSeat(k, 0, i);
    if (!m_movable) return;
    // The schedule is scaled to the rises random moves cause here.
    m_schedule.Calibrate(
        [&] {
            int k = 0, a = 0, b = 0;
            PickMove(k, a, b);
            return PriceExchange(k, a, b).objective;
        },
        double(m_n) * m_n * m_heats);
}

int SeatingPlanState::PowerTerm(const std::array<int, kPlanPowers>& earlier, int power) const
{
    if (power < 0 || power >= kPlanPowers) return 0;
    int group = 0;
    for (int q : m_groupMates[size_t(power)]) group += earlier[size_t(q)];
    return m_power1 * earlier[size_t(power)] + m_powerGroup * group;
}

std::array<int, kPlanPowers> SeatingPlanState::EarlierPowers(int s, int heat) const
{
    std::array<int, kPlanPowers> earlier = m_history[size_t(s)];
    for (int k = 0; k < heat; ++k) {
        const int q = m_power[Seat(k, s)];
        if (q >= 0 && q < kPlanPowers) ++earlier[size_t(q)];
    }
    return earlier;
}

long long SeatingPlanState::PowerCostOf(int s, int heat, int power) const
{
    std::array<int, kPlanPowers> earlier = m_history[size_t(s)];
    long long total = 0;
    for (int k = 0; k < m_heats; ++k) {
        const int q = k == heat ? power : m_power[Seat(k, s)];
        if (q < 0 || q >= kPlanPowers) continue;
        total += m_weight[size_t(k)] * PowerTerm(earlier, q);
        ++earlier[size_t(q)];
    }
    return total;
}

long long SeatingPlanState::PairCost(const PairTerms& pair, unsigned shared) const
{
    if (shared == 0) return 0;
    return pair.fixed * m_sharedWeight[shared] + (pair.mates ? m_sharedTeam[shared] : 0) +
           m_player * (pair.met * m_sharedWeight[shared] + 2 * m_sharedRank[shared]);
}

int SeatingPlanState::SameGameAt(int s, int o, int heat) const
{
    const PairTerms& pair = Pair(s, o);
    const int before = heat == 0 ? 0 : std::popcount(unsigned(pair.shared) & ((1u << heat) - 1u));
    return pair.fixed + (pair.mates ? m_teamInGame[size_t(heat)] : 0) + m_player * (pair.met + 2 * before);
}

void SeatingPlanState::Share(int s, int o, int heat, bool shared)
{
    const std::uint16_t bit = std::uint16_t(1u << heat);
    const std::uint16_t set = shared ? std::uint16_t(Pair(s, o).shared | bit) : std::uint16_t(Pair(s, o).shared & ~bit);
    Pair(s, o).shared = Pair(o, s).shared = set;
}

int SeatingPlanState::MatesChange(int heat, int s, int other, int fromGame, int fromPower, int toGame,
                                  int toPower) const
{
    int change = 0;
    for (int mate : m_mateList[size_t(s)]) {
        if (mate == other) continue;  // the pair of the exchange keeps its terms
        const int g = m_game[Seat(heat, mate)], p = m_power[Seat(heat, mate)];
        change += int(g != toGame && p == toPower) - int(g != fromGame && p == fromPower);
    }
    return change * m_teamPower[size_t(heat)];
}

SeatingPlanState::Change SeatingPlanState::PriceExchange(int heat, int a, int b) const
{
    Change change;
    const int ga = m_game[Seat(heat, a)], gb = m_game[Seat(heat, b)];
    const int pa = m_power[Seat(heat, a)], pb = m_power[Seat(heat, b)];
    const long long weight = m_weight[size_t(heat)];
    if (pa != pb) {
        change.objective += PowerCostOf(a, heat, pb) - m_powerCost[size_t(a)] + PowerCostOf(b, heat, pa) -
                            m_powerCost[size_t(b)];
        if (heat == 0) {
            const auto &ea = m_history[size_t(a)], &eb = m_history[size_t(b)];
            change.firstHeat += PowerTerm(ea, pb) - PowerTerm(ea, pa) + PowerTerm(eb, pa) - PowerTerm(eb, pb);
        }
    }
    if (ga != gb) {
        const unsigned bit = 1u << heat;
        // x leaves the game, y takes its place.
        auto replace = [&](int x, int y, int game) {
            for (int o : m_members[size_t(heat)][size_t(game)]) {
                if (o == x) continue;
                const PairTerms &px = Pair(x, o), &py = Pair(y, o);
                change.objective += PairCost(px, px.shared & ~bit) - PairCost(px, px.shared) +
                                    PairCost(py, py.shared | bit) - PairCost(py, py.shared);
                if (heat == 0) change.firstHeat += SameGameAt(y, o, 0) - SameGameAt(x, o, 0);
            }
        };
        replace(a, b, ga);
        replace(b, a, gb);
    }
    if (m_teamPower[size_t(heat)] != 0) {
        const int mates = MatesChange(heat, a, b, ga, pa, gb, pb) + MatesChange(heat, b, a, gb, pb, ga, pa);
        change.objective += weight * mates;
        if (heat == 0) change.firstHeat += mates;
    }
    return change;
}

void SeatingPlanState::Exchange(int heat, int a, int b, const Change& change)
{
    const size_t sa = Seat(heat, a), sb = Seat(heat, b);
    const int ga = m_game[sa], gb = m_game[sb];
    if (ga != gb) {
        auto replace = [&](int x, int y, int game) {
            for (int o : m_members[size_t(heat)][size_t(game)]) {
                if (o == x) continue;
                Share(x, o, heat, false);
                Share(y, o, heat, true);
            }
        };
        replace(a, b, ga);
        replace(b, a, gb);
        m_members[size_t(heat)][size_t(ga)][size_t(m_place[sa])] = b;
        m_members[size_t(heat)][size_t(gb)][size_t(m_place[sb])] = a;
        std::swap(m_place[sa], m_place[sb]);
        std::swap(m_game[sa], m_game[sb]);
    }
    if (m_power[sa] != m_power[sb]) {
        std::swap(m_power[sa], m_power[sb]);
        m_powerCost[size_t(a)] = PowerCostOf(a);
        m_powerCost[size_t(b)] = PowerCostOf(b);
    }
    m_objective += change.objective;
    m_firstHeat += change.firstHeat;
}

void SeatingPlanState::SeatAll()
{
    m_members.assign(size_t(m_heats), {});
    m_place.assign(m_game.size(), 0);
    for (PairTerms& pair : m_pairs) pair.shared = 0;
    for (int k = 0; k < m_heats; ++k) {
        m_members[size_t(k)].assign(m_slots[size_t(k)].size(), {});
        for (int i = 0; i < m_n; ++i) {
            std::vector<int>& game = m_members[size_t(k)][size_t(m_game[Seat(k, i)])];
            m_place[Seat(k, i)] = int(game.size());
            game.push_back(i);
        }
        MarkMeetings(k);
    }
    m_objective = 0;
    m_firstHeat = 0;
    m_powerCost.assign(size_t(m_n), 0);
    for (int i = 0; i < m_n; ++i) {
        m_powerCost[size_t(i)] = PowerCostOf(i);
        m_objective += m_powerCost[size_t(i)];
        m_firstHeat += PowerTerm(m_history[size_t(i)], m_power[Seat(0, i)]);
        for (int o = i + 1; o < m_n; ++o) {
            m_objective += PairCost(Pair(i, o), Pair(i, o).shared);
            if (Pair(i, o).shared & 1u) m_firstHeat += SameGameAt(i, o, 0);
        }
        for (int mate : m_mateList[size_t(i)]) {
            if (mate < i) continue;
            for (int k = 0; k < m_heats; ++k) {
                if (m_game[Seat(k, i)] == m_game[Seat(k, mate)] || m_power[Seat(k, i)] != m_power[Seat(k, mate)])
                    continue;
                m_objective += m_weight[size_t(k)] * m_teamPower[size_t(k)];
                if (k == 0) m_firstHeat += m_teamPower[0];
            }
        }
    }
}

void SeatingPlanState::PickMove(int& heat, int& a, int& b)
{
    heat = m_random.Below(m_heats);
    a = m_random.Below(m_n);
    b = m_random.Below(m_n - 1);
    if (b >= a) ++b;
}

void SeatingPlanState::Save()
{
    m_savedGame = m_game;
    m_savedPower = m_power;
    m_savedFirstHeat = m_firstHeat;
    m_savedIsCurrent = true;
}

void SeatingPlanState::Restore()
{
    m_game = m_savedGame;
    m_power = m_savedPower;
    SeatAll();
    m_savedIsCurrent = true;
}

void SeatingPlanState::Step()
{
    // A round starts again from the best plan seen.
    if (m_schedule.StartsRound() && m_objective != m_best) Restore();
    int heat = 0, a = 0, b = 0;
    PickMove(heat, a, b);
    if (!SameSeat(heat, a, b)) {
        const Change change = PriceExchange(heat, a, b);
        if (m_schedule.Takes(change.objective, m_random)) {
            // Leaving the best plan for a worse one: keep a copy.
            if (change.objective > 0 && m_objective == m_best && !m_savedIsCurrent) Save();
            Exchange(heat, a, b, change);
            m_savedIsCurrent = false;
            m_best = std::min(m_best, m_objective);
        }
    }
    m_schedule.Cool();
}

void SeatingPlanState::WriteFirstHeat(ConflictModel& model) const
{
    const bool current = m_objective == m_best;
    const std::vector<int>& game = current ? m_game : m_savedGame;
    const std::vector<int>& power = current ? m_power : m_savedPower;
    for (int i = 0; i < m_n; ++i) {
        PastSeat& seat = model.players[size_t(i)].seats.front();
        seat.gameID = m_gameIDs[size_t(game[Seat(0, i)])];
        seat.powerID = power[Seat(0, i)];
    }
}

std::vector<ConflictModel> SeatingPlanState::Models(const ConflictModel& model) const
{
    const bool current = m_objective == m_best;
    const std::vector<int>& game = current ? m_game : m_savedGame;
    const std::vector<int>& power = current ? m_power : m_savedPower;
    // Planned games are numbered below every real one.
    auto gameID = [&](int k, int g) { return k == 0 ? m_gameIDs[size_t(g)] : -(k * 100000 + g + 1); };
    std::vector<ConflictModel> models;
    for (int k = 0; k < m_heats; ++k) {
        ConflictModel planned = model;
        planned.heatNum = m_firstHeatNum + k;
        for (int i = 0; i < m_n; ++i) {
            std::vector<PastSeat>& seats = planned.players[size_t(i)].seats;
            seats.erase(seats.begin());
            for (int e = 0; e <= k; ++e)
                seats.insert(seats.begin(), {m_firstHeatNum + e, gameID(e, game[Seat(e, i)]), power[Seat(e, i)]});
        }
        models.push_back(std::move(planned));
    }
    return models;
}


int SeatingPlanState::HeatTotal(int k) const
{
    long long total = 0;
    for (int i = 0; i < m_n; ++i) {
        const int game = m_game[Seat(k, i)], power = m_power[Seat(k, i)];
        total += PowerTerm(EarlierPowers(i, k), power);
        for (int o : m_members[size_t(k)][size_t(game)])
            if (o > i) total += SameGameAt(i, o, k);
        for (int mate : m_mateList[size_t(i)])
            if (mate > i && m_game[Seat(k, mate)] != game && m_power[Seat(k, mate)] == power)
                total += m_teamPower[size_t(k)];
    }
    return int(total);
}

int SeatingPlanState::HeatBound(int k) const
{
    PowerShare share = PowerShareOf(k);
    SeatingBoundTerms terms;
    terms.powerCost = std::move(share.cost);
    terms.capacity = std::move(share.capacity);
    terms.team = std::move(share.team);
    terms.together = share.together;
    const std::vector<std::vector<int>>& slots = m_slots[size_t(k)];
    terms.gameSize = m_n;
    for (const std::vector<int>& game : slots) {
        terms.gameSize = std::min(terms.gameSize, int(game.size()));
        terms.gamesEven = terms.gamesEven && game.size() == slots.front().size();
        // Mates on one power are in different games only where no game has
        // a power twice; otherwise the bound leaves their points out.
        std::vector<int> powers = game;
        std::sort(powers.begin(), powers.end());
        if (std::adjacent_find(powers.begin(), powers.end()) != powers.end()) terms.together = 0;
    }
    const size_t n = size_t(m_n);
    terms.same.assign(n * n, 0);
    for (int i = 0; i < m_n; ++i)
        for (int o = i + 1; o < m_n; ++o)
            terms.same[size_t(i) * n + size_t(o)] = terms.same[size_t(o) * n + size_t(i)] = SameGameAt(i, o, k);
    return SeatingLowerBound(terms);
}

bool SeatingPlanState::EveryHeatAtBound() const
{
    if (m_objective != m_best) return false;
    for (int k = 0; k < m_heats; ++k) {
        const int bound = HeatBound(k);
        if (bound == kNoSeatingBound || HeatTotal(k) > bound) return false;
    }
    return true;
}
