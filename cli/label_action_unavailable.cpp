// save-labels in a build without Qt (the Windows core and sanitizer builds):
// the command line is read as everywhere, but nothing can be drawn.

#include <ostream>

#include "label_action.h"

namespace kartex {

struct LabelAction::State {};

LabelAction::LabelAction() = default;
LabelAction::~LabelAction() = default;

void LabelAction::Check(const CliAction&) {}

bool LabelAction::Save(const CliAction& action, Session&, ConsoleWindowSystem&, std::ostream& err) {
  err << "kartex-cli: " << action.word << ": not available in this build (no Qt)\n";
  return false;
}

}  // namespace kartex
