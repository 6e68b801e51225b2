// Takes docs/screenshot.png: the window with a log loaded, a QSO-count filter
// chosen and a two-key sort, drawn by the real widgets on Qt's offscreen
// platform. Usage: kartex_screenshot LOG.csv OUTPUT.png [RG1 item] [column] [column]
// (the item counted from 0, the second column is added with Shift).

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <iostream>

#include "app/qt_window_system.h"
#include "app/unit1.h"

namespace {

// Answers the open dialog with the given log; messages go to the terminal.
class ScriptedWindows : public kartex::QtWindowSystem {
 public:
  explicit ScriptedWindows(std::string log) : log_(std::move(log)) {}
  std::optional<std::string> OpenFileDialog(const kartex::FileDialogSpec&) override { return log_; }
  std::optional<std::string> SaveFileDialog(const kartex::FileDialogSpec&) override {
    return std::nullopt;
  }
  void ShowMessage(const std::string& text) override { std::cerr << "KARTEX: " << text << '\n'; }
  void ShowError(const std::string& text) override { std::cerr << "KARTEX: " << text << '\n'; }
  bool Confirm(const std::string&, const std::string&) override { return true; }

 private:
  std::string log_;
};

void ClickHeader(QHeaderView* header, int column, Qt::KeyboardModifiers modifiers) {
  const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 3;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, QPoint(x, header->height() / 2));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: kartex_screenshot LOG.csv OUTPUT.png [RG1 item] [column] [column]\n");
    return 2;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(kartex::kApplicationTitle);
  const int item = argc > 3 ? std::atoi(argv[3]) : 1;
  const int first = argc > 4 ? std::atoi(argv[4]) : 4;
  const int second = argc > 5 ? std::atoi(argv[5]) : 0;

  ScriptedWindows windows(QFileInfo(argv[1]).absoluteFilePath().toStdString());
  kartex::TForm1 form(windows, kartex::RegionalSettings{});
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  form.findChild<QPushButton*>("Load_CSV")->click();
  if (auto* radio = form.findChild<QRadioButton*>(QString("RG1Item%1").arg(item))) radio->click();
  auto* header = form.findChild<QTableView*>("SG1")->horizontalHeader();
  ClickHeader(header, first, Qt::NoModifier);
  ClickHeader(header, second, Qt::ShiftModifier);
  QApplication::processEvents();
  if (!form.grab().save(argv[2])) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
