#include "heats/SeatingPlan.h"

#include "db/ValueCodes.h"
#include "heats/AnnealingSchedule.h"
#include "heats/SearchRandom.h"
#include "heats/SeatingDesign.h"
#include "heats/Seeding.h"
#include "tournament/CurrentTournament.h"
#include "tournament/TournamentSettings.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <map>

namespace {

constexpr int kPowers = kPowerCount;
// A pair's meetings in the planned heats are kept one bit a heat.
static_assert(kMaxHeats <= 16, "a plan's heats must fit the bits of a pair's meetings");

// The plan's moves in one step of the planner (beside one of the search).
constexpr int kPlanMovesPerStep = 2;

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

// A plan: the seats of every player in every planned heat, with the tables
// that price an exchange in time independent of the heat's size.
//
// A pair's points in the heats it shares are kept by the set of planned
// heats it shares (a bit each): in a heat it pays its fixed terms (declared
// conflict, groups, team mates where the heat counts them) and P for every
// earlier meeting on each side, the real ones and those of earlier planned
// heats.
class SeatingPlanState {
public:
    SeatingPlanState(const ConflictModel& model, int heats, std::uint32_t seed);

    bool Done() const { return !m_movable || m_best == 0; }
    // True when no term of the first heat is negative, so that its total
    // cannot go below 0.
    bool NeverBelowZero() const { return m_neverBelowZero; }
    void Step();
    long long Best() const { return m_best; }
    int BestFirstHeat() const { return m_objective == m_best ? m_firstHeat : m_savedFirstHeat; }
    bool FromDesign() const { return m_fromDesign; }
    int Heats() const { return m_heats; }
    void WriteFirstHeat(ConflictModel& model) const;
    std::vector<ConflictModel> Models(const ConflictModel& model) const;

private:
    struct Change {
        long long objective = 0;
        int firstHeat = 0;  // the change of the first heat's own total
    };

    // What a pair pays when it shares a game, and the planned heats where it
    // does.
    struct PairTerms {
        int fixed = 0;  // both sides' declared conflict and groups
        int met = 0;    // both sides' earlier meetings
        std::uint16_t shared = 0;
        bool mates = false;
    };

    PairTerms& Pair(int s, int o) { return m_pairs[size_t(s) * size_t(m_n) + size_t(o)]; }
    const PairTerms& Pair(int s, int o) const { return m_pairs[size_t(s) * size_t(m_n) + size_t(o)]; }
    size_t Seat(int heat, int s) const { return size_t(heat) * size_t(m_n) + size_t(s); }
    void Share(int s, int o, int heat, bool shared);

    int PowerTerm(const std::array<int, kPowers>& earlier, int power) const;
    std::array<int, kPowers> EarlierPowers(int s, int heat) const;
    long long PowerCostOf(int s, int heat = -1, int power = kNoPower) const;
    long long PairCost(const PairTerms& pair, unsigned shared) const;
    int SameGameAt(int s, int o, int heat) const;
    Change PriceExchange(int heat, int a, int b) const;
    int MatesChange(int heat, int s, int other, int fromGame, int fromPower, int toGame, int toPower) const;
    void Exchange(int heat, int a, int b, const Change& change);
    bool SameSeat(int heat, int a, int b) const
    {
        return m_game[Seat(heat, a)] == m_game[Seat(heat, b)] && m_power[Seat(heat, a)] == m_power[Seat(heat, b)];
    }
    void PickMove(int& heat, int& a, int& b);

    void ReadWeights();
    void ReadTerms(const ConflictModel& model);
    void ReadSeats(const ConflictModel& model);
    // Seats the first heats by the design where the tournament is plain and
    // one goes on from its heats; returns how many.
    int SeatByDesign(const ConflictModel& model);
    // Seats a heat after the heats before it: the powers shared out at the
    // least cost, then the games filled one seat of each at a time.
    void SeatByLayers(int heat, SearchRandom& random);
    void MarkMeetings(int heat);
    void StartAnnealing();
    void SeatAll();
    void Save();
    void Restore();

    int m_n = 0;
    int m_heats = 1;
    int m_firstHeatNum = 0;
    int m_player = 0;  // P
    int m_power1 = 0;  // W
    int m_powerGroup = 0;
    std::array<std::vector<int>, kPowers> m_groupMates;  // the other powers of a power's group
    bool m_assignPowers = true;

    std::vector<long long> m_weight;  // heat -> weight in the objective
    std::vector<int> m_teamInGame;    // heat -> both sides' points for team mates in one game
    std::vector<int> m_teamPower;     // heat -> both sides' points for team mates on one power elsewhere
    std::vector<std::array<int, kPowers>> m_history;  // player -> earlier plays of each power
    std::vector<PairTerms> m_pairs;  // players x players
    std::vector<std::vector<int>> m_mateList;
    std::vector<int> m_teamOf;  // player -> teamID

    std::vector<int> m_gameIDs;                       // the first heat's games
    std::vector<std::vector<std::vector<int>>> m_slots;  // heat -> game -> powers of its seats
    std::vector<int> m_game, m_power, m_place;        // heats x players; place = index in its game
    std::vector<std::vector<std::vector<int>>> m_members;  // heat -> game -> players
    std::vector<long long> m_sharedWeight, m_sharedTeam, m_sharedRank;  // by a set of heats
    std::vector<long long> m_powerCost;               // player -> weighted power points of all heats
    long long m_objective = 0;
    int m_firstHeat = 0;
    bool m_fromDesign = false;
    bool m_neverBelowZero = true;

    SearchRandom m_random;
    bool m_movable = false;
    long long m_best = 0;
    std::vector<int> m_savedGame, m_savedPower;
    int m_savedFirstHeat = 0;
    bool m_savedIsCurrent = false;
    AnnealingSchedule m_schedule;
};

SeatingPlanState::SeatingPlanState(const ConflictModel& model, int heats, std::uint32_t seed)
    : m_n(int(model.players.size())), m_firstHeatNum(model.heatNum),
      m_random(std::uint64_t(seed) ^ 0x5EA7ED9A11ull)
{
    // Later heats need games of seven.
    m_heats = m_n % 7 == 0 && m_n > 0 ? std::clamp(heats, 1, kMaxHeats) : 1;
    m_assignPowers = CurrentTournament.assignPowers != 0;
    ReadWeights();
    ReadTerms(model);
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

void SeatingPlanState::ReadWeights()
{
    const ConflictWeights w = SeedingWeights(m_firstHeatNum);
    m_player = w.player;
    m_power1 = w.power;
    m_powerGroup = w.power >> 1;
    for (int p = 0; p < kPowers; ++p)
        for (int q = 0; q < kPowers; ++q)
            if (SamePowerGroup(w.groupPowers, p, q)) m_groupMates[size_t(p)].push_back(q);
    for (int k = 0; k < m_heats; ++k) {
        const int heatNum = m_firstHeatNum + k;
        const ConflictWeights wk = SeedingWeights(heatNum);
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

void SeatingPlanState::ReadTerms(const ConflictModel& model)
{
    // The terms that do not depend on the plan, from the model itself: with
    // no meeting weight and a team heat no heat has, a pair's same-game
    // points are its declared conflict and groups.
    ConflictWeights fixedOnly = SeedingWeights(m_firstHeatNum);
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
            if (power >= 0 && power < kPowers) ++m_history[i][size_t(power)];
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
    m_power.assign(size_t(m_heats) * n, kNoPower);
    for (size_t i = 0; i < n; ++i) {
        const PastSeat& seat = model.players[i].seats.front();
        m_game[i] = int(gameIndex[seat.gameID]);
        m_power[i] = seat.powerID;
        m_slots[0][size_t(m_game[i])].push_back(seat.powerID);
    }
    for (int k = 1; k < m_heats; ++k) {
        std::vector<int> powers(7, kNoPower);
        for (int p = 0; m_assignPowers && p < kPowers; ++p) powers[size_t(p)] = p;
        m_slots[size_t(k)].assign(n / 7, powers);
    }
}

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
        if (!powered[g] && powers != std::vector<int>(7, kNoPower)) return 0;
    }
    const std::vector<DesignHeat> next = ContinueSeatingDesign(history, n, m_heats);
    m_fromDesign = !next.empty();
    for (size_t k = 0; k < next.size(); ++k) {
        for (int d = 0; d < n; ++d) {
            const DesignSeat& seat = next[k][size_t(d)];
            const bool powers = k == 0 ? bool(powered[size_t(seat.game)]) : m_assignPowers;
            m_game[Seat(int(k), byID[size_t(d)])] = seat.game;
            m_power[Seat(int(k), byID[size_t(d)])] = powers ? seat.power : kNoPower;
        }
        MarkMeetings(int(k));
    }
    return int(next.size());
}

int SeatingPlanState::PowerTerm(const std::array<int, kPowers>& earlier, int power) const
{
    if (power < 0 || power >= kPowers) return 0;
    int group = 0;
    for (int q : m_groupMates[size_t(power)]) group += earlier[size_t(q)];
    return m_power1 * earlier[size_t(power)] + m_powerGroup * group;
}

std::array<int, kPowers> SeatingPlanState::EarlierPowers(int s, int heat) const
{
    std::array<int, kPowers> earlier = m_history[size_t(s)];
    for (int k = 0; k < heat; ++k) {
        const int q = m_power[Seat(k, s)];
        if (q >= 0 && q < kPowers) ++earlier[size_t(q)];
    }
    return earlier;
}

long long SeatingPlanState::PowerCostOf(int s, int heat, int power) const
{
    std::array<int, kPowers> earlier = m_history[size_t(s)];
    long long total = 0;
    for (int k = 0; k < m_heats; ++k) {
        const int q = k == heat ? power : m_power[Seat(k, s)];
        if (q < 0 || q >= kPowers) continue;
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

void SeatingPlanState::MarkMeetings(int heat)
{
    std::vector<std::vector<int>> games(m_slots[size_t(heat)].size());
    for (int i = 0; i < m_n; ++i) games[size_t(m_game[Seat(heat, i)])].push_back(i);
    for (const std::vector<int>& game : games)
        for (int s : game)
            for (int o : game)
                if (s < o) Share(s, o, heat, true);
}

void SeatingPlanState::SeatByLayers(int heat, SearchRandom& random)
{
    const std::vector<std::vector<int>>& slots = m_slots[size_t(heat)];
    // The powers shared out at the least cost for what each player has
    // played before this heat.
    std::vector<int> values;
    for (const std::vector<int>& game : slots)
        for (int p : game)
            if (std::find(values.begin(), values.end(), p) == values.end()) values.push_back(p);
    std::sort(values.begin(), values.end());
    std::vector<int> capacity(values.size(), 0);
    for (const std::vector<int>& game : slots)
        for (int p : game) ++capacity[size_t(std::find(values.begin(), values.end(), p) - values.begin())];
    std::vector<std::vector<int>> cost(size_t(m_n), std::vector<int>(values.size()));
    for (int i = 0; i < m_n; ++i) {
        const std::array<int, kPowers> earlier = EarlierPowers(i, heat);
        for (size_t v = 0; v < values.size(); ++v) cost[size_t(i)][v] = PowerTerm(earlier, values[v]);
    }
    // In the team heat, team mates on one power cost points too.
    std::vector<int> team(size_t(m_n), -1);
    for (int i = 0; i < m_n && m_teamPower[size_t(heat)] != 0; ++i)
        if (!m_mateList[size_t(i)].empty()) team[size_t(i)] = m_teamOf[size_t(i)];
    const std::vector<int> power = AssignAtLeastCost(cost, capacity, team, m_teamPower[size_t(heat)]);

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

SeatingPlanner::SeatingPlanner(ConflictModel& model, int lastHeat, std::uint32_t seed)
    : m_model(model), m_search(model, seed),
      m_plan(std::make_unique<SeatingPlanState>(model, lastHeat - model.heatNum + 1, seed))
{
}

SeatingPlanner::~SeatingPlanner() = default;

int SeatingPlanner::Best() const
{
    return m_finished ? m_final : std::min(m_search.Best(), m_plan->BestFirstHeat());
}

long long SeatingPlanner::Steps() const { return m_steps; }

bool SeatingPlanner::Done() const
{
    // With no later heat a total of 0 is as good as the heat gets, where no
    // term is negative; otherwise the search runs on to its own end, as it
    // would alone.
    return m_finished || (m_search.Done() && m_plan->Done()) ||
           (m_plan->Heats() == 1 && Best() == 0 && (m_search.Done() || m_plan->NeverBelowZero()));
}

void SeatingPlanner::Run(long long steps, Clock::time_point deadline)
{
    RunSteps(steps, deadline, [&] {
        m_search.Run(1);
        for (int k = 0; k < kPlanMovesPerStep && !m_plan->Done(); ++k) m_plan->Step();
        ++m_steps;
    });
}

int SeatingPlanner::Finish()
{
    if (m_finished) return m_final;
    const int searched = m_search.Finish();
    std::vector<PastSeat> kept;
    for (const ModelPlayer& p : m_model.players) kept.push_back(p.seats.front());

    m_plan->WriteFirstHeat(m_model);
    SeatingTables tables(m_model);
    const int planned = ClimbSeating(tables, tables.Total());
    if (planned <= searched) {
        tables.WriteBack();
        m_final = planned;
        m_planKept = true;
    } else {
        for (size_t i = 0; i < kept.size(); ++i) m_model.players[i].seats.front() = kept[i];
        m_final = searched;
    }
    m_finished = true;
    return m_final;
}

bool SeatingPlanner::FromDesign() const { return m_plan->FromDesign(); }
int SeatingPlanner::PlannedHeats() const { return m_plan->Heats(); }
long long SeatingPlanner::PlanObjective() const { return m_plan->Best(); }
std::vector<ConflictModel> SeatingPlanner::PlannedModels() const { return m_plan->Models(m_model); }

int SeatingPlanWeight(int k, int heats) { return k == 0 ? 2 * heats : heats - k; }

int PlanSeating(ConflictModel& model, int lastHeat, std::uint32_t seed, long long steps)
{
    SeatingPlanner planner(model, lastHeat, seed);
    planner.Run(steps);
    return planner.Finish();
}

namespace {

// A network for the least-cost flow: edges with a capacity and a cost per
// unit, the flow found by sending one unit at a time along the cheapest path
// (Bellman-Ford over the residual network).
class LeastCostFlow {
public:
    explicit LeastCostFlow(int nodes) : m_out(size_t(nodes)) {}

    // Returns the edge's number.
    int AddEdge(int from, int to, int capacity, long long cost)
    {
        m_out[size_t(from)].push_back(int(m_edges.size()));
        m_edges.push_back({to, capacity, cost});
        m_out[size_t(to)].push_back(int(m_edges.size()));
        m_edges.push_back({from, 0, -cost});
        return int(m_edges.size()) - 2;
    }
    int Flow(int edge) const { return m_edges[size_t(edge) + 1].capacity; }

    // Sends units from source to sink; false when the network cannot take them.
    bool Send(int source, int sink, int units)
    {
        const size_t nodes = m_out.size();
        constexpr long long kFar = std::numeric_limits<long long>::max() / 4;
        std::vector<long long> distance(nodes);
        std::vector<int> via(nodes);
        std::vector<bool> queued(nodes);
        std::vector<int> queue;
        for (int sent = 0; sent < units; ++sent) {
            std::fill(distance.begin(), distance.end(), kFar);
            std::fill(via.begin(), via.end(), -1);
            distance[size_t(source)] = 0;
            queue.assign(1, source);
            queued[size_t(source)] = true;
            for (size_t next = 0; next < queue.size(); ++next) {
                const int node = queue[next];
                queued[size_t(node)] = false;
                for (int e : m_out[size_t(node)]) {
                    const Edge& edge = m_edges[size_t(e)];
                    const long long d = distance[size_t(node)] + edge.cost;
                    if (edge.capacity == 0 || d >= distance[size_t(edge.to)]) continue;
                    distance[size_t(edge.to)] = d;
                    via[size_t(edge.to)] = e;
                    if (!queued[size_t(edge.to)]) {
                        queued[size_t(edge.to)] = true;
                        queue.push_back(edge.to);
                    }
                }
            }
            if (via[size_t(sink)] < 0) return false;
            for (int node = sink; node != source; node = m_edges[size_t(via[size_t(node)] ^ 1)].to) {
                --m_edges[size_t(via[size_t(node)])].capacity;
                ++m_edges[size_t(via[size_t(node)] ^ 1)].capacity;
            }
        }
        return true;
    }

private:
    struct Edge {
        int to;
        int capacity;
        long long cost;
    };
    std::vector<std::vector<int>> m_out;
    std::vector<Edge> m_edges;
};

}  // namespace

std::vector<int> AssignAtLeastCost(const std::vector<std::vector<int>>& cost, const std::vector<int>& capacity,
                                   const std::vector<int>& team, int together)
{
    const int rows = int(cost.size()), columns = int(capacity.size());
    // Nodes: the source, the rows, the columns, the sink, then one for each
    // team and column.
    const int source = 0, sink = rows + columns + 1;
    std::map<std::pair<int, int>, int> teamColumn;
    if (team.empty()) together = 0;
    for (int r = 0; r < rows && together > 0; ++r)
        if (team[size_t(r)] != -1)
            for (int c = 0; c < columns; ++c) teamColumn.emplace(std::pair(team[size_t(r)], c), 0);
    int nodes = sink + 1;
    for (auto& [key, node] : teamColumn) node = nodes++;
    LeastCostFlow flow(nodes);
    std::vector<std::vector<int>> edges(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        flow.AddEdge(source, 1 + r, 1, 0);
        const bool teamed = together > 0 && team[size_t(r)] != -1;
        for (int c = 0; c < columns; ++c) {
            const int to = teamed ? teamColumn[{team[size_t(r)], c}] : 1 + rows + c;
            edges[size_t(r)].push_back(flow.AddEdge(1 + r, to, 1, cost[size_t(r)][size_t(c)]));
        }
    }
    // The k-th team mate on one column adds k - 1 pairs.
    std::map<int, int> teamSize;
    for (int r = 0; r < rows && together > 0; ++r)
        if (team[size_t(r)] != -1) ++teamSize[team[size_t(r)]];
    for (const auto& [key, node] : teamColumn)
        for (int k = 0; k < teamSize[key.first]; ++k)
            flow.AddEdge(node, 1 + rows + key.second, 1, (long long)k * together);
    for (int c = 0; c < columns; ++c) flow.AddEdge(1 + rows + c, sink, capacity[size_t(c)], 0);

    long long total = 0;
    for (int c : capacity) total += c;
    if (total != rows || !flow.Send(source, sink, rows)) return {};
    std::vector<int> column(static_cast<size_t>(rows), -1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if (flow.Flow(edges[size_t(r)][size_t(c)]) > 0) column[size_t(r)] = c;
    return column;
}
