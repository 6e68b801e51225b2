#pragma once
// Lengths as label sheet templates write them: a number and a unit, "63.5mm",
// "2.5 in", "181.4pt", "1.2cm", "6pc"; a number without a unit is in points,
// as the label designers that write these files read it.

#include <optional>
#include <string_view>

namespace kartex {

inline constexpr double kMillimetresPerPoint = 25.4 / 72.0;

// The length in millimetres; nullopt when the text is no length (no number,
// an unknown unit, something after the unit, not finite).
std::optional<double> ParseLengthMm(std::string_view text);

}  // namespace kartex
