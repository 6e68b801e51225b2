// The record of the cards sent: the ADIF file of the shown contacts, its
// header and fields, the rows it leaves out, and the file read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "commands/sent_cards_export.h"
#include "session_fixture.h"
#include "table/adif_reader.h"

namespace kartex::testing {
namespace {

// 9 December 2025, 07:05:09 UTC.
constexpr platform::UtcDateTime kNow{2025, 12, 9, 7, 5, 9};

class SentCardsTest : public SessionTest {
 protected:
  SentCardsTest() {
    session.SetClock([] { return kNow; });
  }

  // Writes the file through the save dialog and returns its bytes.
  std::string SaveSent(QslSentVia via = QslSentVia::kBureau, const std::string& name = "sent.adi") {
    windows.fileAnswers.push_back(dir.File(name));
    session.SaveSentADIF1Click(via);
    return ReadFile(dir.File(name));
  }
};

const std::string kHeader =
    "QSL cards sent, written by KARTEX\r\n"
    "<ADIF_VER:5>3.1.6\r\n"
    "<PROGRAMID:6>KARTEX\r\n"
    "<PROGRAMVERSION:" +
    std::to_string(std::string_view(KARTEX_VERSION).size()) +
    ">" KARTEX_VERSION
    "\r\n"
    "<CREATED_TIMESTAMP:15>20251209 070509\r\n"
    "<EOH>\r\n";

TEST_F(SentCardsTest, OneRecordPerShownContactWithItsSentStatus) {
  ASSERT_EQ(Load({"QSO_DATE,TIME_ON,BAND,MODE,CALL,DXCC,NAME",
                  "20240101,1200,20M,SSB,SP1AA,269,Jan", "20240102,0905,40m,CW,DL1AB,230,"}),
            LoadOutcome::Loaded);
  EXPECT_EQ(SaveSent(),
            kHeader +
                "<CALL:5>SP1AA <QSO_DATE:8>20240101 <TIME_ON:4>1200 <BAND:3>20M <MODE:3>SSB "
                "<QSL_SENT:1>Y <QSLSDATE:8>20251209 <QSL_SENT_VIA:1>B <EOR>\r\n"
                "<CALL:5>DL1AB <QSO_DATE:8>20240102 <TIME_ON:4>0905 <BAND:3>40m <MODE:2>CW "
                "<QSL_SENT:1>Y <QSLSDATE:8>20251209 <QSL_SENT_VIA:1>B <EOR>\r\n");
  ASSERT_EQ(windows.dialogs.size(), 2u);
  EXPECT_EQ(windows.dialogs[1].name, "SaveSentADIF");
  EXPECT_EQ(windows.dialogs[1].defaultName, "WYSLANE.ADI");
  EXPECT_TRUE(windows.messages.empty());
  EXPECT_FALSE(windows.busy);
}

TEST_F(SentCardsTest, DirectCardsAndTheOptionalFieldsWhereTheLogHasThem) {
  ASSERT_EQ(Load({"CALL,QSO_DATE,TIME_ON,BAND,MODE,SUBMODE,FREQ,OPERATOR,DXCC,STATION_CALLSIGN",
                  "SP1AA,20240101,120000,20M,MFSK,FT4,14.0800,SP9XYZ,269,SN9X",
                  "DL1AB,20240102,1300,40M,CW,,7.025,,230,SN9X"}),
            LoadOutcome::Loaded);
  const std::string file = SaveSent(QslSentVia::kDirect);
  EXPECT_NE(file.find("<CALL:5>SP1AA <QSO_DATE:8>20240101 <TIME_ON:6>120000 <BAND:3>20M "
                      "<MODE:4>MFSK <FREQ:7>14.0800 <SUBMODE:3>FT4 <STATION_CALLSIGN:4>SN9X "
                      "<OPERATOR:6>SP9XYZ <QSL_SENT:1>Y <QSLSDATE:8>20251209 "
                      "<QSL_SENT_VIA:1>D <EOR>\r\n"),
            std::string::npos)
      << file;
  // Empty cells give no optional field.
  EXPECT_NE(file.find("<CALL:5>DL1AB <QSO_DATE:8>20240102 <TIME_ON:4>1300 <BAND:3>40M "
                      "<MODE:2>CW <FREQ:5>7.025 <STATION_CALLSIGN:4>SN9X <QSL_SENT:1>Y"),
            std::string::npos)
      << file;
}

TEST_F(SentCardsTest, ValuesAreUtf8WithByteLengths) {
  ASSERT_EQ(Load({"CALL,DXCC,QSO_DATE,TIME_ON,BAND,MODE,OPERATOR",
                  "SQ9\xA5,269,20240101,,,,\xA3\xF3"
                  "d\x9F"}),
            LoadOutcome::Loaded);
  const std::string file = SaveSent();
  EXPECT_NE(file.find("<CALL:5>SQ9Ą <QSO_DATE:8>20240101 <TIME_ON:0> <BAND:0> <MODE:0> "
                      "<OPERATOR:7>Łódź <QSL_SENT:1>Y"),
            std::string::npos)
      << file;
}

TEST_F(SentCardsTest, RowsWithoutCallOrDateAreLeftOutAndCounted) {
  ASSERT_EQ(Load({"CALL,DXCC,QSO_DATE,TIME_ON,BAND,MODE", "SP1AA,269,20240101,1200,20M,CW",
                  ",269,20240102,1300,20M,CW", "DL1AB,230,,1400,20M,CW",
                  "K1AA,291,20240103,1500,20M,CW"}),
            LoadOutcome::Loaded);
  const std::string file = SaveSent();
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 6 + 2);
  EXPECT_NE(file.find("<CALL:4>K1AA"), std::string::npos);
  EXPECT_EQ(file.find("DL1AB"), std::string::npos);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_EQ(windows.messages[0],
            "Pominięto wiersze bez CALL lub QSO_DATE (nie ma ich w pliku ADIF): 2");
}

TEST_F(SentCardsTest, LogWithoutQsoDateGivesAHeaderOnly) {
  ASSERT_EQ(Load({"CALL,DXCC", "SP1AA,269", "DL1AB,230"}), LoadOutcome::Loaded);
  EXPECT_EQ(SaveSent(), kHeader);
  EXPECT_EQ(windows.messages.back(),
            "Pominięto wiersze bez CALL lub QSO_DATE (nie ma ich w pliku ADIF): 2");
}

TEST_F(SentCardsTest, OnlyTheShownRowsInTheirShownOrder) {
  ASSERT_EQ(Load({"CALL,DXCC,QSO_DATE", "SP1AA,269,20240103", "DL1AB,230,20240101",
                  "SP1AA,269,20240102"}),
            LoadOutcome::Loaded);
  session.RG1Click(1);                // the stations worked twice
  session.HeaderSortClick(2, false);  // by date
  const std::string file = SaveSent();
  EXPECT_EQ(file.find("DL1AB"), std::string::npos);
  const size_t second = file.find("<QSO_DATE:8>20240102");
  const size_t third = file.find("<QSO_DATE:8>20240103");
  ASSERT_NE(second, std::string::npos);
  ASSERT_NE(third, std::string::npos);
  EXPECT_LT(second, third);
}

TEST_F(SentCardsTest, FileReadBackByTheAdifReaderHoldsTheTablesValues) {
  ASSERT_EQ(Load({"CALL,DXCC,QSO_DATE,TIME_ON,BAND,MODE,FREQ",
                  "SQ9\xA5\xE6,269,20240101,1200,20M,SSB,14.2",
                  "dl1ab/p,230,20240102,0000,2M,FM,145.500"}),
            LoadOutcome::Loaded);
  SaveSent(QslSentVia::kDirect, "back.adi");
  ASSERT_TRUE(IsAdifFile(dir.File("back.adi")));
  LogTable back;
  const AdifReadReport report = ReadAdifFile(back, dir.File("back.adi"));
  EXPECT_EQ(report.records, 2);
  EXPECT_EQ(report.recoveredValues, 0);
  ASSERT_EQ(back.RowCount(), 3);
  const char* const names[] = {"CALL", "QSO_DATE", "TIME_ON",  "BAND",        "MODE",
                               "FREQ", "QSL_SENT", "QSLSDATE", "QSL_SENT_VIA"};
  for (int c = 0; c < 9; ++c) EXPECT_EQ(back.CellText(c, 0), names[c]);
  // Each field read back against the log's column it came from.
  const std::pair<int, int> fieldAndLogColumn[] = {{0, 0}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}};
  for (int row = 1; row <= 2; ++row) {
    for (auto [field, column] : fieldAndLogColumn) {
      EXPECT_EQ(back.CellText(field, row), session.Table().CellText(column, row))
          << "field " << field << ", row " << row;
    }
    EXPECT_EQ(back.CellText(6, row), "Y");
    EXPECT_EQ(back.CellText(7, row), "20251209");
    EXPECT_EQ(back.CellText(8, row), "D");
  }
}

TEST_F(SentCardsTest, CancelledDialogWritesNothingAndAnUncreatableFileFails) {
  ASSERT_EQ(Load({"CALL,DXCC,QSO_DATE", "SP1AA,269,20240101"}), LoadOutcome::Loaded);
  auto files = [this] {
    return std::distance(std::filesystem::directory_iterator(dir.Path()),
                         std::filesystem::directory_iterator());
  };
  const auto before = files();
  windows.fileAnswers.push_back(std::nullopt);
  session.SaveSentADIF1Click();
  EXPECT_EQ(files(), before);
  windows.fileAnswers.push_back(dir.File("no/such/folder/sent.adi"));
  try {
    session.SaveSentADIF1Click();
    FAIL() << "no error";
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot create file " + dir.File("no/such/folder/sent.adi"));
  }
  EXPECT_FALSE(windows.busy);
}

}  // namespace
}  // namespace kartex::testing
