#pragma once
// Draws one page of labels or cards with QPainter: the same drawing for the
// PDF, the printer and the dialog's preview. The page is drawn at 100 %
// from its top left corner, the device's resolution giving the scale; each
// label's text is cut at the label's edge, never drawn into the next one.

#include "labels/label_plan.h"

class QPainter;
class QPagedPaintDevice;

namespace kartex {

struct PageLook {
  // The outline of each label, as the preview shows the sheet; never on
  // paper, where it would print beside the label's real edge.
  bool outlines = false;
};

void DrawLabelPage(QPainter& painter, const LabelContacts& contacts, const LabelPlan& plan,
                   int page, PageLook look = {});

// Gives a PDF writer or a printer the sheet's own page size with no margins,
// so that its painter starts at the paper's corner.
void SetSheetPage(QPagedPaintDevice& device, const LabelSheet& sheet);

}  // namespace kartex
