// save-labels with Qt's drawing: the sheets read once, on the first
// save-labels, and a QGuiApplication made only then.

#include <optional>
#include <ostream>

#include "label_action.h"
#include "labels/label_plan.h"
#include "print/gui_application.h"
#include "print/label_output.h"
#include "print/template_folder.h"

namespace kartex {

struct LabelAction::State {
  GuiForDrawing gui;
  std::optional<SheetCatalog> catalog;

  const SheetCatalog& Catalog() {
    if (!catalog) {
      gui.Ensure();
      catalog = LoadSheetCatalog();
    }
    return *catalog;
  }
};

LabelAction::LabelAction() : state_(std::make_unique<State>()) {}
LabelAction::~LabelAction() = default;

void LabelAction::Check(const CliAction& action) {
  const LabelSheet* sheet = state_->Catalog().Find(action.sheet);
  if (sheet == nullptr) return;
  const std::string error = CheckLabelOptions(*sheet, {action.start, action.perLabel});
  if (!error.empty()) throw UsageError("save-labels: " + error);
}

bool LabelAction::Save(const CliAction& action, Session& session, ConsoleWindowSystem& windows,
                       std::ostream&) {
  const SheetCatalog& catalog = state_->Catalog();
  const LabelSheet* sheet = catalog.Find(action.sheet);
  if (sheet == nullptr) {
    // A sheet that is not there may be one of the files that could not be read.
    if (const std::string notice = catalog.Notice(); !notice.empty()) windows.ShowMessage(notice);
    windows.ShowMessage("Nieznany arkusz etykiet: " + action.sheet);
    return false;
  }
  if (session.Table().RowCount() < 2) {
    windows.ShowMessage(kNoLabelRowsMessage);
    return true;
  }
  const LabelContacts contacts(session.Table(), session.Log().callColumn);
  const LabelPlan plan = contacts.Plan(*sheet, {action.start, action.perLabel});
  if (const std::string notice = FitNotice(plan.Fit()); !notice.empty())
    windows.ShowMessage(notice);
  SaveLabelPdf(action.file, contacts, plan);
  return true;
}

}  // namespace kartex
