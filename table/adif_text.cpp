#include "table/adif_text.h"

#include <array>
#include <cstring>

#include "platform/code_page.h"
#include "platform/system_text.h"

namespace kartex {
namespace {

// Both code pages hold nothing above U+2122 (the trade mark sign).
constexpr char32_t kHighestMapped = 0x2122;

// The byte of each code point in Windows-1250 and in Windows-1252; -1 where
// the code page has none. Worked out once from the system's converters.
struct ByteOfCodePoint {
  std::array<int16_t, kHighestMapped + 1> cp1250;
  std::array<int16_t, kHighestMapped + 1> cp1252;
};

const ByteOfCodePoint& Tables() {
  static const ByteOfCodePoint tables = [] {
    ByteOfCodePoint t;
    t.cp1250.fill(-1);
    t.cp1252.fill(-1);
    for (int b = 0; b < 0x80; ++b) t.cp1250[b] = t.cp1252[b] = static_cast<int16_t>(b);
    for (int b = 0x80; b < 0x100; ++b) {
      const std::string utf8 = Cp1250ToUtf8(std::string(1, static_cast<char>(b)));
      size_t i = 0;
      const std::optional<char32_t> cp = NextUtf8CodePoint(utf8, i);
      if (cp && *cp <= kHighestMapped) t.cp1250[*cp] = static_cast<int16_t>(b);
    }
    // Windows-1252 is Latin-1 with printable characters in most of 0x80-0x9F;
    // a program that reads UTF-8 as Latin-1 turns those bytes into the C1
    // controls of the same number, so both readings lead back to the byte.
    for (int b = 0x80; b < 0x100; ++b) t.cp1252[b] = static_cast<int16_t>(b);
    for (int b = 0x80; b < 0xA0; ++b) {
      const char32_t cp = platform::Cp1252CodePoint(static_cast<unsigned char>(b));
      if (cp != 0 && cp <= kHighestMapped) t.cp1252[cp] = static_cast<int16_t>(b);
    }
    return t;
  }();
  return tables;
}

int ByteIn(const std::array<int16_t, kHighestMapped + 1>& table, char32_t cp) {
  return cp <= kHighestMapped ? table[cp] : -1;
}

bool IsLineBreak(char32_t c) { return c == '\r' || c == '\n'; }

// Control characters that a cell does not keep: the C0 controls and DEL,
// except TAB and the line breaks, and in Unicode text the C1 controls (in
// Windows-1250 those bytes are letters and signs).
bool IsDroppedControl(char32_t c, bool unicode) {
  return (c < 0x20 && c != '\t' && !IsLineBreak(c)) || c == 0x7F ||
         (unicode && c >= 0x80 && c < 0xA0);
}

// Appends the characters of text, each line break as CR LF and the dropped
// controls left out; Char is a byte of Windows-1250 or a code point.
template <typename Char, typename Put>
void AppendWithLineBreaks(const Char* text, size_t n, std::string& out, AdifTextChanges& changes,
                          Put put) {
  constexpr bool kUnicode = sizeof(Char) > 1;
  for (size_t i = 0; i < n; ++i) {
    const auto c = static_cast<char32_t>(text[i]);
    if (IsLineBreak(c)) {
      if (c == '\r' && i + 1 < n && static_cast<char32_t>(text[i + 1]) == '\n') ++i;
      out += "\r\n";
    } else if (IsDroppedControl(c, kUnicode)) {
      changes.controlsDropped = true;
    } else {
      put(c);
    }
  }
}

bool HoldsNonAscii(std::string_view raw) {
  for (char c : raw) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace

int Cp1250ByteOf(char32_t codePoint) { return ByteIn(Tables().cp1250, codePoint); }

AdifTextChanges AdifTextConverter::Append(std::string_view raw, std::string& out) {
  AdifTextChanges changes;
  if (!NeedsConversion(raw)) {
    out.append(raw);
    return changes;
  }
  if (HoldsNonAscii(raw) && DecodeUtf8(raw, codePoints_)) {
    UndoDoubleEncoding();
    AppendCodePoints(out, changes);
    return changes;
  }
  // ASCII with control bytes, or no UTF-8: Windows-1250 bytes as they stand.
  AppendWithLineBreaks(reinterpret_cast<const unsigned char*>(raw.data()), raw.size(), out, changes,
                       [&out](char32_t byte) { out += static_cast<char>(byte); });
  return changes;
}

bool AdifTextConverter::DecodeUtf8(std::string_view bytes, std::vector<char32_t>& codePoints) {
  codePoints.clear();
  for (size_t i = 0; i < bytes.size();) {
    const std::optional<char32_t> cp = NextUtf8CodePoint(bytes, i);
    if (!cp) return false;
    codePoints.push_back(*cp);
  }
  return true;
}

// UTF-8 whose bytes were taken for Windows-1252 (or Windows-1250)
// characters and encoded again: every character goes back to one byte of
// that code page, and the bytes are UTF-8 once more. The second decoding is
// kept only when Windows-1250 can hold all of it, so that ordinary text
// whose letters happen to make UTF-8 as bytes stays as it was.
void AdifTextConverter::UndoDoubleEncoding() {
  const ByteOfCodePoint& tables = Tables();
  for (const auto* table : {&tables.cp1252, &tables.cp1250}) {
    bytes_.clear();
    bool mapped = true;
    for (char32_t cp : codePoints_) {
      const int b = ByteIn(*table, cp);
      if (b < 0) {
        mapped = false;
        break;
      }
      bytes_ += static_cast<char>(b);
    }
    if (!mapped || !HoldsNonAscii(bytes_) || !DecodeUtf8(bytes_, twice_)) continue;
    bool holdable = true;
    for (char32_t cp : twice_) {
      if (!IsDroppedControl(cp, true) && Cp1250ByteOf(cp) < 0) holdable = false;
    }
    if (!holdable) continue;
    codePoints_.swap(twice_);
    return;
  }
}

void AdifTextConverter::AppendCodePoints(std::string& out, AdifTextChanges& changes) const {
  AppendWithLineBreaks(codePoints_.data(), codePoints_.size(), out, changes,
                       [&out, &changes](char32_t cp) {
                         const int b = Cp1250ByteOf(cp);
                         if (b < 0) {
                           out += '?';
                           ++changes.replacedCharacters;
                         } else {
                           out += static_cast<char>(b);
                         }
                       });
}

}  // namespace kartex
