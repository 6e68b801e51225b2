// What the program asks of Windows besides files: the code page's character
// data, the user's regional settings, the local year and the command line.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>

#include "platform/regional.h"
#include "platform/system.h"
#include "platform/system_text.h"
#include "platform/windows/wide.h"

namespace kartex::platform {
namespace {

std::string LocaleText(LCTYPE type) {
  wchar_t text[128];
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 128);
  if (length <= 1) return {};
  return WideToUtf8(std::wstring_view(text, static_cast<size_t>(length - 1)));
}

}  // namespace

namespace {

// The code point of one byte of a Windows code page; 0 when the byte is
// unassigned in it.
char32_t CodePointOf(UINT codePage, unsigned char byte) {
  const char in = static_cast<char>(byte);
  wchar_t out = 0;
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) != 1) return 0;
  return out;
}

}  // namespace

char32_t Cp1250CodePoint(unsigned char byte) { return CodePointOf(1250, byte); }

char32_t Cp1252CodePoint(unsigned char byte) { return CodePointOf(1252, byte); }

char32_t UpperCaseCodePoint(char32_t codePoint) {
  if (codePoint > 0xFFFF) return codePoint;
  wchar_t letter = static_cast<wchar_t>(codePoint);
  CharUpperBuffW(&letter, 1);
  return letter;
}

RegionalTexts UserRegionalTexts() {
  RegionalTexts texts;
  texts.decimal = LocaleText(LOCALE_SDECIMAL);
  texts.thousands = LocaleText(LOCALE_STHOUSAND);
  texts.dateSeparator = LocaleText(LOCALE_SDATE);
  texts.timeSeparator = LocaleText(LOCALE_STIME);
  texts.shortDate = LocaleText(LOCALE_SSHORTDATE);
  texts.am = LocaleText(LOCALE_S1159);
  texts.pm = LocaleText(LOCALE_S2359);
  return texts;
}

UtcDateTime CurrentUtcDateTime() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

int CurrentLocalYear() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wYear;
}

std::string ExecutableFolder() {
  // GetModuleFileNameW cuts the name to the buffer without saying how long it
  // is, so the buffer grows until the whole name fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
  // A long name may come with the \\?\ prefix, which the file API of
  // platform/ puts on by itself and refuses in a name it is given.
  if (path.starts_with(L"\\\\?\\UNC\\")) {
    path = L"\\\\" + path.substr(8);
  } else if (path.starts_with(L"\\\\?\\")) {
    path = path.substr(4);
  }
  const size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return {};
  return WideToUtf8(std::wstring_view(path).substr(0, separator));
}

std::vector<std::string> Utf8Arguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(WideToUtf8(wide[i]));
  LocalFree(wide);
  return args;
}

void PrepareConsoleOutput() {
  SetConsoleOutputCP(CP_UTF8);
  // The same bytes as on other systems: no CR is put before a line end.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace kartex::platform
