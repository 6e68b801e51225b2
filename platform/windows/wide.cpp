#include "platform/windows/wide.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <vector>

namespace kartex::platform {
namespace {

bool IsDeviceName(std::wstring_view part) {
  // The name before its first dot counts, in any letter case.
  std::wstring stem(part.substr(0, part.find(L'.')));
  while (!stem.empty() && stem.back() == L' ') stem.pop_back();
  for (wchar_t& c : stem) c = static_cast<wchar_t>(std::towupper(c));
  static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* device : kDevices) {
    if (stem == device) return true;
  }
  // COM1-COM9 and LPT1-LPT9, the superscript digits included.
  if (stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT"))) {
    const wchar_t d = stem[3];
    return (d >= L'1' && d <= L'9') || d == L'\u00B9' || d == L'\u00B2' || d == L'\u00B3';
  }
  return false;
}

bool IsForbiddenPart(std::wstring_view part) {
  if (part.empty() || part == L"." || part == L"..") return false;
  for (wchar_t c : part) {
    if (c < 32 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos) return true;
  }
  return part.back() == L'.' || part.back() == L' ' || IsDeviceName(part);
}

// The parts of a path after its drive ("C:") or server share.
bool HasForbiddenPart(std::wstring_view path) {
  if (path.size() >= 2 && path[1] == L':') path.remove_prefix(2);
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of(L"\\/", start);
    if (end == std::wstring_view::npos) end = path.size();
    if (IsForbiddenPart(path.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

std::wstring ApiPath(const std::string& utf8Path) {
  std::wstring path = Utf8ToWide(utf8Path);
  if (path.empty() || path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return {};
  if (HasForbiddenPart(path)) return {};
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::vector<wchar_t> full(needed);
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return {};
  std::wstring absolute(full.data(), length);
  if (absolute.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + absolute.substr(2);
  return L"\\\\?\\" + absolute;
}

}  // namespace kartex::platform
