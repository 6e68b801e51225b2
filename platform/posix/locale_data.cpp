#include "platform/posix/locale_data.h"

#include <iconv.h>

#include <cctype>
#include <optional>

namespace kartex::platform {
namespace {

bool IsUtf8Codeset(std::string_view codeset) {
  std::string lower;
  for (char c : codeset) {
    if (c != '-' && c != '_')
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return lower.empty() || lower == "utf8";
}

// A locale text in UTF-8; empty when it cannot be converted.
std::string ToUtf8(std::string_view text, std::string_view codeset) {
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii || IsUtf8Codeset(codeset)) return std::string(text);

  iconv_t cd = iconv_open("UTF-8", std::string(codeset).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(text.size() * 4 + 4, '\0');
  char* inPtr = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || inLeft != 0) return {};
  out.resize(out.size() - outLeft);
  return out;
}

// Composite conversions spelled out, so that only simple fields remain.
std::string ExpandComposites(std::string_view format) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      const char c = format[i + 1];
      const char* expansion = nullptr;
      switch (c) {
        case 'D':
          expansion = "%m/%d/%y";
          break;
        case 'F':
          expansion = "%Y-%m-%d";
          break;
        case 'T':
          expansion = "%H:%M:%S";
          break;
        case 'R':
          expansion = "%H:%M";
          break;
        case 'r':
          expansion = "%I:%M:%S %p";
          break;
        default:
          break;
      }
      if (expansion != nullptr) {
        out += expansion;
      } else {
        out += format[i];
        out += c;
      }
      ++i;
      continue;
    }
    out += format[i];
  }
  return out;
}

struct Conversion {
  char letter = 0;        // the conversion character
  bool unpadded = false;  // the "-" flag
  size_t end = 0;         // position behind it
};

// Reads one conversion starting at the "%" at position i.
Conversion ReadConversion(std::string_view format, size_t i) {
  Conversion conv;
  size_t j = i + 1;
  while (j < format.size() && std::string_view("-_0^#").find(format[j]) != std::string_view::npos) {
    if (format[j] == '-') conv.unpadded = true;
    ++j;
  }
  while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
  if (j < format.size() && (format[j] == 'E' || format[j] == 'O')) ++j;
  if (j < format.size()) {
    conv.letter = format[j];
    ++j;
  }
  conv.end = j;
  return conv;
}

// The first separating character of a strftime format: the first character
// behind a conversion that is neither a conversion, a blank nor alphanumeric.
std::optional<std::string> FirstSeparator(std::string_view format) {
  bool afterField = false;
  for (size_t i = 0; i < format.size();) {
    if (format[i] == '%') {
      const Conversion conv = ReadConversion(format, i);
      afterField =
          conv.letter != 0 && conv.letter != '%' && conv.letter != 'n' && conv.letter != 't';
      i = conv.end;
      continue;
    }
    const auto b = static_cast<unsigned char>(format[i]);
    if (afterField && b != ' ' && !std::isalnum(b)) {
      // A multibyte character is taken whole.
      size_t len = 1;
      if (b >= 0xC0) {
        while (i + len < format.size() &&
               (static_cast<unsigned char>(format[i + len]) & 0xC0) == 0x80)
          ++len;
      }
      return std::string(format.substr(i, len));
    }
    ++i;
  }
  return std::nullopt;
}

}  // namespace

std::string DateFormatToPattern(std::string_view strftimeFormat) {
  const std::string format = ExpandComposites(strftimeFormat);
  std::string pattern;
  bool hasField = false;
  for (size_t i = 0; i < format.size();) {
    if (format[i] != '%') {
      pattern += format[i];
      ++i;
      continue;
    }
    const Conversion conv = ReadConversion(format, i);
    i = conv.end;
    switch (conv.letter) {
      case 'd':
        pattern += conv.unpadded ? "d" : "dd";
        hasField = true;
        break;
      case 'e':
        pattern += "d";
        hasField = true;
        break;
      case 'm':
        pattern += conv.unpadded ? "m" : "mm";
        hasField = true;
        break;
      case 'y':
        pattern += "yy";
        hasField = true;
        break;
      case 'Y':
      case 'G':
        pattern += "yyyy";
        hasField = true;
        break;
      case 'b':
      case 'h':
        pattern += "mmm";
        hasField = true;
        break;
      case 'B':
        pattern += "mmmm";
        hasField = true;
        break;
      case 'a':
        pattern += "ddd";
        break;
      case 'A':
        pattern += "dddd";
        break;
      case '%':
        pattern += '%';
        break;
      case 'n':
      case 't':
        pattern += ' ';
        break;
      default:
        break;  // fields a short date has no letters for
    }
  }
  return hasField ? pattern : std::string();
}

RegionalTexts RegionalTextsFromLocale(const LocaleData& data) {
  RegionalTexts texts;
  texts.decimal = ToUtf8(data.radix, data.codeset);
  texts.thousands = ToUtf8(data.thousands, data.codeset);
  if (!data.dateFormat.empty() && data.dateFormat != "%m/%d/%y" && data.dateFormat != "%D") {
    const std::string expanded = ExpandComposites(data.dateFormat);
    texts.shortDate = ToUtf8(DateFormatToPattern(expanded), data.codeset);
    if (auto sep = FirstSeparator(expanded)) texts.dateSeparator = ToUtf8(*sep, data.codeset);
  }
  if (auto sep = FirstSeparator(ExpandComposites(data.timeFormat))) {
    texts.timeSeparator = ToUtf8(*sep, data.codeset);
  }
  texts.am = ToUtf8(data.am, data.codeset);
  texts.pm = ToUtf8(data.pm, data.codeset);
  return texts;
}

}  // namespace kartex::platform
