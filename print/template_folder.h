#pragma once
// Where the program finds the label sheets: the folder of gLabels' templates
// where it is installed (Debian's glabels-data on Linux, templates\ beside
// the program on Windows), or the folder named by KARTEX_LABEL_TEMPLATES.

#include <string>

#include "labels/sheet_catalog.h"

namespace kartex {

// A UTF-8 folder name. Needs a QCoreApplication (for the program's folder).
std::string LabelTemplateFolder();

// The sheets of that folder, read now: when the dialog opens or save-labels
// runs, never at the program's start.
SheetCatalog LoadSheetCatalog();

}  // namespace kartex
