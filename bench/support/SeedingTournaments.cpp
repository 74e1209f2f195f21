#include "support/SeedingTournaments.h"

#include "conflicts/ConflictModel.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "heats/Seeding.h"
#include "support/BenchDatabase.h"
#include "tournament/CurrentTournament.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>

namespace {

BenchClock* g_benchClock = nullptr;

int LastId(const char* table) { return QueryInt(Sql("select max(id) from %s", table), -1); }

}  // namespace

int RunSeedingBenchmarks(int argc, char** argv, const std::function<void()>& setUp)
{
    QCoreApplication app(argc, argv);
    auto clock = std::make_unique<BenchClock>();
    g_benchClock = clock.get();
    InstallUiServices(std::move(clock));
    BenchDatabase db;
    setUp();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_conflictModel.reset();
    return 0;
}

std::uint32_t HeatSeed(int heatNum) { return std::uint32_t(1700000000 + 86400 * heatNum); }

BenchTournament CreateTournament(const TournamentShape& shape)
{
    std::mt19937 rng(std::uint32_t(shape.players));
    BenchTournament made;
    Transaction transaction;
    ExecuteSQL(Sql("insert into System (name, dias, winDrawScoring, finalYear, scoreLoss, score1, score2, score3, "
                   "score4, score5, score6, score7, scoreProvisional) values ('%s', 1, 1, -1, '0', '7', '6', '5', '4', "
                   "'3', '2', '1', '0')",
                   shape.name));
    const int systemID = LastId("System");
    ExecuteSQL(Sql("insert into Tournament (name, description, systemID, teamSize, teamHeat, teamConflict, "
                   "playerConflict, powerConflict, numHeats, dropHeats, minHeats, assignPowers, groupPowers, "
                   "preregistration, unplayedScore, multDrop) values ('%s', '', %d, %d, %d, 0, %d, %d, %d, 0, 1, 1, "
                   "%d, 0, 0, 0.00)",
                   shape.name, systemID, shape.teamSize, shape.teamHeat, shape.playerConflict, shape.powerConflict,
                   shape.numHeats, shape.groupPowers));
    made.id = LastId("Tournament");

    for (int i = 0; i < shape.players; ++i) {
        ExecuteSQL(Sql("insert into Player (first, last, email) values ('%s', '%s %d', '')", "Player", shape.name, i));
        made.players.push_back(LastId("Player"));
    }
    for (int t = 0; shape.teamSize > 0 && t + shape.teamSize <= shape.players; t += shape.teamSize) {
        ExecuteSQL(Sql("insert into TournamentTeam (tournamentID, name) values (%d, 'Team %d')", made.id, t));
        const int teamID = LastId("TournamentTeam");
        for (int k = 0; k < shape.teamSize; ++k)
            ExecuteSQL(
                Sql("insert into TeamPlayer (teamID, playerID) values (%d, %d)", teamID, made.players[size_t(t + k)]));
    }
    for (int g = 0; g < shape.groups; ++g) {
        ExecuteSQL(Sql("insert into [Group] (name, conflict) values ('%s group %d', %d)", shape.name, g, 1 + g % 3));
        const int groupID = LastId("[Group]");
        std::vector<int> members = made.players;
        std::shuffle(members.begin(), members.end(), rng);
        for (size_t m = 0; m < 8; ++m)
            ExecuteSQL(Sql("insert into PlayerGroup (groupID, playerID) values (%d, %d)", groupID, members[m]));
    }
    std::uniform_int_distribution<size_t> anyPlayer(0, made.players.size() - 1);
    std::set<std::pair<int, int>> pairs;
    while (int(pairs.size()) < shape.conflicts) {
        const int a = made.players[anyPlayer(rng)], b = made.players[anyPlayer(rng)];
        if (a == b || !pairs.insert({std::min(a, b), std::max(a, b)}).second) continue;
        ExecuteSQL(Sql("insert into PlayerConflicts values(%d, %d, %d)", std::min(a, b), std::max(a, b),
                       1 + int(pairs.size()) % 5));
    }
    transaction.Commit();
    LoadTournament(made.id);
    return made;
}

int DrawHeat(const BenchTournament& tournament, int heatNum)
{
    int heatID = -1;
    {
        Transaction transaction;
        ExecuteSQL(Sql("insert into Heat (tournamentID, heatNum) values (%d, %d)", tournament.id, heatNum));
        heatID = LastId("Heat");
        for (int playerID : tournament.players)
            ExecuteSQL(Sql("insert into HeatPlayer (heatID, playerID) values (%d, %d)", heatID, playerID));
        transaction.Commit();
    }
    g_benchClock->seconds = HeatSeed(heatNum);
    DrawSeating(heatID, tournament.players);
    return heatID;
}

void FinishHeat(int heatID)
{
    ExecuteSQL(Sql("update Game set gameStat = %d where heatID = %d", int(kFinished), heatID));
}

int DrawNineHeats(const TournamentShape& shape)
{
    const BenchTournament made = CreateTournament(shape);
    for (int h = 1; h <= 9; ++h) {
        const int heatID = DrawHeat(made, h);
        if (h < 9) FinishHeat(heatID);
    }
    return made.id;
}

int CreateNineHeats(const char* name, int players, int groups, int conflicts)
{
    return DrawNineHeats({.name = name,
                          .players = players,
                          .groups = groups,
                          .conflicts = conflicts,
                          .teamSize = 4,
                          .teamHeat = 9,
                          .groupPowers = 1});
}
