// The condition matcher on long cells: a comparison behind a "*" over a cell
// of 100,000 zeros (every tail is a number), and a plain comparison over a
// cell of 10,000,000 zeros. The memory of the latter is measured on
// kartex-cli instead (see README.md), where the log and the table count too.

#include <benchmark/benchmark.h>

#include <string>

#include "table/condition_matcher.h"

namespace {

void BM_Condition(benchmark::State& state, const char* condition) {
  const std::string cell(static_cast<size_t>(state.range(0)), '0');
  const kartex::PreparedCondition prepared(condition, true, kartex::RegionalSettings{});
  for (auto _ : state) benchmark::DoNotOptimize(prepared.Matches(cell));
}

BENCHMARK_CAPTURE(BM_Condition, star_greater_5, "*>5")->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Condition, greater_5, ">5")->Arg(10000000)->Unit(benchmark::kMillisecond);

}  // namespace
