#pragma once
// Windows only: the current user's registry, as far as KARTEX touches it:
// to take away what Qt's dialogs left there (app/qt_settings_keeper.h).

#include <string>

namespace kartex::platform {

// Removes the key HKEY_CURRENT_USER\path (UTF-8, "\" between its parts) when
// it has neither values nor subkeys; does nothing otherwise.
void RemoveEmptyUserRegistryKey(const std::string& path);

}  // namespace kartex::platform
