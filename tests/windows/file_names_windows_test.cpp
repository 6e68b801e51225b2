// What Windows users give as names of logs and output files: Polish letters,
// long paths, names Windows forbids, read-only files and files another
// program holds open.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "commands/command_error.h"
#include "commands/output_file.h"
#include "table/log_table.h"
#include "temp_dir.h"

namespace kartex::testing {
namespace {

namespace fs = std::filesystem;

fs::path Utf8Path(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string CreateError(const std::string& path) {
  try {
    WriteFileAtomically(path, "new");
  } catch (const CommandError& error) {
    return error.what();
  }
  return {};
}

size_t FilesIn(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(FileNamesWindows, PolishLettersInFoldersAndNamesOpenAndSave) {
  TempDir dir;
  const fs::path folder = dir.Path() / Utf8Path("Łukasz") / Utf8Path("Dokumenty");
  fs::create_directories(folder);
  const std::string log = Utf8(folder / Utf8Path("Łączności 2024.csv"));
  WriteFileAtomically(log, "CALL,DXCC\r\nSP5ŻÓŁW,269\r\n");
  LogTable table;
  table.ReadCsvFile(log);
  EXPECT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.CellText(1, 1), "269");
  EXPECT_TRUE(fs::exists(folder / Utf8Path("Łączności 2024.csv")));
  EXPECT_EQ(FilesIn(folder), 1u);
}

TEST(FileNamesWindows, PathsBeyond260CharactersWork) {
  TempDir dir;
  fs::path folder = dir.Path();
  for (int i = 0; i < 6; ++i) folder /= std::string(50, static_cast<char>('a' + i));
  fs::create_directories(folder);
  const std::string path = Utf8(folder / "QSO_1.csv");
  ASSERT_GT(path.size(), 300u);
  WriteFileAtomically(path, "CALL,DXCC\r\nK1AA,291\r\n");
  LogTable table;
  table.ReadCsvFile(path);
  EXPECT_EQ(table.CellText(0, 1), "K1AA");
}

TEST(FileNamesWindows, NamesWindowsForbidsAreRefused) {
  TempDir dir;
  for (const char* name : {"CON", "nul.csv", "COM1.CSV", "Lpt9", "a:b.csv", "why?.csv", "star*.csv",
                           "dot.", "blank "}) {
    const std::string path = dir.File(name);
    EXPECT_EQ(CreateError(path), "Cannot create file " + path) << name;
    LogTable table;
    EXPECT_THROW(table.ReadCsvFile(path), TableError) << name;
  }
  EXPECT_EQ(FilesIn(dir.Path()), 0u);
}

TEST(FileNamesWindows, AReadOnlyTargetStaysAsItWas) {
  TempDir dir;
  const std::string target = dir.Write("COUNTRY.CSV", "kept");
  const std::wstring wide = fs::path(target).wstring();
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(CreateError(target), "Cannot create file " + target);
  EXPECT_EQ(ReadFile(target), "kept");
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileNamesWindows, AFileHeldOpenByAnotherProgramIsNotReplaced) {
  TempDir dir;
  const std::string target = dir.Write("QSL_VIA.TXT", "kept");
  // Another program holding the file open without sharing it.
  HANDLE held = CreateFileW(fs::path(target).wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CreateError(target), "Cannot create file " + target);
  LogTable table;
  EXPECT_THROW(table.ReadCsvFile(target), TableError);
  CloseHandle(held);
  EXPECT_EQ(ReadFile(target), "kept");
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(FileNamesWindows, AReplacedFileKeepsItsAttributes) {
  TempDir dir;
  const std::string target = dir.Write("out.csv", "old");
  const std::wstring wide = fs::path(target).wstring();
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteFileAtomically(target, "new");
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_TRUE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace kartex::testing
