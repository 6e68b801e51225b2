// The window from the keyboard alone: Tab walks the controls in the order of
// the layout and leaves the grid, inside the grid the keys move the current
// cell, and Alt+Z moves between the two controls that share the letter.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <memory>

#include "app/unit1.h"
#include "app_test_support.h"

using kartex::testing::WriteLog;

namespace {

std::vector<std::string> LogOfRows(int rows) {
  std::vector<std::string> lines = {"QSO_DATE,TIME_ON,BAND,MODE,CALL,DXCC,QSL_VIA"};
  for (int row = 0; row < rows; ++row) {
    lines.push_back("20240101,1200,20M,SSB,SP" + std::to_string(row) + "AA,269,SP5ABC");
  }
  return lines;
}

// The control that has the focus, by name; a radio item by its group.
QString FocusName() {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) return "none";
  if (qobject_cast<QRadioButton*>(focus)) return focus->parentWidget()->objectName();
  if (focus->objectName() == "qt_scrollarea_viewport") return focus->parentWidget()->objectName();
  return focus->objectName();
}

}  // namespace

class KeyboardTest : public QObject, protected kartex::testing::WindowFixture {
  Q_OBJECT

 private:
  QTableView* grid = nullptr;

  // The names the focus visits, pressing key count times from where it is.
  QStringList Walk(Qt::Key key, int count, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QStringList visited;
    for (int step = 0; step < count; ++step) {
      QTest::keyClick(QApplication::focusWidget(), key, modifiers);
      visited.append(FocusName());
    }
    return visited;
  }

 private slots:
  void init() {
    QVERIFY(OpenWindow(true));
    grid = form->findChild<QTableView*>("SG1");
  }

  void cleanup() { CloseWindow(); }

  void tabFollowsTheLayout() {
    // Given a loaded log and a QSO-count choice,
    Load(LogOfRows(5));
    form->findChild<QRadioButton*>("RG1Item10")->click();
    form->findChild<QPushButton*>("Load_CSV")->setFocus();
    // Tab visits every control once, the grid and each radio group as one stop,
    const QStringList order = {"Save_CSV", "SG1",     "RG1",     "SortBy",  "CTY_ADIF",
                               "ListBox1", "QSL_VIA", "BitBtn1", "Load_CSV"};
    QCOMPARE(Walk(Qt::Key_Tab, 9), order);
    // and Shift+Tab walks back the same way.
    QStringList back = order;
    std::reverse(back.begin(), back.end());
    back.removeFirst();
    back.append("Load_CSV");
    QCOMPARE(Walk(Qt::Key_Tab, 9, Qt::ShiftModifier), back);
  }

  void aRadioGroupIsOneStopBeforeAnyChoice() {
    Load(LogOfRows(5));
    grid->setFocus();
    QCOMPARE(Walk(Qt::Key_Tab, 2), QStringList({"RG1", "SortBy"}));
  }

  void atStartTabSkipsTheGreyedControls() {
    form->findChild<QPushButton*>("Load_CSV")->setFocus();
    QCOMPARE(Walk(Qt::Key_Tab, 3), QStringList({"ListBox1", "BitBtn1", "Load_CSV"}));
  }

  void keysInTheGrid() {
    Load(LogOfRows(40));
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    auto current = [this] {
      return QPoint(grid->currentIndex().column(), grid->currentIndex().row());
    };
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(current(), QPoint(1, 1));
    QTest::keyClick(grid, Qt::Key_End);
    QCOMPARE(current().x(), 52);
    QTest::keyClick(grid, Qt::Key_Home);
    QCOMPARE(current().x(), 0);
    QTest::keyClick(grid, Qt::Key_PageDown);
    const int pageDown = current().y();
    QVERIFY(pageDown > 3);
    QTest::keyClick(grid, Qt::Key_PageUp);
    QVERIFY(current().y() < pageDown);
    // Tab leaves the grid and leaves the current cell where it was.
    grid->setCurrentIndex(grid->model()->index(2, 3));
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(FocusName(), QString("RG1"));
    QCOMPARE(current(), QPoint(3, 2));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Backtab);
    QCOMPARE(FocusName(), QString("Save_CSV"));
    QCOMPARE(current(), QPoint(3, 2));
  }

  void tabInAnEditStoresItAndLeavesTheGrid() {
    Load(LogOfRows(5));
    const QModelIndex cell = grid->model()->index(1, 3);
    grid->setFocus();
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    QVERIFY(editor);
    editor->setText("CW");
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(std::string(form->session().Table().CellText(3, 2)), std::string("CW"));
    QTRY_VERIFY(!grid->indexWidget(cell));
    QCOMPARE(FocusName(), QString("RG1"));
    QCOMPARE(grid->currentIndex(), cell);
  }

  // "&Zapisz plik CSV" and "&Zamknij" share Alt+Z: the focus moves between
  // the two, and neither is pressed.
  void altZMovesBetweenTheTwoControls() {
    Load(LogOfRows(5));
    form->findChild<QPushButton*>("Load_CSV")->setFocus();
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::AltModifier);
    const QString first = FocusName();
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::AltModifier);
    const QString second = FocusName();
    QStringList both = {first, second};
    both.sort();
    QCOMPARE(both, QStringList({"BitBtn1", "Save_CSV"}));
    QCOMPARE(windows->dialogs.size(), size_t(1));  // only the load's
    QVERIFY(windows->questions.empty());
    QVERIFY(form->isVisible());
  }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
