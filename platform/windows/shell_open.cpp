#include "platform/windows/shell_open.h"

#include <windows.h>

// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/windows/wide.h"

namespace kartex::platform {

// ShellExecuteW gives a value above 32 when it could open the document, an
// error code of 32 or less when it could not.
bool ShellOpenDocument(const std::string& path, std::uintptr_t ownerWindow) {
  const std::wstring wide = Utf8ToWide(path);
  const HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(ownerWindow), L"open", wide.c_str(),
                                         nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace kartex::platform
