#pragma once
// The deeper seating search that follows the exchange pass.
//
// The exchange pass stops at the first seating no single exchange improves.
// The search goes on from there by simulated annealing over the same seat
// exchanges (across games, and power exchanges within a game), in rounds:
// each round starts again from the best seating seen so far, warm enough to
// leave it, and cools until only improvements pass. The best seating seen is
// kept throughout; Finish() puts it back into the model and ends with the
// exchange pass, so the result is one no single exchange improves and never
// above the value the search started from.
//
// The search is a sequence of steps (one trial exchange each) drawn from a
// generator seeded by the caller; the same model, weights and seed give the
// same seating after the same number of steps, however the steps are split
// into calls of Run(). Time only decides where a caller stops it.

#include "seating/SeatingTables.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>

// A seating search that runs in steps, as the progress dialog drives it: the
// same steps give the same seating however they are split into calls of
// Run(); time only decides where a caller stops.
class SteppedSeatingSearch {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~SteppedSeatingSearch() = default;
    // The lowest total of the heat seen so far.
    virtual int Best() const = 0;
    // Steps run so far.
    virtual long long Steps() const = 0;
    // True when there is nothing more to search for.
    virtual bool Done() const = 0;
    // Runs at most steps more steps; stops early when Done() or when the
    // clock has passed deadline (read every few hundred steps).
    virtual void Run(long long steps, Clock::time_point deadline = Clock::time_point::max()) = 0;

protected:
    // Run() for a search whose step is step(): at most steps of them, ending
    // early when Done() or past deadline.
    template <class Step>
    void RunSteps(long long steps, Clock::time_point deadline, Step&& step)
    {
        // Steps between two readings of the clock.
        constexpr long long kClockEvery = 256;
        const bool timed = deadline != Clock::time_point::max();
        for (long long done = 0; done < steps && !Done(); ++done) {
            if (timed && done % kClockEvery == 0 && Clock::now() >= deadline) return;
            step();
        }
    }
};

// The state of a search.
class SeatingAnnealing;

class SeatingSearch : public SteppedSeatingSearch {
public:
    // Searches from the model's current seating with the weights w. The
    // model must outlive the search.
    SeatingSearch(ConflictModel& model, const ConflictWeights& w, std::uint32_t seed);
    ~SeatingSearch() override;
    SeatingSearch(const SeatingSearch&) = delete;
    SeatingSearch& operator=(const SeatingSearch&) = delete;

    int Best() const override;
    long long Steps() const override;
    // A total of 0, or fewer than two seats to exchange.
    bool Done() const override;
    void Run(long long steps, Clock::time_point deadline = Clock::time_point::max()) override;

    // Puts the best seating seen into the model and climbs from it until no
    // single exchange improves it; returns the model's total. Ends the
    // search (a second call returns the same value).
    int Finish();

private:
    std::unique_ptr<SeatingAnnealing> m;
};

// The search's default time budget, in seconds.
inline constexpr double kSeatingSearchSeconds = 2.0;

// Runs the search on the model for steps steps (tests and benchmarks fix the
// work this way) and finishes it; returns the final total.
int SearchSeatingDeeper(ConflictModel& model, const ConflictWeights& w, std::uint32_t seed, long long steps);

// How long a search may run: until its time or its steps are spent,
// whichever comes first (an infinite time: the steps alone, as tests and
// benchmarks fix the work).
struct SeatingBudget {
    double seconds = kSeatingSearchSeconds;
    long long steps = std::numeric_limits<long long>::max();

    static SeatingBudget Steps(long long steps) { return {std::numeric_limits<double>::infinity(), steps}; }
};

// A search run in short slices within a budget whose time starts with the
// slices, so that a window can show its progress and stop it between two.
class SeatingSlices {
public:
    using Clock = SteppedSeatingSearch::Clock;

    SeatingSlices(SteppedSeatingSearch& search, const SeatingBudget& budget);

    // Runs one slice of at most kSliceMilliseconds; returns Ended().
    bool RunSlice();
    // The search has nothing more to look for, or the budget is spent.
    bool Ended() const;
    double Seconds() const { return m_seconds; }
    double SecondsLeft() const;

    static constexpr int kSliceMilliseconds = 30;

private:
    SteppedSeatingSearch& m_search;
    double m_seconds;
    long long m_steps;
    Clock::time_point m_deadline;
};

// Called after each slice with the lowest total of the heat so far; false
// stops the search.
using SeatingProgress = std::function<bool(int best)>;

// Runs the search in slices until it ends or progress stops it.
void RunSeatingSearch(SteppedSeatingSearch& search, const SeatingBudget& budget,
                      const SeatingProgress& progress = {});
