// Cost of seeding a large heat: building the conflict model from the
// database, and the seat-exchange optimisation from a fixed random draw to
// its end (goal: under 50 ms for 210 players). Beside it, the plain climb that
// recomputes the whole total after every trial exchange, on a 49-player heat,
// to show what the incremental computation saves.

#include "../tests/heats/ReferenceOptimiser.h"

#include "conflicts/ConflictModel.h"
#include "heats/Seeding.h"
#include "support/SeedingTournaments.h"
#include "tournament/CurrentTournament.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

int g_large = -1;  // 210 players
int g_small = -1;  // 49 players

// The model of heat 9 as the seeding builds it, with its start value.
struct DrawnHeat {
    std::unique_ptr<ConflictModel> model;
    int start = 0;
};

DrawnHeat Drawn(int tournamentID)
{
    LoadTournament(tournamentID);
    DrawnHeat heat;
    heat.model = BuildConflictModel(9);
    ApplyTeamWeightRule(9);
    heat.start = heat.model->TotalConflict();
    return heat;
}

void BuildModel210(benchmark::State& state)
{
    LoadTournament(g_large);
    for (auto _ : state) {
        std::unique_ptr<ConflictModel> model = BuildConflictModel(9);
        benchmark::DoNotOptimize(model.get());
    }
}
BENCHMARK(BuildModel210)->Unit(benchmark::kMillisecond);

// Times a climb from heat 9's drawn seating to its end, on a fresh copy of
// the model each time.
template <class Climb>
void Optimise(benchmark::State& state, int tournamentID, Climb climb)
{
    const DrawnHeat heat = Drawn(tournamentID);
    int value = 0;
    for (auto _ : state) {
        state.PauseTiming();
        g_conflictModel = std::make_unique<ConflictModel>(*heat.model);
        state.ResumeTiming();
        value = climb(heat.start);
    }
    state.counters["start"] = heat.start;
    state.counters["final"] = value;
}

int Fast(int start) { return OptimiseSeating(start); }
int Plain(int start) { return ReferenceOptimiseSeating(start, 9); }

void OptimiseSeating210(benchmark::State& state) { Optimise(state, g_large, Fast); }
BENCHMARK(OptimiseSeating210)->Unit(benchmark::kMillisecond);

void OptimiseSeating49(benchmark::State& state) { Optimise(state, g_small, Fast); }
BENCHMARK(OptimiseSeating49)->Unit(benchmark::kMillisecond);

void ReferenceOptimiseSeating49(benchmark::State& state) { Optimise(state, g_small, Plain); }
BENCHMARK(ReferenceOptimiseSeating49)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    return RunSeedingBenchmarks(argc, argv, [] {
        g_large = CreateNineHeats("Large", 210, 20, 100);
        g_small = CreateNineHeats("Small", 49, 5, 24);
    });
}
