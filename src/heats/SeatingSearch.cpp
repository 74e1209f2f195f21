#include "heats/SeatingSearch.h"

#include "heats/SearchRandom.h"

#include <algorithm>
#include <cmath>

namespace {

// The annealing schedule. A round cools geometrically from kWarm to kCool
// times the typical rise of a random exchange, over kRoundLength * n * n
// steps for n players: each pair of players is tried about 2 * kRoundLength
// times a round, whatever the heat's size.
constexpr double kWarm = 0.3;
constexpr double kCool = 0.003;
constexpr double kRoundLength = 40.0;
// Random exchanges looked at to learn the typical rise.
constexpr int kSampledExchanges = 2000;
// Steps between two readings of the clock.
constexpr long long kClockEvery = 256;

}  // namespace

// One search: the tables with the seating it is at, the best seen, and the
// schedule.
class SeatingAnnealing {
public:
    SeatingAnnealing(ConflictModel& model, std::uint32_t seed);

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
    long long m_roundLength = 1;
    long long m_roundStep = 0;
    double m_warm = 1.0;
    double m_cooling = 1.0;  // the temperature's factor per step
    double m_temperature = 1.0;
};

SeatingAnnealing::SeatingAnnealing(ConflictModel& model, std::uint32_t seed) : m_tables(model), m_random(seed)
{
    const int n = m_tables.Players();
    m_current = m_best = m_tables.Total();
    for (int i = 1; i < n && !m_movable; ++i) m_movable = !m_tables.SameSeat(0, i);
    if (!m_movable) return;

    // The schedule is scaled to the rises random exchanges cause here.
    double rises = 0.0;
    int risen = 0;
    for (int k = 0; k < kSampledExchanges; ++k) {
        int a = 0, b = 0;
        PickPair(a, b);
        const int delta = m_tables.Delta(a, b);
        if (delta > 0) {
            rises += delta;
            ++risen;
        }
    }
    m_warm = kWarm * (risen > 0 ? rises / risen : 1.0);
    m_roundLength = std::max<long long>(1000, static_cast<long long>(kRoundLength * n * n));
    m_cooling = std::pow(kCool / kWarm, 1.0 / double(m_roundLength));
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
    if (m_roundStep == 0) {
        // A round starts again from the best seating seen.
        if (m_current != m_best) {
            m_tables.Restore(m_bestSeats);
            m_current = m_best;
            m_bestSaved = false;
        }
        m_temperature = m_warm;
    }
    int a = 0, b = 0;
    PickPair(a, b);
    if (!m_tables.SameSeat(a, b)) {
        const int delta = m_tables.Delta(a, b);
        if (delta <= 0 || m_random.Unit() < std::exp(-double(delta) / m_temperature)) {
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
    m_temperature *= m_cooling;
    if (++m_roundStep == m_roundLength) m_roundStep = 0;
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

SeatingSearch::SeatingSearch(ConflictModel& model, std::uint32_t seed)
    : m(std::make_unique<SeatingAnnealing>(model, seed))
{
}

SeatingSearch::~SeatingSearch() = default;

int SeatingSearch::Best() const { return m->Best(); }
long long SeatingSearch::Steps() const { return m->Steps(); }
bool SeatingSearch::Done() const { return m->Done(); }

void SeatingSearch::Run(long long steps, Clock::time_point deadline)
{
    const bool timed = deadline != Clock::time_point::max();
    for (long long done = 0; done < steps && !Done(); ++done) {
        if (timed && done % kClockEvery == 0 && Clock::now() >= deadline) return;
        m->Step();
    }
}

int SeatingSearch::Finish() { return m->Finish(); }

int SearchSeatingDeeper(ConflictModel& model, std::uint32_t seed, long long steps)
{
    SeatingSearch search(model, seed);
    search.Run(steps);
    return search.Finish();
}
