#pragma once
// Heats in which no two players meet twice, from the lines of a plane over a
// finite field or from rows shifted by offsets.
//
// For 7m players, m a prime power of at least 7, player (x, y) has a
// position x (seven field elements, written 0 to 6) and a row y (any of the
// m elements). The heat of slope k seats him in game y + k*x and gives him
// power (x + k) mod 7 (k read as its number 0 to m - 1). Two players with
// different positions meet in exactly one slope's heat, two with the same
// position in none, so the m slopes give m heats without a repeated
// meeting; in the heats of slopes 0 to 6 every player plays every power
// once. With m = 7 the heat by positions (game x, power y) is one more:
// with the seven slopes, the eight parallel classes of the affine plane of
// order 7, after which every two players have met exactly once.
//
// For other m of at least 7 the rows shift by offsets instead: player
// (x, y) sits in game y - o(x, k) (mod m) of heat k, where the offsets of
// any two positions differ by a different amount in every heat, so that
// again two players meet once at most; a search finds such offsets for up
// to nine heats where it can (nine for every such m from 14 on, eight for
// 10 and 12).
//
// A design goes on from the heats already played: the first played heat
// gives the rows (its games) and the positions (its powers, or the order in
// its games when it has none), and every played heat must be one of the
// design's heats in these coordinates; the heats to come are the design's
// heats not yet played, in increasing order (for m = 7 the heat by
// positions last).

#include <vector>

// A player's seat in one heat of a design: a game (any number that tells
// the heat's games apart) and a power (-1 none).
struct DesignSeat {
    int game = 0;
    int power = -1;
};
// One heat: a seat for each player, players numbered 0 to n - 1.
using DesignHeat = std::vector<DesignSeat>;

// The next count heats of the design for players players that continues
// played (each heat seating every player); their games are numbered 0 to
// players / 7 - 1. Offsets are looked for up to mostHeats heats. Fewer
// heats when the design has no more; none when there is no design for that
// many players or played is not part of one.
std::vector<DesignHeat> ContinueSeatingDesign(const std::vector<DesignHeat>& played, int players, int count,
                                              int mostHeats);
