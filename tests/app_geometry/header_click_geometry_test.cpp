// Which releases on the grid's header sort, and the sort mark shapes.

#include "app/header_click_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kartex {
namespace {

// A release in the middle of header cell 2 (pixels 100..180), pressed there.
HeaderRelease MiddleOfHeaderCell() {
  HeaderRelease r;
  r.col = 2;
  r.row = 0;
  r.pressCol = 2;
  r.pressRow = 0;
  r.x = 140;
  r.cellLeft = 100;
  r.cellRight = 180;
  return r;
}

TEST(IsSortRelease, RulesInOrder) {
  const struct {
    const char* name;
    void (*change)(HeaderRelease&);
    bool sorts;
  } cases[] = {
      {"plain header click", [](HeaderRelease&) {}, true},
      {"press on another header cell", [](HeaderRelease& r) { r.pressCol = 6; }, true},
      {"beyond the last column", [](HeaderRelease& r) { r.col = -1; }, false},
      {"beyond the last row", [](HeaderRelease& r) { r.row = -1; }, false},
      {"end of a width drag", [](HeaderRelease& r) { r.endedColumnDrag = true; }, false},
      {"after an edge double-click", [](HeaderRelease& r) { r.followsEdgeDoubleClick = true; },
       false},
      {"3 px right of the left edge", [](HeaderRelease& r) { r.x = 103; }, false},
      {"3 px left of the left edge", [](HeaderRelease& r) { r.x = 97; }, false},
      {"4 px right of the left edge", [](HeaderRelease& r) { r.x = 104; }, true},
      {"3 px left of the right edge", [](HeaderRelease& r) { r.x = 177; }, false},
      {"on the right edge", [](HeaderRelease& r) { r.x = 180; }, false},
      {"4 px left of the right edge", [](HeaderRelease& r) { r.x = 176; }, true},
      {"release on a data cell", [](HeaderRelease& r) { r.row = 1; }, false},
      {"press on a data cell", [](HeaderRelease& r) { r.pressRow = 4; }, false},
      {"data cell near an edge",
       [](HeaderRelease& r) {
         r.row = 1;
         r.x = 101;
       },
       false},
  };
  for (const auto& c : cases) {
    HeaderRelease r = MiddleOfHeaderCell();
    c.change(r);
    EXPECT_EQ(IsSortRelease(r), c.sorts) << c.name;
  }
}

TEST(InColumnSizingZone, FourPixelsEitherSideOfBothEdges) {
  for (int x = 90; x <= 190; ++x) {
    const bool expected = (x > 96 && x < 104) || (x > 176 && x < 184);
    EXPECT_EQ(InColumnSizingZone(x, 100, 180), expected) << x;
  }
}

TEST(SortMarks, TriangleAndTheBoxOfTheDigitsBesideIt) {
  const SortMarkShape up = SortMarkAt(50, 10, false, 7);  // centre (50, 18)
  EXPECT_EQ(up.corners[0].x, 44);
  EXPECT_EQ(up.corners[0].y, 26);
  EXPECT_EQ(up.corners[1].x, 56);
  EXPECT_EQ(up.corners[1].y, 26);
  EXPECT_EQ(up.corners[2].x, 50);
  EXPECT_EQ(up.corners[2].y, 14);

  const SortMarkShape down = SortMarkAt(50, 10, true, 7);
  EXPECT_EQ(down.corners[0].x, 43);
  EXPECT_EQ(down.corners[0].y, 13);
  EXPECT_EQ(down.corners[1].x, 57);
  EXPECT_EQ(down.corners[1].y, 13);
  EXPECT_EQ(down.corners[2].x, 50);
  EXPECT_EQ(down.corners[2].y, 26);

  // The box starts clear of either triangle, is tall enough for digits of 8
  // pixels and more with a pixel of red above and below, and holds the digits.
  for (const SortMarkShape& shape : {up, down}) {
    EXPECT_GT(shape.digitsBox.left, std::max(up.corners[1].x, down.corners[1].x));
    EXPECT_GE(shape.digitsBox.height, 10 + 2);
    EXPECT_EQ(shape.digitsBox.width, 7 + 4);
    EXPECT_EQ(shape.digitsBox.left + shape.digitsBox.width - 50, SortMarkWidth(7));
  }
}

}  // namespace
}  // namespace kartex
