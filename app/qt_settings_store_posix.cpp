#include <QFile>

#include "app/qt_settings_keeper.h"

namespace kartex {

// The store is a file of the user's configuration folder.
void RemoveEmptyQtProjectStore(const QString& storeName) { QFile::remove(storeName); }

}  // namespace kartex
