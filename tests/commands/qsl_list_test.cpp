#include <gtest/gtest.h>

#include "io_faults.h"
#include "session_fixture.h"

namespace kartex::testing {
namespace {

using QslListTest = SessionTest;

const std::string kHeading = "Lista manager\xF3w:";

TEST_F(QslListTest, SkipsEmptyDirectAndDuplicates) {
  Load({"CALL,DXCC,QSL_VIA", "A,1,EA5XX", "B,1,direct", "C,1,", "D,1,DIRECT ONLY", "E,1,DiReCt",
        "F,1,viaDIRECT", "G,1,EA5XX", "H,1,ea5xx", "I,1,DIREC", "J,1,Lista manager\xF3w:"});
  std::vector<std::string> expected{kHeading, "EA5XX", "viaDIRECT", "ea5xx", "DIREC"};
  EXPECT_EQ(session.Controls().listBox1, expected);
}

TEST_F(QslListTest, OnlyDirectGivesTheHeadingAlone) {
  Load({"CALL,DXCC,QSL_VIA", "A,1,DIRECT", "B,1,"});
  EXPECT_EQ(session.Controls().listBox1, std::vector<std::string>{kHeading});
  windows.fileAnswers.push_back(dir.File("QSL_VIA.TXT"));
  session.QSL_VIAClick();
  EXPECT_EQ(ReadFile(dir.File("QSL_VIA.TXT")), kHeading + "\r\n");
  EXPECT_EQ(windows.dialogs.back().name, "SD2");
  EXPECT_EQ(windows.dialogs.back().defaultName, "QSL_VIA.TXT");
}

TEST_F(QslListTest, SavedFileHoldsEveryLineWithCrLf) {
  Load({"CALL,DXCC,QSL_VIA", "A,1,EA5XX", "B,1,W3HNK"});
  windows.fileAnswers.push_back(dir.File("managers"));
  session.QSL_VIAClick();
  EXPECT_EQ(ReadFile(dir.File("managers")), kHeading + "\r\nEA5XX\r\nW3HNK\r\n");
}

TEST_F(QslListTest, LogWithoutTheColumnEmptiesAndDisables) {
  Load({"CALL,DXCC,QSL_VIA", "A,1,EA5XX"});
  ASSERT_TRUE(session.Controls().qslViaEnabled);
  Load({"CALL,DXCC", "A,1"}, "other.csv");
  EXPECT_FALSE(session.Controls().qslViaEnabled);
  EXPECT_TRUE(session.Controls().listBox1.empty());
}

TEST_F(QslListTest, UncreatableFileReportsTheError) {
  Load({"CALL,DXCC,QSL_VIA", "A,1,EA5XX"});
  std::string path = dir.File("no/such/folder/QSL_VIA.TXT");
  windows.fileAnswers.push_back(path);
  try {
    session.QSL_VIAClick();
    FAIL() << "no error";
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
  }
  EXPECT_FALSE(windows.busy);
}

TEST_F(QslListTest, FullDiskIsAFailureNotASuccess) {
  Load({"CALL,DXCC,QSL_VIA", "A,1,EA5XX"});
  windows.fileAnswers.push_back(dir.File("QSL_VIA.TXT"));
  FailingIoCall failingWrite(2);  // after the temporary file is created
  EXPECT_THROW(session.QSL_VIAClick(), CommandError);
  EXPECT_TRUE(failingWrite.Fired());
  EXPECT_FALSE(std::filesystem::exists(dir.File("QSL_VIA.TXT")));
}

}  // namespace
}  // namespace kartex::testing
