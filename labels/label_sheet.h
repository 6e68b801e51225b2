#pragma once
// A sheet of labels as a label designer's template describes it, all in
// millimetres: the page, one label's size, and where the labels lie (one or
// more grids of nx x ny labels, the first at x0, y0, the next dx to the right
// and dy down). The QSL card is a sheet too: one card of 140 x 90 mm a page.

#include <string>
#include <vector>

namespace kartex {

struct SheetLayout {
  int nx = 1;
  int ny = 1;
  double x0 = 0, y0 = 0;  // the first label's top left corner
  double dx = 0, dy = 0;  // from one label to the next
};

// Where a label lies on its page (its top left corner).
struct LabelOrigin {
  double x = 0, y = 0;
};

// The part of a label that holds its text, from the label's top left corner.
// Text stands at the box's top, or at its bottom when bottomAligned.
struct TextBox {
  double x = 0, y = 0, width = 0, height = 0;
  bool bottomAligned = false;
};

struct LabelSheet {
  std::string brand;        // "Avery"; UTF-8
  std::string part;         // "L7160"
  std::string description;  // "Mailing labels"
  std::string paperName;    // "A4", "US Letter"; empty for a page of its own size
  double pageWidth = 0, pageHeight = 0;
  double labelWidth = 0, labelHeight = 0;
  double cornerRadius = 0;
  std::vector<SheetLayout> layouts;
  bool card = false;

  int LabelsPerSheet() const;
  // Every label of a page in the order labels are counted: from the top,
  // and left to right within a row.
  std::vector<LabelOrigin> Origins() const;
  TextBox TextArea() const;
  // "Avery L7160", or "card": the name kartex-cli takes.
  std::string Name() const;
  // The list entry: "Avery L7160 – 63,5 × 38,1 mm, 21 na arkuszu (A4)",
  // "Karta QSL 140 × 90 mm".
  std::string Entry() const;
};

// "Karta QSL 140 × 90 mm": one card a page, its text in the lower part with
// 10 mm free at the bottom edge, where bureaus stamp.
LabelSheet QslCardSheet();

// A millimetre figure as the list shows it: at most one decimal, with a
// decimal comma ("63,5", "140").
std::string FormatMillimetres(double mm);

}  // namespace kartex
