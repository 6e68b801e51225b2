// Reference file names on a system whose file names are case-sensitive.

#include <gtest/gtest.h>

#include "country/country_test_support.h"
#include "country/reference_files.h"

namespace kartex::testing {
namespace {

TEST(OpenReferenceFilesPosix, NamesAreCaseSensitive) {
  ScratchDirectory dir;
  WriteBytes("cty.dat", "");
  WriteBytes("ADIF_DXC.TXT", "");
  RecordingWindows windows;
  ReferenceFiles files;
  EXPECT_FALSE(OpenReferenceFiles(files, windows));
  ASSERT_FALSE(windows.messages.empty());
  EXPECT_EQ(windows.messages.front(), "Brak obecnosci zbioru CTY.DAT");
}

}  // namespace
}  // namespace kartex::testing
