#include "app/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kartex {
namespace {

// The embedded copy (app/CMakeLists.txt, KARTEX_EMBED_QT_TRANSLATIONS).
constexpr const char* kEmbeddedFolder = ":/kartex/translations";
constexpr const char* kFileName = "qtbase_pl.qm";

}  // namespace

bool InstallQtPolishTranslation(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  for (const QString& folder : {QString(kEmbeddedFolder), QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
    if (translator->load(kFileName, folder)) return QCoreApplication::installTranslator(translator);
  }
  delete translator;
  return false;
}

}  // namespace kartex
