// What the deeper seating search gains over the exchange pass within its
// time budget (goal: at most 0.6 of the exchange pass's value on heats 4 to 7
// of the chain and on the large heat).
//
// Chain49: 49 players over 7 heats, no groups, declared conflicts or teams,
// player weight 3, power weight 2, no power groups. Each heat is drawn,
// passed and searched in turn, and the searched seating is the history of
// the next heat; "passK" and "deepK" are heat K's value after the exchange
// pass and after the search.
//
// Large210: the ninth heat of 210 players in teams of four scored in that
// heat, with power groups, 20 groups and 100 declared conflicts, heats 1 to 8
// drawn at random. "floor" is the sum over the players of the least their
// power history can cost: every other term is positive here, so no seating
// can go below it.
//
// The sweeps search one fixed heat for a growing budget: heat 7 of a chain
// whose heats 1 to 6 were searched for a fixed number of steps, and the
// large heat. The default budget is where their gain flattens.
//
// Results depend on the machine's speed and load; "steps" says how much work
// the budget allowed.

#include "conflicts/ConflictModel.h"
#include "seating/SeatingSearch.h"
#include "heats/Seeding.h"
#include "support/SeedingTournaments.h"
#include "tournament/CurrentTournament.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>

namespace {

struct Searched {
    int pass = 0;
    int deep = 0;
    long long steps = 0;
};

// The exchange pass, then the search for seconds, on a model of the open
// tournament whose draw was seeded with seed.
Searched PassAndSearch(ConflictModel& model, std::uint32_t seed, double seconds)
{
    ApplyTeamWeightRule(model.heatNum);
    Searched result;
    result.pass = OptimiseSeating(model, model.TotalConflict());
    SeatingSearch search(model, ConflictWeights::FromCurrentTournament(), seed);
    const auto budget = std::chrono::duration_cast<SeatingSearch::Clock::duration>(std::chrono::duration<double>(seconds));
    search.Run(std::numeric_limits<long long>::max(), SeatingSearch::Clock::now() + budget);
    result.steps = search.Steps();
    result.deep = search.Finish();
    return result;
}

double Seconds(const benchmark::State& state) { return double(state.range(0)) / 1000.0; }

int g_chains = 0;
int g_large = -1;
int g_sweepChain = -1;

// Heats 1 to lastHeat of a fresh 49-player chain, each drawn, passed and
// searched (for seconds, or for steps when steps is positive), written and
// finished; heat lastHeat + 1 is drawn. Returns the tournament's id.
int Chain(benchmark::State* state, int lastHeat, double seconds, long long steps = 0)
{
    const std::string name = "Chain " + std::to_string(++g_chains);
    const BenchTournament made = CreateTournament({.name = name.c_str(), .players = 49, .numHeats = 7});
    long long done = 0;
    for (int h = 1; h <= lastHeat + 1 && h <= 7; ++h) {
        const int heatID = DrawHeat(made, h);
        if (h > lastHeat) break;
        std::unique_ptr<ConflictModel> model = BuildConflictModel(h);
        Searched result;
        if (steps > 0) {
            ApplyTeamWeightRule(h);
            result.pass = OptimiseSeating(*model, model->TotalConflict());
            result.deep = SearchSeatingDeeper(*model, ConflictWeights::FromCurrentTournament(), HeatSeed(h), steps);
        } else {
            result = PassAndSearch(*model, HeatSeed(h), seconds);
        }
        model->WriteSeating();
        FinishHeat(heatID);
        done += result.steps;
        if (state) {
            state->counters["pass" + std::to_string(h)] = result.pass;
            state->counters["deep" + std::to_string(h)] = result.deep;
        }
    }
    if (state) state->counters["steps"] = double(done);
    return made.id;
}

void Chain49(benchmark::State& state)
{
    for (auto _ : state) Chain(&state, 7, Seconds(state));
}
BENCHMARK(Chain49)->Arg(int(kSeatingSearchSeconds * 1000))->Iterations(1)->Unit(benchmark::kSecond);

// Searches heat heatNum of the tournament from its drawn seating.
void SearchDrawn(benchmark::State& state, int tournamentID, int heatNum)
{
    LoadTournament(tournamentID);
    const std::unique_ptr<ConflictModel> drawn = BuildConflictModel(heatNum);
    for (auto _ : state) {
        ConflictModel model = *drawn;
        const Searched result = PassAndSearch(model, HeatSeed(heatNum), Seconds(state));
        state.counters["pass"] = result.pass;
        state.counters["deep"] = result.deep;
        state.counters["steps"] = double(result.steps);
    }
}

void Large210(benchmark::State& state)
{
    SearchDrawn(state, g_large, 9);
    const std::unique_ptr<ConflictModel> model = BuildConflictModel(9);
    const ConflictWeights w = ConflictWeights::FromCurrentTournament();
    int floor = 0;
    for (const ModelPlayer& p : model->players) {
        int least = std::numeric_limits<int>::max();
        for (int power = 0; power < 7; ++power) least = std::min(least, model->PowerHistoryConflict(p, power, w));
        floor += least;
    }
    state.counters["floor"] = floor;
}
BENCHMARK(Large210)->Arg(int(kSeatingSearchSeconds * 1000))->Iterations(1)->Unit(benchmark::kSecond);

void Sweep(benchmark::internal::Benchmark* b)
{
    for (int ms : {250, 500, 1000, 2000, 3000, 5000}) b->Arg(ms);
    b->Iterations(1)->Unit(benchmark::kSecond);
}

void SweepChain49Heat7(benchmark::State& state)
{
    if (g_sweepChain < 0) g_sweepChain = Chain(nullptr, 6, 0.0, 10000000);
    SearchDrawn(state, g_sweepChain, 7);
}
BENCHMARK(SweepChain49Heat7)->Apply(Sweep);

void SweepLarge210(benchmark::State& state) { SearchDrawn(state, g_large, 9); }
BENCHMARK(SweepLarge210)->Apply(Sweep);

}  // namespace

int main(int argc, char** argv)
{
    return RunSeedingBenchmarks(argc, argv, [] { g_large = CreateNineHeats("Large", 210, 20, 100); });
}
