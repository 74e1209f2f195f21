#include "heats/SeatingSearch.h"

#include <algorithm>
#include <cmath>

namespace {

// A small, fast generator whose sequence is fixed by its seed on every
// platform (splitmix64).
class SearchRandom {
public:
    explicit SearchRandom(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to n - 1.
    int Below(int n) { return int(((Next() >> 32) * std::uint64_t(n)) >> 32); }
    // [0, 1).
    double Unit() { return double(Next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t m_state;
};

// The annealing schedule. A round cools geometrically from kWarm to kCool
// times the typical rise of a random exchange over kRoundLength * n * n
// steps (n players), so each player meets every other about kRoundLength
// times per round whatever the heat's size.
constexpr double kWarm = 0.3;
constexpr double kCool = 0.003;
constexpr double kRoundLength = 40.0;
// Random exchanges looked at to learn the typical rise.
constexpr int kSampledExchanges = 2000;
// Steps between two readings of the clock.
constexpr long long kClockEvery = 256;

}  // namespace

struct SeatingSearch::State {
    State(ConflictModel& model, std::uint32_t seed) : tables(model), random(seed) {}

    SeatingTables tables;
    SearchRandom random;
    int start = 0;
    int current = 0;
    int best = 0;
    // The best seating, when the tables have moved on from it.
    SeatingTables::Seats bestSeats;
    bool bestSaved = false;
    bool movable = false;
    bool finished = false;
    long long steps = 0;
    long long roundLength = 1;
    long long roundStep = 0;
    double warm = 1.0;
    double cooling = 1.0;  // the temperature's factor per step
    double temperature = 1.0;

    void PickPair(int& a, int& b)
    {
        const int n = tables.Players();
        a = random.Below(n);
        b = random.Below(n - 1);
        if (b >= a) ++b;
    }

    void Step()
    {
        if (roundStep == 0) {
            // A round starts again from the best seating seen.
            if (current != best) {
                tables.Restore(bestSeats);
                current = best;
                bestSaved = false;
            }
            temperature = warm;
        }
        int a = 0, b = 0;
        PickPair(a, b);
        if (!tables.SameSeat(a, b)) {
            const int delta = tables.Delta(a, b);
            if (delta <= 0 || random.Unit() < std::exp(-double(delta) / temperature)) {
                if (delta > 0 && current == best && !bestSaved) {
                    bestSeats = tables.Save();
                    bestSaved = true;
                }
                tables.Exchange(a, b);
                current += delta;
                if (current < best) {
                    best = current;
                    bestSaved = false;
                }
            }
        }
        temperature *= cooling;
        if (++roundStep == roundLength) roundStep = 0;
        ++steps;
    }
};

SeatingSearch::SeatingSearch(ConflictModel& model, std::uint32_t seed) : m(std::make_unique<State>(model, seed))
{
    SeatingTables& tables = m->tables;
    const int n = tables.Players();
    m->start = m->current = m->best = tables.Total();
    for (int i = 1; i < n && !m->movable; ++i) m->movable = !tables.SameSeat(0, i);
    if (!m->movable) return;

    // The schedule is scaled to the rises random exchanges cause here.
    double rises = 0.0;
    int risen = 0;
    for (int k = 0; k < kSampledExchanges; ++k) {
        int a = 0, b = 0;
        m->PickPair(a, b);
        const int delta = tables.Delta(a, b);
        if (delta > 0) {
            rises += delta;
            ++risen;
        }
    }
    const double rise = risen > 0 ? rises / risen : 1.0;
    m->warm = kWarm * rise;
    m->roundLength = std::max<long long>(1000, (long long)(kRoundLength * n * n));
    m->cooling = std::pow(kCool / kWarm, 1.0 / double(m->roundLength));
}

SeatingSearch::~SeatingSearch() = default;

int SeatingSearch::Start() const { return m->start; }
int SeatingSearch::Best() const { return m->best; }
long long SeatingSearch::Steps() const { return m->steps; }
bool SeatingSearch::Done() const { return m->finished || !m->movable || m->best == 0; }

void SeatingSearch::Run(long long steps, Clock::time_point deadline)
{
    const bool timed = deadline != Clock::time_point::max();
    for (long long done = 0; done < steps && !Done(); ++done) {
        if (timed && done % kClockEvery == 0 && Clock::now() >= deadline) return;
        m->Step();
    }
}

int SeatingSearch::Finish()
{
    if (!m->finished) {
        if (m->current != m->best) m->tables.Restore(m->bestSeats);
        m->current = m->best = ClimbSeating(m->tables, m->best);
        m->tables.WriteBack();
        m->finished = true;
    }
    return m->best;
}

int SearchSeatingDeeper(ConflictModel& model, std::uint32_t seed, long long steps)
{
    SeatingSearch search(model, seed);
    search.Run(steps);
    return search.Finish();
}
