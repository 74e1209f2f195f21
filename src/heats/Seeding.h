#pragma once
// Seeding a heat: the random draw into games of seven, and the optimisation
// that exchanges seats while that lowers the heat's total conflict.
//
// The Heats dialog composes a seeding from these pieces, in two steps that
// each complete or change nothing; no question is asked inside a
// transaction:
//
//   LoadHeatScoringSystem(heatSystemID);
//   AssignPowersOverride powers(checkBoxTicked);  // restored when it ends
//   std::uint32_t seed = SeedingSeed();
//   DrawSeating(heatID, toSeedIDs, seed);         // committed
//   RefreshHeatLists();
//   g_conflictModel = BuildConflictModel(heatNum);
//   int v = SeedingConflict(heatNum);
//   HeatSeating drawn = CurrentSeating(*g_conflictModel);
//   ... if the director agrees:
//   v = OptimiseSeating(v);  // then perhaps SeatingPlanner(model, SeedingRules(...))
//   WriteOptimisedSeating(heatID, *g_conflictModel, drawn);

#include "conflicts/ConflictModel.h"
#include "seating/SeatingRules.h"

#include <array>
#include <cstdint>
#include <vector>

// The seeding's pseudo-random generator: a 32-bit linear congruential
// generator yielding 15-bit values.
class SeedingRandom {
public:
    explicit SeedingRandom(std::uint32_t seed) : m_state(seed) {}
    // The next value, 0 to 32767.
    int Next()
    {
        m_state = m_state * 214013u + 2531011u;
        return int((m_state >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t m_state;
};

// Loads the heat's scoring system as the current one: heatSystemID, or the
// tournament's default when it is 0.
void LoadHeatScoringSystem(int heatSystemID);

// Sets CurrentTournament.assignPowers for one seeding and puts the former
// value back when it goes out of scope, however the seeding ends.
class AssignPowersOverride {
public:
    explicit AssignPowersOverride(bool assignPowers);
    ~AssignPowersOverride();
    AssignPowersOverride(const AssignPowersOverride&) = delete;
    AssignPowersOverride& operator=(const AssignPowersOverride&) = delete;

private:
    int m_kept;
};

// The seed of a seeding's generators: the clock of the UI services, in
// whole seconds.
std::uint32_t SeedingSeed();

// Draws the players (a positive multiple of seven of them) at
// random into new games of the heat, numbered on from its highest game, seven
// to a game. With CurrentTournament.assignPowers set, the k-th player drawn
// for a game plays power (7 - k) mod 7, otherwise none. Each player drawn
// stops being merely registered (his HeatPlayer row goes). All in one
// transaction; a count that is not a positive multiple of seven throws
// std::invalid_argument and writes nothing. When another program has changed
// the heat since the players were listed (the heat is gone, or a player is
// no longer registered for it or already seated in it), throws
// HeatChangedElsewhere and writes nothing.
void DrawSeating(int heatID, const std::vector<int>& players, std::uint32_t seed = SeedingSeed());

// The team-weight rule of a team tournament scored in one heat
// (teamSize not 0, teamHeat above 0): CurrentTournament.teamConflict becomes
// 2 * |playerConflict + powerConflict| when heatNum is the team heat, else 0
// (so the model falls back to P + W). Other tournaments are left alone.
void ApplyTeamWeightRule(int heatNum);
// The weights a seeding of heatNum computes with: CurrentTournament's, the
// team weight as the team-weight rule makes it for heatNum. Changes nothing.
ConflictWeights SeedingWeights(int heatNum);

// What the seating engine plans heatNum with: the weights of heatNum and of
// each later heat to lastHeat (SeedingWeights; kMaxHeats heats at most),
// CurrentTournament.assignPowers for the later heats' games, and kMaxHeats.
SeatingRules SeedingRules(int heatNum, int lastHeat);

// The total conflict of g_conflictModel (built for heatNum when absent),
// after the team-weight rule for heatNum.
int SeedingConflict(int heatNum);

// Improves g_conflictModel's seating by a first-improvement hill climb over
// pairwise seat exchanges (list order; each exchange kept only when it makes
// the total strictly lower than the best so far, starting from start) and
// returns the final best value; stops at once when a total of 0 is reached.
// The team-weight rule is applied for the model's heat first. Without a model
// start is returned.
int OptimiseSeating(int start);
// The same on any model, with the weights CurrentTournament holds now.
int OptimiseSeating(ConflictModel& model, int start);

// The seats of a model's players as (gameID, playerID, powerID), sorted.
using HeatSeating = std::vector<std::array<int, 3>>;
HeatSeating CurrentSeating(const ConflictModel& model);

// Writes the model's seating over the heat's not-started games in one
// transaction. drawn is the seating the model was built from; when the
// stored seats of those games are no longer drawn (another program changed
// them, or started a game), throws HeatChangedElsewhere and writes nothing.
void WriteOptimisedSeating(int heatID, const ConflictModel& model, const HeatSeating& drawn);
