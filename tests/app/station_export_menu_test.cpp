// The menu item "Zapisz plik CSV – jedna stacja w wierszu": its place in
// "Plik", and its enabling, which follows the QSO-count filter in force
// rather than the item RG1 shows.

#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

#include "app/unit1.h"
#include "app_test_support.h"

using kartex::testing::WriteLog;

namespace {

// SP1AA worked once, SP2BB twice, SP3CC three times.
const std::vector<std::string> kLog = {
    "QSO_DATE,TIME_ON,BAND,MODE,CALL,DXCC,QSL_VIA",
    "20240101,1200,20M,SSB,SP1AA,269,SP5ABC",
    "20240102,1300,40M,CW,SP2BB,269,",
    "20240103,1400,20M,CW,SP3CC,230,DIRECT",
    "20240104,1500,15M,FT8,SP2BB,269,DL1XYZ",
    "20240105,1600,20M,SSB,SP3CC,230,SP5ABC",
    "20240106,1700,10M,SSB,SP3CC,230,",
};

}  // namespace

class StationExportMenuTest : public QObject, protected kartex::testing::WindowFixture {
  Q_OBJECT

 private:
  QAction* Item() const { return form->findChild<QAction*>("SaveStationsCSV1"); }
  bool Enabled() const { return Item()->isEnabled(); }

  QButtonGroup* RG1Items() const { return form->findChild<QButtonGroup*>("RG1Items"); }
  void Choose(int item) { form->findChild<QRadioButton*>(QString("RG1Item%1").arg(item))->click(); }

 private slots:
  void init() {
    // The country export reads its reference files from the current folder.
    QVERIFY(WorkInFolderWithReferenceFiles());
    QVERIFY(OpenWindow());
  }

  void cleanup() { CloseWindow(); }

  void standsInPlikAfterZapiszPlikCsv() {
    QVERIFY(Item());
    QCOMPARE(Item()->text(), QString("Zapisz plik CSV – jedna stacja w wierszu"));
    auto* plik = form->menuBar()->findChild<QMenu*>("Plik1");
    QVERIFY(plik);
    QStringList names;
    for (QAction* action : plik->actions()) names.append(action->objectName());
    QCOMPARE(names, QStringList({"OtworzplikCSV1", "SaveCSV1", "SaveStationsCSV1",
                                 "DrukujnaklejkiQSL1", "SaveSentADIF1", "Zamknij1"}));
    QVERIFY(!Enabled());
  }

  void enabledExactlyWhileAQsoCountFilterIsOn() {
    // Given a log loaded, no choice made yet: disabled.
    Load(kLog);
    QVERIFY(!Enabled());
    // "2" narrows the table: enabled; "Usuń filtr": disabled again.
    Choose(1);
    QVERIFY(Enabled());
    Choose(10);
    QVERIFY(!Enabled());
    Choose(1);
    QVERIFY(Enabled());

    // The country export puts the choice "2" back when it ends.
    windows->fileAnswers.push_back(work->filePath("COUNTRY.CSV").toStdString());
    form->findChild<QPushButton*>("CTY_ADIF")->click();
    QVERIFY(QFile::exists(work->filePath("COUNTRY.CSV")));
    QVERIFY(form->findChild<QRadioButton*>("RG1Item1")->isChecked());
    QVERIFY(Enabled());
    Choose(2);
    QVERIFY(Enabled());

    // "Zamknij" refused: the window goes on with its filter.
    windows->confirmAnswers = {false};
    form->findChild<QAction*>("Zamknij1")->trigger();
    QVERIFY(form->isVisible());
    QVERIFY(Enabled());

    // A new load starts without a filter and without a choice in RG1.
    Load(kLog, "again.csv");
    QVERIFY(!Enabled());
    QCOMPARE(RG1Items()->checkedButton(), nullptr);
    Choose(2);
    QVERIFY(Enabled());

    // A rejected load, and a load that fails to read, leave it disabled.
    Load({"CALLSIGN,DXCC", "SP1AA,269"}, "wrong.csv");
    QVERIFY(!Enabled());
    Load(kLog);
    Choose(1);
    QVERIFY(Enabled());
    windows->fileAnswers.push_back(work->filePath("missing.csv").toStdString());
    form->findChild<QPushButton*>("Load_CSV")->click();
    QCOMPARE(windows->errors.size(), size_t(1));
    QVERIFY(!Enabled());
  }

  void triggeringWritesOneRowPerStation() {
    Load(kLog);
    Choose(2);  // SP3CC, three contacts
    const QString target = work->filePath("cards.csv");
    windows->fileAnswers.push_back(target.toStdString());
    Item()->trigger();
    QCOMPARE(windows->dialogs.back().name, std::string("SaveStationsCSV"));
    QCOMPARE(windows->dialogs.back().defaultName, std::string("STACJE.CSV"));
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().split('\n');
    QCOMPARE(lines.size(), 3);  // header, SP3CC, nothing after the last CR LF
    QVERIFY(lines[0].endsWith(",\"QSL_VIA_3\"\r"));
    QVERIFY(lines[1].startsWith(
        "\"20240103\",\"1400\",\"20M\",\"CW\",\"SP3CC\",\"230\",\"DIRECT\",\"20240105\""));
    QVERIFY(windows->errors.empty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }
};

QTEST_MAIN(StationExportMenuTest)
#include "station_export_menu_test.moc"
