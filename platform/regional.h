#pragma once
// The user's regional settings as the operating system gives them.

#include <string>

namespace kartex::platform {

// UTF-8 texts; a value the system does not give is empty.
struct RegionalTexts {
  std::string decimal;
  std::string thousands;
  std::string dateSeparator;
  std::string timeSeparator;
  std::string shortDate;  // a letter pattern such as "dd.MM.yyyy"
  std::string am;
  std::string pm;
};

RegionalTexts UserRegionalTexts();

}  // namespace kartex::platform
