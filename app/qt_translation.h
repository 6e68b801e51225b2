#pragma once
// Qt's own texts in Polish (the buttons and titles of the standard dialogs,
// their questions), to match the window: qtbase_pl.qm, built into the
// program when the build embeds it, otherwise from Qt's translations folder.

class QCoreApplication;

namespace kartex {

// Installs the translation into the application; false when no copy of it
// could be loaded, and Qt's texts stay English.
bool InstallQtPolishTranslation(QCoreApplication& application);

}  // namespace kartex
