// The cell text of ADIF values: UTF-8 to Windows-1250, text encoded twice,
// and text that only looks as if it were.

#include "table/adif_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kartex {
namespace {

std::string Cell(std::string_view raw, AdifTextChanges* changes = nullptr) {
  AdifTextConverter converter;
  std::string out = "[";
  const AdifTextChanges made = converter.Append(raw, out);
  if (changes) *changes = made;
  return out + "]";
}

TEST(AdifTextTest, AsciiStaysAsItIs) {
  AdifTextChanges changes;
  EXPECT_EQ(Cell("SP1AA \t59", &changes), "[SP1AA \t59]");
  EXPECT_EQ(changes.replacedCharacters, 0);
  EXPECT_FALSE(changes.controlsDropped);
}

TEST(AdifTextTest, CentralEuropeanLettersAndSignsReachTheirWindows1250Bytes) {
  EXPECT_EQ(Cell("Żółć €‚„…–"), "[\xAF\xF3\xB3\xE6 \x80\x82\x84\x85\x96]");
}

TEST(AdifTextTest, ByteOfEachCodePointComesFromTheCodePage) {
  EXPECT_EQ(Cp1250ByteOf(U'Ł'), 0xA3);
  EXPECT_EQ(Cp1250ByteOf(U'™'), 0x99);
  EXPECT_EQ(Cp1250ByteOf(U'A'), 'A');
  EXPECT_EQ(Cp1250ByteOf(U'ß'), 0xDF);
  EXPECT_EQ(Cp1250ByteOf(U'ñ'), -1);
  EXPECT_EQ(Cp1250ByteOf(U'山'), -1);
}

TEST(AdifTextTest, EuroSignEncodedTwiceThroughWindows1252) {
  // E2 82 AC read as "â‚¬" (0x82 is U+201A in Windows-1252) and encoded again.
  EXPECT_EQ(Cell("\xC3\xA2\xE2\x80\x9A\xC2\xAC"), "[\x80]");
}

TEST(AdifTextTest, LettersWhoseWindows1250BytesMakeUtf8AreNotTakenForDoubleEncoding) {
  // "ĘŚ" as Windows-1250 bytes (CA 8C) is UTF-8 for U+028C, which Windows-1250
  // cannot hold: the text stays as written.
  EXPECT_EQ(Cell("ĘŚ"), "[\xCA\x8C]");
  // Latin-1 letters whose bytes are no UTF-8.
  EXPECT_EQ(Cell("Ãé"), "[?\xE9]");
}

TEST(AdifTextTest, InvalidUtf8IsTakenAsWindows1250AndKeepsItsLineBreaks) {
  AdifTextChanges changes;
  EXPECT_EQ(Cell("Gda\xF1sk\nul. \xA3\xB9kowa", &changes), "[Gda\xF1sk\r\nul. \xA3\xB9kowa]");
  EXPECT_FALSE(changes.controlsDropped);
  // Bytes 0x80-0x9F are letters and signs of the code page, no controls.
  EXPECT_EQ(Cell("\x8Cwi\xEAto \x9Fr\xF3"
                 "d\xB3o \x80"),
            "[\x8Cwi\xEAto \x9Fr\xF3"
            "d\xB3o \x80]");
  // An overlong form and a surrogate are no UTF-8 either.
  EXPECT_EQ(Cell("\xC0\xAF"), "[\xC0\xAF]");
  EXPECT_EQ(Cell("\xED\xA0\x80"), "[\xED\xA0\x80]");
}

TEST(AdifTextTest, C1ControlsInUtf8AreDroppedAndCharactersOutsideTheCodePageCounted) {
  AdifTextChanges changes;
  EXPECT_EQ(Cell("a\xC2\x85"
                 "b 😀 ñ",
                 &changes),
            "[ab ? ?]");
  EXPECT_TRUE(changes.controlsDropped);
  EXPECT_EQ(changes.replacedCharacters, 2);
}

}  // namespace
}  // namespace kartex
