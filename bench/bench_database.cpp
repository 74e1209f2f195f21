// Cost of the database layer's building blocks: formatting a statement,
// and one small read through the ODBC stack.

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "support/BenchDatabase.h"


#include <benchmark/benchmark.h>

static void FormatStatement(benchmark::State& state)
{
    for (auto _ : state) {
        SqlStatement s = Sql("select id from Game where heatID = %d and gameNum = %d and name = '%s'", 12, 3,
                        QStringLiteral("O'Brien"));
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(FormatStatement);

static void ReadOneRow(benchmark::State& state)
{
    BenchDatabase db;
    ExecuteSQL(Sql("insert into Player (first, last, email) values ('%s', '%s', '%s')", "Ada", "Byron", ""));
    for (auto _ : state) {
        CRecordset rs(Sql("select first, last from Player where id = %d", 1));
        benchmark::DoNotOptimize(rs.GetString(0));
    }
}
BENCHMARK(ReadOneRow);
