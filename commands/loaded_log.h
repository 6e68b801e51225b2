#pragma once
// What a successful load leaves behind: the station tally and the positions
// of the CALL, DXCC and QSL_VIA columns.

#include <cstdint>
#include <string>
#include <vector>

namespace kartex {

struct TMyRecord {
  std::string call;
  std::string dxcc;
  int32_t qsoCount = 0;
};

struct LoadedLog {
  std::vector<TMyRecord> tally;
  int callColumn = 0;
  int dxccColumn = 0;
  int qslViaColumn = 0;
  bool callFound = false;
  bool dxccFound = false;
  bool qslViaFound = false;
};

}  // namespace kartex
