#pragma once
// kartex-cli's command line: regional options, then actions run in order as
// an operator would click them.

#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "table/regional_settings.h"

namespace kartex {

enum class ActionKind {
  Open,
  Qso,
  QsoOff,
  Click,
  Edit,
  SaveCsv,
  SaveStations,
  SaveQsl,
  SaveCountry,
  SaveSent,
  FillDxcc,
  CheckDxcc,
  Bureau,
  SaveBureaus,
  SaveLabels,
  Where,
  WhereOff,
  Info
};

struct CliAction {
  ActionKind kind = ActionKind::Info;
  std::string word;  // the action as typed, for messages
  std::string file;
  int number = 0;                     // N of qso, COL of click/edit/where
  int row = 0;                        // ROW of edit
  bool shift = false;                 // click +COL
  bool caseSensitive = false;         // where --case
  std::string text;                   // TEXT of edit, CONDITION of where (Windows-1250)
  std::optional<int> sortBy;          // save-country: 0 adif, 1 cty
  char via = 'B';                     // save-sent: B (bureau) or D (direct)
  std::string sheet = "Avery L7160";  // save-labels: BRAND PART or card (UTF-8)
  int start = 1;                      // save-labels: the first label used
  int perLabel = 4;                   // save-labels: contacts a label
};

struct CliOverrides {
  std::optional<char> decimalSeparator, thousandSeparator, dateSeparator, timeSeparator;
  std::optional<std::string> shortDateFormat, timeAMString, timePMString;
  void ApplyTo(RegionalSettings& regional) const;
};

struct CliProgram {
  CliOverrides overrides;
  std::vector<CliAction> actions;
};

// Throws UsageError for bad usage.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

CliProgram ParseCommandLine(const std::vector<std::string>& args);
extern const char* const kUsageText;

// Runs the actions; returns the exit status (0, or 1 after an error or a
// rejected load). Info goes to out, messages to err.
int RunProgram(const CliProgram& program, const RegionalSettings& regional, std::ostream& out,
               std::ostream& err);

}  // namespace kartex
