#pragma once
// What the seating engine is told about a tournament: plain values, so that
// it seats any heat given to it without a window or a store.
//
// The engine seats the players of a conflict model (the heat being seeded,
// each player with his earlier seats, declared conflicts, groups and team)
// and computes with the weights it is given, never with the open
// tournament's.

#include "conflicts/ConflictModel.h"

#include <vector>

// The powers a game is played with, numbered 0 to 6; a seat without one
// holds kSeatingNoPower.
inline constexpr int kSeatingPowers = 7;
inline constexpr int kSeatingNoPower = -1;

// A plan keeps a pair's meetings in the planned heats one bit a heat, so it
// plans this many heats at most.
inline constexpr int kSeatingMostPlannedHeats = 16;

struct SeatingRules {
    // The weights of the heat being seeded first, then those of each later
    // heat to plan with it, in turn (their team weights may differ: a team
    // tournament counts team mates in one heat only). At least one.
    std::vector<ConflictWeights> heatWeights;
    // Later heats are planned with the seven powers in every game, or with
    // none.
    bool assignPowers = true;
    // The most heats a tournament may have: the designs that go on from the
    // heats played are looked for up to this many heats.
    int mostHeats = 9;
};
