// The Qt window system: file filters in Qt's form and the hourglass kept as
// one state however the commands call it.

#include <QApplication>
#include <QTest>

#include "app/qt_window_system.h"

class QtWindowSystemTest : public QObject {
  Q_OBJECT

 private slots:
  void fileFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("open dialog") << "CSV|*.csv" << "CSV (*.csv *.CSV)";
    QTest::newRow("manager list") << "TXT|*.txt" << "TXT (*.txt *.TXT)";
    QTest::newRow("description with its own patterns") << "CSV (*.csv)|*.CSV" << "CSV (*.CSV *.csv)";
    QTest::newRow("two filters") << "CSV|*.csv|All|*.*" << "CSV (*.csv *.CSV);;All (*.*)";
    QTest::newRow("several patterns") << "Logs|*.csv;*.adi" << "Logs (*.csv *.CSV *.adi *.ADI)";
    QTest::newRow("empty") << "" << "";
  }

  void fileFilters() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(kartex::QtFileFilter(filter.toStdString()), expected);
  }

  void busyCursorIsOneState() {
    kartex::QtWindowSystem windows;
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // The filter's progress shows the hourglass at every step, and the
    // normal cursor once at 100 %.
    windows.ShowBusyCursor();
    windows.ShowBusyCursor();
    windows.ShowBusyCursor();
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    windows.ShowNormalCursor();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // A second restore does not pop someone else's cursor.
    QApplication::setOverrideCursor(Qt::CrossCursor);
    windows.ShowNormalCursor();
    QVERIFY(QApplication::overrideCursor());
    QApplication::restoreOverrideCursor();
  }

  void busyCursorEndsWithTheWindowSystem() {
    {
      kartex::QtWindowSystem windows;
      windows.ShowBusyCursor();
    }
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }
};

QTEST_MAIN(QtWindowSystemTest)
#include "qt_window_system_test.moc"
