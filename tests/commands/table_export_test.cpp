#include <gtest/gtest.h>

#include <filesystem>

#include "commands/output_name.h"
#include "commands/table_export.h"
#include "io_faults.h"
#include "session_fixture.h"

namespace kartex::testing {
namespace {

using TableExportTest = SessionTest;

std::string QuotedEmpties(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += ",\"\"";
  return out;
}

TEST_F(TableExportTest, EveryFieldOfEveryColumnIsQuoted) {
  Load({"CALL,DXCC", "SP1AA,269"});
  windows.fileAnswers.push_back(dir.File("out.csv"));
  session.Save_CSVClick();
  EXPECT_EQ(ReadFile(dir.File("out.csv")), "\"CALL\",\"DXCC\"" + QuotedEmpties(51) +
                                               "\r\n\"SP1AA\",\"269\"" + QuotedEmpties(51) +
                                               "\r\n");
  EXPECT_FALSE(windows.busy);
}

TEST_F(TableExportTest, WritesOnlyTheShownRowsInTheirOrder) {
  Load({"A,B,C,D,CALL,DXCC", ",,,,X,1", ",,,,Y,1", ",,,,Y,1", ",,,,Z,1"});
  session.RG1Click(0);
  session.HeaderSortClick(4, false);
  session.HeaderSortClick(4, false);
  windows.fileAnswers.push_back(dir.File("once.csv"));
  session.Save_CSVClick();
  std::string text = ReadFile(dir.File("once.csv"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
  EXPECT_LT(text.find("\"Z\""), text.find("\"X\""));
  EXPECT_EQ(text.find("\"Y\""), std::string::npos);
}

TEST_F(TableExportTest, ExportReadsBackIntoTheSameCells) {
  Load({"CALL,DXCC,NOTE", "SP1AA,269,x"});
  const std::vector<std::string> awkward{"say \"hi\"",     "\"",         "a,b",
                                         "line1\r\nline2", "\"quoted\"", "",
                                         "tab\there",      "end\"",      "Wrocław \xB3\xF3"};
  for (size_t i = 0; i < awkward.size(); ++i) session.EditCell(static_cast<int>(i), 1, awkward[i]);
  windows.fileAnswers.push_back(dir.File("round.csv"));
  session.Save_CSVClick();

  LogTable table;
  table.ReadCsvFile(dir.File("round.csv"));
  ASSERT_EQ(table.RowCount(), 2);
  for (size_t i = 0; i < awkward.size(); ++i)
    EXPECT_EQ(table.CellText(static_cast<int>(i), 1), awkward[i]) << i;
  EXPECT_EQ(table.ColCount(), 53);
}

TEST_F(TableExportTest, ExportWithCommasInItsCellsAndOtherCandidatesReopens) {
  // Given a log whose first data row holds a comma inside a cell, and whose
  // header and first row each hold one hyphen
  ASSERT_EQ(Load({"CALL,DXCC,RST-S,NOTE", "SP1AA,269,\"5-9, Tom\"", "DL1AB,230,59,x"}),
            LoadOutcome::Loaded);
  // When it is exported and the export is opened again
  windows.fileAnswers.push_back(dir.File("again.csv"));
  session.Save_CSVClick();
  windows.fileAnswers.push_back(dir.File("again.csv"));
  // Then the export reads with the comma, not the hyphen, into the same cells
  ASSERT_EQ(session.Load_CSVClick(), LoadOutcome::Loaded) << windows.messages.back();
  EXPECT_EQ(session.Table().ColCount(), 53);
  EXPECT_EQ(session.Table().CellText(2, 0), "RST-S");
  EXPECT_EQ(session.Table().CellText(2, 1), "5-9, Tom");
  EXPECT_EQ(Column(0), "SP1AA|DL1AB");
}

// Cells of every length around the 16-byte copies, the last cell of a row
// short and long, rows with and without quotes one after another.
TEST_F(TableExportTest, CellsOfAnyLengthAreWrittenWhole) {
  const std::vector<std::vector<std::string>> rows{
      {"CALL", "DXCC"},
      {std::string(15, 'a'), std::string(16, 'b'), std::string(17, 'c'), "", "d",
       std::string(200, 'e'), "fff"},
      {"q\"q", std::string(16, 'g')},
      {"hh", "", std::string(16, 'i')},
      {"", "", "", "", "", "", std::string(40, 'j')},
  };
  auto line = [&rows](size_t row, auto cellText) {
    std::string out;
    for (size_t col = 0; col < rows[row].size(); ++col) {
      if (col > 0) out += ',';
      out += cellText(rows[row][col]);
    }
    return out;
  };
  auto asRead = [](const std::string& cell) {
    return cell == "q\"q" ? std::string("\"q\"\"q\"") : cell;
  };
  Load({line(0, asRead), line(1, asRead), line(2, asRead), line(3, asRead), line(4, asRead)});
  windows.fileAnswers.push_back(dir.File("lengths.csv"));
  session.Save_CSVClick();

  auto asWritten = [](const std::string& cell) {
    return cell == "q\"q" ? "\"q\"\"q\"" : '"' + cell + '"';
  };
  std::string expected;
  for (size_t row = 0; row < rows.size(); ++row) {
    expected +=
        line(row, asWritten) + QuotedEmpties(53 - static_cast<int>(rows[row].size())) + "\r\n";
  }
  EXPECT_EQ(ReadFile(dir.File("lengths.csv")), expected);
}

TEST(CsvOutputName, ExportRuleLooksAtTheExtensionOfTheFileNameOnly) {
  struct Case {
    const char* chosen;
    const char* written;
  };
  for (Case c : {Case{"out", "out.CSV"}, Case{"out.csv", "out.csv"}, Case{"out.Csv", "out.Csv"},
                 Case{"out.txt", "out.txt.CSV"}, Case{"/home/op/v1.2/log", "/home/op/v1.2/log.CSV"},
                 Case{"/home/op/v1.2/log.csv", "/home/op/v1.2/log.csv"},
                 Case{"log.v2.csv", "log.v2.csv"}, Case{"log.csv.bak", "log.csv.bak.CSV"}}) {
    bool appended = false;
    EXPECT_EQ(CsvOutputName(c.chosen, CsvExtensionRule::AnyCase, &appended), c.written) << c.chosen;
    EXPECT_EQ(appended, std::string(c.chosen) != c.written);
  }
}

TEST_F(TableExportTest, AppendedNameOverAnExistingFileNeedsConsent) {
  Load({"CALL,DXCC", "SP1AA,269"});
  dir.Write("labels.CSV", "keep me");
  windows.fileAnswers.push_back(dir.File("labels"));
  windows.confirmAnswers.push_back(false);
  session.Save_CSVClick();
  ASSERT_EQ(windows.questions.size(), 1u);
  EXPECT_EQ(windows.questions[0], "Plik " + dir.File("labels.CSV") + " już istnieje. Zastąpić ?");
  EXPECT_EQ(ReadFile(dir.File("labels.CSV")), "keep me");

  windows.fileAnswers.push_back(dir.File("labels"));
  windows.confirmAnswers.push_back(true);
  session.Save_CSVClick();
  EXPECT_NE(ReadFile(dir.File("labels.CSV")), "keep me");
}

TEST_F(TableExportTest, FailedWriteKeepsThePreviousFileAndLeavesNoTemporary) {
  std::initializer_list<std::string> header{"CALL,DXCC"};
  Load(header);
  std::string text = "CALL,DXCC\r\n";
  for (int i = 0; i < 2000; ++i) text += "SP" + std::to_string(i) + ",269\r\n";
  windows.fileAnswers.push_back(dir.Write("big.csv", text));
  ASSERT_EQ(session.Load_CSVClick(), LoadOutcome::Loaded);
  std::string target = dir.Write("out.csv", "previous contents");

  windows.fileAnswers.push_back(target);
  std::string error;
  {
    // Call 1 creates the temporary file, call 2 writes to it.
    FailingIoCall failing(2);
    try {
      session.Save_CSVClick();
    } catch (const CommandError& e) {
      error = e.what();
    }
  }

  EXPECT_EQ(error, "Cannot write file " + target);
  EXPECT_EQ(ReadFile(target), "previous contents");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    ++files;
    EXPECT_EQ(entry.path().extension(), ".csv") << entry.path();
  }
  EXPECT_EQ(files, 3);  // log.csv, big.csv, out.csv
  EXPECT_FALSE(windows.busy);
}

}  // namespace
}  // namespace kartex::testing
