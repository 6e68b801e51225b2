#pragma once
// ADIF logs, the files every logger writes, read into the log table: row 0
// the field names, upper-cased, in the order in which each first appears;
// one row per record. The parser (adif_parser.h) says how fields are read
// and how the habits of real files are recovered from; adif_text.h how the
// texts become Windows-1250.

#include <cstddef>
#include <string>
#include <string_view>

#include "table/adif_read_report.h"
#include "table/log_table.h"

namespace kartex {

// How much of the start of a file the detection reads: an <EOH> further on
// does not make a file ADIF (no CSV export has a tag in its first MiB, and
// no ADIF header is that long).
inline constexpr size_t kAdifDetectionBytes = size_t{1} << 20;

// Whether a file that starts with these bytes is ADIF: its first character
// other than blanks, line ends (and a UTF-8 byte order mark) is "<", or it
// holds an <EOH> tag in any letter case.
bool LooksLikeAdif(std::string_view head);

// The same for the first kAdifDetectionBytes of a file. Fails as the CSV
// reader does: "Cannot open file " + fileName when the file cannot be
// opened, "Cannot read file " + fileName on an input error.
bool IsAdifFile(const std::string& fileName);

// Reads the ADIF file into the table: its rows are replaced by the header
// row and one row per record; ColCount grows to the number of field names
// and never shrinks. Fails with "Cannot open file " + fileName when the file
// cannot be opened, and with "Cannot read file " + fileName on an input
// error (the records read before it are kept). A file of at least
// kSplitReadBytes is parsed in two halves at once, on two threads, with the
// outcome of one parse from the top.
AdifReadReport ReadAdifFile(LogTable& table, const std::string& fileName);

}  // namespace kartex
