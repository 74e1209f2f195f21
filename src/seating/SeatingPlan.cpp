#include "seating/SeatingPlan.h"

#include "seating/SeatingPlanState.h"
#include "seating/SeatingTables.h"

#include <algorithm>

namespace {

// The plan's moves in one step of the planner (beside one of the search).
constexpr int kPlanMovesPerStep = 2;
// Steps before the first look at an improved plan's bounds; each look that
// finds a heat above its bound doubles the wait, to at most the longest.
constexpr long long kFirstBoundCheck = 4096;
constexpr long long kLongestBoundCheck = 1 << 20;

}  // namespace

SeatingPlanner::SeatingPlanner(ConflictModel& model, const SeatingRules& rules, std::uint32_t seed)
    : m_model(model), m_weights(rules.heatWeights.front()), m_search(model, m_weights, seed),
      m_plan(std::make_unique<SeatingPlanState>(model, rules, seed)), m_bound(m_plan->HeatBound(0)),
      m_checkInterval(kFirstBoundCheck)
{
    m_checkedPlan = m_plan->Best();
    m_planAtBounds = m_plan->Heats() > 1 && m_plan->EveryHeatAtBound();
    m_nextCheck = m_checkInterval;
}

void SeatingPlanner::CheckBounds()
{
    if (m_plan->Heats() == 1 || m_planAtBounds || m_steps < m_nextCheck) return;
    m_nextCheck = m_steps + m_checkInterval;
    // Only a plan better than the last one looked at, and only from its
    // first heat at the bound on.
    if (m_plan->Best() >= m_checkedPlan || m_plan->BestFirstHeat() > m_bound) return;
    if (m_plan->Best() != m_plan->CurrentObjective()) return;
    m_checkedPlan = m_plan->Best();
    m_planAtBounds = m_plan->EveryHeatAtBound();
    m_checkInterval = std::min(2 * m_checkInterval, kLongestBoundCheck);
}

SeatingPlanner::~SeatingPlanner() = default;

int SeatingPlanner::Best() const
{
    return m_finished ? m_final : std::min(m_search.Best(), m_plan->BestFirstHeat());
}

long long SeatingPlanner::Steps() const { return m_steps; }

bool SeatingPlanner::Done() const
{
    // With no later heat a total at the bound, or of 0 where no term is
    // negative, is as good as the heat gets.
    if (m_finished || (m_search.Done() && m_plan->Done()) || m_planAtBounds) return true;
    return m_plan->Heats() == 1 &&
           (Best() <= m_bound || (Best() == 0 && (m_search.Done() || m_plan->NeverBelowZero())));
}

void SeatingPlanner::Run(long long steps, Clock::time_point deadline)
{
    RunSteps(steps, deadline, [&] {
        m_search.Run(1);
        for (int k = 0; k < kPlanMovesPerStep && !m_plan->Done(); ++k) m_plan->Step();
        ++m_steps;
        CheckBounds();
    });
}

int SeatingPlanner::Finish()
{
    if (m_finished) return m_final;
    const int searched = m_search.Finish();
    std::vector<PastSeat> kept;
    for (const ModelPlayer& p : m_model.players) kept.push_back(p.seats.front());

    m_plan->WriteFirstHeat(m_model);
    SeatingTables tables(m_model, m_weights);
    const int planned = ClimbSeating(tables, tables.Total());
    if (planned <= searched) {
        tables.WriteBack();
        m_final = planned;
        m_planKept = true;
    } else {
        for (size_t i = 0; i < kept.size(); ++i) m_model.players[i].seats.front() = kept[i];
        m_final = searched;
    }
    m_finished = true;
    return m_final;
}

bool SeatingPlanner::FromDesign() const { return m_plan->FromDesign(); }
int SeatingPlanner::PlannedHeats() const { return m_plan->Heats(); }
long long SeatingPlanner::PlanObjective() const { return m_plan->Best(); }
std::vector<ConflictModel> SeatingPlanner::PlannedModels() const { return m_plan->Models(m_model); }

int SeatingPlanWeight(int k, int heats) { return k == 0 ? 2 * heats : heats - k; }

int PlanSeating(ConflictModel& model, const SeatingRules& rules, std::uint32_t seed, const SeatingBudget& budget,
                const SeatingProgress& progress)
{
    SeatingPlanner planner(model, rules, seed);
    RunSeatingSearch(planner, budget, progress);
    return planner.Finish();
}

