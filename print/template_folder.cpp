#include "print/template_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace kartex {

std::string LabelTemplateFolder() {
  const QString chosen = qEnvironmentVariable("KARTEX_LABEL_TEMPLATES");
  if (!chosen.isEmpty()) return chosen.toStdString();
  // A relative folder is taken from the program's folder.
  const QString installed = QStringLiteral(KARTEX_LABEL_TEMPLATES_DIR);
  return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).filePath(installed))
      .toStdString();
}

SheetCatalog LoadSheetCatalog() { return ReadSheetCatalog(LabelTemplateFolder()); }

}  // namespace kartex
