// "Narzędzia" in the window: the three items follow the load, the list of
// "Sprawdź DXCC" takes the grid to the row of a line chosen in it, and the
// bureau order clears the header's sort marks.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/log_table_model.h"
#include "app/sort_mark.h"
#include "app_test_support.h"

namespace {

// DL1ABC lacks its DXCC and K1ABC is logged as Germany: two lines of the
// check, the second one the log's row 3.
const std::vector<std::string> kLog = {"QSO_DATE,CALL,DXCC", "20240101,SP5ABC,269",
                                       "20240102,DL1ABC,", "20240103,K1ABC,230",
                                       "20240104,VE3ABC,1"};

}  // namespace

class CallSignMenuTest : public QObject, protected kartex::testing::WindowFixture {
  Q_OBJECT

 private:
  QAction* Tool(const char* name) const { return form->findChild<QAction*>(name); }

 private slots:
  void init() {
    // The reference files in the current folder, as the commands look there.
    QVERIFY(WorkInFolderWithReferenceFiles());
    QVERIFY(OpenWindow());
  }

  void cleanup() { CloseWindow(); }

  void itemsFollowTheLoad() {
    for (const char* name : {"UzupelnijDXCC1", "SprawdzDXCC1", "SortujwgbiurQSL1"})
      QVERIFY(!Tool(name)->isEnabled());
    Load(kLog);
    for (const char* name : {"UzupelnijDXCC1", "SprawdzDXCC1", "SortujwgbiurQSL1"})
      QVERIFY(Tool(name)->isEnabled());
  }

  void aLineOfTheCheckTakesTheGridToItsRow() {
    Load(kLog);
    auto* grid = Find<QTableView>("SG1");
    grid->setCurrentIndex(grid->model()->index(0, 0));
    int lines = -1;
    QTimer::singleShot(0, [&lines] {
      QPointer<QWidget> modal = QApplication::activeModalWidget();
      QVERIFY(modal);
      QCOMPARE(modal->objectName(), QString("SprawdzDXCC"));
      auto* view = modal->findChild<QTableView*>("Lines");
      QVERIFY(view);
      lines = view->model()->rowCount();
      // A double click on K1ABC's line.
      const QRect line = view->visualRect(view->model()->index(1, 1));
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, line.center());
      QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, line.center());
      static_cast<QDialog*>(modal.data())->reject();
    });
    Tool("SprawdzDXCC1")->trigger();
    QCOMPARE(lines, 2);
    QCOMPARE(grid->currentIndex(), grid->model()->index(2, 1));  // row 3, CALL
    QVERIFY(windows->errors.empty());
  }

  void bureauOrderClearsTheSortMarks() {
    Load(kLog);
    form->session().HeaderSortClick(0, false);
    form->model()->SortKeysChanged();
    QVERIFY(form->model()->headerData(0, Qt::Horizontal, kartex::kSortMarkRole).isValid());
    QTimer::singleShot(0, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
    });
    Tool("SortujwgbiurQSL1")->trigger();
    QVERIFY(!form->model()->headerData(0, Qt::Horizontal, kartex::kSortMarkRole).isValid());
    QCOMPARE(kartex::testing::ColumnString(*Find<QTableView>("SG1")->model(), 1),
             QString("DL1ABC|K1ABC|SP5ABC|VE3ABC"));
  }
};

QTEST_MAIN(CallSignMenuTest)
#include "call_sign_menu_test.moc"
