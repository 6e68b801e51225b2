#include "country/reference_loading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "country/country_test_support.h"

namespace kartex {
namespace {

using testing::ScratchDirectory;
using testing::WriteFile;

// A CTY.DAT of one country, and its ADIF_DXC.TXT line.
std::string OneCountryCty(const std::string& name, const std::string& prefix) {
  return testing::CrLfLines({testing::CtyHeader(name, prefix), "    " + prefix + ";"});
}

class ReferenceLoading : public ::testing::Test {
 protected:
  // Two folders below the scratch folder (the current directory).
  void SetUp() override {
    std::filesystem::create_directories("first");
    std::filesystem::create_directories("second");
  }
  ScratchDirectory dir_;
};

TEST_F(ReferenceLoading, FilesOfTheCurrentFolderAreRead) {
  ASSERT_TRUE(WriteFile("CTY.DAT", OneCountryCty("Alfa", "XA")));
  ASSERT_TRUE(WriteFile("ADIF_DXC.TXT", "777 ALFA\r\n"));
  const ReferenceLoad load = LoadCallResolver({"", "second"});
  ASSERT_TRUE(load.resolver.has_value());
  EXPECT_TRUE(load.messages.empty());
  EXPECT_EQ(load.ctyPath, "CTY.DAT");
  EXPECT_EQ(load.adifPath, "ADIF_DXC.TXT");
  ASSERT_NE(load.resolver->Resolve("XA1A"), nullptr);
  EXPECT_EQ(load.resolver->Resolve("XA1A")->adifNumber, 777);
}

TEST_F(ReferenceLoading, EachFileComesFromTheFirstFolderThatHoldsIt) {
  ASSERT_TRUE(WriteFile("CTY.DAT", OneCountryCty("Alfa", "XA")));
  ASSERT_TRUE(WriteFile("second/CTY.DAT", OneCountryCty("Beta", "XB")));
  ASSERT_TRUE(WriteFile("second/ADIF_DXC.TXT", "001 ALFA\r\n002 BETA\r\n"));
  const ReferenceLoad load = LoadCallResolver({"", "first", "second/"});
  ASSERT_TRUE(load.resolver.has_value());
  EXPECT_EQ(load.ctyPath, "CTY.DAT");
  EXPECT_EQ(load.adifPath, "second/ADIF_DXC.TXT");
  EXPECT_NE(load.resolver->Resolve("XA1A"), nullptr);
  EXPECT_EQ(load.resolver->Resolve("XB1A"), nullptr);  // the second CTY.DAT is not read

  const ReferenceLoad installedOnly = LoadCallResolver({"first", "second"});
  ASSERT_TRUE(installedOnly.resolver.has_value());
  EXPECT_EQ(installedOnly.ctyPath, "second/CTY.DAT");
  EXPECT_EQ(installedOnly.resolver->Resolve("XB1A")->adifNumber, 2);
}

TEST_F(ReferenceLoading, MissingFilesAreNamedInOrderThenTheSummary) {
  struct Case {
    bool cty;
    bool adif;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {false, true, {"Brak obecnosci zbioru CTY.DAT", "Brak zbiorow wejscia"}},
      {true, false, {"Brak obecnosci zbioru ADIF_DXC.TXT", "Brak zbiorow wejscia"}},
      {false,
       false,
       {"Brak obecnosci zbioru CTY.DAT", "Brak obecnosci zbioru ADIF_DXC.TXT",
        "Brak zbiorow wejscia"}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove("second/CTY.DAT");
    std::filesystem::remove("second/ADIF_DXC.TXT");
    if (c.cty) {
      EXPECT_TRUE(WriteFile("second/CTY.DAT", OneCountryCty("Alfa", "XA")));
    }
    if (c.adif) {
      EXPECT_TRUE(WriteFile("second/ADIF_DXC.TXT", "001 ALFA\r\n"));
    }
    // A folder of the file's name is no file.
    std::filesystem::create_directories("first/CTY.DAT");
    const ReferenceLoad load = LoadCallResolver({"", "first", "second"});
    EXPECT_FALSE(load.resolver.has_value());
    EXPECT_EQ(load.messages, c.messages) << "cty " << c.cty << " adif " << c.adif;
  }
}

TEST_F(ReferenceLoading, SkippedLinesAndCountriesWithoutNumberAreReported) {
  ASSERT_TRUE(WriteFile("CTY.DAT", OneCountryCty("Alfa", "XA") + "    XB;\r\n" +
                                       OneCountryCty("Beta", "YB") + "Broken line\r\n"));
  ASSERT_TRUE(WriteFile("ADIF_DXC.TXT", "001 ALFA\r\n"));
  const ReferenceLoad load = LoadCallResolver({""});
  ASSERT_TRUE(load.resolver.has_value());
  EXPECT_TRUE(load.messages.empty());
  EXPECT_EQ(load.skippedLines, 2u);
  EXPECT_EQ(load.resolver->CountriesWithoutAdifNumber(), std::vector<std::string>{"Beta"});
}

TEST(ReferenceFolders, CurrentFolderFirstThenTheInstalledOne) {
  const std::vector<std::string> folders = ReferenceFolders();
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(folders[0], "");
  EXPECT_FALSE(folders[1].empty());
  EXPECT_TRUE(std::filesystem::u8path(folders[1]).is_absolute()) << folders[1];
}

}  // namespace
}  // namespace kartex
