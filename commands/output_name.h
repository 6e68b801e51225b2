#pragma once
// The names of output files: the ".CSV" that a save appends, and the one
// question before a file of that name is replaced.

#include <string>

#include "window_system.h"

namespace kartex {

// The extension of the last path component: from its last "." on, or empty
// when it has none. A dot in a folder name is no extension.
std::string FileNameExtension(const std::string& path);

// When a chosen name counts as a CSV file's name.
enum class CsvExtensionRule {
  // ".csv" in any letter case: the mail-merge exports.
  AnyCase,
  // Only ".csv" or ".CSV": COUNTRY.CSV, as it has always been.
  LowerOrUpper,
};

// The name written to: chosen, with ".CSV" appended unless the rule takes
// its extension for a CSV one. *appended tells whether it was.
std::string CsvOutputName(const std::string& chosen, CsvExtensionRule rule, bool* appended);

// The save dialog asked only about the name chosen in it: before a name that
// got ".CSV" appended replaces a file, the operator is asked "Plik NAME już
// istnieje. Zastąpić ?". True when the file may be written.
bool MayWriteAppendedName(WindowSystem& windows, const std::string& fileName, bool appended);

}  // namespace kartex
