#include "table/regional_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/code_page.h"

namespace kartex {
namespace {

TEST(RegionalSettingsTest, SystemTextsBecomeCodePageBytes) {
  const platform::RegionalTexts texts{.decimal = ",",
                                      .thousands = "\u00A0",
                                      .dateSeparator = ".",
                                      .timeSeparator = ":",
                                      .shortDate = "dd.MM.yyyy",
                                      .am = "przed południem",
                                      .pm = "po południu"};
  const RegionalSettings rs = RegionalSettingsFromTexts(texts);
  EXPECT_EQ(rs.decimalSeparator, ',');
  EXPECT_EQ(rs.thousandSeparator, '\xA0');
  EXPECT_EQ(rs.dateSeparator, '.');
  EXPECT_EQ(rs.timeSeparator, ':');
  EXPECT_EQ(rs.shortDateFormat, "dd.MM.yyyy");
  EXPECT_EQ(rs.timeAMString, *Utf8ToCp1250("przed południem"));
  EXPECT_EQ(rs.timePMString, *Utf8ToCp1250("po południu"));
}

TEST(RegionalSettingsTest, NarrowSpacesGroupDigitsAsTheNoBreakSpace) {
  for (const char* space : {"\u202F", "\u2009", "\u2007"}) {
    platform::RegionalTexts texts;
    texts.thousands = std::string(space);
    EXPECT_EQ(RegionalSettingsFromTexts(texts).thousandSeparator, '\xA0') << space;
  }
}

TEST(RegionalSettingsTest, WhatTheCodePageCannotHoldKeepsTheDefaults) {
  const RegionalSettings d;
  const platform::RegionalTexts cases[] = {
      {},  // the system says nothing
      {"\u066B", "\u066C", "\u5E74", "\u6642", "yyyy\u5E74MM\u6708dd\u65E5", "\u5348\u524D",
       "\u5348\u5F8C"},
      {",,", "ab", "--", "::", "", "", ""},  // separators of more than one character
  };
  for (const platform::RegionalTexts& texts : cases) {
    const RegionalSettings rs = RegionalSettingsFromTexts(texts);
    EXPECT_EQ(rs.decimalSeparator, d.decimalSeparator);
    EXPECT_EQ(rs.thousandSeparator, d.thousandSeparator);
    EXPECT_EQ(rs.dateSeparator, d.dateSeparator);
    EXPECT_EQ(rs.timeSeparator, d.timeSeparator);
    EXPECT_EQ(rs.shortDateFormat, d.shortDateFormat);
    EXPECT_EQ(rs.timeAMString, d.timeAMString);
    EXPECT_EQ(rs.timePMString, d.timePMString);
  }
}

}  // namespace
}  // namespace kartex
