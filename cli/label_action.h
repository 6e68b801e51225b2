#pragma once
// kartex-cli's save-labels: "Plik" -> "Drukuj naklejki QSL…", then
// "Zapisz PDF…". A build without Qt has no drawing of labels; its
// save-labels says so and ends the run.

#include <iosfwd>
#include <memory>

#include "cli_actions.h"
#include "commands/session.h"
#include "console_window_system.h"

namespace kartex {

class LabelAction {
 public:
  LabelAction();
  ~LabelAction();
  LabelAction(const LabelAction&) = delete;
  LabelAction& operator=(const LabelAction&) = delete;

  // Throws UsageError when the start label lies beyond a known sheet. An
  // unknown sheet is left to Save, which says so.
  void Check(const CliAction& action);
  // Writes the PDF; false when the run must end with status 1.
  bool Save(const CliAction& action, Session& session, ConsoleWindowSystem& windows,
            std::ostream& err);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kartex
