// KARTEX: the window that prepares the printing of QSL cards from a Logger32
// log by mail merge.

#include <QApplication>

#include "app/qt_translation.h"
#include "app/qt_window_system.h"
#include "app/unit1.h"
#include "table/regional_settings.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The application title, the caption of the program's message boxes.
  QApplication::setApplicationName(kartex::kApplicationTitle);
  // Qt's dialogs speak Polish like the window ("Anuluj", "Otwórz", "Zapisz").
  kartex::InstallQtPolishTranslation(application);
  // The desktop entry the window belongs to (its icon in task bars).
  QGuiApplication::setDesktopFileName("io.github.kartex.kartex");
  kartex::QtWindowSystem windows;
  // The regional settings are the user's, as the system gives them.
  kartex::TForm1 form(windows, kartex::ReadRegionalSettings());
  form.show();
  return QApplication::exec();
}
