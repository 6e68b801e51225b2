#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "commands/command_error.h"
#include "commands/output_file.h"
#include "commands/output_name.h"
#include "temp_dir.h"

namespace kartex::testing {
namespace {

TEST(OutputFile, ReplacesTheTargetOnlyOnCommit) {
  TempDir dir;
  std::string target = dir.Write("QSL_VIA.TXT", "old");
  {
    AtomicFileWriter writer(target);
    writer.Write("new");
    EXPECT_EQ(ReadFile(target), "old");
  }  // abandoned without Commit
  EXPECT_EQ(ReadFile(target), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
  WriteFileAtomically(target, "new");
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(OutputFile, LargeWritesArriveWhole) {
  TempDir dir;
  std::string big(3 << 20, 'x');
  big[12345] = 'y';
  AtomicFileWriter writer(dir.File("big"));
  writer.Write("head");
  writer.Write(big);
  writer.Write("tail");
  writer.Commit();
  EXPECT_EQ(ReadFile(dir.File("big")), "head" + big + "tail");
}

TEST(OutputFile, MissingFolderCannotBeCreated) {
  TempDir dir;
  std::string path = dir.File("missing/COUNTRY.CSV");
  try {
    WriteFileAtomically(path, "x");
    FAIL();
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
  }
}

TEST(OutputFile, ExtensionOfTheLastPathComponent) {
  EXPECT_EQ(FileNameExtension("a/b.c/file"), "");
  EXPECT_EQ(FileNameExtension("a/b.c/file.csv"), ".csv");
  EXPECT_EQ(FileNameExtension("log.v2.CSV"), ".CSV");
  EXPECT_EQ(FileNameExtension("file."), ".");
}

TEST(ErrorTextRule, FullStopAfterCharactersAboveIt) {
  EXPECT_EQ(ErrorText(CommandError("Cannot open file x")), "Cannot open file x.");
  EXPECT_EQ(ErrorText(CommandError("'' is not a valid integer value")),
            "'' is not a valid integer value.");
  EXPECT_EQ(ErrorText(CommandError("Cannot open file ")), "Cannot open file ");
  EXPECT_EQ(ErrorText(CommandError("done.")), "done.");
  EXPECT_EQ(ErrorText(CommandError("Błąd ą")), "Błąd ą.");
  EXPECT_EQ(ErrorText(CommandError("")), "");
}

TEST(ErrorTextRule, RunningOutOfMemoryIsSaidInWords) {
  EXPECT_EQ(ErrorText(std::bad_alloc()), "Out of memory.");
  EXPECT_EQ(ErrorText(std::bad_array_new_length()), "Out of memory.");
}

}  // namespace
}  // namespace kartex::testing
