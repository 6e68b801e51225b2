#pragma once
// Where the call-sign commands find CTY.DAT and ADIF_DXC.TXT, and the loading
// of both into a resolver. Each file is taken from the first folder that
// holds it: the current folder first, then where the program is installed.
// (The country list keeps its own rule: the current folder only.)

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "country/call_resolver.h"

namespace kartex {

// The folders looked in, in order: the current folder (""), then the
// installed data folder (beside the executable on Windows, the package's
// data folder on Linux).
std::vector<std::string> ReferenceFolders();

struct ReferenceLoad {
  std::optional<CallResolver> resolver;  // empty when a file was not found
  // What to tell the operator, in order (UTF-8): which file is missing, then
  // "Brak zbiorow wejscia".
  std::vector<std::string> messages;
  size_t skippedLines = 0;  // lines of CTY.DAT passed over in whole or in part
  std::string ctyPath;      // the files read
  std::string adifPath;
};

// Reads CTY.DAT and ADIF_DXC.TXT from the first of the folders that holds
// each. Fails with the read error of a file that opened but could not be
// read (ReferenceFileError "Cannot read file NAME").
ReferenceLoad LoadCallResolver(const std::vector<std::string>& folders);

}  // namespace kartex
