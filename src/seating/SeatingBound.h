#pragma once
// A lower bound of a heat's total conflict: no seating of its players in its
// games goes below it, so a search that reaches it can stop.
//
// Every term of the total is in one of two parts. The powers: every player
// gets one of the heat's seats' powers, each power exactly as many players as
// the heat has seats of it, at the least sum of the players' power-history
// points (a transportation problem), in the team heat together with the
// points of team mates on one power (who are then in different games: a
// least-cost flow in which the k-th mate on a power costs k - 1 pairs). The
// pairs: each player has as many opponents as his game has other seats, and
// each pair's points are counted from both of its players, so the pairs pay
// at least half the sum over the players of their smallest same-game points
// with that many others.

#include <limits>
#include <vector>

// What the bound is computed from, players numbered 0 to n - 1.
struct SeatingBoundTerms {
    // Player -> his points for each column of capacity.
    std::vector<std::vector<int>> powerCost;
    // The seats of each power (column) in the heat.
    std::vector<int> capacity;
    // Player -> team (-1 none) for the points of mates on one power, and
    // those points for each such pair (both sides); together 0 when the heat
    // does not count them.
    std::vector<int> team;
    int together = 0;
    // Players x players: both sides' points for sharing a game.
    std::vector<int> same;
    // The seats of the smallest game, and whether every game has that many.
    int gameSize = 7;
    bool gamesEven = true;
};

// Returned when the terms give no bound (negative points the parts cannot
// account for).
inline constexpr int kNoSeatingBound = std::numeric_limits<int>::min();

int SeatingLowerBound(const SeatingBoundTerms& terms);

