#include "length.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kartex {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<double> MillimetresPerUnit(std::string_view written) {
  std::string unit(written);
  for (char& c : unit) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  if (unit.empty() || unit == "pt") return kMillimetresPerPoint;
  if (unit == "mm") return 1.0;
  if (unit == "cm") return 10.0;
  if (unit == "in") return 25.4;
  if (unit == "pc") return 12 * kMillimetresPerPoint;
  return std::nullopt;
}

}  // namespace

std::optional<double> ParseLengthMm(std::string_view text) {
  text = Trimmed(text);
  // from_chars reads no leading "+", and always with a full stop, whatever
  // the locale says.
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  const std::string_view unit = Trimmed(text.substr(static_cast<size_t>(end - text.data())));
  const std::optional<double> factor = MillimetresPerUnit(unit);
  if (!factor) return std::nullopt;
  return value * *factor;
}

}  // namespace kartex
