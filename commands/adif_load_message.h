#pragma once
// The one message that an ADIF load gives when the reader had to recover
// from what it met in the file, or replaced characters.

#include <string>

#include "table/adif_read_report.h"

namespace kartex {

// The Polish message (UTF-8) for the report; empty when the file was read
// as written.
std::string AdifLoadMessage(const AdifReadReport& report);

}  // namespace kartex
