#include "label_plan.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "length.h"

namespace kartex {
namespace {

// Lines of a label besides its contacts: title, heading, closing, and the
// via line when some label has one.
int OtherLines(bool via) { return via ? 4 : 3; }

double FontFor(double heightMm, int lines) {
  return heightMm / kMillimetresPerPoint / (lines * kLineSpacing);
}

}  // namespace

std::string FitNotice(const LabelFit& fit) {
  if (fit.oneTooMany)
    return "Etykieta jest za mała na jedną łączność przy czcionce 6 pt – tekst zostanie przycięty "
           "na brzegu etykiety.";
  if (!fit.Lowered()) return {};
  return "Na etykiecie mieści się najwyżej " + std::to_string(fit.perLabel) +
         " łączności przy czcionce 6 pt – zamiast " + std::to_string(fit.requested) +
         " na etykiecie będzie ich " + std::to_string(fit.perLabel) + ".";
}

std::string CheckLabelOptions(const LabelSheet& sheet, const LabelOptions& options) {
  if (options.perLabel < 1 || options.perLabel > kMostContactsPerLabel)
    return "contacts per label must be 1 to " + std::to_string(kMostContactsPerLabel);
  const int labels = sheet.LabelsPerSheet();
  if (options.start < 1 || options.start > labels)
    return "the start label must be 1 to " + std::to_string(labels) + " on " + sheet.Name();
  return {};
}

std::span<const PlacedLabel> LabelPlan::LabelsOn(int page) const {
  const auto first =
      std::lower_bound(labels_.begin(), labels_.end(), page,
                       [](const PlacedLabel& label, int p) { return label.page < p; });
  const auto last = std::upper_bound(
      first, labels_.end(), page, [](int p, const PlacedLabel& label) { return p < label.page; });
  return {first, last};
}

LabelContacts::LabelContacts(const LogTable& table, int callColumn)
    : table_(table), columns_(LabelColumns::Find(table, callColumn)), stations_(table, callColumn) {
  if (columns_.qslVia < 0) return;
  for (int row = 1; row < table.RowCount() && !anyVia_; ++row)
    anyVia_ = IsCallSign(table.CellText(columns_.qslVia, row));
}

LabelFit LabelContacts::FitOn(const LabelSheet& sheet, int perLabel) const {
  LabelFit fit;
  fit.requested = perLabel;
  const double height = sheet.TextArea().height;
  const int other = OtherLines(anyVia_);
  // Lines that fit at the smallest size; the tiny step keeps an exact fit.
  const int lines = static_cast<int>(std::floor(FontFor(height, 1) / kSmallestFontPt + 1e-9));
  fit.perLabel = std::clamp(lines - other, 1, perLabel);
  fit.oneTooMany = lines - other < 1;
  fit.fontPt = std::clamp(FontFor(height, fit.perLabel + other), kSmallestFontPt, kLargestFontPt);
  return fit;
}

LabelPlan LabelContacts::Plan(const LabelSheet& sheet, const LabelOptions& options) const {
  if (const std::string error = CheckLabelOptions(sheet, options); !error.empty())
    throw std::invalid_argument(error);
  LabelPlan plan;
  plan.sheet_ = sheet;
  plan.origins_ = sheet.Origins();
  plan.fit_ = FitOn(sheet, options.perLabel);
  const auto perSheet = static_cast<size_t>(plan.origins_.size());
  const auto perLabel = static_cast<size_t>(plan.fit_.perLabel);
  size_t next = static_cast<size_t>(options.start) - 1;  // the label's place, counting every sheet
  for (size_t station = 0; station < stations_.Count(); ++station) {
    const size_t contacts = stations_.Of(station).size();
    const size_t parts = (contacts + perLabel - 1) / perLabel;
    for (size_t part = 0; part < parts; ++part, ++next) {
      PlacedLabel label;
      label.station = static_cast<uint32_t>(station);
      label.firstContact = static_cast<uint32_t>(part * perLabel);
      label.contactCount = static_cast<uint32_t>(std::min(perLabel, contacts - part * perLabel));
      label.part = static_cast<int>(part) + 1;
      label.parts = static_cast<int>(parts);
      label.page = static_cast<int>(next / perSheet);
      label.slot = static_cast<int>(next % perSheet);
      plan.labels_.push_back(label);
    }
  }
  plan.pageCount_ = plan.labels_.empty() ? 0 : plan.labels_.back().page + 1;
  return plan;
}

std::span<const int> LabelContacts::RowsOf(const PlacedLabel& label) const {
  return stations_.Of(label.station).subspan(label.firstContact, label.contactCount);
}

LabelText LabelContacts::TextOf(const PlacedLabel& label) const {
  return MakeLabelText(table_, columns_, RowsOf(label), label.part, label.parts);
}

}  // namespace kartex
