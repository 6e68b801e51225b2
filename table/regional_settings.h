#pragma once
// The user's regional values read by the condition matcher and the sort
// comparison. Characters are bytes of the table's code page (Windows-1250).

#include <string>

#include "platform/regional.h"

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

// The regional settings that the system's texts give: separators of one
// Windows-1250 byte, texts in Windows-1250. Anything missing or not
// representable keeps its default.
RegionalSettings RegionalSettingsFromTexts(const platform::RegionalTexts& texts);

// The user's settings, from the system.
RegionalSettings ReadRegionalSettings();

}  // namespace kartex
