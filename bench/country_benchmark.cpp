// The call-sign commands of the country folder on generated logs of 100,000
// contacts (and 1,000,000 with KARTEX_BENCH_1M=1), with the real CTY.DAT of
// October 2025 (about 22,000 whole calls) and ADIF_DXC.TXT:
//   BM_LoadCallResolver  reading CTY.DAT and ADIF_DXC.TXT and joining them
//   BM_ParseCtyDatabase  the CTY.DAT reader alone, from bytes in memory
//   BM_FillDxccNoneEmpty "Uzupełnij DXCC z CTY.DAT" on the generated log as
//                        it is (every row has its DXCC: the rows are only read)
//   BM_CheckDxcc         "Sprawdź DXCC": the list of the rows that differ
//   BM_BureauOrder       "Sortuj wg biur QSL": the plan and the rows moved
//                        (the log put back into its own order before each
//                        run, not timed)
//   BM_FillDxcc          "Uzupełnij DXCC z CTY.DAT" with every DXCC cell
//                        empty (emptied before each run, not timed): every
//                        row is written anew
// Each is run five times once the log is loaded (the load is not timed); the
// median of the five is the figure. Files are in the page cache.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "country/bureau_order.h"
#include "country/dxcc_check.h"
#include "country/dxcc_fill.h"
#include "country/reference_loading.h"
#include "table/log_table.h"

namespace {

using namespace kartex;
namespace kb = kartex::bench;

const char* const kBigCty = KARTEX_REFERENCE_DIR "/cty-tyler4096-bigcty-20251011.dat";
const char* const kAdif = KARTEX_REFERENCE_DIR "/ADIF_DXC.TXT";

// A folder holding the two reference files under their own names.
std::string ReferenceFolder() {
  static const std::string folder = [] {
    const std::filesystem::path dir = std::filesystem::path(kb::BenchDir()) / "reference";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(kBigCty, dir / "CTY.DAT",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(kAdif, dir / "ADIF_DXC.TXT",
                               std::filesystem::copy_options::overwrite_existing);
    return dir.string();
  }();
  return folder;
}

const CallResolver& Resolver() {
  static const CallResolver resolver = [] {
    ReferenceLoad load = LoadCallResolver({ReferenceFolder()});
    if (!load.resolver) throw std::runtime_error("reference files not found");
    return std::move(*load.resolver);
  }();
  return resolver;
}

// The generated log of that size, loaded once as a load leaves it.
LogTable& Log(int64_t rows) {
  static std::map<int64_t, std::unique_ptr<LogTable>> tables;
  std::unique_ptr<LogTable>& table = tables[rows];
  if (!table) {
    table = std::make_unique<LogTable>();
    table->ReadCsvFile(kb::BenchLog(rows));
    table->SetFixedRows(1);
    table->DeleteEmptyRows(1);
  }
  return *table;
}

void BM_LoadCallResolver(benchmark::State& state) {
  const std::vector<std::string> folders = {ReferenceFolder()};
  size_t wholeCalls = 0;
  for (auto _ : state) {
    ReferenceLoad load = LoadCallResolver(folders);
    wholeCalls = load.resolver->Database().WholeCallCount();
    benchmark::DoNotOptimize(load);
  }
  state.counters["whole_calls"] = static_cast<double>(wholeCalls);
}

void BM_ParseCtyDatabase(benchmark::State& state) {
  std::string bytes;
  {
    TextFile file;
    if (!file.Open(kBigCty)) {
      state.SkipWithError("no CTY.DAT");
      return;
    }
    for (std::string line; file.ReadLine(line);) bytes += line + "\r\n";
  }
  size_t countries = 0;
  for (auto _ : state) {
    const CtyDatabase database = ParseCtyDatabase(bytes);
    countries = database.Countries().size();
  }
  state.counters["countries"] = static_cast<double>(countries);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_FillDxcc(benchmark::State& state) {
  LogTable& table = Log(state.range(0));
  const CallResolver& resolver = Resolver();
  const LogColumns columns = FindLogColumns(table);
  std::vector<std::string> logged;  // put back afterwards for the other benchmarks
  for (int row = 1; row < table.RowCount(); ++row) {
    logged.emplace_back(table.CellText(columns.dxcc, row));
  }
  DxccFillResult result;
  for (auto _ : state) {
    state.PauseTiming();
    for (int row = 1; row < table.RowCount(); ++row) table.SetCellText(columns.dxcc, row, "");
    state.ResumeTiming();
    result = FillDxcc(table, columns, resolver);
  }
  for (int row = 1; row < table.RowCount(); ++row) {
    table.SetCellText(columns.dxcc, row, logged[static_cast<size_t>(row - 1)]);
  }
  state.counters["filled"] = result.filled;
  state.counters["no_country"] = result.noCountry;
}

void BM_FillDxccNoneEmpty(benchmark::State& state) {
  LogTable& table = Log(state.range(0));
  const LogColumns columns = FindLogColumns(table);
  DxccFillResult result;
  for (auto _ : state) result = FillDxcc(table, columns, Resolver());
  state.counters["filled"] = result.filled;
}

void BM_CheckDxcc(benchmark::State& state) {
  LogTable& table = Log(state.range(0));
  const LogColumns columns = FindLogColumns(table);
  size_t listed = 0;
  for (auto _ : state) {
    const std::vector<DxccMismatch> list = CheckDxcc(table, columns, Resolver());
    listed = list.size();
  }
  state.counters["listed"] = static_cast<double>(listed);
}

void BM_BureauOrder(benchmark::State& state) {
  LogTable& table = Log(state.range(0));
  const LogColumns columns = FindLogColumns(table);
  std::vector<int> undo;
  size_t groups = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!undo.empty()) ApplyRowOrder(table, undo);  // back to the log's own order
    state.ResumeTiming();
    const BureauPlan plan = PlanBureauOrder(table, columns, Resolver());
    ApplyRowOrder(table, plan.order);
    state.PauseTiming();
    groups = plan.groups.size();
    undo.assign(plan.order.size(), 0);
    for (size_t i = 0; i < plan.order.size(); ++i) {
      undo[static_cast<size_t>(plan.order[i] - 1)] = static_cast<int>(i + 1);
    }
    state.ResumeTiming();
  }
  if (!undo.empty()) ApplyRowOrder(table, undo);
  state.counters["groups"] = static_cast<double>(groups);
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int64_t rows : kb::BenchRowCounts()) b->Arg(rows);
  b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_LoadCallResolver)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ParseCtyDatabase)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_FillDxccNoneEmpty)->Apply(Sizes);
BENCHMARK(BM_CheckDxcc)->Apply(Sizes);
BENCHMARK(BM_BureauOrder)->Apply(Sizes);
// Last: emptying the cells gives every row a buffer of its own, where the
// rows of a freshly read log lie side by side, which the others would feel.
BENCHMARK(BM_FillDxcc)->Apply(Sizes);

}  // namespace
