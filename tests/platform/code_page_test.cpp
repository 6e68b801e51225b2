#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace kartex {
namespace {

std::string Bytes(std::initializer_list<int> codes) {
  std::string s;
  for (int c : codes) s += static_cast<char>(c);
  return s;
}

// Polish letters and a few other Central European ones: the Windows-1250
// byte of the small and the capital letter, and the capital in UTF-8.
struct LetterCase {
  int small;
  int capital;
  const char* capitalUtf8;
};

const LetterCase kLetters[] = {
    {0xB9, 0xA5, "Ą"}, {0xE6, 0xC6, "Ć"}, {0xEA, 0xCA, "Ę"}, {0xB3, 0xA3, "Ł"},
    {0xF1, 0xD1, "Ń"}, {0xF3, 0xD3, "Ó"}, {0x9C, 0x8C, "Ś"}, {0x9F, 0x8F, "Ź"},
    {0xBF, 0xAF, "Ż"}, {0x9A, 0x8A, "Š"}, {0x9D, 0x8D, "Ť"}, {0x9E, 0x8E, "Ž"},
    {0xE8, 0xC8, "Č"}, {0xF8, 0xD8, "Ř"}, {0xFB, 0xDB, "Ű"}, {0xE4, 0xC4, "Ä"},
};

TEST(CodePageTest, LettersWithDiacriticsUpperCaseToTheirCapitals) {
  for (const LetterCase& l : kLetters) {
    SCOPED_TRACE(l.capitalUtf8);
    EXPECT_EQ(UpperCase1250(static_cast<unsigned char>(l.small)), l.capital);
    EXPECT_EQ(UpperCase1250(static_cast<unsigned char>(l.capital)), l.capital);
    EXPECT_EQ(Cp1250ToUtf8(Bytes({l.capital})), l.capitalUtf8);
  }
  for (int c = 'a'; c <= 'z'; ++c) EXPECT_EQ(UpperCase1250(static_cast<unsigned char>(c)), c - 32);
}

TEST(CodePageTest, NonLettersAndLettersWithoutCapitalStay) {
  // Digits, punctuation, the German sharp s, the micro sign (its capital is
  // Greek), the unassigned bytes and the capitals themselves.
  for (int c :
       std::initializer_list<int>{'0',  '9',  '*',  ';',  '"',  '\\', 'A',  'Z',  0x00, 0x80,
                                  0xA0, 0xDF, 0xB5, 0x81, 0x83, 0x88, 0x90, 0x98, 0xD7, 0xF7}) {
    EXPECT_EQ(UpperCase1250(static_cast<unsigned char>(c)), c) << c;
  }
}

TEST(CodePageTest, UpperCasingIsStableAndKeepsTheCodePage) {
  for (int b = 0; b < 256; ++b) {
    const unsigned char up = UpperCase1250(static_cast<unsigned char>(b));
    EXPECT_EQ(UpperCase1250(up), up) << b;
    if (b < 0x80) {
      EXPECT_LT(up, 0x80) << b;
    }
  }
  // The whole-text form: "ąść" and "Zażółć gęślą jaźń".
  EXPECT_EQ(UpperCase1250(Bytes({0xB9, 0x9C, 0xE6})), Bytes({0xA5, 0x8C, 0xC6}));
  const std::string phrase = *Utf8ToCp1250("Zażółć gęślą jaźń");
  EXPECT_EQ(Cp1250ToUtf8(UpperCase1250(phrase)), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
}

TEST(CodePageTest, EveryByteSurvivesTheRoundTripThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1250ToUtf8(all);
  const auto back = Utf8ToCp1250(utf8);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
  EXPECT_EQ(Cp1250ToUtf8(Bytes({0x80, 0x84, 0xA7})), "€„§");
}

TEST(CodePageTest, TextsWindows1250CannotHoldAreRefused) {
  struct Case {
    const char* name;
    std::string utf8;
  } cases[] = {
      {"Japanese", "日本"},
      {"Cyrillic", "Ж"},
      {"letter outside the code page", "ñ"},
      {"truncated sequence", "abc\xC3"},
      {"bad continuation", "\xC3\x28"},
      {"overlong slash", "\xC0\xAF"},
      {"surrogate", "\xED\xA0\x80"},
      {"stray continuation byte", "a\x80z"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Utf8ToCp1250(c.utf8).has_value()) << c.name;
  }
  EXPECT_EQ(Utf8ToCp1250("plain ASCII"), std::string("plain ASCII"));
  EXPECT_EQ(Utf8ToCp1250("łódź"), Bytes({0xB3, 0xF3, 0x64, 0x9F}));
  EXPECT_EQ(Utf8ToCp1250(""), std::string());
}

// The same tables on every system: what the system's converter and character
// data give must be exactly Windows-1250 as Polish Windows has it.
TEST(CodePageTest, TheTablesAreTheSameOnEverySystem) {
  std::string high;
  for (int b = 0x80; b < 0x100; ++b) high += static_cast<char>(b);
  // The unassigned bytes travel as C1 controls.
  EXPECT_EQ(Cp1250ToUtf8(high),
            "€\u0081‚\u0083„…†‡\u0088‰Š‹ŚŤŽŹ\u0090‘’“”•–—\u0098™š›śťžź\u00A0ˇ˘Ł¤Ą¦§¨©Ş«¬\u00AD®Ż"
            "°±˛ł´µ¶·¸ąş»Ľ˝ľżŔÁÂĂÄĹĆÇČÉĘËĚÍÎĎĐŃŇÓÔŐÖ×ŘŮÚŰÜÝŢßŕáâăäĺćçčéęëěíîďđńňóôőö÷řůúűüýţ˙");
  const std::pair<int, int> changed[] = {
      {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F}, {0xB3, 0xA3},
      {0xB9, 0xA5}, {0xBA, 0xAA}, {0xBE, 0xBC}, {0xBF, 0xAF}, {0xE0, 0xC0}, {0xE1, 0xC1},
      {0xE2, 0xC2}, {0xE3, 0xC3}, {0xE4, 0xC4}, {0xE5, 0xC5}, {0xE6, 0xC6}, {0xE7, 0xC7},
      {0xE8, 0xC8}, {0xE9, 0xC9}, {0xEA, 0xCA}, {0xEB, 0xCB}, {0xEC, 0xCC}, {0xED, 0xCD},
      {0xEE, 0xCE}, {0xEF, 0xCF}, {0xF0, 0xD0}, {0xF1, 0xD1}, {0xF2, 0xD2}, {0xF3, 0xD3},
      {0xF4, 0xD4}, {0xF5, 0xD5}, {0xF6, 0xD6}, {0xF8, 0xD8}, {0xF9, 0xD9}, {0xFA, 0xDA},
      {0xFB, 0xDB}, {0xFC, 0xDC}, {0xFD, 0xDD}, {0xFE, 0xDE}};
  std::string expected;
  for (int b = 0; b < 0x100; ++b) expected += static_cast<char>(b >= 'a' && b <= 'z' ? b - 32 : b);
  for (const auto& [small, capital] : changed)
    expected[static_cast<size_t>(small)] = static_cast<char>(capital);
  std::string all;
  for (int b = 0; b < 0x100; ++b) all += static_cast<char>(b);
  EXPECT_EQ(UpperCase1250(all), expected);
}

}  // namespace
}  // namespace kartex
