#pragma once
// The user's regional values read by the condition matcher and the sort
// comparison. Characters are bytes of the table's code page (Windows-1250).

#include <string>

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

}  // namespace kartex
