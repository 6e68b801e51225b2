// The ADIF reader on logs as real loggers write them, one habit per case,
// and on broken input.

#include "table/adif_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table/adif_parser.h"
#include "temp_dir.h"

namespace kartex::testing {
namespace {

// The stored cells of a row joined by "|".
std::string RowText(const LogTable& table, int row) {
  std::string text;
  const TableRow& cells = table.Row(row);
  for (int c = 0; c < cells.FieldCount(); ++c) {
    if (c > 0) text += '|';
    text += cells.Cell(c);
  }
  return text;
}

class AdifReaderTest : public ::testing::Test {
 protected:
  // Reads the bytes as an ADIF file into a table as the window creates it.
  AdifReadReport Read(const std::string& bytes) {
    return ReadAdifFile(table, dir.Write("log.adi", bytes));
  }

  // Every row of the table, one line each.
  std::string All() const {
    std::string text;
    for (int r = 0; r < table.RowCount(); ++r) text += RowText(table, r) + "\n";
    return text;
  }

  TempDir dir;
  LogTable table{2, 53, 1};
};

TEST_F(AdifReaderTest, FieldNamesInOrderOfFirstAppearanceOneRowPerRecord) {
  const AdifReadReport report = Read(
      "<CALL:5>SP1AA <QSO_DATE:8>20240101 <EOR>\r\n"
      "<QSO_DATE:8>20240102 <CALL:5>DL1AB <BAND:3>20M <EOR>\r\n"
      "<BAND:3>40M <EOR>\r\n");
  EXPECT_EQ(All(),
            "CALL|QSO_DATE|BAND\n"
            "SP1AA|20240101\n"
            "DL1AB|20240102|20M\n"
            "||40M\n");
  EXPECT_EQ(report.records, 3);
  EXPECT_EQ(report.recoveredValues, 0);
  EXPECT_EQ(table.ColCount(), 53) << "the table keeps the window's columns";
  EXPECT_EQ(table.FixedRows(), 1);
}

TEST_F(AdifReaderTest, ManyFieldNamesWidenTheTableAndItNeverShrinks) {
  std::string record;
  for (int k = 0; k < 60; ++k) record += "<F" + std::to_string(k) + ":1>x";
  Read(record + "<EOR>");
  EXPECT_EQ(table.ColCount(), 60);
  Read("<CALL:1>A<EOR>");
  EXPECT_EQ(table.ColCount(), 60);
  EXPECT_EQ(All(), "CALL\nA\n");
}

TEST_F(AdifReaderTest, FieldsOfNamesBeyondTheColumnLimitAreLeftOutAndCounted) {
  std::string record;
  for (size_t k = 0; k < AdifParser::kMaxColumns + 3; ++k)
    record += "<F" + std::to_string(k) + ":1>x";
  const AdifReadReport report = Read(record + "<EOR><F0:1>y<F1030:1>z<EOR>");
  EXPECT_EQ(table.ColCount(), static_cast<int>(AdifParser::kMaxColumns));
  EXPECT_EQ(table.CellText(static_cast<int>(AdifParser::kMaxColumns) - 1, 0), "F1023");
  EXPECT_EQ(RowText(table, 2), "y");
  EXPECT_EQ(report.fieldsLeftOut, 4);
}

TEST_F(AdifReaderTest, LengthsCountBytesOfUtf8AndTextBecomesWindows1250) {
  // Most loggers: "Łódź" is 7 bytes of UTF-8.
  const AdifReadReport report = Read("<CALL:5>SP1AA<QTH:7>Łódź<NAME:4>Jan <EOR>");
  EXPECT_EQ(RowText(table, 1),
            "SP1AA|\xA3\xF3"
            "d\x9F|Jan ");
  EXPECT_EQ(report.recoveredValues, 0);
  EXPECT_EQ(report.replacedCharacters, 0);
}

TEST_F(AdifReaderTest, LengthThatCountsCharactersReadsTheValueWhole) {
  // One logger counts characters: "Józef" is 5 of them, 6 bytes.
  const AdifReadReport report = Read("<NAME:5>Józef<CALL:5>SP1AA<EOR>");
  EXPECT_EQ(All(), "NAME|CALL\nJ\xF3zef|SP1AA\n");
  EXPECT_EQ(report.recoveredValues, 1);
}

TEST_F(AdifReaderTest, CommentsAfterValuesArePassedOver) {
  const AdifReadReport report = Read(
      "<CALL:5>SP1AA // worked on <20m>, see QSL\r\n"
      "<BAND:3>20M // short path <MODE:2>CW <EOR>\r\n");
  EXPECT_EQ(All(), "CALL|BAND|MODE\nSP1AA|20M|CW\n");
  EXPECT_EQ(report.recoveredValues, 0);
}

TEST_F(AdifReaderTest, FieldNamesInAnyLetterCaseAreOneColumn) {
  Read("<Call:5>SP1AA <QSO_Date:8>20240101 <EOR><call:5>DL1AB <qso_date:8>20240102 <EOR>");
  EXPECT_EQ(All(), "CALL|QSO_DATE\nSP1AA|20240101\nDL1AB|20240102\n");
}

TEST_F(AdifReaderTest, TypeMarksArePassedOverAndAppAndUserFieldsKept) {
  Read(
      "<CALL:5:S>SP1AA <QSO_DATE:8:D>20240101 <APP_LOGGER32_QSO_NUMBER:3:N>123 "
      "<MY_CLUB_NR:2>42 <EOR>");
  EXPECT_EQ(All(), "CALL|QSO_DATE|APP_LOGGER32_QSO_NUMBER|MY_CLUB_NR\nSP1AA|20240101|123|42\n");
}

TEST_F(AdifReaderTest, FreeTextAndHeaderFieldsBeforeEohAreNoRecord) {
  Read(
      "Log of SP1AA <exported> by some logger, 2 < 3\r\n"
      "<ADIF_VER:5>3.1.4 <PROGRAMID:6>LOGGER <USERDEF1:3:N>EPC\r\n"
      "<eoh>\r\n"
      "<CALL:5>SP1AA <EPC:4>1234 <EOR>\r\n");
  EXPECT_EQ(All(), "CALL|EPC\nSP1AA|1234\n");
}

TEST_F(AdifReaderTest, FileWithoutHeaderStartsWithItsFirstField) {
  const AdifReadReport report = Read("<CALL:5>SP1AA <EOR>\n<CALL:5>DL1AB <EOR>\n");
  EXPECT_EQ(All(), "CALL\nSP1AA\nDL1AB\n");
  EXPECT_EQ(report.records, 2);
}

TEST_F(AdifReaderTest, CharactersWindows1250CannotHoldBecomeQuestionMarksAndAreCounted) {
  const AdifReadReport report = Read("<NAME:14>Jürgen 山田 <EOR>");
  EXPECT_EQ(RowText(table, 1), "J\xFCrgen ??");
  EXPECT_EQ(report.replacedCharacters, 2);
}

TEST_F(AdifReaderTest, Utf8EncodedTwiceIsDecodedTwice) {
  // "Łódź" and "Świętokrzyskie" in UTF-8, their bytes taken for Windows-1252
  // characters and encoded again (one as UTF-8 taken for Windows-1250).
  const std::string lodz1252 = "\xC3\x85\xC2\x81\xC3\x83\xC2\xB3\x64\xC3\x85\xC2\xBA";
  const std::string sw1250 =
      "\xC4\xB9\xC5\xA1"
      "wi\xC3\x84\xE2\x84\xA2tokrzyskie";
  Read("<QTH:" + std::to_string(lodz1252.size()) + ">" + lodz1252 +
       "<STATE:" + std::to_string(sw1250.size()) + ">" + sw1250 + "<EOR>");
  EXPECT_EQ(RowText(table, 1),
            "\xA3\xF3"
            "d\x9F|\x8Cwi\xEAtokrzyskie");
}

TEST_F(AdifReaderTest, TextThatIsNoUtf8IsTakenAsWindows1250) {
  const AdifReadReport report = Read("<QTH:6>Krak\xF3w<NAME:5>\xA3ucja<EOR>");
  EXPECT_EQ(RowText(table, 1), "Krak\xF3w|\xA3ucja");
  EXPECT_EQ(report.recoveredValues, 0);
  EXPECT_EQ(report.replacedCharacters, 0);
}

TEST_F(AdifReaderTest, ControlBytesAreDroppedAndLineBreaksBecomeCrLf) {
  const AdifReadReport report =
      Read("<NAME:6>Jan\x01\x1B\x7F<COMMENT:19>one\ntwo\r\nthree\rfour<ADDRESS:4>a\tb\x0C<EOR>");
  EXPECT_EQ(RowText(table, 1), "Jan|one\r\ntwo\r\nthree\r\nfour|a\tb");
  EXPECT_EQ(report.recoveredValues, 2);
}

TEST_F(AdifReaderTest, BrokenLengthCostsOnlyItsOwnField) {
  // The length 3 takes in the "<" of the next tag.
  const AdifReadReport report =
      Read("<CALL:5>SP1AA <RST_SENT:3>1 <RST_RCVD:2>59 <NAME:3>Jan <EOR>");
  EXPECT_EQ(All(), "CALL|RST_SENT|RST_RCVD|NAME\nSP1AA|1|59|Jan\n");
  EXPECT_EQ(report.recoveredValues, 1);
}

TEST_F(AdifReaderTest, LengthTooShortReadsUpToTheNextField) {
  const AdifReadReport report = Read("<NAME:3>Janusz <CALL:5>SP1AA <EOR>");
  EXPECT_EQ(All(), "NAME|CALL\nJanusz|SP1AA\n");
  EXPECT_EQ(report.recoveredValues, 1);
}

TEST_F(AdifReaderTest, LengthThatWouldSwallowTheNextFieldIsNotTaken) {
  // 17 bytes reach exactly to a blank, but take in the BAND field.
  Read("<CALL:17>SP1AA <BAND:3>20M <MODE:2>CW <EOR>");
  EXPECT_EQ(All(), "CALL|BAND|MODE\nSP1AA|20M|CW\n");
}

TEST_F(AdifReaderTest, AValueMayHoldAnglesThatAreNoTag) {
  const AdifReadReport report = Read("<COMMENT:11><73> & <88><CALL:5>SP1AA<EOR>");
  EXPECT_EQ(All(), "COMMENT|CALL\n<73> & <88>|SP1AA\n");
  EXPECT_EQ(report.recoveredValues, 0);
}

TEST_F(AdifReaderTest, ANameGivenTwiceInARecordKeepsItsLastValue) {
  Read("<CALL:5>SP1AA <CALL:5>SP9ZZ <EOR>");
  EXPECT_EQ(All(), "CALL\nSP9ZZ\n");
}

TEST_F(AdifReaderTest, EmptyValuesAndEmptyRecordsStay) {
  Read("<CALL:0><BAND:3>20M<EOR><EOR><CALL:1>A<EOR>");
  EXPECT_EQ(All(), "CALL|BAND\n|20M\n\nA\n");
}

// Bad input: the reader ends or recovers with what it read.

TEST_F(AdifReaderTest, LoneAngleBracketIsText) {
  Read("<CALL:5>SP1AA < <BAND:3>20M <EOR> <");
  EXPECT_EQ(All(), "CALL|BAND\nSP1AA|20M\n");
}

TEST_F(AdifReaderTest, LengthOfTenDigitsRecoversTheValue) {
  const AdifReadReport report = Read("<CALL:9999999999>SP1AA <BAND:3>20M <EOR>");
  EXPECT_EQ(All(), "CALL|BAND\nSP1AA|20M\n");
  EXPECT_EQ(report.recoveredValues, 1);
}

TEST_F(AdifReaderTest, NegativeLengthRecoversTheValue) {
  const AdifReadReport report = Read("<CALL:-1>SP1AA\r\n<BAND:3>20M <EOR>");
  EXPECT_EQ(All(), "CALL|BAND\nSP1AA|20M\n");
  EXPECT_EQ(report.recoveredValues, 1);
}

TEST_F(AdifReaderTest, TagWithoutClosingBracketIsText) {
  Read("<CALL:5>SP1AA <BAND:3 <MODE:2>CW <EOR><CALL:5>DL1AB <EOR> <QSO_DATE:8");
  EXPECT_EQ(All(), "CALL|MODE\nSP1AA|CW\nDL1AB\n");
}

TEST_F(AdifReaderTest, FileEndingInsideAValueKeepsTheRecordsBeforeIt) {
  const AdifReadReport report = Read("<CALL:5>SP1AA <EOR>\r\n<CALL:5>DL1AB <NAME:20>Jo");
  EXPECT_EQ(All(), "CALL\nSP1AA\n");
  EXPECT_EQ(report.records, 1);
  EXPECT_TRUE(report.incompleteRecordLeftOut);
}

TEST_F(AdifReaderTest, FileWithoutAnyRecordLeavesAnEmptyHeaderRow) {
  const AdifReadReport report = Read("Header only\r\n<ADIF_VER:5>3.1.6\r\n<EOH>\r\n");
  EXPECT_EQ(report.records, 0);
  EXPECT_FALSE(report.incompleteRecordLeftOut);
  EXPECT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.FixedRows(), 0);
  EXPECT_EQ(RowText(table, 0), "");
}

TEST_F(AdifReaderTest, MissingFileFailsBeforeTheTableChanges) {
  table.SetCellText(0, 1, "kept");
  try {
    ReadAdifFile(table, dir.File("missing.adi"));
    FAIL() << "no error";
  } catch (const TableError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + dir.File("missing.adi"));
  }
  EXPECT_EQ(table.CellText(0, 1), "kept");
}

TEST(AdifDetectionTest, FirstNonBlankAngleOrAnEohTagMakesAFileAdif) {
  EXPECT_TRUE(LooksLikeAdif("<CALL:5>SP1AA<EOR>"));
  EXPECT_TRUE(LooksLikeAdif("\r\n \t<ADIF_VER:5>3.1.6<EOH>"));
  EXPECT_TRUE(LooksLikeAdif("\xEF\xBB\xBF<CALL:5>SP1AA"));
  EXPECT_TRUE(LooksLikeAdif("Exported by a logger\n<eOh>\n"));
  EXPECT_FALSE(LooksLikeAdif("CALL,DXCC\r\nSP1AA,269\r\n"));
  EXPECT_FALSE(LooksLikeAdif("\"CALL\",\"COMMENT\"\r\n\"SP1AA\",\"<EOH\"\r\n"));
  EXPECT_FALSE(LooksLikeAdif(""));
}

TEST(AdifDetectionTest, OnlyTheFirstMebibyteIsSearchedForEoh) {
  TempDir dir;
  const std::string text(kAdifDetectionBytes - 5, 'x');
  EXPECT_TRUE(IsAdifFile(dir.Write("near.adi", text + "<EOH>")));
  EXPECT_FALSE(IsAdifFile(dir.Write("far.adi", text + "x<EOH>")));
  EXPECT_THROW(IsAdifFile(dir.File("missing.adi")), TableError);
}

// The reader hands the file to the parser in chunks, and a large file to two
// parsers at once: the table must be what one parse of the whole text gives.

struct WholeParse {
  std::vector<std::string> rows;  // header first
  AdifReadReport report;
};

WholeParse ParseWhole(const std::string& text, size_t pieceSize = 0) {
  AdifParser parser(AdifParser::Start::kFileStart);
  if (pieceSize == 0) {
    parser.Parse(text.data(), text.size(), 0);
  } else {
    // Bytes handed over a few at a time, what the parser leaves given again.
    std::string pending;
    size_t next = 0;
    while (next < text.size() || !pending.empty()) {
      const size_t add = std::min(pieceSize, text.size() - next);
      pending.append(text, next, add);
      next += add;
      const size_t taken = parser.Parse(pending.data(), pending.size(), text.size() - next);
      pending.erase(0, taken);
      if (next == text.size()) break;
    }
  }
  parser.Finish();
  WholeParse whole;
  std::string header;
  for (size_t k = 0; k < parser.Names().size(); ++k) {
    if (k > 0) header += '|';
    header += parser.Names()[k];
  }
  whole.rows.push_back(header);
  for (const TableRow& row : parser.Rows()) {
    std::string line;
    for (int c = 0; c < row.FieldCount(); ++c) {
      if (c > 0) line += '|';
      line += row.Cell(c);
    }
    whole.rows.push_back(line);
  }
  whole.report = parser.Report();
  return whole;
}

// Habits and bad input of the cases above, back to back.
const std::string kTricky =
    "Free <text> before the header\r\n<ADIF_VER:5>3.1.4<EOH>\r\n"
    "<Call:5>SP1AA <NAME:5>Józef <QTH:7>Łódź // comment <with> angles\r\n"
    "<RST_SENT:3>1 <RST_RCVD:2>59 <COMMENT:11><73> & <88><EOR>\r\n"
    "<CALL:9999999999>DL1AB <band:3>20M <APP_X:-1>abc\r\n<EOR>"
    "<NAME:12>Jürgen 山田 <CALL:17>SP1AA <BAND:3>20M <EOR> < <CALL:3 <MODE:2>CW"
    "<COMMENT:17>one\ntwo\r\nthree\rfour<EOR><CALL:5>K1AA <NAME:30>cut";

TEST(AdifParserTest, ParsingInPiecesGivesWhatOneParseGives) {
  const WholeParse whole = ParseWhole(kTricky);
  ASSERT_EQ(whole.rows.size(), 5u);
  EXPECT_EQ(whole.report.records, 4);
  for (size_t piece : {1, 2, 3, 7, 64}) {
    SCOPED_TRACE(piece);
    const WholeParse pieces = ParseWhole(kTricky, piece);
    EXPECT_EQ(pieces.rows, whole.rows);
    EXPECT_EQ(pieces.report.recoveredValues, whole.report.recoveredValues);
    EXPECT_EQ(pieces.report.replacedCharacters, whole.report.replacedCharacters);
    EXPECT_EQ(pieces.report.incompleteRecordLeftOut, whole.report.incompleteRecordLeftOut);
  }
}

class AdifLargeFileTest : public AdifReaderTest {
 protected:
  void ExpectTableIsTheWholeParse(const std::string& text) {
    const WholeParse whole = ParseWhole(text);
    const AdifReadReport report = Read(text);
    ASSERT_EQ(table.RowCount(), static_cast<int>(whole.rows.size()));
    for (int r = 0; r < table.RowCount(); ++r) {
      ASSERT_EQ(RowText(table, r), whole.rows[static_cast<size_t>(r)]) << "row " << r;
    }
    EXPECT_EQ(report.records, whole.report.records);
    EXPECT_EQ(report.recoveredValues, whole.report.recoveredValues);
    EXPECT_EQ(report.replacedCharacters, whole.report.replacedCharacters);
  }
};

TEST_F(AdifLargeFileTest, HalvesWithFieldsInAnotherOrderAreMovedToTheirColumns) {
  // The second half meets NAME first and QTH, a new field, in between.
  std::string text = "Header<EOH>\r\n";
  int record = 0;
  while (text.size() < LogTable::kSplitReadBytes + (1 << 20)) {
    const std::string n = std::to_string(record++);
    if (text.size() < (LogTable::kSplitReadBytes + (1 << 20)) / 2 - 100000) {
      text +=
          "<CALL:" + std::to_string(n.size()) + ">" + n + " <BAND:3>20M <COMMENT:6>Józef<EOR>\r\n";
    } else {
      text += "<NAME:3>Jan <QTH:6>Kraków <CALL:" + std::to_string(n.size()) + ">" + n + "<EOR>\r\n";
    }
  }
  ExpectTableIsTheWholeParse(text);
  EXPECT_EQ(RowText(table, 0), "CALL|BAND|COMMENT|NAME|QTH");
}

TEST_F(AdifLargeFileTest, EorInsideAValueAtTheMiddleIsNoRecordBoundary) {
  // Every comment holds "<eor>"; the header's length is chosen so that the
  // first "<eor>" after the middle of the file is one of them.
  const std::string comment = "a note of the contact <eor> and more";
  const std::string record =
      "<CALL:5>SP1AA <COMMENT:" + std::to_string(comment.size()) + ">" + comment + "<EOR>\r\n";
  const size_t fake = record.find("<eor>");
  const size_t records = (LogTable::kSplitReadBytes + (1 << 20)) / record.size();
  std::string text;
  for (size_t pad = 0; pad < record.size(); ++pad) {
    const size_t header = pad + 7;  // the padding, "<EOH>\r\n"
    const size_t middle = (header + records * record.size()) / 2;
    const size_t inRecord = (middle - header) % record.size();
    if (inRecord <= fake) {
      text = std::string(pad, '.') + "<EOH>\r\n";
      break;
    }
  }
  ASSERT_FALSE(text.empty());
  for (size_t k = 0; k < records; ++k) text += record;
  ExpectTableIsTheWholeParse(text);
  EXPECT_EQ(table.RowCount(), static_cast<int>(records) + 1);
  EXPECT_EQ(RowText(table, 1), "SP1AA|" + comment);
}

TEST_F(AdifLargeFileTest, ValueLargerThanAChunkIsReadWhole) {
  const std::string big(3 << 20, 'x');
  ExpectTableIsTheWholeParse("<CALL:5>SP1AA <COMMENT:" + std::to_string(big.size()) + ">" + big +
                             "<EOR><CALL:5>DL1AB<EOR>");
  EXPECT_EQ(table.CellText(1, 1).size(), big.size());
  EXPECT_EQ(table.CellText(0, 2), "DL1AB");
}

}  // namespace
}  // namespace kartex::testing
