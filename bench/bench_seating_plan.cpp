// What planning the heats together gains over seating one heat at a time.
//
// Plain tournaments (49, 210, 63 and 98 players, player weight 3, power
// weight 2, no groups, declared conflicts or teams) are seeded heat by heat
// in turn, three times over: with the exchange pass alone, with today's
// deeper search (the pass, then the search of the heat alone for its
// budget) and with the plan ("Search Deeper": the pass, then the planner
// for the same budget). Each heat is drawn with the clock fixed by its
// number, optimised by that path, written and finished, then the next heat
// is drawn. A line a heat gives, for each of the three, the heat's total,
// the pairs of a game who met before ("again") and the players on a power
// played before ("pow"); for the planned tournament also a lower bound of
// the heat's total (below), whether the heat took the plan's seating or the
// search's, and the seconds the heat took (pass, plan and the last climbs).
// Teams210 is seeded in turn the same way, with the teams, power groups,
// groups and declared conflicts of Large210 below: no design fits it, so its
// plans start from the least-cost construction.
//
// Large210: the ninth heat of 210 players in teams of four scored in that
// heat, with power groups, 20 groups and 100 declared conflicts, heats 1 to
// 8 drawn at random: the pass, today's search and the plan on one drawn
// heat. Random210: the same for a plain tournament of 210 whose heats 1 to
// 8 were drawn at random.
//
// The bound is the planner's lower bound of the heat's total (no seating
// goes below it; the plan stops there). "floor" is the former bound: the
// least power history of each player, summed.
//
// Results depend on the machine's speed and load.

#include "conflicts/ConflictModel.h"
#include "heats/Seeding.h"
#include "seating/SeatingPlan.h"
#include "seating/SeatingSearch.h"
#include "support/SeedingTournaments.h"
#include "tournament/CurrentTournament.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>

namespace {

using Clock = SteppedSeatingSearch::Clock;

enum class Path { Pass, Search, Plan };

struct HeatFigures {
    int value = 0;
    int metAgain = 0;
    int powerAgain = 0;
    int bound = 0;
    bool planKept = false;
    double seconds = 0.0;
};

// Optimises the drawn heat of the model as the Heats dialog does, with
// "Search Deeper" cleared (Pass) or ticked (today's search, or the plan),
// the search running for its time budget. For the plan, the heat's lower
// bound and whether the heat took the plan's seating.
void Optimise(ConflictModel& model, Path path, std::uint32_t seed, HeatFigures& figures)
{
    ApplyTeamWeightRule(model.heatNum);
    const int drawn = model.TotalConflict();
    if (drawn <= 0) return;
    const int passed = OptimiseSeating(model, drawn);
    if (path == Path::Search && passed != 0) {
        SeatingSearch search(model, SeedingWeights(model.heatNum), seed);
        RunSeatingSearch(search, SeatingBudget{});
        search.Finish();
    } else if (path == Path::Plan) {
        SeatingPlanner planner(model, SeedingRules(model.heatNum, CurrentTournament.numHeats), seed);
        figures.bound = planner.HeatBound();
        if (!planner.Done()) RunSeatingSearch(planner, SeatingBudget{});
        planner.Finish();
        figures.planKept = planner.PlanKept();
    }
}

// The planner's lower bound of the model's heat.
int LowerBound(const ConflictModel& model)
{
    ConflictModel copy = model;
    return SeatingPlanner(copy, SeedingRules(model.heatNum, model.heatNum), 0).HeatBound();
}

// Pairs of one game who met before, and players on a power played before.
void CountRepeats(const ConflictModel& model, HeatFigures& figures)
{
    for (const ModelPlayer& s : model.players) {
        const PastSeat& now = s.seats.front();
        for (size_t e = 1; e < s.seats.size(); ++e)
            if (now.powerID != -1 && s.seats[e].powerID == now.powerID) {
                ++figures.powerAgain;
                break;
            }
        for (const ModelPlayer& o : model.players) {
            if (o.playerID <= s.playerID || o.seats.front().gameID != now.gameID) continue;
            bool met = false;
            for (size_t e = 1; e < s.seats.size() && !met; ++e)
                for (size_t f = 1; f < o.seats.size() && !met; ++f) met = s.seats[e].gameID == o.seats[f].gameID;
            figures.metAgain += met;
        }
    }
}

int Floor(const ConflictModel& model)
{
    const ConflictWeights w = ConflictWeights::FromCurrentTournament();
    int floor = 0;
    for (const ModelPlayer& p : model.players) {
        int least = std::numeric_limits<int>::max();
        for (int power = 0; power < 7; ++power) least = std::min(least, model.PowerHistoryConflict(p, power, w));
        floor += least;
    }
    return floor;
}

// Seeds heats 1 to shape.numHeats of a fresh tournament of that shape in
// turn by the path; the figures of each heat.
std::vector<HeatFigures> SeedInTurn(TournamentShape shape, const std::string& name, Path path)
{
    shape.name = name.c_str();
    const BenchTournament made = CreateTournament(shape);
    std::vector<HeatFigures> heats;
    for (int h = 1; h <= shape.numHeats; ++h) {
        const int heatID = DrawHeat(made, h);
        std::unique_ptr<ConflictModel> model = BuildConflictModel(h);
        HeatFigures figures;
        const auto start = Clock::now();
        Optimise(*model, path, HeatSeed(h), figures);
        figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        figures.value = model->TotalConflict();
        CountRepeats(*model, figures);
        model->WriteSeating();
        FinishHeat(heatID);
        heats.push_back(figures);
    }
    return heats;
}

void InTurn(benchmark::State& state, const std::string& name, const TournamentShape& shape)
{
    for (auto _ : state) {
        const std::vector<HeatFigures> pass = SeedInTurn(shape, name + " pass", Path::Pass);
        const std::vector<HeatFigures> deep = SeedInTurn(shape, name + " deep", Path::Search);
        const std::vector<HeatFigures> plan = SeedInTurn(shape, name + " plan", Path::Plan);
        std::printf("%s, heats 1 to %d seeded in turn\n", name.c_str(), shape.numHeats);
        std::printf("heat |  pass again pow    s |  deep again pow    s |  plan again pow    s  bound kept\n");
        int totals[3] = {0, 0, 0};
        for (size_t k = 0; k < plan.size(); ++k) {
            const HeatFigures &a = pass[k], &b = deep[k], &c = plan[k];
            totals[0] += a.value;
            totals[1] += b.value;
            totals[2] += c.value;
            std::printf("%4zu | %5d %5d %3d %4.2f | %5d %5d %3d %4.2f | %5d %5d %3d %4.2f %6d %4s\n", k + 1, a.value,
                        a.metAgain, a.powerAgain, a.seconds, b.value, b.metAgain, b.powerAgain, b.seconds, c.value,
                        c.metAgain, c.powerAgain, c.seconds, c.bound, c.planKept ? "plan" : "deep");
        }
        std::printf("sum  | %5d                | %5d                | %5d\n\n", totals[0], totals[1], totals[2]);
        std::fflush(stdout);
        state.counters["pass"] = totals[0];
        state.counters["deep"] = totals[1];
        state.counters["plan"] = totals[2];
    }
}

void Plain(benchmark::State& state, int players, int numHeats)
{
    InTurn(state, "Plain" + std::to_string(players), {.name = "", .players = players, .numHeats = numHeats});
}

void Plain49(benchmark::State& state) { Plain(state, 49, 8); }
void Plain210(benchmark::State& state) { Plain(state, 210, 9); }
void Plain63(benchmark::State& state) { Plain(state, 63, 9); }
void Plain98(benchmark::State& state) { Plain(state, 98, 9); }
// The shape of Large210 below, seeded in turn: no design, the plan starts
// from the least-cost construction.
void Teams210(benchmark::State& state)
{
    InTurn(state, "Teams210", {.name = "", .players = 210, .groups = 20, .conflicts = 100, .teamSize = 4,
                               .teamHeat = 9, .groupPowers = 1});
}

BENCHMARK(Plain49)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(Plain210)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(Plain63)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(Plain98)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(Teams210)->Iterations(1)->Unit(benchmark::kSecond);

int g_large = -1;
int g_random = -1;

// The pass, today's search and the plan on the drawn ninth heat of the
// tournament.
void NinthHeat(benchmark::State& state, int tournamentID, const char* name)
{
    LoadTournament(tournamentID);
    const std::unique_ptr<ConflictModel> drawn = BuildConflictModel(9);
    ApplyTeamWeightRule(9);
    for (auto _ : state) {
        int values[3] = {0, 0, 0};
        double seconds[3] = {0, 0, 0};
        bool kept = false;
        for (Path path : {Path::Pass, Path::Search, Path::Plan}) {
            ConflictModel model = *drawn;
            HeatFigures figures;
            const auto start = Clock::now();
            Optimise(model, path, HeatSeed(9), figures);
            seconds[int(path)] = std::chrono::duration<double>(Clock::now() - start).count();
            values[int(path)] = model.TotalConflict();
            if (path == Path::Plan) kept = figures.planKept;
        }
        const int bound = LowerBound(*drawn);
        std::printf("%s, heat 9: drawn %d, pass %d (%.2f s), deep %d (%.2f s), plan %d (%.2f s, %s), bound %d, "
                    "floor %d\n\n",
                    name, ConflictModel(*drawn).TotalConflict(), values[0], seconds[0], values[1], seconds[1],
                    values[2], seconds[2], kept ? "plan" : "deep", bound, Floor(*drawn));
        std::fflush(stdout);
        state.counters["pass"] = values[0];
        state.counters["deep"] = values[1];
        state.counters["plan"] = values[2];
        state.counters["bound"] = bound;
    }
}

void Large210(benchmark::State& state) { NinthHeat(state, g_large, "Large210"); }
void Random210(benchmark::State& state) { NinthHeat(state, g_random, "Random210"); }
BENCHMARK(Large210)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(Random210)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunSeedingBenchmarks(argc, argv, [] {
        g_large = CreateNineHeats("Large", 210, 20, 100);
        g_random = DrawNineHeats({.name = "Random", .players = 210});
    });
}
