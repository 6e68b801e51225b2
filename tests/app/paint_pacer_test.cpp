// The pacing of the paints a command asks for without the event loop.

#include <QTest>

#include <chrono>

#include "app/paint_pacer.h"

using namespace std::chrono_literals;
using kartex::PaintPacer;

class PaintPacerTest : public QObject {
  Q_OBJECT

 private slots:
  void firstAtOnceThenOnePerInterval() {
    PaintPacer pacer(40ms);
    const PaintPacer::Clock::time_point start{};
    // The first paint asked for is due whenever it comes.
    QVERIFY(pacer.Due(start + 1000ms));
    // Within the interval nothing more is due, up to its last moment.
    QVERIFY(!pacer.Due(start + 1001ms));
    QVERIFY(!pacer.Due(start + 1039ms));
    // Once the interval has passed the next one is, and the interval counts
    // from that paint, not from the refused asks.
    QVERIFY(pacer.Due(start + 1040ms));
    QVERIFY(!pacer.Due(start + 1079ms));
    QVERIFY(pacer.Due(start + 1200ms));
  }
};

QTEST_APPLESS_MAIN(PaintPacerTest)
#include "paint_pacer_test.moc"
