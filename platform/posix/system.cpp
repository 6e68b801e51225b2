// What the program asks of a POSIX system besides files: the code page's
// character data, the user's locale, the local year and the command line.

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>
#include <wctype.h>

#include <cstdint>
#include <ctime>

#include "platform/posix/locale_data.h"
#include "platform/regional.h"
#include "platform/system.h"
#include "platform/system_text.h"

namespace kartex::platform {

namespace {

// The code point of one byte of the named 8-bit code set; 0 when iconv does
// not know the code set or the byte is unassigned in it.
char32_t CodePointOf(const char* codeSet, unsigned char byte) {
  iconv_t cd = iconv_open("UTF-32LE", codeSet);
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  char in = static_cast<char>(byte);
  char* inPtr = &in;
  size_t inLeft = 1;
  unsigned char out[4] = {};
  char* outPtr = reinterpret_cast<char*>(out);
  size_t outLeft = sizeof out;
  const bool ok =
      iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && outLeft == 0;
  iconv_close(cd);
  if (!ok) return 0;
  return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) |
                               (static_cast<uint32_t>(out[3]) << 24));
}

}  // namespace

char32_t Cp1250CodePoint(unsigned char byte) { return CodePointOf("CP1250", byte); }

char32_t Cp1252CodePoint(unsigned char byte) { return CodePointOf("CP1252", byte); }

char32_t UpperCaseCodePoint(char32_t codePoint) {
  // The C library's Unicode character data, whatever the user's locale.
  static const locale_t unicode = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (l == static_cast<locale_t>(nullptr))
      l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(nullptr));
    return l;
  }();
  if (unicode == static_cast<locale_t>(nullptr)) return codePoint;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(codePoint), unicode));
}

RegionalTexts UserRegionalTexts() {
  // The locale the user's environment names (LC_ALL, LC_NUMERIC, LC_TIME,
  // LANG), read without changing the program's own.
  locale_t user = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
  if (user == static_cast<locale_t>(nullptr))
    user = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  auto info = [user](nl_item item) {
    const char* text = nl_langinfo_l(item, user);
    return std::string(text != nullptr ? text : "");
  };
  LocaleData data;
  data.codeset = info(CODESET);
  data.radix = info(RADIXCHAR);
  data.thousands = info(THOUSEP);
  data.dateFormat = info(D_FMT);
  data.timeFormat = info(T_FMT);
  data.am = info(AM_STR);
  data.pm = info(PM_STR);
  freelocale(user);
  return RegionalTextsFromLocale(data);
}

UtcDateTime CurrentUtcDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
}

int CurrentLocalYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

std::string ExecutableFolder() {
  // /proc/self/exe names the executable; readlink does not say how long the
  // name is beforehand, so the buffer grows until the whole name fits.
  std::string path(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < path.size()) {
      path.resize(static_cast<size_t>(length));
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

void PrepareConsoleOutput() {}

}  // namespace kartex::platform
