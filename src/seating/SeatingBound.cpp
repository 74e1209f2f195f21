#include "seating/SeatingBound.h"

#include "seating/LeastCostAssignment.h"

#include <algorithm>

int SeatingLowerBound(const SeatingBoundTerms& terms)
{
    const size_t n = terms.powerCost.size();
    if (n == 0) return 0;
    if (terms.together < 0) return kNoSeatingBound;
    const std::vector<int> column = AssignAtLeastCost(terms.powerCost, terms.capacity, terms.team, terms.together);
    if (column.size() != n) return kNoSeatingBound;
    long long bound = 0;
    for (size_t i = 0; i < n; ++i) {
        bound += terms.powerCost[i][size_t(column[i])];
        for (size_t j = i + 1; j < n && terms.together != 0; ++j)
            if (terms.team[i] != -1 && terms.team[i] == terms.team[j] && column[i] == column[j])
                bound += terms.together;
    }

    const size_t opponents = size_t(std::clamp<int>(terms.gameSize - 1, 0, int(n) - 1));
    long long pairs = 0;
    std::vector<int> same;
    for (size_t i = 0; i < n; ++i) {
        same.clear();
        for (size_t j = 0; j < n; ++j)
            if (j != i) same.push_back(terms.same[i * n + j]);
        // With games of different sizes a player may have more opponents
        // than the smallest game gives, which only negative points make
        // cheaper.
        if (!terms.gamesEven && std::any_of(same.begin(), same.end(), [](int v) { return v < 0; }))
            return kNoSeatingBound;
        std::partial_sort(same.begin(), same.begin() + std::ptrdiff_t(opponents), same.end());
        for (size_t k = 0; k < opponents; ++k) pairs += same[k];
    }
    // Half, rounded up: the pairs' points are whole.
    bound += pairs >= 0 ? (pairs + 1) / 2 : -(-pairs / 2);
    return int(std::clamp<long long>(bound, kNoSeatingBound + 1LL, std::numeric_limits<int>::max()));
}
