#pragma once
// Shared helpers of the country tests: CR LF lines and CTY.DAT header lines.
// The folders, files and the window system are the shared ones of
// tests/support.

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_window_system.h"
#include "temp_dir.h"

namespace kartex::testing {

// Lines joined with CR LF, each line ended.
inline std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

// A CTY.DAT header line: the name and its colon padded to column 26, the
// zones and position filler, and the main prefix from column 70.
inline std::string CtyHeader(const std::string& name, const std::string& prefix) {
  std::string line = name + ":";
  line.resize(26, ' ');
  line += "15:  28:  EU:   52.28:   -18.67:    -1.0:";  // up to column 69
  line.resize(69, ' ');
  line += "  " + prefix + ":";
  return line;
}

}  // namespace kartex::testing
