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

// The two shapes the tally takes. A load tallies per station; the country
// export rebuilds it with one entry per data row (each with its call's
// count), and it keeps that shape until the next load.
enum class TallyShape { PerStation, PerRow };

struct LoadedLog {
  std::vector<TMyRecord> tally;
  TallyShape tallyShape = TallyShape::PerStation;
  int callColumn = 0;
  int dxccColumn = 0;
  int qslViaColumn = 0;
  bool callFound = false;
  bool dxccFound = false;
  bool qslViaFound = false;
};

}  // namespace kartex
