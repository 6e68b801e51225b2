#include "table/regional_settings.h"

#include <optional>
#include <string_view>

#include "platform/code_page.h"

namespace kartex {
namespace {

// One Windows-1250 byte, or nothing when the text is not exactly one.
std::optional<char> OneByte(std::string_view utf8) {
  const auto converted = Utf8ToCp1250(utf8);
  if (!converted || converted->size() != 1) return std::nullopt;
  return (*converted)[0];
}

// Digit-group separators that Windows-1250 has no sign for (narrow no-break
// space, thin space, figure space) are written there as the no-break space.
std::optional<char> ThousandsByte(std::string_view utf8) {
  if (auto byte = OneByte(utf8)) return byte;
  if (utf8 == "\u202F" || utf8 == "\u2009" || utf8 == "\u2007") return static_cast<char>(0xA0);
  return std::nullopt;
}

void SetByte(char& value, std::optional<char> byte) {
  if (byte) value = *byte;
}

void SetText(std::string& value, std::string_view utf8) {
  if (utf8.empty()) return;
  if (auto converted = Utf8ToCp1250(utf8)) value = *converted;
}

}  // namespace

RegionalSettings RegionalSettingsFromTexts(const platform::RegionalTexts& texts) {
  RegionalSettings settings;
  SetByte(settings.decimalSeparator, OneByte(texts.decimal));
  SetByte(settings.thousandSeparator, ThousandsByte(texts.thousands));
  SetByte(settings.dateSeparator, OneByte(texts.dateSeparator));
  SetByte(settings.timeSeparator, OneByte(texts.timeSeparator));
  SetText(settings.shortDateFormat, texts.shortDate);
  SetText(settings.timeAMString, texts.am);
  SetText(settings.timePMString, texts.pm);
  return settings;
}

RegionalSettings ReadRegionalSettings() {
  return RegionalSettingsFromTexts(platform::UserRegionalTexts());
}

}  // namespace kartex
