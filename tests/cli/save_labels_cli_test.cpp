// kartex-cli's save-labels as a script runs it: the PDF of the demo log on
// the sheets named in the issue, usage errors before any action, the
// messages of an unknown sheet, of no data row and of a file that cannot be
// created; a build without Qt says the action is not there.

#include <gtest/gtest.h>

#include <filesystem>

#include "child_process.h"
#include "temp_dir.h"

namespace kartex::testing {
namespace {

class SaveLabelsCliTest : public ::testing::Test {
 protected:
  SaveLabelsCliTest() {
    std::filesystem::copy_file(KARTEX_DEMO_DIR "/LOG_DEMO.csv", dir.File("LOG_DEMO.csv"));
  }
  ChildRun Cli(const std::vector<std::string>& args) {
    return RunChild(KARTEX_CLI, args, dir.Path().string());
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(dir.File(name)); }
  TempDir dir;
};

TEST_F(SaveLabelsCliTest, BadOptionsAreUsageErrorsBeforeAnyActionRuns) {
  for (const std::vector<std::string>& options :
       std::vector<std::vector<std::string>>{{"--per-label", "0"},
                                             {"--per-label", "11"},
                                             {"--per-label", "four"},
                                             {"--start", "0"},
                                             {"--start"},
                                             {"--sheet"}}) {
    std::vector<std::string> args = {"open",    "LOG_DEMO.csv", "save-csv",
                                     "out.csv", "save-labels",  "l.pdf"};
    args.insert(args.end(), options.begin(), options.end());
    const ChildRun run = Cli(args);
    EXPECT_EQ(run.status, 2) << options[0];
    EXPECT_NE(run.err.find("usage: kartex-cli"), std::string::npos);
    EXPECT_FALSE(Exists("out.csv"));
  }
}

#if KARTEX_DRAWS_LABELS

TEST_F(SaveLabelsCliTest, TheDemoLogUnderTwoAndSortedOnBothSheets) {
  const ChildRun run = Cli({"open", "LOG_DEMO.csv", "qso", "2", "click", "4", "save-labels",
                            "avery.pdf", "save-labels", "zweckform.pdf", "--sheet",
                            "Zweckform 3475", "--start", "3", "--per-label", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  // Nothing but the program's own messages on standard error.
  EXPECT_EQ(run.err, "");
  for (const char* pdf : {"avery.pdf", "zweckform.pdf"}) {
    const ChildRun text =
        RunChild("/usr/bin/pdftotext", {"-layout", pdf, "-"}, dir.Path().string());
    ASSERT_EQ(text.status, 0) << pdf;
    // The stations worked twice, sorted by CALL: JA1QZX comes first.
    const size_t first = text.out.find("To Radio: ");
    ASSERT_NE(first, std::string::npos) << pdf;
    EXPECT_EQ(text.out.substr(first, 16), "To Radio: JA1QZX") << pdf;
    EXPECT_NE(text.out.find("2023-02-11"), std::string::npos) << pdf;
  }
  const ChildRun info = RunChild("/usr/bin/pdfinfo", {"zweckform.pdf"}, dir.Path().string());
  EXPECT_NE(info.out.find("595 x 842 pts (A4)"), std::string::npos) << info.out;
}

TEST_F(SaveLabelsCliTest, AStartBeyondTheSheetIsBadUsage) {
  for (const std::vector<std::string>& options :
       std::vector<std::vector<std::string>>{{"--start", "22"},
                                             {"--sheet", "card", "--start", "2"},
                                             {"--sheet", "zweckform 3475", "--start", "25"}}) {
    std::vector<std::string> args = {"open",    "LOG_DEMO.csv", "save-csv",
                                     "out.csv", "save-labels",  "l.pdf"};
    args.insert(args.end(), options.begin(), options.end());
    const ChildRun run = Cli(args);
    EXPECT_EQ(run.status, 2) << options[1];
    EXPECT_NE(run.err.find("save-labels: the start label must be 1 to "), std::string::npos)
        << run.err;
    EXPECT_FALSE(Exists("out.csv"));
  }
  // The last label of the sheet is a start.
  EXPECT_EQ(Cli({"open", "LOG_DEMO.csv", "save-labels", "l.pdf", "--start", "21"}).status, 0);
}

TEST_F(SaveLabelsCliTest, AnUnknownSheetEndsTheRunWithItsMessage) {
  const ChildRun run = Cli({"open", "LOG_DEMO.csv", "save-csv", "out.csv", "save-labels", "l.pdf",
                            "--sheet", "Avery L9999", "info"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "KARTEX: Nieznany arkusz etykiet: Avery L9999\n");
  EXPECT_TRUE(Exists("out.csv"));  // the actions before it ran
  EXPECT_FALSE(Exists("l.pdf"));
  EXPECT_EQ(run.out, "");  // the one after it did not
}

TEST_F(SaveLabelsCliTest, NoDataRowIsSaidAndNothingWritten) {
  const ChildRun run =
      Cli({"open", "LOG_DEMO.csv", "qso", "9", "save-labels", "l.pdf", "--sheet", "card"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "KARTEX: Brak rekordów w tabeli !\n");
  EXPECT_FALSE(Exists("l.pdf"));
}

TEST_F(SaveLabelsCliTest, KLoweredToWhatFitsIsSaid) {
  const ChildRun run = Cli({"open", "LOG_DEMO.csv", "save-labels", "z.pdf", "--sheet",
                            "Zweckform 3475", "--per-label", "10"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err.rfind("KARTEX: Na etykiecie mieści się najwyżej ", 0), 0u) << run.err;
  EXPECT_TRUE(Exists("z.pdf"));
}

TEST_F(SaveLabelsCliTest, AFileThatCannotBeCreatedIsAnError) {
  const ChildRun run = Cli({"open", "LOG_DEMO.csv", "save-labels", "missing/l.pdf"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "KARTEX: Cannot create file missing/l.pdf.\n");
}

TEST_F(SaveLabelsCliTest, NotAvailableBeforeALoad) {
  const ChildRun run = Cli({"save-labels", "l.pdf", "--sheet", "card"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "kartex-cli: save-labels: not available now\n");
  EXPECT_FALSE(Exists("l.pdf"));
}

#else

TEST_F(SaveLabelsCliTest, ABuildWithoutQtSaysSaveLabelsIsNotThere) {
  const ChildRun run = Cli({"open", "LOG_DEMO.csv", "save-labels", "l.pdf", "info"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kartex-cli: save-labels: not available in this build (no Qt)\n");
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(Exists("l.pdf"));
}

#endif

}  // namespace
}  // namespace kartex::testing
