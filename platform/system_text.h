#pragma once
// The operating system's character data that the code page is built from:
// one implementation per system.

namespace kartex::platform {

// The Unicode code point of a Windows-1250 byte, from the system's converter;
// 0 for a byte the code page leaves unassigned (and for byte 0).
char32_t Cp1250CodePoint(unsigned char byte);

// The same for Windows-1252, the code page that many programs take for
// UTF-8 bytes they read by mistake (the ADIF reader undoes that).
char32_t Cp1252CodePoint(unsigned char byte);

// The capital of a letter by the system's character data; the code point
// itself when it has none.
char32_t UpperCaseCodePoint(char32_t codePoint);

}  // namespace kartex::platform
