#include "table/code_page.h"

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cwctype>

#include <array>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

namespace kartex {
namespace {

// The bytes Windows-1250 does not assign; they stand for the C1 control
// character of the same number.
bool IsUnassigned1250(unsigned char b) {
  return b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
}

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

// One iconv descriptor, opened once per thread and reset before each use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  iconv_t cd_;
};

// The code point of each Windows-1250 byte, taken from the C library's
// converter; nothing for an unassigned byte.
struct ByteTable {
  std::array<char32_t, 256> codePoint{};
  std::array<bool, 256> assigned{};
  std::array<std::string, 256> utf8;
  std::array<unsigned char, 256> upper{};
};

const ByteTable& Table() {
  static const ByteTable table = [] {
    ByteTable t;
    Converter toUtf32("UTF-32LE", "CP1250");
    Converter fromUtf32("CP1250", "UTF-32LE");
    locale_t ctype = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (ctype == static_cast<locale_t>(nullptr)) {
      ctype = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
    }
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<unsigned char>(b);
      t.upper[b] = byte;
      if (b < 0x80) {
        t.codePoint[b] = static_cast<char32_t>(b);
        t.assigned[b] = true;
      } else if (toUtf32.ok()) {
        char in = static_cast<char>(byte);
        char* inPtr = &in;
        size_t inLeft = 1;
        unsigned char out[4] = {};
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        if (iconv(toUtf32.get(), &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
            outLeft == 0) {
          t.codePoint[b] = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) |
                                                 (static_cast<uint32_t>(out[3]) << 24));
          t.assigned[b] = true;
        }
      }
      if (t.assigned[b]) {
        AppendUtf8(t.utf8[b], t.codePoint[b]);
      } else {
        AppendUtf8(t.utf8[b], static_cast<char32_t>(b));  // C1 control of the same number
      }
    }
    // Upper-casing: decode, upper-case with the C library's character data,
    // encode back; a byte whose capital Windows-1250 cannot hold stays.
    for (int b = 0; b < 256; ++b) {
      if (!t.assigned[b]) continue;
      if (b < 0x80) {
        t.upper[b] = (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - 32)
                                            : static_cast<unsigned char>(b);
        continue;
      }
      if (ctype == static_cast<locale_t>(nullptr) || !fromUtf32.ok()) continue;
      const wint_t up = towupper_l(static_cast<wint_t>(t.codePoint[b]), ctype);
      if (up == static_cast<wint_t>(t.codePoint[b])) continue;
      const uint32_t cp = static_cast<uint32_t>(up);
      unsigned char in[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8),
                             static_cast<unsigned char>(cp >> 16),
                             static_cast<unsigned char>(cp >> 24)};
      char* inPtr = reinterpret_cast<char*>(in);
      size_t inLeft = sizeof in;
      char out[4] = {};
      char* outPtr = out;
      size_t outLeft = sizeof out;
      if (iconv(fromUtf32.get(), &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
          inLeft == 0 && outLeft == sizeof out - 1) {
        t.upper[b] = static_cast<unsigned char>(out[0]);
      }
    }
    if (ctype != static_cast<locale_t>(nullptr)) freelocale(ctype);
    return t;
  }();
  return table;
}

}  // namespace

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
  bool ascii = true;
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return std::string(utf8);

  thread_local Converter converter("CP1250", "UTF-8");
  if (!converter.ok()) return std::nullopt;
  iconv_t cd = converter.get();

  std::string out(utf8.size(), '\0');  // never longer than the UTF-8 text
  char* inPtr = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ) return std::nullopt;  // incomplete sequence at the end
    // U+0081 and the like stand for the unassigned bytes of the same number.
    const auto lead = static_cast<unsigned char>(inPtr[0]);
    if (inLeft >= 2 && lead == 0xC2) {
      const auto next = static_cast<unsigned char>(inPtr[1]);
      if (IsUnassigned1250(next) && outLeft > 0) {
        *outPtr++ = static_cast<char>(next);
        --outLeft;
        inPtr += 2;
        inLeft -= 2;
        continue;
      }
    }
    return std::nullopt;
  }
  out.resize(out.size() - outLeft);
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
