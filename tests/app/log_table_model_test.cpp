// The grid's model over the log table, always under QAbstractItemModelTester:
// the header row as header texts, cells decoded from Windows-1250, edits
// encoded back, and the signals that follow loads, filters and sorts.

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "app/log_table_model.h"
#include "app/sort_mark.h"
#include "app_test_support.h"
#include "commands/session.h"
#include "table/log_table.h"

using kartex::testing::RowString;
using kartex::testing::ScriptedWindows;
using kartex::testing::WriteLog;

class LogTableModelTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ScriptedWindows> windows;
  std::unique_ptr<kartex::Session> session;
  std::unique_ptr<kartex::LogTableModel> model;
  std::unique_ptr<QAbstractItemModelTester> tester;
  QTemporaryDir dir;

  void Load(const std::vector<std::string>& lines) {
    windows->fileAnswers.push_back(WriteLog(dir, "log.csv", lines));
    session->Load_CSVClick();
  }

 private slots:
  void init() {
    windows = std::make_unique<ScriptedWindows>();
    session = std::make_unique<kartex::Session>(*windows, kartex::RegionalSettings{});
    model = std::make_unique<kartex::LogTableModel>(*session);
    tester = std::make_unique<QAbstractItemModelTester>(
        model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
  }

  void cleanup() {
    tester.reset();
    model.reset();
    session.reset();
    windows.reset();
  }

  void emptyTableShowsOneEmptyRow() {
    // Given the table the window starts with: a header row and one row.
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->columnCount(), 53);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString());
    QCOMPARE(model->index(0, 52).data().toString(), QString());
    QVERIFY(!model->index(1, 0).isValid());
    QVERIFY(!model->index(0, 53).isValid());
  }

  void headerRowIsTheHeaderAndCellsAreDecoded() {
    // Given a log whose cells hold Windows-1250 bytes (Ł, ó, ź, ś),
    Load({"CALL,DXCC,NAME,QTH",
          "SP1AA,269,\xA3ukasz,\xA3\xF3"
          "d\x9F",
          "SP2BB,269,Ma\x9Cka,Krak\xF3w"});
    // then row 0 is the header and every other row a model row, decoded.
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QString("NAME"));
    QCOMPARE(RowString(*model, 0, 4), QString("SP1AA|269|Łukasz|Łódź"));
    QCOMPARE(RowString(*model, 1, 4), QString("SP2BB|269|Maśka|Kraków"));
    QCOMPARE(model->index(0, 2).data(Qt::EditRole).toString(), QString("Łukasz"));
    QVERIFY(model->flags(model->index(0, 0)).testFlag(Qt::ItemIsEditable));
    QVERIFY(!model->flags(model->index(0, 0)).testFlag(Qt::ItemIsDragEnabled));
    QVERIFY(!model->flags(model->index(0, 0)).testFlag(Qt::ItemIsDropEnabled));
  }

  void loadResetsTheModel() {
    QSignalSpy resets(model.get(), &QAbstractItemModel::modelReset);
    Load({"CALL,DXCC", "SP1AA,269", "SP2BB,230", "SP3CC,291"});
    QVERIFY(resets.count() >= 1);
    QCOMPARE(model->rowCount(), 3);
  }

  void editIsStoredInTheCodePage() {
    Load({"CALL,DXCC,NAME", "SP1AA,269,", "SP2BB,230,"});
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    QSignalSpy refused(model.get(), &kartex::LogTableModel::editRefused);
    QVERIFY(model->setData(model->index(1, 2), QString("Żaneta")));
    QCOMPARE(std::string(session->Table().CellText(2, 2)), std::string("\xAF"
                                                                       "aneta"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed[0][0].value<QModelIndex>(), model->index(1, 2));
    QCOMPARE(refused.count(), 0);
  }

  void editOutsideTheCodePageIsRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");  // the character the message names, and its code
    QTest::newRow("Cyrillic") << QString("Жора") << QString("„Ж” (U+0416)");
    QTest::newRow("CJK") << QString("東京") << QString("„東” (U+6771)");
    QTest::newRow("emoji") << QString("SP1AA \U0001F600") << QString("„\U0001F600” (U+1F600)");
    QTest::newRow("after Polish letters") << QString("Łódź → Kraków") << QString("„→” (U+2192)");
  }

  void editOutsideTheCodePageIsRefused() {
    QFETCH(QString, text);
    QFETCH(QString, named);
    Load({"CALL,DXCC,NAME", "SP1AA,269,Jan", "SP2BB,230,Ewa"});
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    QSignalSpy refused(model.get(), &kartex::LogTableModel::editRefused);
    QVERIFY(!model->setData(model->index(0, 2), text));
    QCOMPARE(std::string(session->Table().CellText(2, 1)), std::string("Jan"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused[0][0].toString(),
             QString("Tekst zawiera znak " + named +
                     ", którego nie można zapisać w stronie kodowej Windows-1250."));
  }

  void filterAndSortKeepTheModelConsistent() {
    Load({"NR,X,Y,Z,CALL,DXCC", "1,,,,SP1AA,269", "2,,,,SP2BB,269", "3,,,,SP2BB,230",
          "4,,,,SP3CC,230"});
    QSignalSpy resets(model.get(), &QAbstractItemModel::modelReset);
    session->RG1Click(1);  // the stations worked twice
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(RowString(*model, 0, 1) + RowString(*model, 1, 1), QString("23"));
    session->HeaderSortClick(0, false);
    session->HeaderSortClick(0, false);  // descending
    QCOMPARE(RowString(*model, 0, 1) + RowString(*model, 1, 1), QString("32"));
    session->RG1Click(kartex::kRG1RemoveFilter);
    QCOMPARE(model->rowCount(), 4);
    QVERIFY(resets.count() >= 4);
  }

  // The header learns the sort marks from the model, never from the store.
  void sortMarksThroughTheHeaderData() {
    auto markOf = [this](int column) {
      const QVariant mark = model->headerData(column, Qt::Horizontal, kartex::kSortMarkRole);
      if (!mark.canConvert<kartex::SortMark>()) return QString("-");
      const kartex::SortMark value = mark.value<kartex::SortMark>();
      return QString::number(value.position) + (value.descending ? "v" : "^");
    };
    auto marks = [&] { return markOf(0) + markOf(1) + markOf(2) + markOf(3); };
    Load({"CALL,DXCC,NAME,BAND", "SP1AA,269,Jan,20M", "SP2BB,230,Ewa,40M"});
    QCOMPARE(marks(), QString("----"));
    QSignalSpy headerChanged(model.get(), &QAbstractItemModel::headerDataChanged);
    session->HeaderSortClick(2, false);
    session->HeaderSortClick(2, false);
    session->HeaderSortClick(0, true);
    QCOMPARE(marks(), QString("2^-1v-"));
    model->SortKeysChanged();
    QCOMPARE(headerChanged.count(), 1);
    QCOMPARE(headerChanged[0][1].toInt(), 0);
    QCOMPARE(headerChanged[0][2].toInt(), model->columnCount() - 1);
    // A table of one data row shows no marks, though the keys stay.
    Load({"CALL,DXCC,NAME", "SP1AA,269,Jan"});
    QCOMPARE(marks(), QString("----"));
    QCOMPARE(session->Sort().SortIndex().Count(), 2);
    // The texts stay the column names.
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QString("NAME"));
  }

  void everyRowFilteredOutKeepsTheHeader() {
    Load({"NR,X,Y,Z,CALL,DXCC", "1,,,,SP1AA,269", "2,,,,SP2BB,269"});
    session->RG1Click(4);  // nobody worked five times
    QCOMPARE(model->rowCount(), 0);
    QCOMPARE(model->headerData(4, Qt::Horizontal).toString(), QString("CALL"));
  }

  void noObserverAfterTheModelGoes() {
    Load({"CALL,DXCC", "SP1AA,269", "SP2BB,230", "SP3CC,230"});
    tester.reset();
    model.reset();
    // The table still changes without a model to tell.
    session->HeaderSortClick(0, false);
    QCOMPARE(std::string(session->Table().CellText(0, 1)), std::string("SP1AA"));
  }
};

QTEST_MAIN(LogTableModelTest)
#include "log_table_model_test.moc"
