#include "app/help_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef KARTEX_HELP_DIR
#define KARTEX_HELP_DIR "."
#endif

namespace kartex {

QStringList HelpFileFolders() {
  const QString installed =
      QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(KARTEX_HELP_DIR);
  return {QDir::currentPath(), QDir::cleanPath(installed)};
}

QString FindHelpFile(const QStringList& folders) {
  for (const QString& folder : folders) {
    const QFileInfo file(QDir(folder), kHelpFileName);
    if (file.isFile()) return file.absoluteFilePath();
  }
  return QString();
}

}  // namespace kartex
