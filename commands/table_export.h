#pragma once
// The writer of the mail-merge CSV.

#include <optional>
#include <string>
#include <string_view>

#include "table/quoted_csv_field.h"
#include "window_system.h"

namespace kartex {

class Session;

// Asks for a file name and writes the shown table: every field quoted,
// comma-separated, all ColCount columns, CR LF line ends.
void SaveSGToCSV(Session& session);

// The save dialog of a mail-merge CSV and the name rule after it: the file
// to write, or nullopt when the operator cancels the dialog or refuses to
// replace the existing file that the appended ".CSV" names (the dialog asked
// only about the name chosen in it).
std::optional<std::string> AskCsvExportFile(WindowSystem& windows, const FileDialogSpec& dialog);

}  // namespace kartex
