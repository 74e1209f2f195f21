#pragma once
// The state of a seating plan and its moves, shared by the files that build
// it (SeatingPlanStart.cpp) and move it (SeatingPlanMoves.cpp). Only the
// planner (SeatingPlan.h) uses it.

#include "seating/AnnealingSchedule.h"
#include "seating/SearchRandom.h"
#include "seating/SeatingRules.h"

#include <array>
#include <cstdint>
#include <vector>

inline constexpr int kPlanPowers = kSeatingPowers;

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
    SeatingPlanState(const ConflictModel& model, const SeatingRules& rules, std::uint32_t seed);

    bool Done() const { return !m_movable || m_best == 0; }
    // True when no term of the first heat is negative, so that its total
    // cannot go below 0.
    bool NeverBelowZero() const { return m_neverBelowZero; }
    void Step();
    long long Best() const { return m_best; }
    long long CurrentObjective() const { return m_objective; }
    int BestFirstHeat() const { return m_objective == m_best ? m_firstHeat : m_savedFirstHeat; }
    bool FromDesign() const { return m_fromDesign; }
    int Heats() const { return m_heats; }
    void WriteFirstHeat(ConflictModel& model) const;
    // Heat k's total in the current plan, and the least total any seating
    // of it could have with the plan's earlier heats as its history
    // (kNoSeatingBound when there is none).
    int HeatTotal(int k) const;
    int HeatBound(int k) const;
    // True when the current plan is the best one and each of its heats is
    // at its bound, so that no other plan is better heat by heat.
    bool EveryHeatAtBound() const;
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

    int PowerTerm(const std::array<int, kPlanPowers>& earlier, int power) const;
    std::array<int, kPlanPowers> EarlierPowers(int s, int heat) const;
    long long PowerCostOf(int s, int heat = -1, int power = kSeatingNoPower) const;
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
    // The powers of a heat's seats to share out: each power (kSeatingNoPower
    // too) in increasing order with the seats that hold it, each player's
    // points for it after the heats before, and in the team heat the teams
    // whose mates on one power pay together.
    struct PowerShare {
        std::vector<int> values;
        std::vector<int> capacity;
        std::vector<std::vector<int>> cost;  // player -> value -> points
        std::vector<int> team;               // player -> team, -1 none
        int together = 0;
    };
    PowerShare PowerShareOf(int heat) const;

    void ReadWeights(const SeatingRules& rules);
    void ReadTerms(const ConflictModel& model, const ConflictWeights& w);
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
    std::array<std::vector<int>, kPlanPowers> m_groupMates;  // the other powers of a power's group
    bool m_assignPowers = true;
    int m_mostHeats = 9;

    std::vector<long long> m_weight;  // heat -> weight in the objective
    std::vector<int> m_teamInGame;    // heat -> both sides' points for team mates in one game
    std::vector<int> m_teamPower;     // heat -> both sides' points for team mates on one power elsewhere
    std::vector<std::array<int, kPlanPowers>> m_history;  // player -> earlier plays of each power
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
