#pragma once
// The text of an ADIF value as a cell of the log table. ADIF files come from
// every kind of logger: most write UTF-8, some the code page of their
// system, a few UTF-8 that was taken for Windows-1252 (or -1250) bytes and
// encoded once more. The table holds Windows-1250, so each value is
// converted on its own:
//   - text that is valid UTF-8 is converted to Windows-1250; a character the
//     code page cannot hold becomes "?", and is counted;
//   - UTF-8 encoded twice (its bytes read as Windows-1252 or -1250 and
//     encoded again) is decoded twice, when that gives UTF-8 text that
//     Windows-1250 can hold;
//   - any other text is taken as Windows-1250 bytes as it stands;
//   - a line break (CR LF, a lone LF or a lone CR) becomes CR LF, as a cell
//     of several lines holds it; other control bytes (TAB apart) are dropped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kartex {

// What the conversion of one value changed.
struct AdifTextChanges {
  int64_t replacedCharacters = 0;  // characters written as "?"
  bool controlsDropped = false;    // control bytes left out
};

class AdifTextConverter {
 public:
  // Appends the cell text of the value raw to out.
  AdifTextChanges Append(std::string_view raw, std::string& out);

 private:
  bool DecodeUtf8(std::string_view bytes, std::vector<char32_t>& codePoints);
  void UndoDoubleEncoding();
  void AppendCodePoints(std::string& out, AdifTextChanges& changes) const;

  std::vector<char32_t> codePoints_;  // reused from value to value
  std::vector<char32_t> twice_;
  std::string bytes_;
};

// The Windows-1250 byte of a code point; -1 when the code page has none.
int Cp1250ByteOf(char32_t codePoint);

// Whether a value holds anything but printable ASCII and TAB, which the
// cell takes as it stands.
inline bool NeedsConversion(std::string_view raw) {
  for (char c : raw) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x7F || (b < 0x20 && b != '\t')) return true;
  }
  return false;
}

}  // namespace kartex
