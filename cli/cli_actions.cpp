#include "cli_actions.h"

#include <charconv>
#include <ostream>

#include "commands/session.h"
#include "console_window_system.h"
#include "info_json.h"
#include "label_action.h"
#include "platform/code_page.h"

namespace kartex {

const char* const kUsageText =
    "usage: kartex-cli [REGIONAL OPTIONS] ACTION [ARG...] [ACTION [ARG...]]...\n"
    "actions:\n"
    "  open FILE                      open a log: a Logger32 CSV export or an ADIF file\n"
    "  qso N | qso off                show the stations worked N (1-10) times / remove the filter\n"
    "  click COL | click +COL         sort click on the header of column COL (+: with Shift)\n"
    "  edit COL ROW TEXT              type TEXT into cell (COL, ROW), ROW from 1\n"
    "  save-csv FILE                  write the shown table for the mail merge\n"
    "  save-stations FILE             write one row per shown station with its N contacts (needs "
    "qso N)\n"
    "  save-qsl FILE                  write the list of QSL managers\n"
    "  save-country FILE [adif|cty]   write the DXCC countries of the log\n"
    "  save-sent FILE [B|D]           write the shown contacts as an ADIF file of cards sent\n"
    "                                 via the bureau (B, the default) or direct (D)\n"
    "  save-labels FILE [--sheet NAME] [--start N] [--per-label K]\n"
    "                                 write the shown rows as QSL labels in a PDF: NAME the\n"
    "                                 sheet (\"Avery L7160\", ...) or card, N the first label\n"
    "                                 used, K contacts a label (1-10)\n"
    "  fill-dxcc                      fill the empty DXCC cells from CTY.DAT\n"
    "  check-dxcc FILE                write the rows whose DXCC differs from CTY.DAT\n"
    "  bureau                         put the shown rows in the order of the QSL bureaus\n"
    "  save-bureaus FILE              write the cards per QSL bureau of the shown rows\n"
    "  where [--case] COL CONDITION   filter the rows on a condition of your own\n"
    "  where off                      remove that filter\n"
    "  info                           print the state as JSON\n"
    "regional options: --decimal C --thousands C --date-separator C --time-separator C\n"
    "                  --short-date FORMAT --am TEXT --pm TEXT\n"
    "kartex-cli " KARTEX_VERSION "\n";

namespace {

class ArgReader {
 public:
  explicit ArgReader(const std::vector<std::string>& args) : args_(args) {}
  bool Done() const { return next_ >= args_.size(); }
  const std::string& Peek() const { return args_[next_]; }
  std::string Take(const std::string& what) {
    if (Done()) throw UsageError("missing " + what);
    return args_[next_++];
  }

 private:
  const std::vector<std::string>& args_;
  size_t next_ = 0;
};

int ParseInt(const std::string& text, const std::string& what, int min, int max) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    throw UsageError("bad " + what + ": " + text);
  }
  return value;
}

std::string ToCp1250(const std::string& utf8, const std::string& what) {
  std::optional<std::string> bytes = Utf8ToCp1250(utf8);
  if (!bytes) throw UsageError(what + " holds a character that Windows-1250 cannot hold: " + utf8);
  return *bytes;
}

char OneCharacter(const std::string& utf8, const std::string& option) {
  std::string bytes = ToCp1250(utf8, option);
  if (bytes.size() != 1) throw UsageError(option + " takes one character");
  return bytes[0];
}

constexpr int kMaxColumn = 1 << 30;

// save-labels' options after FILE, in any order.
void ParseLabelOptions(ArgReader& reader, CliAction& action) {
  while (!reader.Done()) {
    const std::string option = reader.Peek();
    if (option == "--sheet") {
      reader.Take(option);
      action.sheet = reader.Take("NAME of --sheet");
    } else if (option == "--start") {
      reader.Take(option);
      action.start = ParseInt(reader.Take("N of --start"), "N of --start", 1, kMaxColumn);
    } else if (option == "--per-label") {
      reader.Take(option);
      action.perLabel =
          ParseInt(reader.Take("K of --per-label"), "K of --per-label (1 to 10)", 1, 10);
    } else {
      return;
    }
  }
}

CliAction ParseAction(ArgReader& reader) {
  CliAction action;
  action.word = reader.Take("action");
  const std::string& word = action.word;
  if (word == "open") {
    action.kind = ActionKind::Open;
    action.file = reader.Take("FILE of open");
  } else if (word == "qso") {
    std::string n = reader.Take("N of qso");
    if (n == "off") {
      action.kind = ActionKind::QsoOff;
    } else {
      action.kind = ActionKind::Qso;
      action.number = ParseInt(n, "N of qso", 1, kMaxQsoCount);
    }
  } else if (word == "click") {
    std::string col = reader.Take("COL of click");
    action.kind = ActionKind::Click;
    action.shift = !col.empty() && col[0] == '+';
    action.number = ParseInt(action.shift ? col.substr(1) : col, "COL of click", 0, kMaxColumn);
  } else if (word == "edit") {
    action.kind = ActionKind::Edit;
    action.number = ParseInt(reader.Take("COL of edit"), "COL of edit", 0, kMaxColumn);
    action.row = ParseInt(reader.Take("ROW of edit"),
                          "ROW of edit (the header, row 0, cannot be edited)", 1, kMaxColumn);
    action.text = ToCp1250(reader.Take("TEXT of edit"), "TEXT of edit");
  } else if (word == "save-csv" || word == "save-stations" || word == "save-qsl") {
    action.kind = word == "save-csv"        ? ActionKind::SaveCsv
                  : word == "save-stations" ? ActionKind::SaveStations
                                            : ActionKind::SaveQsl;
    action.file = reader.Take("FILE of " + word);
  } else if (word == "save-country") {
    action.kind = ActionKind::SaveCountry;
    action.file = reader.Take("FILE of save-country");
    if (!reader.Done() && (reader.Peek() == "adif" || reader.Peek() == "cty")) {
      action.sortBy = reader.Take("order") == "cty" ? 1 : 0;
    }
  } else if (word == "save-sent") {
    action.kind = ActionKind::SaveSent;
    action.file = reader.Take("FILE of save-sent");
    if (!reader.Done() && (reader.Peek() == "B" || reader.Peek() == "D")) {
      action.via = reader.Take("B or D")[0];
    }
  } else if (word == "fill-dxcc" || word == "bureau") {
    action.kind = word == "fill-dxcc" ? ActionKind::FillDxcc : ActionKind::Bureau;
  } else if (word == "check-dxcc" || word == "save-bureaus") {
    action.kind = word == "check-dxcc" ? ActionKind::CheckDxcc : ActionKind::SaveBureaus;
    action.file = reader.Take("FILE of " + word);
  } else if (word == "save-labels") {
    action.kind = ActionKind::SaveLabels;
    action.file = reader.Take("FILE of save-labels");
    ParseLabelOptions(reader, action);
  } else if (word == "where") {
    std::string first = reader.Take("COL of where");
    if (first == "off") {
      action.kind = ActionKind::WhereOff;
    } else {
      action.kind = ActionKind::Where;
      if (first == "--case") {
        action.caseSensitive = true;
        first = reader.Take("COL of where");
      }
      action.number = ParseInt(first, "COL of where", 0, 32767);
      action.text = ToCp1250(reader.Take("CONDITION of where"), "CONDITION of where");
    }
  } else if (word == "info") {
    action.kind = ActionKind::Info;
  } else {
    throw UsageError("unknown action: " + word);
  }
  return action;
}

bool ParseOption(ArgReader& reader, CliOverrides& overrides) {
  const std::string option = reader.Peek();
  auto character = [&](std::optional<char>& target) {
    reader.Take(option);
    target = OneCharacter(reader.Take("value of " + option), option);
  };
  auto text = [&](std::optional<std::string>& target) {
    reader.Take(option);
    target = ToCp1250(reader.Take("value of " + option), option);
  };
  if (option == "--decimal")
    character(overrides.decimalSeparator);
  else if (option == "--thousands")
    character(overrides.thousandSeparator);
  else if (option == "--date-separator")
    character(overrides.dateSeparator);
  else if (option == "--time-separator")
    character(overrides.timeSeparator);
  else if (option == "--short-date")
    text(overrides.shortDateFormat);
  else if (option == "--am")
    text(overrides.timeAMString);
  else if (option == "--pm")
    text(overrides.timePMString);
  else
    return false;
  return true;
}

// Is the action's control enabled at this moment?
bool Available(const CliAction& action, const Session& session) {
  const ControlStates& controls = session.Controls();
  switch (action.kind) {
    case ActionKind::Open:
    case ActionKind::Info:
      return true;
    case ActionKind::SaveQsl:
      return controls.qslViaEnabled;
    case ActionKind::SaveStations:
      return controls.SaveStationsEnabled();
    default:
      return controls.logCommandsEnabled;
  }
}

// Runs one action; false when the run must end with status 1.
bool RunAction(const CliAction& action, Session& session, ConsoleWindowSystem& windows,
               LabelAction& labels, std::ostream& out, std::ostream& err) {
  switch (action.kind) {
    case ActionKind::Open:
      windows.AnswerNextDialog(action.file);
      return session.Load_CSVClick() != LoadOutcome::Rejected;
    case ActionKind::Qso:
      session.RG1Click(action.number - 1);
      return true;
    case ActionKind::QsoOff:
      session.RG1Click(kRG1RemoveFilter);
      return true;
    case ActionKind::Click:
      session.HeaderSortClick(action.number, action.shift);
      return true;
    case ActionKind::Edit:
      if (action.row >= session.Table().RowCount() || action.number >= session.Table().ColCount()) {
        err << "kartex-cli: edit: there is no cell (" << action.number << ", " << action.row
            << ") in the table\n";
        return true;
      }
      session.EditCell(action.number, action.row, action.text);
      return true;
    case ActionKind::SaveCsv:
      windows.AnswerNextDialog(action.file);
      session.Save_CSVClick();
      return true;
    case ActionKind::SaveStations:
      windows.AnswerNextDialog(action.file);
      session.SaveStationsCSV1Click();
      return true;
    case ActionKind::SaveQsl:
      windows.AnswerNextDialog(action.file);
      session.QSL_VIAClick();
      return true;
    case ActionKind::SaveCountry:
      if (action.sortBy) session.Controls().sortByItemIndex = *action.sortBy;
      windows.AnswerNextDialog(action.file);
      session.CTY_ADIFClick();
      return true;
    case ActionKind::SaveSent:
      windows.AnswerNextDialog(action.file);
      session.SaveSentADIF1Click(action.via == 'D' ? QslSentVia::kDirect : QslSentVia::kBureau);
      return true;
    case ActionKind::FillDxcc:
      session.UzupelnijDXCC1Click();
      return true;
    case ActionKind::CheckDxcc:
      windows.AnswerNextDialog(action.file);  // "Zapisz…" of the list
      session.SprawdzDXCC1Click();
      return true;
    case ActionKind::Bureau:
      session.SortujwgbiurQSL1Click();
      return true;
    case ActionKind::SaveBureaus:
      windows.AnswerNextDialog(action.file);
      session.ZapiszBiuraClick();
      return true;
    case ActionKind::SaveLabels:
      return labels.Save(action, session, windows, err);
    case ActionKind::Where:
      session.ApplyCondition(action.number, action.text, action.caseSensitive);
      return true;
    case ActionKind::WhereOff:
      session.RemoveCondition();
      return true;
    case ActionKind::Info:
      out << InfoJson(session) << std::flush;
      return true;
  }
  return true;
}

}  // namespace

void CliOverrides::ApplyTo(RegionalSettings& regional) const {
  if (decimalSeparator) regional.decimalSeparator = *decimalSeparator;
  if (thousandSeparator) regional.thousandSeparator = *thousandSeparator;
  if (dateSeparator) regional.dateSeparator = *dateSeparator;
  if (timeSeparator) regional.timeSeparator = *timeSeparator;
  if (shortDateFormat) regional.shortDateFormat = *shortDateFormat;
  if (timeAMString) regional.timeAMString = *timeAMString;
  if (timePMString) regional.timePMString = *timePMString;
}

CliProgram ParseCommandLine(const std::vector<std::string>& args) {
  CliProgram program;
  ArgReader reader(args);
  while (!reader.Done() && reader.Peek().rfind("--", 0) == 0) {
    if (!ParseOption(reader, program.overrides))
      throw UsageError("unknown option: " + reader.Peek());
  }
  while (!reader.Done()) program.actions.push_back(ParseAction(reader));
  if (program.actions.empty()) throw UsageError("no action given");
  return program;
}

int RunProgram(const CliProgram& program, const RegionalSettings& regional, std::ostream& out,
               std::ostream& err) {
  RegionalSettings settings = regional;
  program.overrides.ApplyTo(settings);
  ConsoleWindowSystem windows(err);
  LabelAction labels;
  // A start label beyond its sheet is bad usage, found before any action runs.
  try {
    for (const CliAction& action : program.actions) {
      if (action.kind == ActionKind::SaveLabels) labels.Check(action);
    }
  } catch (const UsageError& error) {
    err << "kartex-cli: " << error.what() << '\n' << kUsageText;
    return 2;
  }
  Session session(windows, settings);
  for (const CliAction& action : program.actions) {
    if (!Available(action, session)) {
      err << "kartex-cli: " << action.word << ": not available now\n";
      continue;
    }
    try {
      if (!RunAction(action, session, windows, labels, out, err)) return 1;
    } catch (const std::exception& error) {
      windows.ShowMessage(ErrorText(error));
      return 1;
    }
  }
  return 0;
}

}  // namespace kartex
