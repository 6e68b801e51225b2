// Sheets read from a folder of templates written as the label designer
// writes them: three sheets in different units, paper sizes, equivalent
// parts, the shapes not offered, broken files and a missing folder; then
// the database Debian installs, when it is there.

#include <gtest/gtest.h>

#include <filesystem>

#include "labels/sheet_catalog.h"
#include "labels/template_file.h"
#include "temp_dir.h"

namespace kartex::testing {
namespace {

constexpr double kPoint = 25.4 / 72;

const char* const kPaperSizes = R"(<?xml version="1.0"?>
<Glabels-paper-sizes>
  <!-- the two of our sheets -->
  <Paper-size id="A4" _name="A4" pwg_size="iso_a4" width="210mm" height="297mm"/>
  <Paper-size id="US-Letter" _name="US Letter" pwg_size="na_letter" width="8.5in" height="11in"/>
</Glabels-paper-sizes>
)";

// Millimetres, inches, and points without a unit; an equivalent named
// before the template it refers to; round and CD labels.
const char* const kFirstFile = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Brand" part="E1" equiv="MM1"/>
  <Template brand="Brand" part="MM1" size="A4" _description="Millimetres">
    <Meta category="label"/>
    <Label-rectangle id="0" width="70mm" height="37.125mm" round="0">
      <Markup-margin size="1mm"/>
      <Layout nx="3" ny="8" x0="0mm" y0="0mm" dx="70mm" dy="37.125mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Other" part="IN1" size="US-Letter" description="Inches">
    <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in">
      <Layout nx="3" ny="10" x0="0.15625in" y0="0.5in" dx="2.78125in" dy="1in"/>
    </Label-rectangle>
  </Template>
  <Template brand="Brand" part="Round" size="A4">
    <Label-round id="0" radius="20mm"><Layout nx="4" ny="6" x0="5mm" y0="5mm" dx="50mm" dy="48mm"/></Label-round>
  </Template>
  <Template brand="Brand" part="CD" size="A4">
    <Label-cd id="0" radius="58mm" hole="20mm"><Layout nx="1" ny="2" x0="47mm" y0="21mm" dx="0" dy="139mm"/></Label-cd>
  </Template>
</Glabels-templates>
)";

// Points, a page of its own size in centimetres, an equivalent of a sheet
// of the first file, a chain of equivalents, a loop, a missing target, an
// unknown paper and broken numbers.
const char* const kSecondFile = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Brand" part="PT1" size="Other" width="21cm" height="14.85cm">
    <Label-rectangle id="0" width="181.4" height="108" round="5">
      <Layout nx="2" ny="2" x0="21.2" y0="43.9" dx="187.2pt" dy="108.0"/>
      <Layout nx="1" ny="1" x0="300" y0="0" dx="0" dy="0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Brand" part="E2" equiv="E1" _description="Chained"/>
  <Template brand="Brand" part="Loop1" equiv="Loop2"/>
  <Template brand="Brand" part="Loop2" equiv="Loop1"/>
  <Template brand="Brand" part="Lost" equiv="Nowhere"/>
  <Template brand="Other" part="E3" equiv="MM1"/>
  <Template brand="Brand" part="Tabloid" size="Tabloid">
    <Label-rectangle id="0" width="10mm" height="10mm"><Layout nx="1" ny="1"/></Label-rectangle>
  </Template>
  <Template brand="Brand" part="BadNumber" size="A4">
    <Label-rectangle id="0" width="ten" height="10mm"><Layout nx="1" ny="1"/></Label-rectangle>
  </Template>
  <Template brand="Brand" part="NoLayout" size="A4">
    <Label-rectangle id="0" width="10mm" height="10mm"/>
  </Template>
</Glabels-templates>
)";

class SheetCatalogTest : public ::testing::Test {
 protected:
  SheetCatalogTest() {
    dir.Write("paper-sizes.xml", kPaperSizes);
    dir.Write("first-templates.xml", kFirstFile);
    dir.Write("second-templates.xml", kSecondFile);
  }
  std::vector<std::string> Names(const SheetCatalog& catalog) {
    std::vector<std::string> names;
    for (const LabelSheet& sheet : catalog.sheets) names.push_back(sheet.Name());
    return names;
  }
  TempDir dir;
};

TEST_F(SheetCatalogTest, RectangularSheetsInBrandAndPartOrderAfterTheCard) {
  const SheetCatalog catalog = ReadSheetCatalog(dir.Path().string());
  EXPECT_TRUE(catalog.folderRead);
  EXPECT_TRUE(catalog.brokenFiles.empty());
  EXPECT_EQ(Names(catalog), (std::vector<std::string>{"card", "Brand E1", "Brand E2", "Brand MM1",
                                                      "Brand PT1", "Other IN1"}));
  EXPECT_EQ(catalog.Notice(), "");
}

TEST_F(SheetCatalogTest, ThreeUnitsGiveTheSameMillimetres) {
  const SheetCatalog catalog = ReadSheetCatalog(dir.Path().string());
  const LabelSheet* mm = catalog.Find("Brand MM1");
  ASSERT_NE(mm, nullptr);
  EXPECT_EQ(mm->paperName, "A4");
  EXPECT_NEAR(mm->pageWidth, 210, 1e-9);
  EXPECT_NEAR(mm->labelHeight, 37.125, 1e-9);
  EXPECT_EQ(mm->LabelsPerSheet(), 24);
  EXPECT_EQ(mm->Entry(), "Brand MM1 – 70 × 37,1 mm, 24 na arkuszu (A4)");
  // The last label of the sheet: third across, eighth down.
  EXPECT_NEAR(mm->Origins()[23].x, 140, 1e-9);
  EXPECT_NEAR(mm->Origins()[23].y, 7 * 37.125, 1e-9);

  const LabelSheet* in = catalog.Find("Other IN1");
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->paperName, "US Letter");
  EXPECT_NEAR(in->pageWidth, 215.9, 1e-9);
  EXPECT_NEAR(in->pageHeight, 279.4, 1e-9);
  EXPECT_NEAR(in->labelWidth, 66.675, 1e-9);
  EXPECT_NEAR(in->cornerRadius, 1.5875, 1e-9);
  EXPECT_EQ(in->description, "Inches");
  // Label 5: second across in the second row.
  EXPECT_NEAR(in->Origins()[4].x, (0.15625 + 2.78125) * 25.4, 1e-9);
  EXPECT_NEAR(in->Origins()[4].y, 1.5 * 25.4, 1e-9);

  const LabelSheet* pt = catalog.Find("Brand PT1");
  ASSERT_NE(pt, nullptr);
  EXPECT_EQ(pt->paperName, "");
  EXPECT_NEAR(pt->pageWidth, 210, 1e-9);
  EXPECT_NEAR(pt->pageHeight, 148.5, 1e-9);
  EXPECT_NEAR(pt->labelWidth, 181.4 * kPoint, 1e-9);
  EXPECT_NEAR(pt->labelHeight, 38.1, 1e-9);
  EXPECT_EQ(pt->Entry(), "Brand PT1 – 64 × 38,1 mm, 5 na arkuszu (210 × 148,5 mm)");
  // Two layouts: the single label at y 0 comes first, then the grid's rows.
  const std::vector<LabelOrigin> origins = pt->Origins();
  ASSERT_EQ(origins.size(), 5u);
  EXPECT_NEAR(origins[0].x, 300 * kPoint, 1e-9);
  EXPECT_NEAR(origins[0].y, 0, 1e-9);
  EXPECT_NEAR(origins[2].x, (21.2 + 187.2) * kPoint, 1e-9);
  EXPECT_NEAR(origins[4].y, (43.9 + 108) * kPoint, 1e-9);
}

TEST_F(SheetCatalogTest, EquivalentsTakeTheLabelsOfTheirBrandsTemplate) {
  const SheetCatalog catalog = ReadSheetCatalog(dir.Path().string());
  const LabelSheet* e1 = catalog.Find("Brand E1");
  const LabelSheet* e2 = catalog.Find("Brand E2");
  const LabelSheet* e3 = catalog.Find("Other E3");  // another brand's MM1 is no match
  ASSERT_NE(e1, nullptr);
  ASSERT_NE(e2, nullptr);
  EXPECT_EQ(e3, nullptr);
  for (const LabelSheet* sheet : {e1, e2}) {
    EXPECT_NEAR(sheet->labelWidth, 70, 1e-9);
    EXPECT_EQ(sheet->LabelsPerSheet(), 24);
    EXPECT_EQ(sheet->paperName, "A4");
  }
  EXPECT_EQ(e1->description, "Millimetres");
  EXPECT_EQ(e2->description, "Chained");
  for (const char* missing : {"Brand Loop1", "Brand Lost", "Brand Tabloid", "Brand BadNumber",
                              "Brand NoLayout", "Brand Round", "Brand CD"})
    EXPECT_EQ(catalog.Find(missing), nullptr) << missing;
}

TEST_F(SheetCatalogTest, NamesCompareWithoutCaseOrExtraBlanks) {
  const SheetCatalog catalog = ReadSheetCatalog(dir.Path().string());
  EXPECT_EQ(catalog.Find("  brand   mm1 "), catalog.Find("Brand MM1"));
  EXPECT_EQ(catalog.Find("CARD"), &catalog.sheets.front());
  EXPECT_EQ(catalog.Find("Brand"), nullptr);
  EXPECT_EQ(catalog.Find("BrandMM1"), nullptr);
  // No Avery L7160 here: the first sheet is the default.
  EXPECT_EQ(&catalog.Default(), &catalog.sheets.front());
}

TEST_F(SheetCatalogTest, ABrokenFileIsNamedAndTheOthersRead) {
  // The second file cut in the middle of a template: what it held before
  // the cut is still offered.
  const std::string second = kSecondFile;
  dir.Write("second-templates.xml", second.substr(0, second.find("<Template brand=\"Other\"")) +
                                        "<Template brand=\"Cut\" part=\"X\" size=\"A4\"><Label-");
  dir.Write("zz-templates.xml", "\xEF\xBB\xBF not xml at all <<<");
  const SheetCatalog catalog = ReadSheetCatalog(dir.Path().string());
  EXPECT_EQ(catalog.brokenFiles,
            (std::vector<std::string>{"second-templates.xml", "zz-templates.xml"}));
  EXPECT_NE(catalog.Find("Brand PT1"), nullptr);
  EXPECT_NE(catalog.Find("Other IN1"), nullptr);
  EXPECT_EQ(catalog.Notice(),
            "Pominięto uszkodzone pliki arkuszy etykiet: second-templates.xml, zz-templates.xml.");
}

TEST_F(SheetCatalogTest, WithoutTheFolderOrItsPaperSizesOnlyTheCard) {
  for (const std::string& folder : {dir.File("missing"), dir.File("first-templates.xml")}) {
    const SheetCatalog catalog = ReadSheetCatalog(folder);
    EXPECT_FALSE(catalog.folderRead);
    EXPECT_EQ(Names(catalog), std::vector<std::string>{"card"});
    EXPECT_EQ(catalog.Default().Name(), "card");
    EXPECT_EQ(catalog.Notice(), "Nie udało się odczytać arkuszy etykiet z folderu " + folder +
                                    " – dostępna jest tylko karta QSL.");
  }
  // Paper sizes that are no XML: the same.
  dir.Write("paper-sizes.xml", "<Glabels-paper-sizes><Paper-size");
  const SheetCatalog catalog = ReadSheetCatalog(dir.Path().string());
  EXPECT_FALSE(catalog.HasSheets());
  EXPECT_NE(catalog.Notice(), "");
}

TEST(TemplateFileTest, TemplatesWithBrokenNumbersAreCounted) {
  const TemplateFile file = ReadTemplateFile(kSecondFile);
  EXPECT_TRUE(file.error.empty());
  EXPECT_EQ(file.skipped, 1);  // BadNumber
  EXPECT_EQ(file.templates.size(), 8u);
  EXPECT_EQ(file.templates[0].layouts.size(), 2u);
}

// The sheets Debian's glabels-data installs (scripts/install-deps.sh).
class InstalledTemplatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kFolder + "/paper-sizes.xml"))
      GTEST_SKIP() << "no " << kFolder << " (Debian's glabels-data)";
  }
  const std::string kFolder = "/usr/share/libglabels-3.0/templates";
};

TEST_F(InstalledTemplatesTest, AveryL7160AndZweckform3475) {
  const SheetCatalog catalog = ReadSheetCatalog(kFolder);
  EXPECT_TRUE(catalog.brokenFiles.empty());
  EXPECT_GT(catalog.sheets.size(), 1000u);
  // L7160 is written as an equivalent of 7160, in points without a unit.
  const LabelSheet& avery = catalog.Default();
  EXPECT_EQ(avery.Name(), "Avery L7160");
  EXPECT_EQ(avery.LabelsPerSheet(), 21);
  EXPECT_NEAR(avery.labelHeight, 38.1, 1e-9);
  EXPECT_NEAR(avery.pageWidth, 210, 1e-9);
  const LabelSheet* zweckform = catalog.Find("zweckform 3475");
  ASSERT_NE(zweckform, nullptr);
  EXPECT_EQ(zweckform->Entry(), "Zweckform 3475 – 70,1 × 36 mm, 24 na arkuszu (A4)");
  // Every label lies on its page (3475's three labels of 198.57 pt reach
  // 0.15 mm past the A4 edge in gLabels' own figures).
  for (const LabelSheet* sheet : {&avery, zweckform}) {
    for (LabelOrigin origin : sheet->Origins()) {
      EXPECT_GE(origin.x, 0);
      EXPECT_LE(origin.x + sheet->labelWidth, sheet->pageWidth + 0.2);
      EXPECT_LE(origin.y + sheet->labelHeight, sheet->pageHeight + 0.2);
    }
  }
  // CD labels are not offered.
  EXPECT_EQ(catalog.Find("Avery L7676"), nullptr);
  EXPECT_NE(catalog.Find("Avery 5160"), nullptr);
}

}  // namespace
}  // namespace kartex::testing
