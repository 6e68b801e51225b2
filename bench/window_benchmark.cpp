// The window's commands as the operator gives them: TForm1 on Qt's offscreen
// platform, driven through its real controls, the file dialogs answered by
// the widget tests' scripted window system. Logs of 100,000 contacts (and
// 1,000,000 with KARTEX_BENCH_1M=1):
//   BM_Window_Open        "Otwórz plik CSV" in a fresh window
//   BM_Window_Choose1     "1" in RG1 on the loaded log
//   BM_Window_SortClick   a click on a header cell of the freshly loaded log
//   BM_Window_RemoveFilter "Usuń filtr" after "1"
//   BM_Window_SaveCsv     "Zapisz plik CSV" of the whole log, and after "1"
// Each time runs to the end of the handler and of the events it left
// queued (the repaint of the grid among them), as the operator waits for it.
// What prepares a run (a fresh window, a load, a filter) is not timed.

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "app/log_table_model.h"
#include "app/unit1.h"
#include "app_test_support.h"
#include "bench/bench_support.h"

namespace {

namespace kb = kartex::bench;
using kartex::testing::ScriptedWindows;

constexpr double kMiB = 1024.0 * 1024.0;

// One window on the screen, its dialogs answered by the script.
struct Window {
  Window() : form(windows, kartex::RegionalSettings{}) {
    QObject::connect(form.model(), &QAbstractItemModel::modelReset, &form, [this] { ++resets; });
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) std::fprintf(stderr, "the window was not shown\n");
  }

  template <typename T>
  T* Control(const char* name) {
    return form.findChild<T*>(name);
  }

  // The handler runs, then whatever it left for the event loop.
  void Settle() { QApplication::processEvents(); }

  void Open(const std::string& path) {
    windows.fileAnswers.push_back(path);
    Control<QPushButton>("Load_CSV")->click();
    Settle();
  }
  void ChooseRG1(int item) {
    Control<QRadioButton>(("RG1Item" + std::to_string(item)).c_str())->click();
    Settle();
  }
  void SaveCsv(const std::string& path) {
    windows.fileAnswers.push_back(path);
    Control<QPushButton>("Save_CSV")->click();
    Settle();
  }
  // Brings the column's header into view and gives the middle of its
  // visible part, where a sort click lands.
  QPoint HeaderPoint(int column) {
    auto* grid = Control<QTableView>("SG1");
    QHeaderView* header = grid->horizontalHeader();
    grid->scrollTo(grid->model()->index(0, column));
    Settle();
    const int left = std::max(header->sectionViewportPosition(column), 0);
    const int right =
        std::min(header->sectionViewportPosition(column) + header->sectionSize(column),
                 header->viewport()->width());
    return {(left + right) / 2, header->height() / 2};
  }

  int ShownRows() { return form.session().Table().RowCount() - 1; }
  // What went wrong, if a box came up.
  std::string Trouble() const {
    if (!windows.errors.empty()) return "error: " + windows.errors.back();
    if (!windows.messages.empty()) return "message: " + windows.messages.back();
    return {};
  }

  ScriptedWindows windows;
  kartex::TForm1 form;
  int resets = 0;  // of the grid's model, so far
};

int ColumnNamed(const kartex::LogTable& table, std::string_view name) {
  for (int c = 0; c < table.ColCount(); ++c)
    if (table.CellText(c, 0) == name) return c;
  return -1;
}

// A window with the log loaded, made for each run so that every run starts alike.
std::unique_ptr<Window> LoadedWindow(benchmark::State& state, const std::string& path) {
  auto window = std::make_unique<Window>();
  window->Open(path);
  if (!window->Trouble().empty() || window->ShownRows() < 1) {
    state.SkipWithError(("load failed: " + window->Trouble()).c_str());
    return nullptr;
  }
  return window;
}

void BM_Window_Open(benchmark::State& state) {
  const std::string path = kb::BenchLog(state.range(0));
  int shown = 0;
  int resets = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    state.ResumeTiming();

    window->Open(path);

    state.PauseTiming();
    if (!window->Trouble().empty()) {
      state.SkipWithError(window->Trouble().c_str());
      break;
    }
    shown = window->ShownRows();
    resets = window->resets;
    window.reset();
    state.ResumeTiming();
  }
  state.counters["rows_shown"] = shown;
  state.counters["model_resets"] = resets;
  state.counters["peak_RSS_MiB"] = static_cast<double>(kb::PeakRssBytes()) / kMiB;
}

void BM_Window_Choose1(benchmark::State& state) {
  auto window = LoadedWindow(state, kb::BenchLog(state.range(0)));
  if (!window) return;
  int shown = 0;
  int resets = 0;
  for (auto _ : state) {
    const int resetsBefore = window->resets;
    window->ChooseRG1(0);  // "1"

    state.PauseTiming();
    shown = window->ShownRows();
    resets = window->resets - resetsBefore;
    window->ChooseRG1(kartex::kRG1RemoveFilter);
    state.ResumeTiming();
  }
  state.counters["rows_shown"] = shown;
  state.counters["model_resets"] = resets;
}

void BM_Window_RemoveFilter(benchmark::State& state) {
  auto window = LoadedWindow(state, kb::BenchLog(state.range(0)));
  if (!window) return;
  int shown = 0;
  int resets = 0;
  for (auto _ : state) {
    state.PauseTiming();
    window->ChooseRG1(0);  // "1"
    const int resetsBefore = window->resets;
    state.ResumeTiming();

    window->ChooseRG1(kartex::kRG1RemoveFilter);

    state.PauseTiming();
    shown = window->ShownRows();
    resets = window->resets - resetsBefore;
    state.ResumeTiming();
  }
  state.counters["rows_shown"] = shown;
  state.counters["model_resets"] = resets;
}

void BM_Window_SortClick(benchmark::State& state, std::string_view columnName) {
  const std::string path = kb::BenchLog(state.range(0));
  int resets = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto window = LoadedWindow(state, path);
    if (!window) break;
    const int column = ColumnNamed(window->form.session().Table(), columnName);
    const QPoint point = window->HeaderPoint(column);
    auto* header = window->Control<QTableView>("SG1")->horizontalHeader();
    const int resetsBefore = window->resets;
    state.ResumeTiming();

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
    window->Settle();

    state.PauseTiming();
    if (window->form.session().Sort().SortIndex().Find(column) != 0) {
      state.SkipWithError("the click did not sort");
      break;
    }
    resets = window->resets - resetsBefore;
    window.reset();
    state.ResumeTiming();
  }
  state.counters["model_resets"] = resets;
}

// The whole log, or (qso1) the stations worked once; synced and renamed into
// place, so the wall time holds the wait for the disk and the CPU time not.
void BM_Window_SaveCsv(benchmark::State& state, bool qso1) {
  auto window = LoadedWindow(state, kb::BenchLog(state.range(0)));
  if (!window) return;
  if (qso1) window->ChooseRG1(0);
  const std::string target =
      kb::BenchDir() + "/window_export_" + std::to_string(state.range(0)) + ".csv";
  const int resetsBefore = window->resets;
  for (auto _ : state) {
    window->SaveCsv(target);
    if (!window->Trouble().empty()) {
      state.SkipWithError(window->Trouble().c_str());
      break;
    }
  }
  state.counters["rows"] = window->ShownRows();
  state.counters["model_resets"] = window->resets - resetsBefore;
  state.counters["file_MiB"] = static_cast<double>(kb::FileSizeBytes(target)) / kMiB;
  std::remove(target.c_str());
}

void RowCounts(benchmark::internal::Benchmark* b) {
  for (int64_t rows : kb::BenchRowCounts()) b->Arg(rows);
}

BENCHMARK(BM_Window_Open)->Apply(RowCounts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Window_Choose1)->Apply(RowCounts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Window_SortClick, CALL, "CALL")
    ->Apply(RowCounts)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Window_SortClick, FREQ, "FREQ")
    ->Apply(RowCounts)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_Window_RemoveFilter)->Apply(RowCounts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Window_SaveCsv, all, false)
    ->Apply(RowCounts)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Window_SaveCsv, qso1, true)
    ->Apply(RowCounts)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // The window needs no display: Qt's offscreen platform unless told otherwise.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
