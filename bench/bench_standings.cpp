// Cost of the standings of a full tournament: 210 players, 9 heats of 30
// finished games each, teams of four whose score sums three games without
// interplay. Every run reads the games from the database, scores every seat,
// totals, ranks and lists players and teams.

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "scores/Standings.h"
#include "support/BenchDatabase.h"
#include "tournament/CurrentTournament.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

constexpr int kPlayers = 210;
constexpr int kHeats = 9;
constexpr int kGamesPerHeat = 30;
constexpr int kTeamSize = 2;  // teams of four

int InsertSystem(const char* name, int winDrawScoring, const char* provisional)
{
    ExecuteSQL(Sql("insert into System (name, dias, winDrawScoring, finalYear, scoreLoss, score1, score2, score3, "
                   "score4, score5, score6, score7, scoreProvisional) values ('%s', 1, %d, -1, 'scs / 2', "
                   "'60 + srv', '40 + scs - big', '30 + scs', '20 + scs', '10 + scs', '5 + scs', '1 + scs', '%s')",
                   name, winDrawScoring, provisional));
    return QueryInt(Sql("select id from System where name = '%s'", name), -1);
}

// The tournament, with heat h scored by heatSystems[h % size] (0 inherits).
void BuildTournament(const std::vector<int>& heatSystems, int systemID)
{
    Transaction transaction;
    ExecuteSQL(Sql("insert into Tournament (name, description, systemID, playerConflict, powerConflict, teamConflict, "
                   "numHeats, minHeats, dropHeats, teamSize, teamHeat, assignPowers, groupPowers, preregistration, "
                   "unplayedScore, multDrop) values ('Bench Open', '', %d, 1, 0, 0, %d, 3, 11, %d, -3, 1, 0, 0, 0, "
                   "%.2f)",
                   systemID, kHeats, kTeamSize, 2500.5));
    const int tournamentID = QueryInt(Sql("select id from Tournament where name = '%s'", "Bench Open"), -1);
    for (int p = 1; p <= kPlayers; ++p)
        ExecuteSQL(Sql("insert into Player (first, last, email) values ('P', '%d', '')", p));
    const int teams = kPlayers / (kTeamSize + 2);
    for (int t = 0; t < teams; ++t) {
        ExecuteSQL(Sql("insert into TournamentTeam (tournamentID, name) values (%d, 'Team %d')", tournamentID, t));
        const int teamID = QueryInt(Sql("select max(id) from TournamentTeam"), -1);
        for (int m = 0; m < kTeamSize + 2; ++m)
            ExecuteSQL(Sql("insert into TeamPlayer (teamID, playerID) values (%d, %d)", teamID,
                           t * (kTeamSize + 2) + m + 1));
    }
    std::mt19937 random(20240601);
    std::vector<int> players(kPlayers);
    std::iota(players.begin(), players.end(), 1);
    const int centres[7] = {12, 8, 6, 4, 3, 1, 0};
    for (int h = 1; h <= kHeats; ++h) {
        ExecuteSQL(Sql("insert into Heat (tournamentID, heatNum, systemID) values (%d, %d, %d)", tournamentID, h,
                       heatSystems[size_t(h) % heatSystems.size()]));
        const int heatID = QueryInt(Sql("select max(id) from Heat"), -1);
        std::shuffle(players.begin(), players.end(), random);
        for (int g = 0; g < kGamesPerHeat; ++g) {
            ExecuteSQL(Sql("insert into Game (heatID, gameNum, gameStat, systemID) values (%d, %d, 2, 0)", heatID,
                           g + 1));
            const int gameID = QueryInt(Sql("select max(id) from Game"), -1);
            for (int s = 0; s < 7; ++s)
                ExecuteSQL(Sql("insert into GamePlayer (gameID, playerID, powerID, result, years, centers) values "
                               "(%d, %d, %d, %d, %d, %d)",
                               gameID, players[size_t(g * 7 + s)], s, s == 0 ? 1 : 0, 6 + 100 * (3 + s % 2),
                               centres[(s + g) % 7]));
        }
    }
    transaction.Commit();
    LoadTournament(tournamentID);
}

void ComputeTournamentStandings(benchmark::State& state)
{
    BenchDatabase db;
    const int ranking = InsertSystem("Centre Ranking", 0, "0");
    std::vector<int> heatSystems{0};
    if (state.range(0) == 1) {
        // Every other heat scored by a system with provisional scores, so
        // the system changes at almost every seat.
        heatSystems = {0, InsertSystem("Both", 2, "scs + ctrs - big")};
    }
    BuildTournament(heatSystems, ranking);
    size_t listed = 0;
    for (auto _ : state) {
        const Standings standings = ComputeStandings(true);
        listed = standings.playerRows.size() + standings.teamRows.size();
        benchmark::DoNotOptimize(listed);
    }
    state.SetLabel(state.range(0) == 0 ? "one system" : "two systems by heat");
    state.counters["listed"] = double(listed);
}
BENCHMARK(ComputeTournamentStandings)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

// The standings show the wait cursor, which needs a GUI application.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
