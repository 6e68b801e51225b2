// Reference file names on a system whose file names are case-sensitive.

#include <gtest/gtest.h>

#include "country/country_test_support.h"
#include "country/reference_files.h"

namespace kartex::testing {
namespace {

TEST(OpenReferenceFilesPosix, NamesAreCaseSensitive) {
  ScratchDirectory dir;
  ASSERT_TRUE(WriteFile("cty.dat", ""));
  ASSERT_TRUE(WriteFile("ADIF_DXC.TXT", ""));
  ReferenceFiles files;
  const std::vector<std::string> messages = OpenReferenceFiles(files);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.front(), "Brak obecnosci zbioru CTY.DAT");
}

}  // namespace
}  // namespace kartex::testing
