#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/system.h"

namespace kartex {
namespace {

TEST(ExecutableFolder, HoldsTheRunningTestProgram) {
  const std::string folder = platform::ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  const std::filesystem::path path = std::filesystem::u8path(folder);
  EXPECT_TRUE(path.is_absolute()) << folder;
  // No closing separator: a name is put after it with one.
  EXPECT_NE(folder.back(), '/');
  EXPECT_NE(folder.back(), '\\');
  // This program, with ".exe" on Windows.
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    found = found || (entry.is_regular_file() && entry.path().stem() == "executable_folder_test" &&
                      entry.path().filename() != "executable_folder_test.cpp");
  }
  EXPECT_TRUE(found) << folder;
}

}  // namespace
}  // namespace kartex
