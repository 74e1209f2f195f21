// Cost of scoring: evaluating one formula, and scoring the seven seats of a
// finished game under each kind of scoring system.

#include "db/Database.h"
#include "db/Format.h"
#include "scoring/ScoringSystem.h"
#include "support/BenchDatabase.h"


#include <benchmark/benchmark.h>

#include <vector>

namespace {

const char* const kFormulas[] = {
    "7",
    "100 + num * 10 + srv",
    "(scs ^ 10) * (34 - srv) / num + yrs * 0.5 - (big + tie) * 2",
    "((ctrs * 2 + sumc) / avgc - (prov - avgp) * (maxp - minp)) = 0",
};

void EvaluateScoreFormula(benchmark::State& state)
{
    CScoringSystem system;
    system.prov = {10, 20, 30, 40, 50, 60, 70};
    system.ctrs = {3, 4, 3, 5, 3, 4, 3};
    system.formulas[kScore1] = QString::fromLatin1(kFormulas[state.range(0)]);
    for (auto _ : state) benchmark::DoNotOptimize(system.EvaluateScoreFormula(kScore1, 7, 12, 3, 2, 1, 0, 10, 12));
    state.SetLabel(kFormulas[state.range(0)]);
}
BENCHMARK(EvaluateScoreFormula)->DenseRange(0, 3);

// The most one nesting level holds, and the deepest nesting allowed.
void EvaluateLargestFormulas(benchmark::State& state)
{
    CScoringSystem system;
    QString text = QStringLiteral("1");
    if (state.range(0) == 0) {
        for (int i = 1; i < 50; ++i) text += QString::fromLatin1(i % 2 ? "*2" : "+1");
    } else {
        for (int i = 0; i < kMaxFormulaDepth; ++i) text = "(" + text + "+1)";
    }
    system.formulas[kScore1] = text;
    for (auto _ : state) benchmark::DoNotOptimize(system.EvaluateScoreFormula(kScore1, 1, 1, 1, 0, 0, 0, 0, 0));
    state.SetLabel(state.range(0) == 0 ? "99 tokens" : "32 levels");
}
BENCHMARK(EvaluateLargestFormulas)->Arg(0)->Arg(1);

CScoringSystem SystemOfKind(int winDrawScoring)
{
    CScoringSystem s;
    s.id = 1;
    s.winDrawScoring = winDrawScoring;
    s.dias = 1;
    s.formulas[kScoreLoss] = QStringLiteral("scs / 2");
    for (int slot = kScore1; slot <= kScore7; ++slot)
        s.formulas[size_t(slot)] = QStringLiteral("%1 - yrs * 0.1 + srv / num").arg(80 - 10 * slot);
    s.formulas[kScoreProvisional] = winDrawScoring == 2 ? QStringLiteral("scs * 2 - big + ctrs") : QStringLiteral("0");
    s.DeriveUsageFlags();
    return s;
}

const std::vector<GameSeat> kGame = {
    {0, 1, 1005, 12}, {1, 1, 5, 8}, {2, 1, 5, 8}, {3, 0, 5, 6}, {4, 0, 5, 0}, {5, 0, 5, 0}, {6, 0, 5, 0},
};

// All seven seats of one game.
void ScoreSeat(benchmark::State& state)
{
    CScoringSystem system = SystemOfKind(int(state.range(0)));
    for (auto _ : state)
        for (const GameSeat& seat : kGame) benchmark::DoNotOptimize(system.ScoreSeat(seat, kGame));
    state.SetLabel(state.range(0) == 0 ? "centre ranking" : state.range(0) == 1 ? "win/draw" : "both");
}
BENCHMARK(ScoreSeat)->DenseRange(0, 2);

// All seven seats of one stored game, reading its rows per seat.
void ScoreSeatInGame(benchmark::State& state)
{
    BenchDatabase db;
    for (const GameSeat& s : kGame)
        ExecuteSQL(Sql("insert into GamePlayer (gameID, playerID, powerID, result, years, centers) values (1, %d, %d, "
                       "%d, %d, %d)",
                       s.powerID + 1, s.powerID, s.result, s.years, s.centers));
    ScoringSystem = SystemOfKind(int(state.range(0)));
    for (auto _ : state)
        for (const GameSeat& seat : kGame) benchmark::DoNotOptimize(ScoreSeatInGame(1, seat));
}
BENCHMARK(ScoreSeatInGame)->Arg(1)->Arg(2);

}  // namespace
