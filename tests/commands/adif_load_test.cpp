// "Otwórz plik CSV" on ADIF logs: which reader the content chooses, the
// DXCC column added where the log has none, the same checks as a CSV
// export from the header scan on, and the one message about what the
// reader recovered.

#include <gtest/gtest.h>

#include "io_faults.h"
#include "session_fixture.h"

namespace kartex::testing {
namespace {

class AdifLoadTest : public SessionTest {
 protected:
  // The DXCC that the logs lack comes from the demonstration's CTY.DAT.
  AdifLoadTest() { UseReferenceFiles(); }

  LoadOutcome LoadAdif(const std::string& bytes, const std::string& name = "log.adi") {
    windows.fileAnswers.push_back(dir.Write(name, bytes));
    return session.Load_CSVClick();
  }

  std::string HeaderRow() const {
    std::string out;
    for (int c = 0; c < session.Table().Row(0).FieldCount(); ++c) {
      if (c > 0) out += '|';
      out += session.Table().CellText(c, 0);
    }
    return out;
  }
};

// A log as WSJT-X exports it: field names in small letters, no DXCC field.
const std::string kWsjtx =
    "ADIF Export<eoh>\n"
    "<call:5>SP1AA <gridsquare:4>JO90 <mode:3>FT8 <qso_date:8>20240101 "
    "<time_on:6>120000 <band:3>20m <eor>\n"
    "<call:5>DL1AB <gridsquare:4>JO31 <mode:3>FT8 <qso_date:8>20240101 "
    "<time_on:6>121500 <band:3>20m <eor>\n"
    "<call:5>SP1AA <gridsquare:4>JO90 <mode:3>FT4 <qso_date:8>20240102 "
    "<time_on:6>080000 <band:3>40m <eor>\n";

TEST_F(AdifLoadTest, OpenDialogOffersBothKindsOfLogThenEachKind) {
  windows.fileAnswers.push_back(std::nullopt);
  EXPECT_EQ(session.Load_CSVClick(), LoadOutcome::Cancelled);
  ASSERT_EQ(windows.dialogs.size(), 1u);
  EXPECT_EQ(windows.dialogs[0].name, "OD");
  EXPECT_EQ(windows.dialogs[0].filter,
            "Dzienniki (*.csv *.adi *.adif)|*.csv;*.adi;*.adif|CSV (*.csv)|*.csv|"
            "ADIF (*.adi *.adif)|*.adi;*.adif");
}

TEST_F(AdifLoadTest, LogWithoutDxccGetsTheColumnAtTheEndAndLoadsAsACsvExportWould) {
  ASSERT_EQ(LoadAdif(kWsjtx, "wsjtx.adi"), LoadOutcome::Loaded);
  EXPECT_EQ(HeaderRow(), "CALL|GRIDSQUARE|MODE|QSO_DATE|TIME_ON|BAND|DXCC");
  EXPECT_EQ(session.Log().callColumn, 0);
  EXPECT_EQ(session.Log().dxccColumn, 6);
  EXPECT_FALSE(session.Log().qslViaFound);
  EXPECT_EQ(Column(6), "269|230|269") << "filled from CTY.DAT";
  ASSERT_EQ(session.Log().tally.size(), 2u);
  EXPECT_EQ(session.Log().tally[0].call, "SP1AA");
  EXPECT_EQ(session.Log().tally[0].qsoCount, 2);
  EXPECT_EQ(session.Controls().recordsCaption, "Liczba rekordów : 3");
  EXPECT_EQ(session.Controls().sourceCaption, "Źródło: " + dir.File("wsjtx.adi"));
  EXPECT_TRUE(session.Controls().logCommandsEnabled);
  EXPECT_EQ(session.Table().FixedRows(), 1);
  EXPECT_EQ(session.Table().ColCount(), 53);
  EXPECT_EQ(windows.messages, std::vector<std::string>{"Uzupełnione pola DXCC: 3."});
}

TEST_F(AdifLoadTest, LogWithoutDxccIsRejectedWithoutTheReferenceFilesThatFillIt) {
  std::filesystem::remove("CTY.DAT");
  EXPECT_EQ(LoadAdif(kWsjtx), LoadOutcome::Rejected);
  EXPECT_EQ(windows.messages, std::vector<std::string>{
                                  "Dziennik ADIF nie ma numerów DXCC, a do ich uzupełnienia brak "
                                  "pliku: CTY.DAT."});
  EXPECT_FALSE(session.Controls().logCommandsEnabled);
  std::filesystem::remove("ADIF_DXC.TXT");
  EXPECT_EQ(LoadAdif(kWsjtx), LoadOutcome::Rejected);
  EXPECT_EQ(windows.messages.back(),
            "Dziennik ADIF nie ma numerów DXCC, a do ich uzupełnienia brak pliku: CTY.DAT i "
            "ADIF_DXC.TXT.");
  // A log whose every contact has its DXCC needs neither file.
  EXPECT_EQ(LoadAdif("<CALL:5>SP1AA<DXCC:3>269<EOR>"), LoadOutcome::Loaded);
}

TEST_F(AdifLoadTest, DxccFieldOfTheFileKeepsItsPlaceAndItsEmptyCells) {
  ASSERT_EQ(LoadAdif("<CALL:5>SP1AA<DXCC:3>269<QSL_VIA:5>EA5XX<EOR>"
                     "<CALL:5>DL1AB<DXCC:0><EOR>"),
            LoadOutcome::Loaded);
  EXPECT_EQ(HeaderRow(), "CALL|DXCC|QSL_VIA");
  EXPECT_EQ(Column(1), "269|230") << "the empty cell filled from CTY.DAT, the other kept";
  EXPECT_TRUE(session.Controls().qslViaEnabled);
  EXPECT_EQ(windows.messages, std::vector<std::string>{"Uzupełnione pola DXCC: 1."});
}

TEST_F(AdifLoadTest, LogWithoutCallIsRejectedWithTheFormatMessage) {
  EXPECT_EQ(LoadAdif("<EOH><QSO_DATE:8>20240101<DXCC:3>269<EOR>"), LoadOutcome::Rejected);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_EQ(windows.messages[0], "Wybrany format pliku jet nieprawidłowy !");
  EXPECT_FALSE(session.Controls().logCommandsEnabled);
  EXPECT_EQ(session.Table().RowCount(), 2);
}

TEST_F(AdifLoadTest, RecordsWithoutTextAreEmptyRowsAndRemoved) {
  ASSERT_EQ(LoadAdif("<CALL:5>SP1AA<EOR><CALL:0><NAME:0><EOR><EOR><CALL:5>DL1AB<EOR>"),
            LoadOutcome::Loaded);
  EXPECT_EQ(Column(0), "SP1AA|DL1AB");
  EXPECT_EQ(session.Controls().recordsCaption, "Liczba rekordów : 2");

  EXPECT_EQ(LoadAdif("<CALL:0><EOR><EOR>", "empty.adi"), LoadOutcome::Rejected);
  EXPECT_EQ(windows.messages.back(), "Nie ma żadnych rekordów !");
}

TEST_F(AdifLoadTest, WhatTheReaderRecoveredIsSaidOnceAfterTheLoad) {
  ASSERT_EQ(LoadAdif("<CALL:5>SP1AA <RST_SENT:3>5 <NAME:4>Jürgen 山<EOR>"
                     "<CALL:-1>DL1AB <EOR><CALL:5>K1ABC"),
            LoadOutcome::Loaded);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_EQ(windows.messages[0],
            "Dziennik ADIF wczytano z poprawkami: wartości pól odczytane mimo błędów zapisu "
            "(długość, tekst po wartości, znaki sterujące): 3; znaki spoza strony kodowej "
            "Windows-1250 zastąpione znakiem „?”: 1; pominięto niepełny rekord na końcu pliku "
            "(bez <EOR>).\nUzupełnione pola DXCC: 2.");
  EXPECT_EQ(Column(0), "SP1AA|DL1AB");
  EXPECT_EQ(session.Table().CellText(2, 1), "J\xFCrgen ?");
}

TEST_F(AdifLoadTest, CsvExportWithAnglesInItsCellsIsStillReadAsCsv) {
  ASSERT_EQ(Load({"CALL,DXCC,COMMENT", "SP1AA,269,<CALL:5> in a note", "DL1AB,230,<eoh"}),
            LoadOutcome::Loaded);
  EXPECT_EQ(Column(2), "<CALL:5> in a note|<eoh");
  EXPECT_EQ(session.Log().dxccColumn, 1);
}

TEST_F(AdifLoadTest, CsvAfterAdifAndAdifAfterCsvReplaceTheLog) {
  ASSERT_EQ(LoadAdif(kWsjtx), LoadOutcome::Loaded);
  ASSERT_EQ(Load({"A,B,C,D,CALL,DXCC", ",,,,SP9ZZ,269"}), LoadOutcome::Loaded);
  EXPECT_EQ(session.Log().callColumn, 4);
  EXPECT_EQ(session.Table().RowCount(), 2);
  EXPECT_EQ(session.Table().CellText(0, 1), "");
  ASSERT_EQ(LoadAdif("<CALL:5>SP1AA<EOR>", "again.adi"), LoadOutcome::Loaded);
  EXPECT_EQ(HeaderRow(), "CALL|DXCC");
  EXPECT_EQ(session.Table().CellText(4, 1), "") << "nothing of the CSV log is left";
}

TEST_F(AdifLoadTest, EachFailingIoCallEndsTheLoadWithTheTablesMessage) {
  // Every contact has its DXCC: the load reads the log alone.
  const std::string path =
      dir.Write("log.adi",
                "<EOH><CALL:5>SP1AA<DXCC:3>269<EOR><CALL:5>DL1AB<DXCC:3>230<EOR>"
                "<CALL:5>SP1AA<DXCC:3>269<EOR>");
  for (uint64_t n = 1;; ++n) {
    SCOPED_TRACE("I/O call " + std::to_string(n));
    ASSERT_LT(n, 100u);
    windows.fileAnswers.push_back(path);
    std::string error;
    bool fired = false;
    {
      FailingIoCall failing(n);
      try {
        session.Load_CSVClick();
      } catch (const std::exception& e) {
        error = ErrorText(e);
      }
      fired = failing.Fired();
    }
    if (!fired) {
      EXPECT_EQ(error, "");
      EXPECT_EQ(session.Controls().recordsCaption, "Liczba rekordów : 3");
      break;
    }
    EXPECT_TRUE(error == "Cannot open file " + path + "." ||
                error == "Cannot read file " + path + ".")
        << error;
    EXPECT_FALSE(windows.busy);
  }
}

}  // namespace
}  // namespace kartex::testing
