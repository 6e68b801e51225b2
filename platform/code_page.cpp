#include "platform/code_page.h"

#include <array>
#include <unordered_map>

#include "platform/system_text.h"

namespace kartex {
namespace {

// What every byte of the code page stands for, its UTF-8 form and its
// capital, worked out once from the system's character data.
struct ByteTable {
  std::array<char32_t, 256> codePoint{};
  std::array<std::string, 256> utf8;
  std::array<unsigned char, 256> upper{};
  std::unordered_map<char32_t, unsigned char> byteOf;  // the bytes 0x80-0xFF
};

ByteTable BuildTable() {
  ByteTable t;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    char32_t cp = b < 0x80 ? static_cast<char32_t>(b) : platform::Cp1250CodePoint(byte);
    if (cp == 0) cp = static_cast<char32_t>(b);  // unassigned: the C1 control of the same number
    t.codePoint[b] = cp;
    AppendUtf8(t.utf8[b], cp);
    if (b >= 0x80) t.byteOf.emplace(cp, byte);
  }
  // Upper-casing: decode, upper-case with the system's character data, encode
  // back; a byte whose capital Windows-1250 cannot hold stays as it is.
  for (int b = 0; b < 256; ++b) {
    t.upper[b] = static_cast<unsigned char>(b);
    if (b < 0x80) {
      if (b >= 'a' && b <= 'z') t.upper[b] = static_cast<unsigned char>(b - 32);
      continue;
    }
    const auto found = t.byteOf.find(platform::UpperCaseCodePoint(t.codePoint[b]));
    if (found != t.byteOf.end()) t.upper[b] = found->second;
  }
  return t;
}

const ByteTable& Table() {
  static const ByteTable table = BuildTable();
  return table;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::optional<char32_t> NextUtf8CodePoint(std::string_view s, size_t& i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  size_t length;
  char32_t cp;
  char32_t smallest;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, smallest = 0x10000;
  } else {
    return std::nullopt;  // a continuation byte or no UTF-8 lead at all
  }
  if (s.size() - i < length) return std::nullopt;
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(s[i + k]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  i += length;
  return cp;
}

std::string Cp1250ToUtf8(std::string_view bytes) {
  const ByteTable& t = Table();
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += t.utf8[b];
    }
  }
  return out;
}

std::optional<std::string> Utf8ToCp1250(std::string_view utf8) {
  const ByteTable& t = Table();
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const std::optional<char32_t> cp = NextUtf8CodePoint(utf8, i);
    if (!cp) return std::nullopt;
    if (*cp < 0x80) {
      out += static_cast<char>(*cp);
      continue;
    }
    const auto found = t.byteOf.find(*cp);
    if (found == t.byteOf.end()) return std::nullopt;
    out += static_cast<char>(found->second);
  }
  return out;
}

unsigned char UpperCase1250(unsigned char c) { return Table().upper[c]; }

std::string UpperCase1250(std::string_view text) {
  std::string out;
  UpperCase1250Into(text, out);
  return out;
}

void UpperCase1250Into(std::string_view text, std::string& out) {
  const auto& upper = Table().upper;
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    out[i] = static_cast<char>(upper[static_cast<unsigned char>(text[i])]);
  }
}

}  // namespace kartex
