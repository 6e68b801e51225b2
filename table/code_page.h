#pragma once
// Windows-1250, the program's code page: conversions to and from UTF-8 for
// screens and terminals, and the code page's upper-casing.
//
// The conversions come from the C library's "CP1250" converter. The five byte
// values that Windows-1250 leaves unassigned (0x81, 0x83, 0x88, 0x90, 0x98)
// travel as the C1 control characters of the same number, so that any cell
// survives a round trip through UTF-8 unchanged.

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
// Upper-cases text into out (reusing its storage); for hot loops.
void UpperCase1250Into(std::string_view text, std::string& out);

}  // namespace kartex
