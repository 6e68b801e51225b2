// Which contacts go on which label and where: grouping by station in shown
// order, overflow labels, the start label, the labels' places on the page,
// and fitting K contacts to the label's height.

#include <gtest/gtest.h>

#include "labels/label_plan.h"
#include "labels/length.h"
#include "session_fixture.h"

namespace kartex::testing {
namespace {

// A sheet of nx x ny labels of 60 mm x height, 5 mm apart, on A4.
LabelSheet Grid(int nx, int ny, double height = 40) {
  LabelSheet sheet;
  sheet.brand = "Test";
  sheet.part = "G" + std::to_string(nx) + "x" + std::to_string(ny);
  sheet.pageWidth = 210;
  sheet.pageHeight = 297;
  sheet.labelWidth = 60;
  sheet.labelHeight = height;
  sheet.layouts = {SheetLayout{nx, ny, 10, 10, 65, height + 5}};
  return sheet;
}

// The height of a label whose text box holds exactly `lines` lines at 6 pt.
double HeightForLines(int lines) {
  return lines * kSmallestFontPt * kLineSpacing * kMillimetresPerPoint + 2 * 1.5;
}

// TIME_ON is each row's mark.
const std::initializer_list<std::string> kLog = {
    "QSO_DATE,TIME_ON,CALL,DXCC,QSL_VIA", "20240105,0001,SP2BB,269,", "20240101,0002,SP1AA,269,",
    "20240103,0003,SP2BB,269,",           "20240102,0004,sp2bb,269,", "20240104,0005,SP3CC,269,",
    "20240106,0006,SP2BB,269,",           "20240107,0007,SP1AA,269,", "20240108,0008,SP2BB,269,"};

class LabelPlanTest : public SessionTest {
 protected:
  // Each label as "CALL i/n: marks", with its page and slot.
  std::vector<std::string> Describe(const LabelSheet& sheet, LabelOptions options) {
    LabelContacts contacts(session.Table(), session.Log().callColumn);
    const LabelPlan plan = contacts.Plan(sheet, options);
    std::vector<std::string> labels;
    for (const PlacedLabel& label : plan.Labels()) {
      std::string text(session.Table().CellText(2, contacts.RowsOf(label).front()));
      text.append(" ").append(std::to_string(label.part)).append("/");
      text.append(std::to_string(label.parts)).append(":");
      for (int row : contacts.RowsOf(label))
        text.append(" ").append(session.Table().CellText(1, row));
      text.append(" @").append(std::to_string(label.page)).append(".");
      text.append(std::to_string(label.slot));
      labels.push_back(text);
    }
    return labels;
  }
};

TEST_F(LabelPlanTest, OneStationALabelInTheOrderOfItsFirstShownRow) {
  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  // Table order; CALL compared exactly, so sp2bb is a station of its own.
  EXPECT_EQ(Describe(Grid(2, 4), {1, 3}),
            (std::vector<std::string>{"SP2BB 1/2: 0001 0003 0006 @0.0", "SP2BB 2/2: 0008 @0.1",
                                      "SP1AA 1/1: 0002 0007 @0.2", "sp2bb 1/1: 0004 @0.3",
                                      "SP3CC 1/1: 0005 @0.4"}));
  // Sorted by QSO_DATE: the stations and their contacts in the shown order.
  ASSERT_TRUE(session.HeaderSortClick(0, false));
  EXPECT_EQ(Describe(Grid(2, 4), {1, 3}),
            (std::vector<std::string>{"SP1AA 1/1: 0002 0007 @0.0", "sp2bb 1/1: 0004 @0.1",
                                      "SP2BB 1/2: 0003 0001 0006 @0.2", "SP2BB 2/2: 0008 @0.3",
                                      "SP3CC 1/1: 0005 @0.4"}));
  // Under "2" only the shown rows are printed; four contacts take one label.
  session.RG1Click(1);
  EXPECT_EQ(Describe(Grid(2, 4), {1, 4}), (std::vector<std::string>{"SP1AA 1/1: 0002 0007 @0.0"}));
  session.RG1Click(3);
  EXPECT_EQ(Describe(Grid(2, 4), {1, 4}),
            (std::vector<std::string>{"SP2BB 1/1: 0003 0001 0006 0008 @0.0"}));
}

TEST_F(LabelPlanTest, StartSkipsLabelsOfTheFirstSheetOnly) {
  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  // Seven labels at one contact a label, from label 3 of a sheet of four.
  LabelContacts contacts(session.Table(), session.Log().callColumn);
  const LabelPlan plan = contacts.Plan(Grid(2, 2), {3, 1});
  ASSERT_EQ(plan.Labels().size(), 8u);
  EXPECT_EQ(plan.PageCount(), 3);
  std::vector<std::pair<int, int>> places;
  for (const PlacedLabel& label : plan.Labels()) places.emplace_back(label.page, label.slot);
  EXPECT_EQ(places, (std::vector<std::pair<int, int>>{
                        {0, 2}, {0, 3}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 0}, {2, 1}}));
  EXPECT_EQ(plan.LabelsOn(0).size(), 2u);
  EXPECT_EQ(plan.LabelsOn(1).size(), 4u);
  EXPECT_EQ(plan.LabelsOn(2).front().slot, 0);
  EXPECT_TRUE(plan.LabelsOn(3).empty());

  // The last label of a sheet as the start: one label there, then a new sheet.
  EXPECT_EQ(contacts.Plan(Grid(2, 2), {4, 4}).PageCount(), 2);
  EXPECT_EQ(contacts.Plan(Grid(2, 2), {1, 4}).PageCount(), 1);
}

TEST(LabelSheetTest, LabelsCountFromTheTopLeftAcrossThenDown) {
  // Two grids of one sheet, the second between the rows of the first.
  LabelSheet sheet = Grid(2, 2);
  sheet.layouts = {SheetLayout{2, 2, 10, 10, 50, 40}, SheetLayout{1, 2, 35, 30, 0, 40}};
  ASSERT_EQ(sheet.LabelsPerSheet(), 6);
  std::vector<std::pair<double, double>> origins;
  for (LabelOrigin origin : sheet.Origins()) origins.emplace_back(origin.x, origin.y);
  EXPECT_EQ(origins, (std::vector<std::pair<double, double>>{
                         {10, 10}, {60, 10}, {35, 30}, {10, 50}, {60, 50}, {35, 70}}));
}

TEST_F(LabelPlanTest, KIsLoweredToWhatFitsAtSixPoints) {
  // Twelve lines fit at 6 pt; a label has title, heading, closing and, as
  // one contact names a manager, a via line: eight contacts at most.
  ASSERT_EQ(
      Load({"CALL,DXCC,QSL_VIA", "SP1AA,269,SP5MGR", "SP1AA,269,", "SP1AA,269,", "SP1AA,269,",
            "SP1AA,269,", "SP1AA,269,", "SP1AA,269,", "SP1AA,269,", "SP1AA,269,", "SP1AA,269,"}),
      LoadOutcome::Loaded);
  LabelContacts contacts(session.Table(), session.Log().callColumn);
  ASSERT_TRUE(contacts.AnyVia());
  const LabelSheet sheet = Grid(2, 4, HeightForLines(12));

  const LabelFit lowered = contacts.FitOn(sheet, 10);
  EXPECT_EQ(lowered.requested, 10);
  EXPECT_EQ(lowered.perLabel, 8);
  EXPECT_TRUE(lowered.Lowered());
  EXPECT_NEAR(lowered.fontPt, 6, 1e-9);
  EXPECT_EQ(FitNotice(lowered),
            "Na etykiecie mieści się najwyżej 8 łączności przy czcionce 6 pt – zamiast 10 na "
            "etykiecie będzie ich 8.");
  // The ten contacts then take two labels.
  const LabelPlan plan = contacts.Plan(sheet, {1, 10});
  ASSERT_EQ(plan.Labels().size(), 2u);
  EXPECT_EQ(plan.Labels()[0].contactCount, 8u);
  EXPECT_EQ(plan.Labels()[1].contactCount, 2u);
  EXPECT_EQ(plan.Labels()[1].parts, 2);

  // Four contacts: eight lines, which the twelve lines at 6 pt hold at 9 pt.
  const LabelFit fits = contacts.FitOn(sheet, 4);
  EXPECT_FALSE(fits.Lowered());
  EXPECT_NEAR(fits.fontPt, 9, 1e-9);
  EXPECT_EQ(FitNotice(fits), "");
  // Fewer lines never make the text larger than 10 pt.
  EXPECT_NEAR(contacts.FitOn(sheet, 1).fontPt, kLargestFontPt, 1e-9);
}

TEST_F(LabelPlanTest, WithoutAManagerTheViaLineTakesNoRoom) {
  ASSERT_EQ(Load({"CALL,DXCC,QSL_VIA", "SP1AA,269,DIRECT"}), LoadOutcome::Loaded);
  LabelContacts contacts(session.Table(), session.Log().callColumn);
  EXPECT_FALSE(contacts.AnyVia());
  EXPECT_EQ(contacts.FitOn(Grid(2, 4, HeightForLines(12)), 10).perLabel, 9);
  // A hair less room, and only eight.
  EXPECT_EQ(contacts.FitOn(Grid(2, 4, HeightForLines(12) - 0.01), 10).perLabel, 8);
}

TEST_F(LabelPlanTest, ALabelTooSmallForOneContactTakesOneAndIsCut) {
  ASSERT_EQ(Load({"CALL,DXCC", "SP1AA,269", "SP1AA,269"}), LoadOutcome::Loaded);
  LabelContacts contacts(session.Table(), session.Log().callColumn);
  const LabelFit fit = contacts.FitOn(Grid(2, 4, 8), 4);
  EXPECT_EQ(fit.perLabel, 1);
  EXPECT_TRUE(fit.oneTooMany);
  EXPECT_NEAR(fit.fontPt, kSmallestFontPt, 1e-9);
  EXPECT_NE(FitNotice(fit).find("za mała"), std::string::npos);
}

TEST_F(LabelPlanTest, TheCardHoldsTenContacts) {
  ASSERT_EQ(Load({"CALL,DXCC,QSL_VIA", "SP1AA,269,SP5MGR"}), LoadOutcome::Loaded);
  LabelContacts contacts(session.Table(), session.Log().callColumn);
  const LabelFit fit = contacts.FitOn(QslCardSheet(), 10);
  EXPECT_FALSE(fit.Lowered());
  EXPECT_GT(fit.fontPt, kSmallestFontPt);
}

TEST(LabelOptionsTest, KAndStartMustLieInTheirRanges) {
  const LabelSheet sheet = Grid(2, 2);
  EXPECT_EQ(CheckLabelOptions(sheet, {1, 1}), "");
  EXPECT_EQ(CheckLabelOptions(sheet, {4, 10}), "");
  EXPECT_NE(CheckLabelOptions(sheet, {1, 0}), "");
  EXPECT_NE(CheckLabelOptions(sheet, {1, 11}), "");
  EXPECT_NE(CheckLabelOptions(sheet, {0, 4}), "");
  EXPECT_EQ(CheckLabelOptions(sheet, {5, 4}), "the start label must be 1 to 4 on Test G2x2");
  EXPECT_NE(CheckLabelOptions(QslCardSheet(), {2, 4}), "");
  LogTable table;
  LabelContacts none(table, 0);
  EXPECT_THROW(none.Plan(sheet, {5, 4}), std::invalid_argument);
}

}  // namespace
}  // namespace kartex::testing
