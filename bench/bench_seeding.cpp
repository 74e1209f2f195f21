// Cost of seeding a large heat: the draw of 210 players written to the
// database, building the conflict model from it, the seat-exchange
// optimisation from a fixed random draw to its end (goal: under 50 ms for 210
// players) and storing the optimised seating. make bench-postgres runs the
// database parts on PostgreSQL too. Beside it, the plain climb that
// recomputes the whole total after every trial exchange, on a 49-player heat,
// to show what the incremental computation saves.

#include "../tests/heats/ReferenceOptimiser.h"

#include "conflicts/ConflictModel.h"
#include "db/Recordset.h"
#include "heats/HeatRecords.h"
#include "heats/Seeding.h"
#include "support/SeedingTournaments.h"
#include "tournament/CurrentTournament.h"

#include <benchmark/benchmark.h>

#include <algorithm>
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

int Heat9(int tournamentID)
{
    return QueryInt(Sql("select id from Heat where tournamentID = %d and heatNum = 9", tournamentID), -1);
}

// The draw of the heat's 210 players into 30 games, each time from the
// players registered again.
void DrawSeating210(benchmark::State& state)
{
    LoadTournament(g_large);
    const int heatID = Heat9(g_large);
    std::vector<int> players;
    for (const PlayerEntry& p : RegisteredPlayers(heatID)) players.push_back(p.id);
    for (const SeatedPlayer& p : SeatedPlayers(heatID, 0)) players.push_back(p.playerID);
    // In the order and with the seed of the first draw, so it is drawn again.
    std::sort(players.begin(), players.end());
    for (auto _ : state) {
        state.PauseTiming();
        UnseedHeat(heatID);
        state.ResumeTiming();
        DrawSeating(heatID, players, HeatSeed(9));
    }
}
BENCHMARK(DrawSeating210)->Unit(benchmark::kMillisecond)->Iterations(5);

// Storing a seating of the 210 over the drawn one, checked against it first.
void StoreSeating210(benchmark::State& state)
{
    LoadTournament(g_large);
    const int heatID = Heat9(g_large);
    const std::unique_ptr<ConflictModel> model = BuildConflictModel(9);
    const HeatSeating drawn = CurrentSeating(*model);
    for (auto _ : state) WriteOptimisedSeating(heatID, *model, drawn);
}
BENCHMARK(StoreSeating210)->Unit(benchmark::kMillisecond)->Iterations(5);

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
