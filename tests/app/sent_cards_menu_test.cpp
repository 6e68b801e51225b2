// The menu item "Zapisz plik ADIF wysłanych kart…" and the open dialog's
// kinds of log: the item is enabled while a log is loaded and writes the
// shown contacts as cards sent via the bureau; an ADIF log opens through
// the same button as a CSV export.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <memory>

#include "app/unit1.h"
#include "app_test_support.h"

using kartex::testing::RowString;
using kartex::testing::ScriptedWindows;
using kartex::testing::WriteFile;
using kartex::testing::WriteLog;

namespace {

const std::vector<std::string> kLog = {
    "QSO_DATE,TIME_ON,BAND,MODE,CALL,DXCC",
    "20240101,1200,20M,SSB,SP1AA,269",
    "20240102,1300,40M,CW,SP2BB,269",
    "20240103,1400,20M,CW,SP2BB,269",
};

}  // namespace

class SentCardsMenuTest : public QObject, protected kartex::testing::WindowFixture {
  Q_OBJECT

 private:
  QAction* Item() const { return form->findChild<QAction*>("SaveSentADIF1"); }

  void Open(const std::string& path) {
    windows->fileAnswers.push_back(path);
    form->findChild<QPushButton*>("Load_CSV")->click();
  }

 private slots:
  void init() {
    // An ADIF log without DXCC takes it from the reference files there.
    QVERIFY(WorkInFolderWithReferenceFiles());
    QVERIFY(OpenWindow());
  }

  void cleanup() { CloseWindow(); }

  void enabledWhileALogIsLoaded() {
    QVERIFY(Item());
    QCOMPARE(Item()->text(), QString("Zapisz plik ADIF wysłanych kart…"));
    QVERIFY(!Item()->isEnabled());
    Open(WriteLog(*work, "log.csv", kLog));
    QVERIFY(Item()->isEnabled());
    Open(WriteLog(*work, "wrong.csv", {"CALLSIGN,DXCC", "SP1AA,269"}));
    QVERIFY(!Item()->isEnabled());
  }

  void writesTheShownContactsAsSentViaTheBureau() {
    Open(WriteLog(*work, "log.csv", kLog));
    form->findChild<QRadioButton*>("RG1Item1")->click();  // SP2BB, worked twice
    const QString target = work->filePath("sent.adi");
    windows->fileAnswers.push_back(target.toStdString());
    Item()->trigger();
    QCOMPARE(windows->dialogs.back().name, std::string("SaveSentADIF"));
    QCOMPARE(windows->dialogs.back().defaultName, std::string("WYSLANE.ADI"));
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    QCOMPARE(text.count("<EOR>"), 2);
    QVERIFY(!text.contains("SP1AA"));
    QVERIFY(
        text.contains("<CALL:5>SP2BB <QSO_DATE:8>20240103 <TIME_ON:4>1400 <BAND:3>20M "
                      "<MODE:2>CW <QSL_SENT:1>Y"));
    QVERIFY(text.contains("<QSL_SENT_VIA:1>B <EOR>\r\n"));
    QVERIFY(windows->errors.empty());
  }

  void opensAnAdifLogThroughTheSameButton() {
    const QString path = work->filePath("log.adi");
    WriteFile(path,
              "WSJT-X ADIF Export<eoh>\n"
              "<call:5>SP1AA <qso_date:8>20240101 <name:7>Łukasz <eor>\n");
    Open(path.toStdString());
    QVERIFY(windows->errors.empty());
    QCOMPARE(windows->messages, std::vector<std::string>{"Uzupełnione pola DXCC: 1."});
    const QAbstractItemModel& model = *form->findChild<QTableView*>("SG1")->model();
    QStringList header;
    for (int column = 0; column < 4; ++column)
      header.append(model.headerData(column, Qt::Horizontal).toString());
    QCOMPARE(header.join('|'), QString("CALL|QSO_DATE|NAME|DXCC"));
    QCOMPARE(RowString(model, 0, 4), QString("SP1AA|20240101|Łukasz|269"));
    QVERIFY(Item()->isEnabled());
  }
};

QTEST_MAIN(SentCardsMenuTest)
#include "sent_cards_menu_test.moc"
