#pragma once
// Sharing out columns to rows at the least cost: the powers of a heat to its
// players, the players of a layer of seats to the games.

#include <vector>

// Each row of cost (a cost for each column) gets a column, column k exactly
// capacity[k] rows; rows of one team (team[r] the same, not -1) on one
// column cost together more for each pair of them. With together 0 (or no
// teams) the transportation problem. A least-cost flow, exact while together
// is not negative. Returns the column of each row; empty when the
// capacities do not add up to the rows.
std::vector<int> AssignAtLeastCost(const std::vector<std::vector<int>>& cost, const std::vector<int>& capacity,
                                   const std::vector<int>& team, int together);
