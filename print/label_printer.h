#pragma once
// Labels and cards on the printer the system's print dialog has set up. Apart
// from the PDF (label_output.h) because it needs Qt's print support, which
// kartex-cli does without.

#include "labels/label_plan.h"
#include "print/label_output.h"

class QPrinter;

namespace kartex {

// The sheet's own page, with no margins, from the paper's corner.
void SetSheetPage(QPrinter& printer, const LabelSheet& sheet);

// Prints every page on the sheet's page at 100 %. False when stopped or the
// printer failed.
bool PrintLabels(QPrinter& printer, const LabelContacts& contacts, const LabelPlan& plan,
                 const PageProgress& progress = {});

}  // namespace kartex
