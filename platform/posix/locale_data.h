#pragma once
// What a POSIX locale says about numbers, dates and times, and the regional
// texts it gives.

#include <string>
#include <string_view>

#include "platform/regional.h"

namespace kartex::platform {

// As the C library gives it: texts in the locale's character set (codeset,
// e.g. "UTF-8"), the formats strftime-style.
struct LocaleData {
  std::string codeset = "UTF-8";
  std::string radix;
  std::string thousands;
  std::string dateFormat;  // D_FMT, e.g. "%d.%m.%Y"
  std::string timeFormat;  // T_FMT, e.g. "%H:%M:%S"
  std::string am;
  std::string pm;
};

// The texts in UTF-8, the short date as a letter pattern ("%d.%m.%Y" gives
// "dd.mm.yyyy") and the first separators of the date and time formats. The
// POSIX date format "%m/%d/%y" says nothing of the user, so it gives no
// short date and no date separator; a text that cannot be converted is empty.
RegionalTexts RegionalTextsFromLocale(const LocaleData& data);

// A strftime-style date format as a letter pattern ("%d.%m.%Y" gives
// "dd.mm.yyyy"); empty when the format holds no day, month or year field.
std::string DateFormatToPattern(std::string_view strftimeFormat);

}  // namespace kartex::platform
