#pragma once
// Windows-1250, the program's code page: conversions to and from UTF-8 for
// screens, terminals and file names, and the code page's upper-casing.
//
// What each byte stands for, and what the capital of a letter is, comes from
// the operating system's own character data (system_text.h); the rest is
// worked out here the same way on every system. The five byte values that
// Windows-1250 leaves unassigned (0x81, 0x83, 0x88, 0x90, 0x98) travel as the
// C1 control characters of the same number, so that any cell survives a round
// trip through UTF-8 unchanged.

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

// The next code point of UTF-8 text from i (moved past it); nullopt for a
// sequence that is not valid UTF-8 (overlong forms and surrogates included).
std::optional<char32_t> NextUtf8CodePoint(std::string_view utf8, size_t& i);
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace kartex
