// The window's commands through Session, the code that the window and
// kartex-cli both run, on generated logs of 100,000 contacts (and 1,000,000
// with KARTEX_BENCH_1M=1):
//   BM_Load_CSVClick    "Otwórz plik CSV": read, header scan, empty-row
//                       removal, station tally, QSL manager list, record count
//   BM_QsoFilter1       choosing "1" in RG1: the rows of stations worked once
//   BM_SortClick        a header click on CALL, FREQ or QSO_DATE on the
//                       freshly loaded log
//   BM_SaveCsvQso1      "Zapisz plik CSV" after "1": the mail-merge file of
//                       the stations worked once, synced and put in place
// session_MiB is the resident memory that the load added (the session alive).
// Only the command itself is timed; loading the log before a filter or sort
// run and undoing it afterwards are not. Files are in the page cache.

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bench/bench_support.h"
#include "commands/session.h"

namespace {

using kartex::Session;
namespace kb = kartex::bench;

constexpr double kMiB = 1024.0 * 1024.0;

// A window system whose open dialog always chooses one file and whose
// message boxes are counted (a load that shows one has been rejected).
class BenchWindowSystem : public kartex::WindowSystem {
 public:
  explicit BenchWindowSystem(std::string file) : file_(std::move(file)) {}
  std::optional<std::string> OpenFileDialog(const kartex::FileDialogSpec&) override {
    return file_;
  }
  std::optional<std::string> SaveFileDialog(const kartex::FileDialogSpec&) override {
    if (saveFile.empty()) return std::nullopt;
    return saveFile;
  }
  void ShowMessage(const std::string& text) override {
    lastMessage = text;
    ++messages;
  }
  bool Confirm(const std::string&, const std::string&) override { return true; }
  void ShowBusyCursor() override {}
  void ShowNormalCursor() override {}
  void ProcessPendingEvents() override {}
  void ControlsChanged() override {}
  void ShowList(const kartex::ListDialog&) override {}

  std::string lastMessage;
  int messages = 0;
  std::string saveFile;  // what the save dialog chooses; none when empty

 private:
  std::string file_;
};

struct LoadedSession {
  explicit LoadedSession(const std::string& path)
      : windows(path), session(std::make_unique<Session>(windows, kartex::RegionalSettings{})) {}
  bool Load() { return session->Load_CSVClick() == kartex::LoadOutcome::Loaded; }

  BenchWindowSystem windows;
  std::unique_ptr<Session> session;
};

void BM_Load_CSVClick(benchmark::State& state) {
  const std::string path = kb::BenchLog(state.range(0));
  const int64_t fileBytes = kb::FileSizeBytes(path);
  int64_t addedBytes = 0;
  int records = 0;
  size_t stations = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto s = std::make_unique<LoadedSession>(path);
    kb::ReleaseFreeMemory();
    const int64_t rssBefore = kb::CurrentRssBytes();
    state.ResumeTiming();

    const bool loaded = s->Load();

    state.PauseTiming();
    if (!loaded) {
      state.SkipWithError(("load rejected: " + s->windows.lastMessage).c_str());
      break;
    }
    addedBytes = kb::CurrentRssBytes() - rssBefore;
    records = s->session->Controls().records;
    stations = s->session->Log().tally.size();
    s.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * fileBytes);
  state.counters["records"] = records;
  state.counters["tally"] = static_cast<double>(stations);
  state.counters["file_MiB"] = static_cast<double>(fileBytes) / kMiB;
  state.counters["session_MiB"] = static_cast<double>(addedBytes) / kMiB;
  state.counters["peak_RSS_MiB"] = static_cast<double>(kb::PeakRssBytes()) / kMiB;
}

void BM_QsoFilter1(benchmark::State& state) {
  const std::string path = kb::BenchLog(state.range(0));
  LoadedSession s(path);
  if (!s.Load()) {
    state.SkipWithError(("load rejected: " + s.windows.lastMessage).c_str());
    return;
  }
  int shown = 0;
  for (auto _ : state) {
    s.session->RG1Click(0);  // "1"

    state.PauseTiming();
    shown = s.session->Table().RowCount() - 1;
    s.session->RG1Click(10);  // "Usuń filtr" brings every row back
    state.ResumeTiming();
  }
  state.counters["rows_shown"] = shown;
  state.counters["peak_RSS_MiB"] = static_cast<double>(kb::PeakRssBytes()) / kMiB;
}

// The column of the loaded log whose header reads name; -1 when none does.
int ColumnNamed(const kartex::LogTable& table, std::string_view name) {
  for (int c = 0; c < table.ColCount(); ++c)
    if (table.CellText(c, 0) == name) return c;
  return -1;
}

void BM_SortClick(benchmark::State& state, std::string_view columnName) {
  const std::string path = kb::BenchLog(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto s = std::make_unique<LoadedSession>(path);
    if (!s->Load()) {
      state.SkipWithError(("load rejected: " + s->windows.lastMessage).c_str());
      break;
    }
    const int column = ColumnNamed(s->session->Table(), columnName);
    state.ResumeTiming();

    s->session->HeaderSortClick(column, false);

    state.PauseTiming();
    benchmark::DoNotOptimize(s->session->Table().CellText(column, 1).data());
    s.reset();
    state.ResumeTiming();
  }
  state.counters["peak_RSS_MiB"] = static_cast<double>(kb::PeakRssBytes()) / kMiB;
}

void BM_SaveCsvQso1(benchmark::State& state) {
  const std::string path = kb::BenchLog(state.range(0));
  LoadedSession s(path);
  if (!s.Load()) {
    state.SkipWithError(("load rejected: " + s.windows.lastMessage).c_str());
    return;
  }
  s.session->RG1Click(0);  // "1"
  s.windows.saveFile = kb::BenchDir() + "/export_" + std::to_string(state.range(0)) + ".csv";
  for (auto _ : state) {
    s.session->Save_CSVClick();
    if (s.windows.messages > 0) {
      state.SkipWithError(("save failed: " + s.windows.lastMessage).c_str());
      break;
    }
  }
  const int64_t written = kb::FileSizeBytes(s.windows.saveFile);
  state.SetBytesProcessed(state.iterations() * written);
  state.counters["file_MiB"] = static_cast<double>(written) / kMiB;
}

void RowCounts(benchmark::internal::Benchmark* b) {
  for (int64_t rows : kb::BenchRowCounts()) b->Arg(rows);
}

BENCHMARK(BM_Load_CSVClick)->Apply(RowCounts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QsoFilter1)->Apply(RowCounts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SortClick, CALL, "CALL")
    ->Apply(RowCounts)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SortClick, FREQ, "FREQ")
    ->Apply(RowCounts)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SortClick, QSO_DATE, "QSO_DATE")
    ->Apply(RowCounts)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SaveCsvQso1)->Apply(RowCounts)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
