#pragma once
// One field of the CSV files KARTEX writes (the mail-merge export and the
// lists of the country commands): always quoted, so that the file reads back
// into the same cells.

#include <initializer_list>
#include <string>
#include <string_view>

namespace kartex {

// Appends text as one quoted field: quotes doubled, a line break (CR LF, or
// a lone CR or LF) written as byte 11, as the reader expects it.
void AppendQuotedCsvField(std::string& line, std::string_view text);

// Appends one line of such fields, comma-separated and ended by CR LF.
void AppendQuotedCsvLine(std::string& out, std::initializer_list<std::string_view> fields);

}  // namespace kartex
