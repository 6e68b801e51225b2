// What an output file does to its target on a POSIX system: permissions,
// symbolic links, devices, leftovers of a crash and long names.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "commands/command_error.h"
#include "commands/output_file.h"
#include "platform/files.h"
#include "temp_dir.h"

namespace kartex::testing {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

std::string ErrorOf(const std::string& path, const std::string& content) {
  try {
    WriteFileAtomically(path, content);
  } catch (const CommandError& error) {
    return error.what();
  }
  return {};
}

TEST(OutputFilePosix, DevicesAreWrittenNotReplaced) {
  WriteFileAtomically("/dev/null", "discarded");
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_THROW(WriteFileAtomically("/dev/full", std::string(1 << 21, 'x')), CommandError);
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST(OutputFilePosix, AReadOnlyTargetIsNotReplaced) {
  TempDir dir;
  const std::string target = dir.Write("QSL_VIA.TXT", "kept");
  ::chmod(target.c_str(), 0444);
  EXPECT_EQ(ErrorOf(target, "new"), "Cannot create file " + target);
  EXPECT_EQ(ReadFile(target), "kept");
  EXPECT_EQ(ModeOf(target), 0444u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);
}

TEST(OutputFilePosix, TheNewFileKeepsTheTargetsPermissions) {
  TempDir dir;
  const std::string target = dir.Write("private.csv", "old");
  ::chmod(target.c_str(), 0600);
  WriteFileAtomically(target, "new");
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(ModeOf(target), 0600u);

  const mode_t mask = ::umask(027);
  const std::string fresh = dir.File("fresh.csv");
  WriteFileAtomically(fresh, "x");
  ::umask(mask);
  EXPECT_EQ(ModeOf(fresh), 0640u) << "the user's default for a new file";
}

TEST(OutputFilePosix, TheTemporaryFileIsReadableByTheUserAlone) {
  TempDir dir;
  const std::string target = dir.Write("shared.csv", "old");
  ::chmod(target.c_str(), 0644);
  AtomicFileWriter writer(target);
  writer.Write("partial");
  const std::string temp = dir.File(platform::FileReplacement::TemporaryNameFor("shared.csv"));
  ASSERT_TRUE(fs::exists(temp));
  EXPECT_EQ(ModeOf(temp), 0600u);
  writer.Commit();
  EXPECT_FALSE(fs::exists(temp));
  EXPECT_EQ(ModeOf(target), 0644u);
}

TEST(OutputFilePosix, ASymbolicLinkIsWrittenThroughAndStaysALink) {
  TempDir dir;
  fs::create_directory(dir.Path() / "real");
  const std::string pointed = dir.Write("real/COUNTRY.CSV", "old");
  const std::string link = dir.File("COUNTRY.CSV");
  fs::create_symlink("real/COUNTRY.CSV", link);
  WriteFileAtomically(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(pointed), "new");

  // A dangling link: the file is made where the link points.
  const std::string dangling = dir.File("QSL_VIA.TXT");
  fs::create_symlink("real/managers.txt", dangling);
  WriteFileAtomically(dangling, "list");
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(ReadFile(dir.File("real/managers.txt")), "list");
}

TEST(OutputFilePosix, TheNextSaveRemovesWhatACrashLeftBehind) {
  TempDir dir;
  const std::string target = dir.Write("out.csv", "old");
  const std::string leftover =
      dir.Write(platform::FileReplacement::TemporaryNameFor("out.csv"), "half");
  WriteFileAtomically(target, "new");
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);
}

TEST(OutputFilePosix, AnyNameTheSystemAcceptsCanBeSaved) {
  TempDir dir;
  const std::string longest = dir.File(std::string(251, 'n') + ".csv");  // 255 bytes
  WriteFileAtomically(longest, "x");
  EXPECT_EQ(ReadFile(longest), "x");
}

TEST(OutputFilePosix, OwnershipOfAReplacedFileIsKept) {
  // Only root may replace another user's file (for anyone else it is not
  // theirs to overwrite in place); the file then keeps its owner.
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
  TempDir dir;
  const std::string target = dir.Write("theirs.csv", "old");
  ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
  WriteFileAtomically(target, "new");
  EXPECT_EQ(ReadFile(target), "new");
  struct stat info {};
  ::stat(target.c_str(), &info);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
}

}  // namespace
}  // namespace kartex::testing
