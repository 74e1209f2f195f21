#include "seating/SeatingSearch.h"

#include "seating/AnnealingSchedule.h"
#include "seating/SearchRandom.h"

#include <algorithm>
#include <cmath>

// One search: the tables with the seating it is at, the best seen, and the
// schedule.
class SeatingAnnealing {
public:
    SeatingAnnealing(ConflictModel& model, const ConflictWeights& w, std::uint32_t seed);

    int Best() const { return m_best; }
    long long Steps() const { return m_steps; }
    bool Done() const { return m_finished || !m_movable || m_best == 0; }
    void Step();
    int Finish();

private:
    void PickPair(int& a, int& b);

    SeatingTables m_tables;
    SearchRandom m_random;
    int m_current = 0;
    int m_best = 0;
    // The best seating, once the tables have moved on from it.
    SeatingTables::Seats m_bestSeats;
    bool m_bestSaved = false;
    bool m_movable = false;
    bool m_finished = false;
    long long m_steps = 0;
    AnnealingSchedule m_schedule;
};

SeatingAnnealing::SeatingAnnealing(ConflictModel& model, const ConflictWeights& w, std::uint32_t seed)
    : m_tables(model, w), m_random(seed)
{
    const int n = m_tables.Players();
    m_current = m_best = m_tables.Total();
    for (int i = 1; i < n && !m_movable; ++i) m_movable = !m_tables.SameSeat(0, i);
    if (!m_movable) return;

    // The schedule is scaled to the rises random exchanges cause here.
    m_schedule.Calibrate(
        [&] {
            int a = 0, b = 0;
            PickPair(a, b);
            return m_tables.Delta(a, b);
        },
        double(n) * n);
}

void SeatingAnnealing::PickPair(int& a, int& b)
{
    const int n = m_tables.Players();
    a = m_random.Below(n);
    b = m_random.Below(n - 1);
    if (b >= a) ++b;
}

void SeatingAnnealing::Step()
{
    if (m_schedule.StartsRound() && m_current != m_best) {
        // A round starts again from the best seating seen.
        m_tables.Restore(m_bestSeats);
        m_current = m_best;
        m_bestSaved = false;
    }
    int a = 0, b = 0;
    PickPair(a, b);
    if (!m_tables.SameSeat(a, b)) {
        const int delta = m_tables.Delta(a, b);
        if (m_schedule.Takes(delta, m_random)) {
            // Leaving the best seating for a worse one: keep a copy.
            if (delta > 0 && m_current == m_best && !m_bestSaved) {
                m_bestSeats = m_tables.Save();
                m_bestSaved = true;
            }
            m_tables.Exchange(a, b);
            m_current += delta;
            if (m_current < m_best) {
                m_best = m_current;
                m_bestSaved = false;
            }
        }
    }
    m_schedule.Cool();
    ++m_steps;
}

int SeatingAnnealing::Finish()
{
    if (!m_finished) {
        if (m_current != m_best) m_tables.Restore(m_bestSeats);
        m_current = m_best = ClimbSeating(m_tables, m_best);
        m_tables.WriteBack();
        m_finished = true;
    }
    return m_best;
}

SeatingSearch::SeatingSearch(ConflictModel& model, const ConflictWeights& w, std::uint32_t seed)
    : m(std::make_unique<SeatingAnnealing>(model, w, seed))
{
}

SeatingSearch::~SeatingSearch() = default;

int SeatingSearch::Best() const { return m->Best(); }
long long SeatingSearch::Steps() const { return m->Steps(); }
bool SeatingSearch::Done() const { return m->Done(); }

void SeatingSearch::Run(long long steps, Clock::time_point deadline)
{
    RunSteps(steps, deadline, [&] { m->Step(); });
}

int SeatingSearch::Finish() { return m->Finish(); }

int SearchSeatingDeeper(ConflictModel& model, const ConflictWeights& w, std::uint32_t seed, long long steps)
{
    SeatingSearch search(model, w, seed);
    search.Run(steps);
    return search.Finish();
}

SeatingSlices::SeatingSlices(SteppedSeatingSearch& search, const SeatingBudget& budget)
    : m_search(search), m_seconds(budget.seconds), m_steps(budget.steps),
      m_deadline(std::isfinite(budget.seconds)
                     ? Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                          std::chrono::duration<double>(std::max(budget.seconds, 0.0)))
                     : Clock::time_point::max())
{
}

bool SeatingSlices::Ended() const
{
    return m_search.Done() || Clock::now() >= m_deadline || m_search.Steps() >= m_steps;
}

bool SeatingSlices::RunSlice()
{
    if (!Ended())
        m_search.Run(m_steps - m_search.Steps(),
                     std::min(m_deadline, Clock::now() + std::chrono::milliseconds(kSliceMilliseconds)));
    return Ended();
}

double SeatingSlices::SecondsLeft() const
{
    return std::max(0.0, std::chrono::duration<double>(m_deadline - Clock::now()).count());
}

void RunSeatingSearch(SteppedSeatingSearch& search, const SeatingBudget& budget, const SeatingProgress& progress)
{
    SeatingSlices slices(search, budget);
    while (!slices.RunSlice())
        if (progress && !progress(search.Best())) return;
}
