// The CSV reader: separator detection, field splitting, line reading and
// reading whole files into the log table.

#include "table/csv_field_splitter.h"
#include "table/csv_line_reader.h"
#include "table/csv_separator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "io_faults.h"
#include "reference_csv.h"
#include "table/log_table.h"
#include "table_test_support.h"
#include "temp_dir.h"

namespace kartex {
namespace {

using testing::Cat;
using testing::Recorder;
using testing::ReferenceSplit;
using testing::TempDir;

using namespace std::string_literals;
namespace fs = std::filesystem;

// ------------------------------------------------------------------ helpers

std::vector<std::string> Split(std::string_view line, char sep) {
  CsvFieldSplitter splitter;
  const int count = splitter.Split(line, sep);
  std::vector<std::string> fields;
  for (int k = 0; k < count; ++k) fields.emplace_back(splitter.Field(k));
  return fields;
}

std::vector<std::string> ReadLines(const std::string& file) {
  CsvLineReader reader(file);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(line)) lines.emplace_back(line);
  return lines;
}

// ------------------------------------------------------ separator detection

TEST(SeparatorCounts, RunsCountOnceWhenOddOrAtTheEnd) {
  struct Case {
    std::string line;
    char candidate;
    int64_t single;
    int64_t plain;
  };
  const std::vector<Case> cases = {
      {"a,b,c", ',', 2, 2},      {"a,,b", ',', 0, 2},  // a doubled separator counts as none
      {"a,,,b", ',', 1, 3},                            // odd run
      {"a,,b,,,c,,", ',', 2, 7},                       // even 0, odd 1, run reaching the end 1
      {"a;b,,", ',', 1, 2},                            // even run at the end still counts
      {",", ',', 1, 1},          {"", ',', 0, 0},         {"\t\tx\t", '\t', 1, 3},
      {"--a-b", '-', 1, 3},      {"a&b&&&c&", '&', 3, 5},
  };
  for (const Case& c : cases) {
    const SeparatorCounts counts = CountSeparators(c.line);
    const size_t k = kSeparatorCandidates.find(c.candidate);
    EXPECT_EQ(counts.single[k], c.single) << '"' << c.line << '"';
    EXPECT_EQ(counts.plain[k], c.plain) << '"' << c.line << '"';
  }
}

TEST(SeparatorDetection, ThreePassesOverTheCandidates) {
  struct Case {
    const char* what;
    std::string line1;
    std::string line2;
    char expected;
  };
  const std::vector<Case> cases = {
      {"comma export", "CALL,DXCC,QSL_VIA", "AA1A,291,BB2B", ','},
      {"semicolon export", "CALL;DXCC;QSL_VIA", "AA1A;291;BB2B", ';'},
      {"tab export", "CALL\tDXCC", "AA1A\t291", '\t'},
      {"equal counts: the earlier candidate wins", "a,b;c", "d;e,f", ','},
      {"the most frequent candidate equal in both lines", "a;b;c,d", "e;f;g,h", ';'},
      {"only one line", "a|b|c", "", '|'},
      // Single counts: ",," counts none, so "," occurs once in both lines
      // while "|" is seen only by pass 3.
      {"doubled separator counts none", "x,,y,z|||||", "x,y", ','},
      // Pass 2: single counts differ (0 and 2), plain counts agree (2 and 2);
      // pass 3 would have taken "#".
      {"plain counts agree", "a,,b###x", "a,b,c", ','},
      // Pass 1 with the odd-run rule picks "|" although "," is more frequent.
      {"odd run", "a|||b,c,d,e,f", "a|b,c", '|'},
      {"a date line: pass 3 takes the hyphen", "CALL", "2024-01-05", '-'},
      {"pass 3: the larger count of either line", "a+b+c", "d*e", '+'},
      {"no candidate", "CALL DXCC", "AA1A 291", 0},
      {"both lines empty", "", "", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectSeparator(c.line1, c.line2), c.expected) << c.what;
  }
}

TEST(SeparatorDetection, ExportLayoutIsReadWithTheCommaWhateverItsCellsHold) {
  struct Case {
    const char* what;
    std::string line1;
    std::string line2;
    char expected;
  };
  const std::vector<Case> cases = {
      // The counts alone: "," differs (1 and 2), "-" agrees (1 and 1).
      {"commas inside cells, hyphens equally often", R"("RST-S","NOTE")", R"("5-9, Tom","x")", ','},
      {"more semicolons than commas inside cells", R"("a;b;c;d","e")", R"("f;g;h;i","j")", ','},
      {"doubled quotes inside cells", R"("say ""a-b""","")", R"("""","-,")", ','},
      {"one line only", R"("a|b","c||d")", "", ','},
      {"one field in the second line", R"("a-b","c")", R"("d-e")", ','},
      // Anything else keeps the three passes (the comma counts differ in all).
      {"a single quoted field", R"("a-b")", R"("c-d")", '-'},
      {"an unquoted field", R"(x-y,"a")", R"("b,c-d","e")", '-'},
      {"text behind a closing quote", R"("a-b"x,"c")", R"("d-e","f,g")", '-'},
      {"an empty field", R"("a-b",)", R"("c-d","e,f")", '-'},
      {"an unquoted second line", R"("a-b","c")", "d-e,f,g", '-'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectSeparator(c.line1, c.line2), c.expected) << c.what;
  }
}

// ---------------------------------------------------------- field splitting

TEST(FieldSplitting, ExamplesWithComma) {
  struct Case {
    std::string line;
    std::vector<std::string> fields;
  };
  const std::vector<Case> cases = {
      {"ab,cd,ef", {"ab", "cd", "ef"}},
      {R"("ab,cd",ef)", {"ab,cd", "ef"}},
      {R"("say ""hi""",x)", {R"(say "hi")", "x"}},
      {"a,,b", {"a", "", "b"}},
      {"a,b,", {"a", "b"}},
      {R"(a,")", {"a", ""}},
      {R"(x,"a,b")", {"x", "a,b"}},
      {R"("ab"cd,e)", {"ab", "e"}},
      {R"("ab,cd)", {"", "cd"}},
      {R"(ab"cd)", {"abcd"}},
      // More of the quote rules.
      {"", {}},
      {",", {""}},
      {R"("")", {""}},
      {R"("a""b")", {R"(a"b)"}},
      {R"("a""",b)", {R"(a")", "b"}},
      {R"(""",x)", {"", "x"}},  // the doubled quote inside closes nothing
      {R"(" a , b ", c )", {" a , b ", " c "}},
      {R"(a""b,c)", {R"(a"b)", "c"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(c.line, ','), c.fields) << c.line;
}

TEST(FieldSplitting, ByteElevenBecomesCrLf) {
  EXPECT_EQ(Split("\"line 1\x0bline 2\",x~y", ','),
            (std::vector<std::string>{"line 1\r\nline 2", "x~y"}));
  EXPECT_EQ(Split("a\x0b,\x0b\x0b", ','), (std::vector<std::string>{"a\r\n", "\r\n\r\n"}));
}

TEST(FieldSplitting, WithoutSeparatorTheLineGoesWholeIntoColumnZero) {
  EXPECT_EQ(Split(R"("a,b;c")", 0), (std::vector<std::string>{"a,b;c"}));
  EXPECT_EQ(Split(R"(""x"")", 0), (std::vector<std::string>{R"(x)"}));
  // A NUL byte is no separator when the separator is 0.
  EXPECT_EQ(Split("a\0b"s, 0), (std::vector<std::string>{"a\0b"s}));
}

TEST(FieldSplitting, NulAndHighBytesAreOrdinary) {
  EXPECT_EQ(Split("\0,\xff\xfe,\"\0\""s, ','),
            (std::vector<std::string>{"\0"s, "\xff\xfe", "\0"s}));
}

TEST(FieldSplitting, MatchesTheRulesOnRandomLines) {
  // Long fields and long runs reach the block-wise paths; short ones the
  // byte-wise rules near the end of a line.
  std::mt19937 random(20240105);
  const std::string alphabet = "ab ,,;\"\"\"\x0b\0~"s;
  const std::vector<char> separators = {',', ';', 0, '"'};
  for (int i = 0; i < 20000; ++i) {
    std::string line;
    const int pieces = static_cast<int>(random() % 40);
    for (int p = 0; p < pieces; ++p) {
      const unsigned kind = random() % 4;
      if (kind == 0) {
        line += std::string(random() % 24, 'x');  // a long plain stretch
      } else if (kind == 1 && i % 3 != 0) {
        line += Cat({"\"", std::string(random() % 20, 'q'), "\","});  // a usual quoted field
      } else {
        line += alphabet[random() % alphabet.size()];
      }
    }
    if (i % 5 == 0) {
      // Lines without byte 11 take the fast paths.
      std::erase(line, '\x0b');
    }
    for (char sep : separators) {
      ASSERT_EQ(Split(line, sep), ReferenceSplit(line, sep))
          << "separator " << int(sep) << " line [" << line << "]";
    }
  }
}

// The scans look at 16 and 64 bytes at a time: a field, a quote or a line
// break mark that ends just before, on or just after a block's edge must
// split as the rules say, in the SIMD build and in the scalar one alike.
TEST(FieldSplitting, FieldsEndingAtTheEdgesOfABlockSplitByTheRules) {
  const std::string fillers[] = {"x", "\"q\"", "a\x0Bb", "\"a\"\"b\"", "\"\""};
  for (size_t edge : {15u, 16u, 17u, 63u, 64u, 65u}) {
    for (size_t lead = 0; lead < 4; ++lead) {
      for (const std::string& filler : fillers) {
        // The first field ends at byte edge - lead; the rest follow.
        const std::string first(edge > lead ? edge - lead : 1, 'A');
        const std::string line = first + "," + filler + "," + std::string(lead + 16, 'B') + ",z";
        for (const std::string& candidate : {line, "\"" + first + "\"," + filler + ",tail"}) {
          ASSERT_EQ(Split(candidate, ','), ReferenceSplit(candidate, ','))
              << "edge " << edge << " lead " << lead << " line [" << candidate << "]";
        }
      }
    }
  }
}

TEST(FieldSplitting, SplitterReusesItsBuffersAcrossLines) {
  CsvFieldSplitter splitter;
  ASSERT_EQ(splitter.Split(std::string(5000, 'x') + ",y", ','), 2);
  ASSERT_EQ(splitter.Split("\"a\",\"b\"", ','), 2);
  EXPECT_EQ(splitter.Field(0), "a");
  EXPECT_EQ(splitter.Field(1), "b");
  EXPECT_EQ(splitter.Text(), "ab");
  EXPECT_EQ(splitter.Split("", ','), 0);
  EXPECT_EQ(splitter.Text(), "");
}

TEST(FieldSplitting, ManySeparatorsInOneLineAreLinear) {
  // 100,000 separators: removing fields from the front of a string would
  // make this quadratic.
  std::string line;
  for (int i = 0; i < 100000; ++i) line += i % 2 ? "\"q\"," : "v,";
  line += "\"last";
  CsvFieldSplitter splitter;
  ASSERT_EQ(splitter.Split(line, ','), 100001);
  EXPECT_EQ(splitter.Field(0), "v");
  EXPECT_EQ(splitter.Field(1), "q");
  EXPECT_EQ(splitter.Field(100000), "last");
}

// ------------------------------------------------------------ line reading

TEST(LineReading, LineEnds) {
  TempDir dir;
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"LF", "a\nb\n", {"a", "b"}},
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"last line without line end", "a\r\nb", {"a", "b"}},
      {"lone CR is dropped", "a\rb\r\nc\r", {"ab", "c"}},
      {"CR CR LF", "a\r\r\nb", {"a", "b"}},
      {"empty lines", "a\n\n\r\nb", {"a", "", "", "b"}},
      {"only a line end", "\r\n", {""}},
      {"empty file", "", {}},
      {"Ctrl-Z after the last line", "a\r\nb\r\n\x1a", {"a", "b"}},
      {"Ctrl-Z ends the file", "a\n\x1a\nb\n", {"a"}},
      {"Ctrl-Z alone", "\x1a", {}},
      {"Ctrl-Z inside a line", "a\x1a\nb", {"a\x1a", "b"}},
      {"NUL bytes", "a\0b\n\0"s, {"a\0b"s, "\0"s}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadLines(dir.Write("lines.csv", c.bytes)), c.lines) << c.what;
  }
}

TEST(LineReading, LinesAcrossChunks) {
  TempDir dir;
  const size_t chunk = CsvLineReader::kChunkSize;
  // CR as the last byte of one chunk and LF as the first of the next;
  // Ctrl-Z at the start of the next chunk.
  const std::string first(chunk - 1, 'a');
  const std::string second(chunk - 2, 'b');
  std::string bytes = first + "\r\n" + second + "\n\x1a" + "rest";
  EXPECT_EQ(ReadLines(dir.Write("chunks.csv", bytes)), (std::vector<std::string>{first, second}));

  // A line longer than two chunks, without a line end.
  const std::string longLine = std::string(2 * chunk + 17, 'c') + "\rd";
  EXPECT_EQ(ReadLines(dir.Write("long.csv", "x\n" + longLine)),
            (std::vector<std::string>{"x", std::string(2 * chunk + 17, 'c') + "d"}));
}

TEST(LineReading, RewindStartsAgain) {
  TempDir dir;
  CsvLineReader reader(dir.Write("r.csv", "one\ntwo\nthree"));
  std::string_view line;
  ASSERT_TRUE(reader.Next(line));
  ASSERT_TRUE(reader.Next(line));
  reader.Rewind();
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line, "one");
}

TEST(LineReading, CannotOpen) {
  TempDir dir;
  for (const std::string& name : {dir.File("missing.csv"), dir.File("")}) {
    try {
      CsvLineReader reader(name);
      FAIL() << name << " opened";
    } catch (const TableError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + name);
    }
  }
}

// --------------------------------------------------------- ReadCsvFile

class ReadCsvFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) { return dir_.Write("log.csv", bytes); }
  std::vector<std::string> Row(int row) const {
    std::vector<std::string> cells;
    for (int c = 0; c < table_.ColCount(); ++c) cells.emplace_back(table_.CellText(c, row));
    while (!cells.empty() && cells.back().empty()) cells.pop_back();
    return cells;
  }

  TempDir dir_;
  LogTable table_;
};

TEST_F(ReadCsvFileTest, LoggerExportWithHeader) {
  table_.ReadCsvFile(Write("CALL,DXCC,QSL_VIA\r\nAA1A,291,BB2B\r\n\"SP5XYZ\",269,\r\n"));
  EXPECT_EQ(table_.RowCount(), 3);
  EXPECT_EQ(table_.ColCount(), 53);
  EXPECT_EQ(table_.FixedRows(), 1);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"CALL", "DXCC", "QSL_VIA"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"AA1A", "291", "BB2B"}));
  EXPECT_EQ(Row(2), (std::vector<std::string>{"SP5XYZ", "269"}));
  EXPECT_EQ(table_.FieldSeparator(), 0);  // detected for this file only
}

TEST_F(ReadCsvFileTest, SemicolonExport) {
  table_.ReadCsvFile(Write("CALL;DXCC;NAME\nDL1ABC;230;Hans, Jr.\n"));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"DL1ABC", "230", "Hans, Jr."}));
}

TEST_F(ReadCsvFileTest, DatesSplitAtHyphens) {
  table_.ReadCsvFile(Write("DATE\n2024-01-05\n2023-12-31\n"));
  EXPECT_EQ(Row(0), (std::vector<std::string>{"DATE"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"2024", "01", "05"}));
  EXPECT_EQ(Row(2), (std::vector<std::string>{"2023", "12", "31"}));
}

TEST_F(ReadCsvFileTest, NoCandidateKeepsEachLineWhole) {
  table_.ReadCsvFile(Write("\"CALL DXCC\"\n\"AA1A 291\"\nx,y\n"));
  EXPECT_EQ(Row(0), (std::vector<std::string>{"CALL DXCC"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"AA1A 291"}));
  EXPECT_EQ(Row(2), (std::vector<std::string>{"x,y"}));
}

TEST_F(ReadCsvFileTest, DoubledQuoteInHeader) {
  table_.ReadCsvFile(Write("\"CALL\",\"the \"\"NAME\"\"\"\r\nA,B\r\n"));
  EXPECT_EQ(Row(0), (std::vector<std::string>{"CALL", "the \"NAME\""}));
}

TEST_F(ReadCsvFileTest, SetSeparatorIsUsedAndKept) {
  table_.SetFieldSeparator(';');
  table_.ReadCsvFile(Write("a,b;c\nd;e,f\n"));
  EXPECT_EQ(Row(0), (std::vector<std::string>{"a,b", "c"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"d", "e,f"}));
  EXPECT_EQ(table_.FieldSeparator(), ';');
}

TEST_F(ReadCsvFileTest, RowCountIsTheNumberOfLines) {
  std::string bytes = "CALL,DXCC\r\n";
  for (int i = 1; i < 2500; ++i) bytes += Cat({"K", std::to_string(i), ",291\r\n"});
  table_.ReadCsvFile(Write(bytes));
  EXPECT_EQ(table_.RowCount(), 2500);
  EXPECT_EQ(table_.CellText(0, 2499), "K2499");
  EXPECT_EQ(table_.RowHeight(2499), 20);
}

TEST_F(ReadCsvFileTest, HeaderOnlyAndEmptyFileLeaveOneRowAndNoFixedRow) {
  table_.ReadCsvFile(Write("CALL,DXCC\r\n"));
  EXPECT_EQ(table_.RowCount(), 1);
  EXPECT_EQ(table_.FixedRows(), 0);
  EXPECT_EQ(table_.CellText(1, 0), "DXCC");

  LogTable other;
  other.SetCellText(3, 0, "kept");
  other.ReadCsvFile(Write(""));
  EXPECT_EQ(other.RowCount(), 1);
  EXPECT_EQ(other.FixedRows(), 0);
  EXPECT_EQ(other.ColCount(), 53);
  EXPECT_EQ(other.CellText(3, 0), "kept");  // no cell written
}

TEST_F(ReadCsvFileTest, ColumnCountGrowsAndNeverShrinks) {
  std::string wide;
  for (int i = 0; i < 60; ++i) wide += Cat({i ? "," : "", std::to_string(i)});
  table_.ReadCsvFile(Write(wide + "\n1,2\n"));
  EXPECT_EQ(table_.ColCount(), 60);
  EXPECT_EQ(table_.CellText(59, 0), "59");

  table_.ClearCells();
  std::string narrow;
  for (int i = 0; i < 20; ++i) narrow += Cat({i ? "," : "", std::to_string(i)});
  table_.ReadCsvFile(Write(narrow + "\n" + narrow + "\n"));
  EXPECT_EQ(table_.ColCount(), 60);
  EXPECT_EQ(table_.CellText(19, 1), "19");
  EXPECT_EQ(table_.CellText(20, 1), "");
  EXPECT_EQ(table_.CellText(59, 0), "");
}

TEST_F(ReadCsvFileTest, EmptyFieldAtTheEndStillWidensTheTable) {
  LogTable narrow(2, 2, 1);
  narrow.ReadCsvFile(Write("a,b,\"\"\n"));
  EXPECT_EQ(narrow.ColCount(), 3);
  narrow.ReadCsvFile(Write("a,b,c,\n"));  // a separator at the end adds no column
  EXPECT_EQ(narrow.ColCount(), 3);
}

TEST_F(ReadCsvFileTest, CellsTheReadDoesNotWriteKeepTheirTexts) {
  table_.SetRowCount(4);
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) table_.SetCellText(c, r, "old" + std::to_string(c));
  }
  table_.ReadCsvFile(Write("a,b\n\nc,\"\"\n"));
  EXPECT_EQ(table_.RowCount(), 3);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"a", "b", "old2", "old3"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"old0", "old1", "old2", "old3"}));  // empty line
  EXPECT_EQ(Row(2), (std::vector<std::string>{"c", "", "old2", "old3"}));         // "" is written
}

TEST_F(ReadCsvFileTest, LineBreakMarkAndCtrlZ) {
  table_.ReadCsvFile(Write("NOTE,X\r\n\"first\x0bsecond\",a~b\r\n\x1a"));
  EXPECT_EQ(table_.RowCount(), 2);
  EXPECT_EQ(table_.CellText(0, 1), "first\r\nsecond");
  EXPECT_EQ(table_.CellText(1, 1), "a~b");
}

TEST_F(ReadCsvFileTest, BinaryBytesAreKept) {
  std::string garbage;
  for (int b = 0; b < 256; ++b) {
    if (b != '\n' && b != '\r' && b != ',' && b != '"' && b != 11) garbage += static_cast<char>(b);
  }
  table_.ReadCsvFile(Write("A,B\n" + garbage + "," + garbage + "\n"));
  EXPECT_EQ(table_.CellText(0, 1), garbage);
  EXPECT_EQ(table_.CellText(1, 1), garbage);
}

TEST_F(ReadCsvFileTest, MatchesTheRulesOnRandomFiles) {
  // Separator candidates, quotes, line ends, byte 11 and byte 26 in every
  // place of small files: the table is what the plain rules give.
  std::mt19937 random(20240611);
  const std::string alphabet = "ab ,,;;-#\t|\"\"\"\r\n\n\x0b\x1a"s;
  for (int i = 0; i < 3000; ++i) {
    std::string bytes;
    for (size_t n = random() % 60; n > 0; --n) bytes += alphabet[random() % alphabet.size()];
    LogTable table;
    table.ReadCsvFile(Write(bytes));
    const testing::ReferenceTable expected = testing::ReferenceRead(bytes, 2, 53, 1);
    ASSERT_EQ(table.RowCount(), static_cast<int>(expected.cells.size())) << "[" << bytes << "]";
    ASSERT_EQ(table.ColCount(), expected.colCount) << "[" << bytes << "]";
    ASSERT_EQ(table.FixedRows(), expected.fixedRows) << "[" << bytes << "]";
    for (int r = 0; r < table.RowCount(); ++r) {
      for (int c = 0; c < table.ColCount(); ++c) {
        ASSERT_EQ(table.CellText(c, r),
                  expected.cells[static_cast<size_t>(r)][static_cast<size_t>(c)])
            << "cell (" << c << ", " << r << ") of [" << bytes << "]";
      }
    }
  }
}

TEST_F(ReadCsvFileTest, CannotOpenLeavesTableAndObserverUntouched) {
  Recorder recorder;
  table_.SetCellText(0, 1, "kept");
  table_.SetObserver(&recorder);
  for (const std::string& name : {dir_.File("missing.csv"), dir_.File("")}) {
    try {
      table_.ReadCsvFile(name);
      FAIL() << "read " << name;
    } catch (const TableError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + name);
    }
  }
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_EQ(table_.RowCount(), 2);
  EXPECT_EQ(table_.CellText(0, 1), "kept");
}

TEST_F(ReadCsvFileTest, ObserverSeesOnePairAroundTheRead) {
  Recorder recorder;
  table_.SetObserver(&recorder);
  std::string bytes;
  for (int i = 0; i < 1500; ++i) bytes += "a,b\n";
  table_.ReadCsvFile(Write(bytes));  // grows the table during the read
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"about", "changed"}));
}

TEST_F(ReadCsvFileTest, VeryLongLineWithManySeparators) {
  // Several chunks long, 100,000 separators, one quoted field across a
  // chunk boundary.
  std::string line;
  for (int i = 0; i < 50000; ++i) line += "f,";
  const std::string big(3 * CsvLineReader::kChunkSize, 'z');
  line += "\"" + big + "\",";
  for (int i = 0; i < 49999; ++i) line += "\"g\",";
  line += "end";
  table_.ReadCsvFile(Write("h\r\n" + line + "\r\n"));
  EXPECT_EQ(table_.RowCount(), 2);
  EXPECT_EQ(table_.ColCount(), 100001);
  EXPECT_EQ(table_.CellText(0, 1), "f");
  EXPECT_EQ(table_.CellText(50000, 1), big);
  EXPECT_EQ(table_.CellText(50001, 1), "g");
  EXPECT_EQ(table_.CellText(100000, 1), "end");
}

// Long lines (a chunk or more) are split over their own buffer, byte by
// byte, and that buffer becomes the row. Their cells must be those of the
// splitter's usual way (block copies for a line without byte 11, a buffer of
// its own for one with it), with quotes, byte 11 (which lengthens the text),
// lone CR bytes and fields across chunk boundaries.
TEST_F(ReadCsvFileTest, LongLinesSplitOverTheirOwnBufferMatchTheUsualSplit) {
  std::mt19937 random(20261209);
  const std::string alphabet = "ab ,,;\"\"\"\x0b\r~"s;
  for (int variant = 0; variant < 4; ++variant) {
    std::string line;
    while (line.size() < CsvLineReader::kLongLine + 100000 + 5000 * static_cast<size_t>(variant)) {
      switch (random() % 5) {
        case 0:
          line += std::string(random() % 40, 'x');
          break;
        case 1:
          line += Cat({"\"", std::string(random() % 20, 'q'), "\","});
          break;
        case 2:
          line += "\"say \"\"hi\"\"\x0bnext\",";
          break;
        default:
          line += alphabet[random() % alphabet.size()];
          break;
      }
    }
    if (variant % 2 == 1) std::erase(line, '\x0b');
    // One field of several chunks at the end.
    const std::string big(2 * CsvLineReader::kChunkSize, 'z');
    if (variant >= 2) line += ",\"" + big + "\"";
    const std::string after = "\"K1\",\"x\x0by\"";
    LogTable table;
    table.SetFieldSeparator(',');
    table.ReadCsvFile(Write("CALL,NOTE\r\n" + line + "\r\n" + after + "\n"));
    ASSERT_EQ(table.RowCount(), 3) << variant;

    std::string withoutCr = line;
    std::erase(withoutCr, '\r');
    std::vector<std::string> expected = Split(withoutCr, ',');
    ASSERT_GT(expected.size(), 10000u);
    if (variant >= 2) {
      EXPECT_EQ(expected.back(), big);
    }
    const size_t fields = expected.size();
    while (!expected.empty() && expected.back().empty()) expected.pop_back();
    ASSERT_EQ(table.Row(1).FieldCount(), static_cast<int>(expected.size())) << variant;
    EXPECT_GE(table.ColCount(), static_cast<int>(fields));
    int mismatches = 0;
    for (size_t k = 0; k < expected.size(); ++k) {
      if (table.CellText(static_cast<int>(k), 1) != expected[k] && ++mismatches <= 3) {
        ADD_FAILURE() << "variant " << variant << " cell " << k;
      }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(table.CellText(0, 2), "K1");
    EXPECT_EQ(table.CellText(1, 2), "x\r\ny");
    EXPECT_EQ(table.CellText(2, 2), "");
    EXPECT_EQ(table.CellText(1, 0), "NOTE");
  }
}

TEST_F(ReadCsvFileTest, ALogOfOneHugeQuotedFieldIsReadWhole) {
  // A file that is one line and one field: no separator candidate, so the
  // line goes whole into column 0, less its quotes.
  const std::string big =
      "a\"\"b" + std::string(3 * CsvLineReader::kChunkSize, 'x') + "\x0b" + "end";
  table_.ReadCsvFile(Write("\"" + big + "\""));
  ASSERT_EQ(table_.RowCount(), 1);
  EXPECT_EQ(table_.ColCount(), 53);
  // The doubled quote reads as one, byte 11 as CR LF.
  const std::string expected = "a\"b" + std::string(3 * CsvLineReader::kChunkSize, 'x') + "\r\nend";
  EXPECT_EQ(table_.CellText(0, 0), expected);
  EXPECT_EQ(table_.Row(0).FieldCount(), 1);
  EXPECT_EQ(table_.Row(0).HeapBytes(), 1 + 4 * 2 + expected.size());
}

TEST_F(ReadCsvFileTest, ALongLineThatStartsWithLineBreakMarksGrowsIntoItsCells) {
  // Every byte 11 becomes two bytes before anything has shortened the text,
  // so the cells are longer than the bytes they came from.
  const std::string marks(1000, '\x0b');
  const std::string tail(2 * CsvLineReader::kChunkSize, 'y');
  table_.SetFieldSeparator(',');
  table_.ReadCsvFile(Write("h\n" + marks + "x" + tail + ",\x0b\x0bz,\"q\x0b\"\n"));
  ASSERT_EQ(table_.RowCount(), 2);
  std::string breaks;
  for (int i = 0; i < 1000; ++i) breaks += "\r\n";
  EXPECT_EQ(table_.CellText(0, 1), breaks + "x" + tail);
  EXPECT_EQ(table_.CellText(1, 1), "\r\n\r\nz");
  EXPECT_EQ(table_.CellText(2, 1), "q\r\n");
}

TEST_F(ReadCsvFileTest, ALongLineRowCanBeEditedAndCopied) {
  // The row that took over the line's buffer is an ordinary row afterwards.
  std::string line;
  for (int i = 0; i < 200000; ++i) line += "\"c" + std::to_string(i) + "\",";
  line += "\"last\"";
  table_.ReadCsvFile(Write("h\n" + line));
  ASSERT_EQ(table_.RowCount(), 2);
  EXPECT_EQ(table_.ColCount(), 200001);
  EXPECT_EQ(table_.CellText(199999, 1), "c199999");
  table_.SetCellText(5, 1, "edited");
  table_.CopyRow(1, 0);
  EXPECT_EQ(table_.CellText(5, 0), "edited");
  EXPECT_EQ(table_.CellText(6, 0), "c6");
  EXPECT_EQ(table_.CellText(200000, 0), "last");
  table_.DeleteRows(1, 1);
  EXPECT_EQ(table_.CellText(200000, 0), "last");
}

TEST_F(ReadCsvFileTest, LargeLogRowsStayUsableAfterTheRead) {
  // Enough rows that the reader takes their buffers from its large blocks.
  std::string bytes = "\"CALL\",\"DXCC\",\"NOTE\"\r\n";
  for (int i = 1; i < 20000; ++i) {
    bytes += "\"K" + std::to_string(i) + "\",\"" + std::to_string(i % 340) + "\",\"" +
             std::string(static_cast<size_t>(i % 40), 'n') + "\"\r\n";
  }
  table_.ReadCsvFile(Write(bytes));
  ASSERT_EQ(table_.RowCount(), 20000);
  EXPECT_EQ(table_.CellText(0, 19999), "K19999");
  EXPECT_EQ(table_.CellText(2, 19999), std::string(19999 % 40, 'n'));

  // Copies, edits, moves and removals of those rows.
  table_.CopyRow(19999, 1);
  table_.SetCellText(1, 2, "edited");
  LogTable::HeldRow taken = table_.TakeRow(3);
  EXPECT_EQ(taken.cells.Cell(0), "K3");
  table_.PutRow(4, std::move(taken));
  table_.DeleteRows(5, 10000);
  EXPECT_EQ(table_.RowCount(), 10000);
  EXPECT_EQ(table_.CellText(0, 1), "K19999");
  EXPECT_EQ(table_.CellText(1, 2), "edited");
  EXPECT_EQ(table_.CellText(0, 3), "");
  EXPECT_EQ(table_.CellText(0, 4), "K3");
  EXPECT_EQ(table_.CellText(0, 5), "K10005");
  table_.ClearCells();
  EXPECT_TRUE(table_.RowIsEmpty(5));
}

// A log big enough to be read in two halves: lines of every kind (quoted
// fields with doubled quotes, CR LF and LF ends, empty lines), with the
// cells each line should give.
struct LargeLog {
  std::string bytes;
  std::vector<std::vector<std::string>> rows;  // empty for an empty line
};

LargeLog MakeLargeLog(size_t endMarkAtLine = SIZE_MAX) {
  LargeLog log;
  for (size_t i = 0; log.bytes.size() < LogTable::kSplitReadBytes + 4096; ++i) {
    if (i == endMarkAtLine) log.bytes += '\x1a';
    const std::string call = "K" + std::to_string(i);
    const std::string note(i % 37, static_cast<char>('a' + i % 26));
    if (i % 1000 == 999) {
      log.bytes += "\r\n";
      log.rows.emplace_back();
    } else if (i % 3 == 0) {
      log.bytes +=
          Cat({"\"", call, "\",\"", std::to_string(i % 400), "\",\"say \"\"", note, "\"\"\"\r\n"});
      log.rows.push_back({call, std::to_string(i % 400), "say \"" + note + "\""});
    } else {
      log.bytes += Cat({call, ",", std::to_string(i % 400), ",", note, "\n"});
      log.rows.push_back({call, std::to_string(i % 400), note});
    }
  }
  return log;
}

TEST_F(ReadCsvFileTest, ALargeFileReadInHalvesGivesEveryLineInOrder) {
  const LargeLog log = MakeLargeLog();
  const int lines = static_cast<int>(log.rows.size());
  // Cells the lines do not write keep their texts, in both halves.
  table_.SetRowCount(lines);
  for (int r = 0; r < lines; ++r) table_.SetCellText(4, r, "old");
  table_.ReadCsvFile(Write(log.bytes));

  ASSERT_EQ(table_.RowCount(), lines);
  int mismatches = 0;
  for (int r = 0; r < lines; ++r) {
    std::vector<std::string> expected = log.rows[static_cast<size_t>(r)];
    expected.resize(5);
    expected[4] = "old";
    if (Row(r) != expected && ++mismatches <= 3) ADD_FAILURE() << "line " << r;
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(ReadCsvFileTest, AByteTwentySixEndsALargeFileInEitherHalf) {
  for (double share : {0.25, 0.75}) {
    const size_t lineCount = MakeLargeLog().rows.size();
    const auto mark = static_cast<size_t>(share * static_cast<double>(lineCount));
    LogTable table;
    table.ReadCsvFile(Write(MakeLargeLog(mark).bytes));
    EXPECT_EQ(table.RowCount(), static_cast<int>(mark)) << share;
    EXPECT_EQ(table.CellText(0, static_cast<int>(mark) - 1), "K" + std::to_string(mark - 1))
        << share;
  }
}

TEST_F(ReadCsvFileTest, AnInputErrorIsReportedNotTakenForTheEnd) {
  const std::string path = Write("CALL,DXCC\r\nSP1AA,269\r\n");
  // Call 1 opens the file; call 2 is its first read.
  testing::FailingIoCall failing(2);
  try {
    table_.ReadCsvFile(path);
    FAIL() << "read reported as success";
  } catch (const TableError& error) {
    EXPECT_STREQ(error.what(), ("Cannot read file " + path).c_str());
  }
  EXPECT_TRUE(failing.Fired());
}

}  // namespace
}  // namespace kartex
