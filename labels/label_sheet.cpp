#include "label_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kartex {
namespace {

constexpr double kCardWidth = 140;
constexpr double kCardHeight = 90;
constexpr double kCardStampMargin = 10;  // free at the card's bottom edge
constexpr double kCardSideMargin = 10;
constexpr double kCardTextHeight = 45;  // the lower half of the card, less the stamp margin

// The inner margin of a label's text: 2 mm at the sides and 1.5 mm above and
// below, less on a label too small for that.
constexpr double kSidePadding = 2.0;
constexpr double kEndPadding = 1.5;
constexpr double kLargestPaddingShare = 0.06;

// Positions are compared to a micrometre, so that a layout written as
// 12.7mm and another as 36pt give the same row.
long long Micrometres(double mm) { return std::llround(mm * 1000); }

}  // namespace

int LabelSheet::LabelsPerSheet() const {
  int count = 0;
  for (const SheetLayout& layout : layouts) count += layout.nx * layout.ny;
  return count;
}

std::vector<LabelOrigin> LabelSheet::Origins() const {
  std::vector<LabelOrigin> origins;
  origins.reserve(static_cast<size_t>(LabelsPerSheet()));
  for (const SheetLayout& layout : layouts) {
    for (int iy = 0; iy < layout.ny; ++iy) {
      for (int ix = 0; ix < layout.nx; ++ix)
        origins.push_back({layout.x0 + ix * layout.dx, layout.y0 + iy * layout.dy});
    }
  }
  std::stable_sort(origins.begin(), origins.end(), [](LabelOrigin a, LabelOrigin b) {
    if (Micrometres(a.y) != Micrometres(b.y)) return Micrometres(a.y) < Micrometres(b.y);
    return Micrometres(a.x) < Micrometres(b.x);
  });
  return origins;
}

TextBox LabelSheet::TextArea() const {
  if (card) {
    return {kCardSideMargin, labelHeight - kCardStampMargin - kCardTextHeight,
            labelWidth - 2 * kCardSideMargin, kCardTextHeight, true};
  }
  const double side = std::min(kSidePadding, labelWidth * kLargestPaddingShare);
  const double end = std::min(kEndPadding, labelHeight * kLargestPaddingShare);
  return {side, end, labelWidth - 2 * side, labelHeight - 2 * end, false};
}

std::string LabelSheet::Name() const {
  if (card) return "card";
  std::string name = brand;
  return name.append(" ").append(part);
}

// Built by appending, which keeps GCC 12's -Wrestrict quiet.
std::string LabelSheet::Entry() const {
  std::string entry = card ? "Karta QSL " : Name().append(" – ");
  entry.append(FormatMillimetres(labelWidth)).append(" × ").append(FormatMillimetres(labelHeight));
  entry.append(" mm");
  if (card) return entry;
  entry.append(", ").append(std::to_string(LabelsPerSheet())).append(" na arkuszu (");
  if (!paperName.empty()) {
    entry.append(paperName);
  } else {
    entry.append(FormatMillimetres(pageWidth)).append(" × ").append(FormatMillimetres(pageHeight));
    entry.append(" mm");
  }
  return entry.append(")");
}

LabelSheet QslCardSheet() {
  LabelSheet card;
  card.brand = "Karta QSL";
  card.card = true;
  card.pageWidth = card.labelWidth = kCardWidth;
  card.pageHeight = card.labelHeight = kCardHeight;
  card.layouts = {SheetLayout{1, 1, 0, 0, kCardWidth, kCardHeight}};
  return card;
}

std::string FormatMillimetres(double mm) {
  const long long tenths = std::llround(mm * 10);
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text.append(",").append(std::to_string(std::llabs(tenths % 10)));
  return text;
}

}  // namespace kartex
