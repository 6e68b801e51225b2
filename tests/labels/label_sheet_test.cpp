// Sheets as the list shows them, the card's text area, and lengths in the
// units of the template files.

#include <gtest/gtest.h>

#include <cmath>

#include "labels/label_sheet.h"
#include "labels/length.h"

namespace kartex {
namespace {

TEST(LabelSheetEntryTest, BrandPartSizeCountAndPaper) {
  LabelSheet sheet;
  sheet.brand = "Avery";
  sheet.part = "L7160";
  sheet.paperName = "A4";
  sheet.pageWidth = 210;
  sheet.pageHeight = 297;
  sheet.labelWidth = 63.5;
  sheet.labelHeight = 38.1;
  sheet.layouts = {SheetLayout{3, 7, 7.2, 15.1, 66, 38.1}};
  EXPECT_EQ(sheet.Name(), "Avery L7160");
  EXPECT_EQ(sheet.Entry(), "Avery L7160 – 63,5 × 38,1 mm, 21 na arkuszu (A4)");
  // A page of its own size names its size.
  sheet.paperName.clear();
  sheet.pageWidth = 101.6;
  sheet.pageHeight = 152.4;
  EXPECT_EQ(sheet.Entry(), "Avery L7160 – 63,5 × 38,1 mm, 21 na arkuszu (101,6 × 152,4 mm)");
}

TEST(LabelSheetEntryTest, MillimetresToOneDecimal) {
  EXPECT_EQ(FormatMillimetres(140), "140");
  EXPECT_EQ(FormatMillimetres(63.99), "64");
  EXPECT_EQ(FormatMillimetres(70.05), "70,1");
  EXPECT_EQ(FormatMillimetres(0.04), "0");
}

TEST(QslCardTest, OneCardAPageTextAboveTheStampMargin) {
  const LabelSheet card = QslCardSheet();
  EXPECT_EQ(card.Name(), "card");
  EXPECT_EQ(card.Entry(), "Karta QSL 140 × 90 mm");
  EXPECT_EQ(card.LabelsPerSheet(), 1);
  EXPECT_EQ(card.pageWidth, 140);
  EXPECT_EQ(card.pageHeight, 90);
  const TextBox box = card.TextArea();
  EXPECT_TRUE(box.bottomAligned);
  EXPECT_NEAR(box.y + box.height, 80, 1e-9);  // 10 mm free at the bottom edge
  EXPECT_GT(box.y, 90 / 3.0);                 // in the card's lower part
  EXPECT_GE(box.x, 0);
  EXPECT_LE(box.x + box.width, 140);
}

TEST(LabelTextAreaTest, InsideTheLabelAndSmallerPaddingOnSmallLabels) {
  LabelSheet sheet;
  sheet.labelWidth = 63.5;
  sheet.labelHeight = 38.1;
  TextBox box = sheet.TextArea();
  EXPECT_NEAR(box.x, 2, 1e-9);
  EXPECT_NEAR(box.y, 1.5, 1e-9);
  EXPECT_NEAR(box.x + box.width, 61.5, 1e-9);
  EXPECT_NEAR(box.y + box.height, 36.6, 1e-9);
  EXPECT_FALSE(box.bottomAligned);
  sheet.labelWidth = 17.8;
  sheet.labelHeight = 10;
  box = sheet.TextArea();
  EXPECT_GT(box.x, 0);
  EXPECT_LT(box.x, 2);
  EXPECT_NEAR(box.y + box.height + box.y, 10, 1e-9);
}

TEST(LengthTest, EveryUnitOfTheTemplates) {
  EXPECT_NEAR(*ParseLengthMm("63.5mm"), 63.5, 1e-9);
  EXPECT_NEAR(*ParseLengthMm("2.5cm"), 25, 1e-9);
  EXPECT_NEAR(*ParseLengthMm("1in"), 25.4, 1e-9);
  EXPECT_NEAR(*ParseLengthMm("72pt"), 25.4, 1e-9);
  EXPECT_NEAR(*ParseLengthMm("1pc"), 25.4 / 6, 1e-9);
  // No unit: points.
  EXPECT_NEAR(*ParseLengthMm("108.0"), 38.1, 1e-9);
  EXPECT_NEAR(*ParseLengthMm(" 0 "), 0, 1e-9);
  EXPECT_NEAR(*ParseLengthMm("12.5 MM"), 12.5, 1e-9);
  EXPECT_NEAR(*ParseLengthMm("-3mm"), -3, 1e-9);
  EXPECT_NEAR(*ParseLengthMm(".5in"), 12.7, 1e-9);
}

TEST(LengthTest, WhatIsNoLength) {
  for (const char* bad :
       {"", "mm", "12,5mm", "12.5 mm x", "12.5furlong", "nan", "inf", "1e999", "0x10", "12..5"})
    EXPECT_FALSE(ParseLengthMm(bad).has_value()) << bad;
}

}  // namespace
}  // namespace kartex
