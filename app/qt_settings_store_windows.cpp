#include "app/qt_settings_keeper.h"
#include "platform/windows/user_registry.h"

namespace kartex {

// The store is the registry key HKCU\Software\QtProject with the subkey
// OrganizationDefaults of the settings without an application name.
void RemoveEmptyQtProjectStore(const QString&) {
  platform::RemoveEmptyUserRegistryKey("Software\\QtProject\\OrganizationDefaults");
  platform::RemoveEmptyUserRegistryKey("Software\\QtProject");
}

}  // namespace kartex
