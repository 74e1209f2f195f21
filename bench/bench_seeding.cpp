// Cost of seeding a large heat: building the conflict model from the
// database, and the seat-exchange optimisation from a fixed random draw to
// its end (goal: under 50 ms for 210 players). Beside it, the plain climb that
// recomputes the whole total after every trial exchange, on a 49-player heat,
// to show what the incremental computation saves.

#include "../tests/heats/ReferenceOptimiser.h"

#include "conflicts/ConflictModel.h"
#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "heats/Seeding.h"
#include "support/BenchDatabase.h"
#include "tournament/CurrentTournament.h"
#include "ui/UiServices.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>

namespace {

// The clock the draw reads; nothing else of the services is used.
class FixedClock : public UiServices {
public:
    long long seconds = 1700000000;
    MsgAnswer Message(const QString&, const QString&, MsgIcon, MsgButtons, const MessageOptions&) override
    {
        return MsgAnswer::Ok;
    }
    int RunModal(CDialog&) override { return 0; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    QString DefaultPrinterPort() override { return {}; }
    QString ChoosePrinterPort(QWidget*) override { return {}; }
    long long CurrentTimeSeconds() override { return seconds; }
};

FixedClock* g_clock = nullptr;

int LastId(const char* table) { return QueryInt(Sql("select max(id) from %s", table), -1); }

struct TournamentShape {
    const char* name;
    int players;
    int groups;
    int conflicts;
};

// A tournament of nine heats with teams of four, groups and declared
// conflicts; heats 1 to 8 drawn and finished, heat 9 drawn. Returns its id.
int CreateTournament(const TournamentShape& shape)
{
    std::mt19937 rng(shape.players);
    Transaction transaction;
    ExecuteSQL(Sql("insert into System (name, dias, winDrawScoring, finalYear, scoreLoss, score1, score2, score3, "
                   "score4, score5, score6, score7, scoreProvisional) values ('%s', 1, 1, -1, '0', '7', '6', '5', '4', "
                   "'3', '2', '1', '0')",
                   shape.name));
    const int systemID = LastId("System");
    ExecuteSQL(Sql("insert into Tournament (name, description, systemID, teamSize, teamHeat, teamConflict, "
                   "playerConflict, powerConflict, numHeats, dropHeats, minHeats, assignPowers, groupPowers, "
                   "preregistration, unplayedScore, multDrop) values ('%s', '', %d, 4, 9, 0, 3, 2, 9, 0, 1, 1, 1, 0, "
                   "0, 0.00)",
                   shape.name, systemID));
    const int tournamentID = LastId("Tournament");

    std::vector<int> players;
    for (int i = 0; i < shape.players; ++i) {
        ExecuteSQL(Sql("insert into Player (first, last, email) values ('%s', '%s %d', '')", "Player", shape.name, i));
        players.push_back(LastId("Player"));
    }
    for (int t = 0; t + 4 <= shape.players; t += 4) {
        ExecuteSQL(Sql("insert into TournamentTeam (tournamentID, name) values (%d, 'Team %d')", tournamentID, t / 4));
        const int teamID = LastId("TournamentTeam");
        for (int k = 0; k < 4; ++k)
            ExecuteSQL(Sql("insert into TeamPlayer (teamID, playerID) values (%d, %d)", teamID, players[size_t(t + k)]));
    }
    for (int g = 0; g < shape.groups; ++g) {
        ExecuteSQL(Sql("insert into [Group] (name, conflict) values ('%s group %d', %d)", shape.name, g, 1 + g % 3));
        const int groupID = LastId("[Group]");
        std::vector<int> members = players;
        std::shuffle(members.begin(), members.end(), rng);
        for (size_t m = 0; m < 8; ++m)
            ExecuteSQL(Sql("insert into PlayerGroup (groupID, playerID) values (%d, %d)", groupID, members[m]));
    }
    std::uniform_int_distribution<size_t> anyPlayer(0, players.size() - 1);
    std::set<std::pair<int, int>> pairs;
    while (int(pairs.size()) < shape.conflicts) {
        const int a = players[anyPlayer(rng)], b = players[anyPlayer(rng)];
        if (a == b || !pairs.insert({std::min(a, b), std::max(a, b)}).second) continue;
        ExecuteSQL(Sql("insert into PlayerConflicts values(%d, %d, %d)", std::min(a, b), std::max(a, b),
                       1 + int(pairs.size()) % 5));
    }
    transaction.Commit();

    LoadTournament(tournamentID);
    for (int h = 1; h <= 9; ++h) {
        ExecuteSQL(Sql("insert into Heat (tournamentID, heatNum) values (%d, %d)", tournamentID, h));
        const int heatID = LastId("Heat");
        g_clock->seconds = 1700000000 + 86400 * h;
        DrawSeating(heatID, players);
        if (h < 9) ExecuteSQL(Sql("update Game set gameStat = %d where heatID = %d", int(kFinished), heatID));
    }
    return tournamentID;
}

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
    QCoreApplication app(argc, argv);
    auto clock = std::make_unique<FixedClock>();
    g_clock = clock.get();
    InstallUiServices(std::move(clock));
    BenchDatabase db;
    g_large = CreateTournament({"Large", 210, 20, 100});
    g_small = CreateTournament({"Small", 49, 5, 24});

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_conflictModel.reset();
    return 0;
}
