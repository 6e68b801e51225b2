#include "app/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#ifdef KARTEX_EMBED_QT_TRANSLATIONS
// The embedded copy lies in the static library; naming it here keeps the
// linker from leaving it out.
static void InitEmbeddedTranslations() { Q_INIT_RESOURCE(kartex_translations); }
#endif

namespace kartex {
namespace {

// The embedded copy (app/CMakeLists.txt, KARTEX_EMBED_QT_TRANSLATIONS).
constexpr const char* kEmbeddedFolder = ":/kartex/translations";
constexpr const char* kFileName = "qtbase_pl.qm";

}  // namespace

bool InstallQtPolishTranslation(QCoreApplication& application) {
#ifdef KARTEX_EMBED_QT_TRANSLATIONS
  InitEmbeddedTranslations();
#endif
  auto* translator = new QTranslator(&application);
  for (const QString& folder :
       {QString(kEmbeddedFolder), QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
    if (translator->load(kFileName, folder)) return QCoreApplication::installTranslator(translator);
  }
  delete translator;
  return false;
}

}  // namespace kartex
