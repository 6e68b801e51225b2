#pragma once
// UTF-8 inside the program, UTF-16 at the Windows API.

#include <string>
#include <string_view>

namespace kartex::platform {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// The path as the file API takes it: absolute, with the \\?\ prefix that
// lifts the limit of 260 characters. Empty when the name is one Windows
// forbids: a device name such as CON or NUL (with any extension), a
// character of < > : " | ? * or below 32, or a part that ends in a dot or
// a blank.
std::wstring ApiPath(const std::string& utf8Path);

}  // namespace kartex::platform
