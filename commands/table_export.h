#pragma once
// The writer of the mail-merge CSV.

#include <string>
#include <string_view>

namespace kartex {

class Session;

// Asks for a file name and writes the shown table: every field quoted,
// comma-separated, all ColCount columns, CR LF line ends.
void SaveSGToCSV(Session& session);

// One field as the export writes it: quotes doubled, line breaks as byte 11,
// so that the file reads back into the same cells.
void AppendQuotedCsvField(std::string& line, std::string_view text);

// The file name the export writes to: ".CSV" appended unless the file name's
// own extension is ".csv" in any letter case. *appended tells whether it was.
std::string CsvExportFileName(const std::string& chosen, bool* appended);

}  // namespace kartex
