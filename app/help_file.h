#pragma once
// Where "Otwórz plik pomocy" finds Help_CSV.chm: in the current folder
// first, then in the copy installed with the program.

#include <QString>
#include <QStringList>

namespace kartex {

inline constexpr const char* kHelpFileName = "Help_CSV.chm";

// The folders looked in, in order: the current folder, then the installed
// help folder (set when the program is built; a relative one is taken from
// the folder of the executable).
QStringList HelpFileFolders();

// The path of Help_CSV.chm in the first of the folders that holds it, or an
// empty text when none does.
QString FindHelpFile(const QStringList& folders);

}  // namespace kartex
