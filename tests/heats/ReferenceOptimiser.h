#pragma once
// The seat-exchange hill climb done the plain way: after every trial
// exchange the whole heat's total is computed again through the model. Slow,
// but obviously what the climb means; the engine's optimiser must end on the
// same seating and value.

#include "conflicts/ConflictModel.h"
#include "heats/Seeding.h"

// Optimises g_conflictModel, the selected heat being heatNum.
inline int ReferenceOptimiseSeating(int start, int heatNum)
{
    int best = start;
    ConflictModel& model = *g_conflictModel;
    if (model.players.empty()) return best;
    bool improved = true;
    while (improved) {
        improved = false;
        for (size_t a = 0; a < model.players.size(); ++a) {
            for (size_t b = a + 1; b < model.players.size(); ++b) {
                model.SwapSeats(model.players[a], model.players[b]);
                const int t = SeedingConflict(heatNum);
                if (t < best) {
                    if (t == 0) return 0;
                    best = t;
                    improved = true;
                } else {
                    model.SwapSeats(model.players[a], model.players[b]);
                }
            }
        }
    }
    return best;
}
