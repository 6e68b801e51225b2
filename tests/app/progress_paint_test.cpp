// The progress bar while the QSO-count filter runs: painted during the
// command, under the hourglass, up to its end, but not once per percentage.

#include <QApplication>
#include <QEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/unit1.h"
#include "app_test_support.h"

using kartex::testing::WriteLog;

namespace {

// Every paint of the watched widget: the bar's value and whether the
// hourglass was showing, that is whether a command was running.
class PaintRecorder : public QObject {
 public:
  struct Paint {
    int value;
    bool busy;
  };

  explicit PaintRecorder(QProgressBar* bar) : bar_(bar) { bar->installEventFilter(this); }

  std::vector<Paint> paints;

  int PaintsWhileBusy() const {
    int count = 0;
    for (const Paint& paint : paints) count += paint.busy ? 1 : 0;
    return count;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == bar_ && event->type() == QEvent::Paint) {
      const QCursor* cursor = QApplication::overrideCursor();
      paints.push_back({bar_->value(), cursor && cursor->shape() == Qt::WaitCursor});
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QProgressBar* bar_;
};

// 3,000 contacts, each station worked once.
std::vector<std::string> LongLog() {
  std::vector<std::string> lines = {"QSO_DATE,TIME_ON,BAND,MODE,CALL,DXCC,QSL_VIA"};
  for (int i = 0; i < 3000; ++i)
    lines.push_back("20240101,1200,20M,SSB,SP" + std::to_string(i) + "AA,269,");
  return lines;
}

}  // namespace

class ProgressPaintTest : public QObject, protected kartex::testing::WindowFixture {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(OpenWindow());
    Load(LongLog());
    QCOMPARE(Table().RowCount(), 3001);
  }

  void cleanup() { CloseWindow(); }

  void paintedDuringTheFilterNotForEveryPercent() {
    auto* bar = form->findChild<QProgressBar*>("dxfProgressBar1");
    QApplication::processEvents();
    PaintRecorder recorder(bar);

    // When "1" is chosen, the filter reports 100 percentages of its 3,000 rows.
    form->findChild<QRadioButton*>("RG1Item0")->click();
    QCOMPARE(form->session().Table().RowCount(), 3001);

    // Then the bar was painted while the command ran, under the hourglass:
    // first at a value on its way, last at 100.
    QVERIFY(recorder.PaintsWhileBusy() >= 2);
    QVERIFY(recorder.paints.front().busy);
    QVERIFY(recorder.paints.front().value < 100);
    const auto lastBusy =
        std::find_if(recorder.paints.rbegin(), recorder.paints.rend(),
                     [](const PaintRecorder::Paint& paint) { return paint.busy; });
    QCOMPARE(lastBusy->value, 100);
    // But not once for each percentage: at most 25 paints a second, and this
    // filter takes far less than the two seconds 50 paints would need.
    QVERIFY2(recorder.PaintsWhileBusy() < 50,
             qPrintable(QString::number(recorder.PaintsWhileBusy())));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }
};

QTEST_MAIN(ProgressPaintTest)
#include "progress_paint_test.moc"
