#include "app/qt_settings_keeper.h"

#include <QFileInfo>
#include <QSettings>

namespace kartex {
namespace {

constexpr const char* kQtOrganization = "QtProject";

}  // namespace

QtSettingsKeeper::QtSettingsKeeper() {
  const QSettings settings(QSettings::UserScope, kQtOrganization);
  for (const QString& key : settings.allKeys()) values_.insert(key, settings.value(key));
  // A store file that is there but holds nothing is kept as it is too.
  existed_ = !values_.isEmpty() || QFileInfo(settings.fileName()).isFile();
}

QtSettingsKeeper::~QtSettingsKeeper() {
  QString storeName;
  {
    QSettings settings(QSettings::UserScope, kQtOrganization);
    storeName = settings.fileName();
    settings.clear();
    for (auto value = values_.cbegin(); value != values_.cend(); ++value)
      settings.setValue(value.key(), value.value());
    settings.sync();
  }
  if (!existed_) RemoveEmptyQtProjectStore(storeName);
}

}  // namespace kartex
