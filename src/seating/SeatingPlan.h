#pragma once
// Seating a heat by planning it together with the heats still to come.
//
// Seated one at a time, each heat takes the best seats for itself and leaves
// the later heats without good ones. The planner seats the model's players
// in the heat being seeded and in every later heat it is given weights for
// (SeatingRules) at once, each later heat measured as the conflict model
// would measure it with the plan's earlier heats as its history: repeated
// opponents and powers, power groups, declared conflicts, groups and team
// mates, with the team weight the team-weight rule gives that heat. The
// objective counts the heat being seeded fully and each later heat less,
// the later the less (SeatingPlanWeight).
//
// The plan starts, where the tournament is plain (every player in every
// heat so far, no declared conflicts, groups or teams between them) and a
// design for its size goes on from the heats played (SeatingDesign.h), from
// the design's heats; the other heats are built in turn, each after the
// ones before it: the powers shared out at the least cost for what each
// player has played (in the team heat with the points of team mates on one
// power), then the games filled one seat of each at a time, the players of
// that seat's power going to the games where they have met (or otherwise
// conflict with) the players already there least, at the least total. The
// plan is then improved by simulated annealing over seat exchanges (across
// games, and power exchanges within a game) in every planned heat.
//
// Alongside, the deeper search of the heat alone (SeatingSearch) runs from
// the model's seating for the same steps. Finish() climbs the plan's first
// heat with the exchange pass and keeps it when its total is not above the
// search's (finished with the exchange pass too); so for the same seed and
// steps the heat is never worse than the deeper search would leave it, and
// the stored seating is always one no single exchange improves. Nothing of
// the plan beyond the heat is kept: later heats are planned again when they
// are seeded.
//
// The planner stops as soon as nothing better can be found: with the heat
// alone planned, when its total reaches its lower bound (SeatingBound.h);
// with later heats, when the best plan has every heat at its bound, each
// with the plan's earlier heats as its history.
//
// One step is a step of the search and a fixed number of the plan's; the
// same model, rules, seed and steps give the same seating however the
// steps are split into calls of Run().

#include "seating/SeatingRules.h"
#include "seating/SeatingSearch.h"

#include <memory>
#include <vector>

// The state of a plan.
class SeatingPlanState;

class SeatingPlanner : public SteppedSeatingSearch {
public:
    // Plans the model's heat and the later heats the rules give weights for
    // (all of them at most kSeatingMostPlannedHeats) from the model's
    // current seating. The model must outlive the planner.
    SeatingPlanner(ConflictModel& model, const SeatingRules& rules, std::uint32_t seed);
    ~SeatingPlanner() override;
    SeatingPlanner(const SeatingPlanner&) = delete;
    SeatingPlanner& operator=(const SeatingPlanner&) = delete;

    // The lowest total of the heat being seeded so far, the plan's or the
    // search's.
    int Best() const override;
    long long Steps() const override;
    // Both the search and the plan have nothing more to look for; or the
    // heat, the only one planned, is at its lower bound or has a total of 0
    // that no other seating goes below (the search has ended at 0, or no
    // term is negative); or the best plan has every heat at its bound.
    bool Done() const override;
    void Run(long long steps, Clock::time_point deadline = Clock::time_point::max()) override;

    // Puts the better of the plan's heat and the search's into the model,
    // each climbed until no single exchange improves it, and returns the
    // model's total. Ends the planner (a second call returns the same value).
    int Finish();
    // After Finish: true when the heat took the plan's seating.
    bool PlanKept() const { return m_planKept; }
    // True when the plan started from a design's heats.
    bool FromDesign() const;

    // The heats planned (the heat being seeded first).
    int PlannedHeats() const;
    // The lower bound of the heat being seeded (kNoSeatingBound: none).
    int HeatBound() const { return m_bound; }
    // The weighted total of the best plan.
    long long PlanObjective() const;
    // The best plan's heats as the conflict model sees them: for each, a
    // model of the planned players seated as planned, with the earlier
    // planned heats in their history (games numbered apart from the real
    // ones).
    std::vector<ConflictModel> PlannedModels() const;

private:
    // Whether the best plan has reached its bounds, looked at again only
    // once it has improved, less often the more often it was not.
    void CheckBounds();

    ConflictModel& m_model;
    ConflictWeights m_weights;
    SeatingSearch m_search;
    std::unique_ptr<SeatingPlanState> m_plan;
    int m_bound = 0;
    bool m_planAtBounds = false;
    long long m_checkedPlan = 0;     // the best plan's objective when last looked at
    long long m_nextCheck = 0;       // the step of the next look
    long long m_checkInterval = 0;
    long long m_steps = 0;
    bool m_finished = false;
    bool m_planKept = false;
    int m_final = 0;
};

// The weight in the objective of the k-th of heats planned heats (0: the
// heat being seeded): 2 * heats for the heat being seeded, heats - k for a
// later one, so that each later heat counts at most half as much and a
// conflict that must come somewhere comes as late as it can.
int SeatingPlanWeight(int k, int heats);

// Seats the model's heat by the planner within the budget, calling progress
// after each slice (returning false stops it), and finishes it: the model
// holds the seating. Returns its total.
int PlanSeating(ConflictModel& model, const SeatingRules& rules, std::uint32_t seed, const SeatingBudget& budget,
                const SeatingProgress& progress = {});
