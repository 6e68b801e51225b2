// QSL labels in the window: how fast the dialog's preview follows the
// operator (the target: within 100 ms), and how long reading the label
// sheets takes when the dialog opens. TForm1 with a generated log of
// 100,000 contacts (1,000,000 with KARTEX_BENCH_1M=1) on Qt's offscreen
// platform, the sheets of Debian's glabels-data:
//   BM_Labels_ReadSheets     the template folder read into the catalogue
//   BM_Labels_OpenDialog     the dialog made: sheets read, rows grouped, first preview
//   BM_Labels_ChangeSheet    another sheet chosen in the list (Avery L7160 <-> Zweckform 3475)
//   BM_Labels_ChangeK        contacts per label changed (4 <-> 5)
// Each time runs to the end of the events the change left queued.

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/labels_dialog.h"
#include "app/unit1.h"
#include "app_test_support.h"
#include "bench/bench_support.h"
#include "labels/sheet_catalog.h"

namespace {

namespace kb = kartex::bench;
using kartex::testing::ScriptedWindows;

const std::string kTemplates = "/usr/share/libglabels-3.0/templates";

struct LoadedWindow {
  explicit LoadedWindow(const std::string& log) : form(windows, kartex::RegionalSettings{}) {
    windows.fileAnswers.push_back(log);
    form.findChild<QPushButton*>("Load_CSV")->click();
    QApplication::processEvents();
  }
  ScriptedWindows windows;
  kartex::TForm1 form;
};

int RowOf(const QListWidget& list, const QString& prefix) {
  for (int row = 0; row < list.count(); ++row)
    if (list.item(row)->text().startsWith(prefix)) return row;
  return -1;
}

void BM_Labels_ReadSheets(benchmark::State& state) {
  size_t sheets = 0;
  for (auto _ : state) sheets = kartex::ReadSheetCatalog(kTemplates).sheets.size();
  state.counters["sheets"] = static_cast<double>(sheets);
}

void BM_Labels_OpenDialog(benchmark::State& state) {
  LoadedWindow window(kb::BenchLog(state.range(0)));
  size_t labels = 0;
  for (auto _ : state) {
    kartex::LabelsDialog dialog(window.form.session(), window.windows,
                                kartex::ReadSheetCatalog(kTemplates));
    labels = dialog.Plan().Labels().size();
  }
  state.counters["labels"] = static_cast<double>(labels);
}

void BM_Labels_ChangeSheet(benchmark::State& state) {
  LoadedWindow window(kb::BenchLog(state.range(0)));
  kartex::LabelsDialog dialog(window.form.session(), window.windows,
                              kartex::ReadSheetCatalog(kTemplates));
  dialog.show();
  auto* list = dialog.findChild<QListWidget*>("SheetList");
  const int rows[2] = {RowOf(*list, "Avery L7160 "), RowOf(*list, "Zweckform 3475 ")};
  if (rows[0] < 0 || rows[1] < 0) {
    state.SkipWithError("no Avery L7160 or Zweckform 3475 (glabels-data)");
    return;
  }
  int next = 1;
  for (auto _ : state) {
    list->setCurrentRow(rows[next]);
    QApplication::processEvents();
    next = 1 - next;
  }
  state.counters["pages"] = dialog.Plan().PageCount();
}

void BM_Labels_ChangeK(benchmark::State& state) {
  LoadedWindow window(kb::BenchLog(state.range(0)));
  kartex::LabelsDialog dialog(window.form.session(), window.windows,
                              kartex::ReadSheetCatalog(kTemplates));
  dialog.show();
  auto* perLabel = dialog.findChild<QSpinBox*>("PerLabel");
  int k = 5;
  for (auto _ : state) {
    perLabel->setValue(k);
    QApplication::processEvents();
    k = 9 - k;
  }
  state.counters["labels"] = static_cast<double>(dialog.Plan().Labels().size());
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
  for (int64_t rows : kb::BenchRowCounts()) benchmark->Arg(rows);
  benchmark->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_Labels_ReadSheets)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Labels_OpenDialog)->Apply(Sizes);
BENCHMARK(BM_Labels_ChangeSheet)->Apply(Sizes);
BENCHMARK(BM_Labels_ChangeK)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
