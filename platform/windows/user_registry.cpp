#include "platform/windows/user_registry.h"

#include <windows.h>

#include "platform/windows/wide.h"

namespace kartex::platform {

void RemoveEmptyUserRegistryKey(const std::string& path) {
  const std::wstring wide = Utf8ToWide(path);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  DWORD subkeys = 0;
  DWORD values = 0;
  const LONG result = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                       &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (result == ERROR_SUCCESS && subkeys == 0 && values == 0) {
    RegDeleteKeyW(HKEY_CURRENT_USER, wide.c_str());
  }
}

}  // namespace kartex::platform
