#include "country/text_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_error.h"
#include "country/country_test_support.h"

namespace kartex {
namespace {

using testing::ScratchDirectory;
using testing::WriteFile;

struct TextCase {
  std::string input;
  std::string expected;
};

TEST(TrimEnd, RemovesTrailingBlanksThenOneClosingColonOrSemicolon) {
  const std::vector<TextCase> cases = {
      {"AB ;", "AB "},                                          // the blank before the ";" stays
      {"AB::", "AB:"},                                          // only the last colon goes
      {"AB;;", "AB;"},   {"AB;  ", "AB"},                       // blanks first, then the ";"
      {"   ", ""},       {"", ""},         {"  AB  ", "  AB"},  // blanks at the start stay
      {":", ""},         {"AB\t", "AB\t"},                      // a tab is no blank
      {"AB: :", "AB: "},
  };
  for (const TextCase& c : cases) {
    std::string text = c.input;
    TrimEnd(text);
    EXPECT_EQ(text, c.expected) << "input [" << c.input << "]";
  }
}

TEST(UpperTrimmed, UpperCasesOnlyAsciiLettersAfterTrimming) {
  const std::vector<TextCase> cases = {
      {"Alfa Island:   ", "ALFA ISLAND"},
      {"Fed. Rep. of Germany:", "FED. REP. OF GERMANY"},
      {"\xA3\xF3"
       "dz:",
       "\xA3\xF3"
       "DZ"},  // Windows-1250 "Łódz": accented letters unchanged
      {"\xB3"
       "a",
       "\xB3"
       "A"},  // "ł" is not made "Ł"
      {"abc xyz{|}", "ABC XYZ{|}"},
      {"7  ", "7"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(UpperTrimmed(c.input), c.expected) << c.input;
}

TEST(NumberText, PadsOneAndTwoCharacterTextsOnly) {
  const std::vector<TextCase> cases = {
      {"7", "007"}, {"42", "042"}, {"123", "123"}, {"1234", "1234"},
      {"", ""},     {"A", "00A"},  {" 1", "0 1"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(NumberText(c.input), c.expected) << c.input;
}

TEST(RemoveBracketed, DeletesFirstParenthesisedThenFirstSquareBracketedPart) {
  const std::vector<TextCase> cases = {
      {"XB(5)", "XB"},       {"=XA1ZZ[7]", "=XA1ZZ"}, {"=XA1ZZ[7](5)", "=XA1ZZ"},  // both kinds go
      {"A(1)B(2)", "AB(2)"},  // only the first pair of a kind
      {"A)B(C", "A)B(C"},     // closing before opening: nothing removed
      {"A)(B)", "A)(B)"},     // first ")" stands before first "("
      {"A(1", "A(1"},        {"(1)[2]", ""},          {"K[3](4)X", "KX"},
  };
  for (const TextCase& c : cases) {
    std::string text = c.input;
    RemoveBracketed(text);
    EXPECT_EQ(text, c.expected) << c.input;
  }
}

// All tokens of one line, as the CTY.DAT reader takes them.
std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> tokens;
  int pos = 1;
  bool atEnd = false;
  std::string token;
  do {
    NextToken(line, pos, token, atEnd);
    tokens.push_back(token);
  } while (!atEnd && tokens.size() < 1000);
  return tokens;
}

TEST(NextToken, SplitsPrefixLinesAsTheReaderNeeds) {
  struct Case {
    std::string line;
    std::vector<std::string> tokens;
  };
  const std::vector<Case> cases = {
      {"    XA,XB(5),=XA1ZZ[7];", {"XA", "XB(5)", "=XA1ZZ[7]"}},
      {"    XA,B", {"XA"}},  // no closing "," or ";": the last char is never read
      {"    3B6,", {"3B6"}},
      {"    3B7;", {"3B7"}},
      {"    A,,B C,D;", {"A", ",B", "C", "D"}},  // after two commas: up to the next blank
      {"    A,,B;", {"A", ",B"}},                // ...or the whole rest, TrimEnd taking the ";"
      {"    ", {""}},                            // blanks only: one empty token
      {"    A, ;", {"A", ""}},                   // a lone ";" becomes an empty token
      {" K", {"K"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokens(c.line), c.tokens) << "[" << c.line << "]";
}

TEST(NextToken, StepsOverTheTokenAndOneCharacterAndFlagsTheEnd) {
  const std::string line = "    XA,XB;";
  int pos = 1;
  bool atEnd = true;
  std::string token;

  NextToken(line, pos, token, atEnd);
  EXPECT_EQ(token, "XA");
  EXPECT_EQ(pos, 8);  // past "XA" and its comma
  EXPECT_FALSE(atEnd);

  NextToken(line, pos, token, atEnd);
  EXPECT_EQ(token, "XB");
  EXPECT_EQ(pos, 12);  // the length is taken before TrimEnd takes the ";"
  EXPECT_TRUE(atEnd);
}

TEST(NextToken, LooksAtMostTwoHundredFiftyFiveCharactersAhead) {
  // Given 300 letters and a comma: the first token is cut at 255 characters,
  // and the one character after it is stepped over unread.
  const std::string line = "    " + std::string(300, 'A') + ",";
  const std::vector<std::string> tokens = Tokens(line);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0], std::string(255, 'A'));
  EXPECT_EQ(tokens[1], std::string(44, 'A'));
}

TEST(NextToken, NeverLoopsOnAPositionPastTheLine) {
  const std::string line = "  AB";
  int pos = 40;
  bool atEnd = false;
  std::string token = "x";
  NextToken(line, pos, token, atEnd);
  EXPECT_EQ(token, "");
  EXPECT_TRUE(atEnd);
}

std::vector<std::string> ReadAllLines(TextFile& file) {
  std::vector<std::string> lines;
  std::string line;
  while (file.ReadLine(line)) lines.push_back(line);
  return lines;
}

TEST(TextFile, GivesLinesWithoutTheirCrLfOrLfEnds) {
  ScratchDirectory dir;
  using namespace std::string_literals;
  ASSERT_TRUE(WriteFile("lines.txt", "a\r\nb\nc\rd\r\n\r\nnul\0byte\r\nlast\r"s));
  TextFile file;
  ASSERT_TRUE(file.Open("lines.txt"));
  const std::vector<std::string> expected = {"a", "b", "c\rd", "", "nul\0byte"s, "last"};
  EXPECT_EQ(ReadAllLines(file), expected);
  std::string line;
  EXPECT_FALSE(file.ReadLine(line));
}

TEST(TextFile, ReadsLongLinesAcrossItsBufferAndALastLineWithoutEnd) {
  ScratchDirectory dir;
  // A CR LF split over the 64 KiB read boundary, a line of 200,000
  // characters and a last line without a line end.
  std::string first(65535, 'x');
  std::string content = first + "\r\n" + std::string(200000, 'y') + "\nend";
  ASSERT_TRUE(WriteFile("long.txt", content));
  TextFile file;
  ASSERT_TRUE(file.Open("long.txt"));
  const std::vector<std::string> lines = ReadAllLines(file);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1], std::string(200000, 'y'));
  EXPECT_EQ(lines[2], "end");
}

TEST(TextFile, AnEmptyFileHasNoLines) {
  ScratchDirectory dir;
  ASSERT_TRUE(WriteFile("empty.txt", ""));
  TextFile file;
  ASSERT_TRUE(file.Open("empty.txt"));
  EXPECT_TRUE(ReadAllLines(file).empty());
}

TEST(OpenTextFile, UsesAtMostTheFirstThirtyCharactersOfTheName) {
  ScratchDirectory dir;
  const std::string thirty = "abcdefghijklmnopqrstuvwxyz.txt";
  ASSERT_EQ(thirty.size(), 30u);
  ASSERT_TRUE(WriteFile(thirty, "hello\r\n"));

  TextFile file;
  ASSERT_TRUE(OpenTextFile(file, thirty + "-ignored"));
  std::string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "hello");

  TextFile other;
  EXPECT_FALSE(OpenTextFile(other, "abcdefghijklmnopqrstuvwxyz.tx"));  // 29: another name
}

TEST(OpenTextFile, ReturnsFalseWithoutErrorForMissingFilesAndFolders) {
  ScratchDirectory dir;
  std::filesystem::create_directory("CTY.DAT");
  TextFile file;
  EXPECT_FALSE(OpenTextFile(file, "CTY.DAT"));
  EXPECT_FALSE(OpenTextFile(file, "NOFILE.TXT"));
  EXPECT_FALSE(file.IsOpen());
}

}  // namespace
}  // namespace kartex
