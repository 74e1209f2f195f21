#pragma once
// Random heats for the optimisers' tests: a model with its history, declared
// conflicts, groups and teams, and random tournament weights.

#include "conflicts/ConflictModel.h"
#include "db/ValueCodes.h"
#include "heats/Seeding.h"
#include "tournament/CurrentTournament.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

namespace randomheat {

using Seating = std::vector<std::pair<int, int>>;  // (gameID, powerID) in list order

inline Seating SeatingOf(const ConflictModel& model)
{
    Seating seating;
    for (const ModelPlayer& p : model.players) seating.push_back({p.seats.front().gameID, p.seats.front().powerID});
    return seating;
}

// The seats of the heat, whoever holds them.
inline Seating SeatsHeld(const ConflictModel& model)
{
    Seating seats = SeatingOf(model);
    std::sort(seats.begin(), seats.end());
    return seats;
}

// The model totals value, holds the seats it held (seats, from SeatsHeld)
// and is an end of the exchange pass: no single exchange improves it.
inline void ExpectAnExchangePassEnd(const ConflictModel& model, int value, const Seating& seats)
{
    ConflictModel again = model;
    EXPECT_EQ(again.TotalConflict(), value);
    EXPECT_EQ(SeatsHeld(model), seats);
    EXPECT_EQ(OptimiseSeating(again, value), value);
    EXPECT_EQ(SeatingOf(again), SeatingOf(model));
}

inline int Uniform(std::mt19937& rng, int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
inline bool Chance(std::mt19937& rng, double p) { return std::bernoulli_distribution(p)(rng); }

// Seats the players (indices into model.players) in games of up to seven of
// heat heatNum; with powers, the k-th of a game plays (7 - k) mod 7, and now
// and then a random power instead.
inline void SeatHeat(std::mt19937& rng, ConflictModel& model, std::vector<size_t> who, int heatNum, bool powers)
{
    std::shuffle(who.begin(), who.end(), rng);
    for (size_t k = 0; k < who.size(); ++k) {
        PastSeat seat;
        seat.heatNum = heatNum;
        seat.gameID = 1000 * heatNum + int(k / 7);
        seat.powerID = powers ? (Chance(rng, 0.1) ? Uniform(rng, -1, 6) : int((7 - k % 7) % 7)) : kNoPower;
        auto& seats = model.players[who[k]].seats;
        seats.insert(seats.begin(), seat);
    }
}

// A random heat with its history, declared conflicts, groups and teams, and
// random tournament weights in CurrentTournament.
inline ConflictModel RandomHeat(std::mt19937& rng)
{
    ConflictModel model;
    const int n = 7 * Uniform(rng, 1, 7);
    model.heatNum = Uniform(rng, 1, 6);

    std::vector<int> ids(size_t(n) * 2);
    std::iota(ids.begin(), ids.end(), 1);
    std::shuffle(ids.begin(), ids.end(), rng);
    for (int i = 0; i < n; ++i) {
        ModelPlayer p;
        p.playerID = ids[size_t(i)];
        p.name = QString("Player %1").arg(p.playerID);
        model.players.push_back(p);
    }

    // Some heats are light enough for the climb to reach 0.
    const bool light = Chance(rng, 0.25);
    if (light) model.heatNum = Uniform(rng, 1, 2);
    const int conflicts = light ? Uniform(rng, 0, 2) : Uniform(rng, 0, n);
    for (int c = 0; c < conflicts; ++c) {
        const size_t i = size_t(Uniform(rng, 0, n - 1)), j = size_t(Uniform(rng, 0, n - 1));
        if (i == j) continue;
        const int larger = std::max(model.players[i].playerID, model.players[j].playerID);
        ModelPlayer& smaller = model.players[model.players[i].playerID < larger ? i : j];
        smaller.pairConflicts.push_back({larger, Uniform(rng, -2, 10)});
    }
    const int groups = light ? Uniform(rng, 0, 1) : Uniform(rng, 0, 6);
    for (int g = 0; g < groups; ++g) {
        const ModelGroup group{100 + g, Uniform(rng, -2, 6), QString("Group %1").arg(g)};
        const double share = std::uniform_real_distribution<double>(0.05, 0.4)(rng);
        for (ModelPlayer& p : model.players)
            if (Chance(rng, share)) p.groups.push_back(group);
    }
    std::vector<size_t> all(static_cast<size_t>(n));
    std::iota(all.begin(), all.end(), size_t(0));
    for (int h = 1; h < model.heatNum; ++h) {
        std::vector<size_t> played;
        for (size_t i : all)
            if (Chance(rng, 0.85)) played.push_back(i);
        SeatHeat(rng, model, played, h, !Chance(rng, 0.2));
    }
    SeatHeat(rng, model, all, model.heatNum, !Chance(rng, 0.3));

    const int teamSize = Chance(rng, 0.6) ? Uniform(rng, 2, 5) : 0;
    if (teamSize > 0) {
        std::vector<size_t> order = all;
        std::shuffle(order.begin(), order.end(), rng);
        for (size_t k = 0; k < order.size(); ++k)
            if (Chance(rng, 0.8)) model.players[order[k]].teamID = 500 + int(k) / teamSize;
    }

    TournamentRecord& t = CurrentTournament;
    t.playerConflict = Uniform(rng, 1, 5);
    t.powerConflict = Uniform(rng, 0, 6);
    t.teamConflict = Chance(rng, 0.5) ? 0 : Uniform(rng, 1, 12);
    t.teamSize = teamSize > 0 && Chance(rng, 0.85) ? teamSize : 0;
    const int teamHeats[] = {-1, 0, model.heatNum, model.heatNum, model.heatNum + 1};
    t.teamHeat = teamHeats[Uniform(rng, 0, 4)];
    t.groupPowers = Uniform(rng, 0, 4);
    return model;
}

// A random heat as the exchange pass leaves it, the team-weight rule applied
// for it.
inline ConflictModel PassedRandomHeat(std::mt19937& rng)
{
    ConflictModel model = RandomHeat(rng);
    ApplyTeamWeightRule(model.heatNum);
    OptimiseSeating(model, model.TotalConflict());
    return model;
}

}  // namespace randomheat
