#pragma once
// KARTEX keeps no settings. Qt's file dialog, though, stores its last folder
// and history in the user's settings of "QtProject" whenever a dialog goes
// (~/.config/QtProject.conf; on Windows the registry key
// HKCU\Software\QtProject). A keeper taken before a dialog puts those
// settings back as they were when it goes: the values another Qt program
// left there stay, and a store that was not there before is removed.

#include <QMap>
#include <QString>
#include <QVariant>

namespace kartex {

class QtSettingsKeeper {
 public:
  QtSettingsKeeper();
  ~QtSettingsKeeper();
  QtSettingsKeeper(const QtSettingsKeeper&) = delete;
  QtSettingsKeeper& operator=(const QtSettingsKeeper&) = delete;

 private:
  QMap<QString, QVariant> values_;  // every key of the store before
  bool existed_ = false;
};

// The store of the settings of "QtProject" goes, once it holds nothing:
// the file, or the registry key. One small file per system.
void RemoveEmptyQtProjectStore(const QString& storeName);

}  // namespace kartex
