// kartex-cli with what only a POSIX system hands it: file names that are
// not UTF-8, FIFOs, and a memory limit.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "child_process.h"
#include "temp_dir.h"

namespace kartex::testing {
namespace {

TEST(CliPosix, InfoWritesANameThatIsNotUtf8AsReplacementCharacters) {
  TempDir dir;
  dir.Write("log\xFF\xFE.csv", "CALL,DXCC\r\nSP1AA,269\r\n");
  const ChildRun run =
      RunChild(KARTEX_CLI, {"open", "log\xFF\xFE.csv", "info"}, dir.Path().string());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"source\": \"log\xEF\xBF\xBD\xEF\xBF\xBD.csv\""), std::string::npos)
      << run.out;
}

TEST(CliPosix, AFifoIsRefusedInsteadOfWaitedFor) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("log.csv").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(dir.File("CTY.DAT").c_str(), 0600), 0);
  dir.Write("ADIF_DXC.TXT", "");
  dir.Write("real.csv", "CALL,DXCC\r\nSP1AA,269\r\n");
  // Without the refusal each of these would block for ever.
  ChildRun run = RunChild(KARTEX_CLI, {"open", "log.csv"}, dir.Path().string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "KARTEX: Cannot open file log.csv.\n");
  run = RunChild(KARTEX_CLI, {"open", "real.csv", "save-country", "c.csv"}, dir.Path().string());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "KARTEX: Brak obecnosci zbioru CTY.DAT\nKARTEX: Brak zbiorow wejscia\n");
  run = RunChild(KARTEX_CLI, {"open", "/dev/zero"}, dir.Path().string());
  EXPECT_EQ(run.err, "KARTEX: Cannot open file /dev/zero.\n");
}

}  // namespace
}  // namespace kartex::testing
