#pragma once
// The user's regional values read by the condition matcher and the sort
// comparison. Characters are bytes of the table's code page (Windows-1250).

#include <string>
#include <string_view>

namespace kartex {

struct RegionalSettings {
  char decimalSeparator = '.';
  char thousandSeparator = ',';
  char dateSeparator = '/';
  char timeSeparator = ':';
  std::string shortDateFormat = "m/d/yy";
  std::string timeAMString = "AM";
  std::string timePMString = "PM";
};

// Reads the values from the user's locale (LC_ALL / LC_NUMERIC / LC_TIME);
// a value the locale does not give keeps the default above.
RegionalSettings ReadRegionalSettings();

// What a locale says, as the C library gives it (texts in the locale's
// character set, codeset e.g. "UTF-8"; the formats strftime-style).
struct LocaleData {
  std::string codeset = "UTF-8";
  std::string radix;
  std::string thousands;
  std::string dateFormat;  // D_FMT, e.g. "%d.%m.%Y"
  std::string timeFormat;  // T_FMT, e.g. "%H:%M:%S"
  std::string am;
  std::string pm;
};

// The regional settings that locale data gives: separators of one
// Windows-1250 byte, the short date format as a letter pattern such as
// "dd.mm.yyyy". Anything missing or not representable keeps its default.
RegionalSettings RegionalSettingsFromLocale(const LocaleData& data);

// A strftime-style date format as a letter pattern ("%d.%m.%Y" gives
// "dd.mm.yyyy"); empty when the format holds no day, month or year field.
std::string DateFormatToPattern(std::string_view strftimeFormat);

}  // namespace kartex
