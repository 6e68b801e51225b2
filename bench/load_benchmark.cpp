// ReadCsvFile of the log table on generated Logger32 logs of 100,000 contacts
// (and 1,000,000 with KARTEX_BENCH_1M=1), and ReadAdifFile on the same
// contacts as ADIF logs. Each iteration reads the file into a
// fresh table; making the table and freeing it afterwards are not timed. The
// file is in the page cache after the first read, so this is the time of the
// reader and the store, not of the disk.
//
// Counters: rows and columns read (a check that the whole file arrived),
// file_MiB, table_MiB (resident memory the load added, the table alive),
// peak_RSS_MiB (the process's high-water mark so far; the 100,000-row runs
// come first, so theirs is not raised by the larger log) and the read rate.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "table/adif_reader.h"
#include "table/log_table.h"

namespace {

using kartex::LogTable;
namespace kb = kartex::bench;

constexpr double kMiB = 1024.0 * 1024.0;

// Times read(table, path) on the generated log of state.range(0) contacts.
template <typename Read>
void TimeRead(benchmark::State& state, bool adif, Read read) {
  const std::string path = kb::BenchLog(state.range(0), adif);
  const int64_t fileBytes = kb::FileSizeBytes(path);
  int rows = 0;
  int cols = 0;
  int64_t tableBytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto table = std::make_unique<LogTable>();
    kb::ReleaseFreeMemory();
    const int64_t rssBefore = kb::CurrentRssBytes();
    state.ResumeTiming();

    read(*table, path);

    state.PauseTiming();
    rows = table->RowCount();
    cols = table->ColCount();
    benchmark::DoNotOptimize(table->CellText(4, rows - 1).data());
    tableBytes = kb::CurrentRssBytes() - rssBefore;
    table.reset();
    state.ResumeTiming();
  }
  if (rows != state.range(0) + 1) {
    state.SkipWithError(
        ("read " + std::to_string(rows) + " rows, expected " + std::to_string(state.range(0) + 1))
            .c_str());
    return;
  }
  state.SetBytesProcessed(state.iterations() * fileBytes);
  state.counters["rows"] = rows;
  state.counters["cols"] = cols;
  state.counters["file_MiB"] = static_cast<double>(fileBytes) / kMiB;
  state.counters["table_MiB"] = static_cast<double>(tableBytes) / kMiB;
  state.counters["peak_RSS_MiB"] = static_cast<double>(kb::PeakRssBytes()) / kMiB;
}

void BM_ReadCsvFile(benchmark::State& state) {
  TimeRead(state, false, [](LogTable& table, const std::string& path) { table.ReadCsvFile(path); });
}

void BM_ReadAdifFile(benchmark::State& state) {
  TimeRead(state, true,
           [](LogTable& table, const std::string& path) { kartex::ReadAdifFile(table, path); });
}

void RowCounts(benchmark::internal::Benchmark* b) {
  for (int64_t rows : kb::BenchRowCounts()) b->Arg(rows);
}

BENCHMARK(BM_ReadCsvFile)->Apply(RowCounts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadAdifFile)->Apply(RowCounts)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
