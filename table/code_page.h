#pragma once
// Windows-1250, the program's code page: conversions to and from UTF-8 for
// screens and terminals, and the code page's upper-casing.

#include <optional>
#include <string>
#include <string_view>

namespace kartex {

std::string Cp1250ToUtf8(std::string_view bytes);
// nullopt when the text holds a character Windows-1250 cannot hold (or is not
// valid UTF-8).
std::optional<std::string> Utf8ToCp1250(std::string_view utf8);
// Upper-cases letters with diacritics as well as a-z.
unsigned char UpperCase1250(unsigned char c);
std::string UpperCase1250(std::string_view text);

}  // namespace kartex
