#pragma once
// Which contacts go on which label, and where each label lies: the shown
// rows of the log table grouped by station (CALL compared exactly, stations
// in the order of their first shown row), at most K contacts a label, a
// station with more going on further labels marked (1/2), (2/2) ...; the
// labels laid on the sheet from start label N on, page after page.

#include <span>
#include <string>
#include <vector>

#include "commands/station_rows.h"
#include "label_sheet.h"
#include "label_text.h"
#include "table/log_table.h"

namespace kartex {

inline constexpr int kMostContactsPerLabel = 10;
// The message when no data row is shown.
inline constexpr const char* kNoLabelRowsMessage = "Brak rekordów w tabeli !";
inline constexpr double kSmallestFontPt = 6;
inline constexpr double kLargestFontPt = 10;
// The distance of two lines, in font sizes: DejaVu Sans's ascent and
// descent (0.928 + 0.236 of its size), rounded up.
inline constexpr double kLineSpacing = 1.17;

struct LabelOptions {
  int start = 1;     // the first label used on the first sheet, from 1
  int perLabel = 4;  // K, contacts a label: 1 to kMostContactsPerLabel
};

// How the text fits a label: the font size, and the contacts a label holds,
// fewer than asked when K contacts do not fit the label's height at the
// smallest font size.
struct LabelFit {
  int requested = 0;
  int perLabel = 0;
  double fontPt = kLargestFontPt;
  bool oneTooMany = false;  // not even one contact fits: the text is cut at the label's edge

  bool Lowered() const { return perLabel < requested; }
};

// What the operator is told when the fit is not what was asked (UTF-8);
// empty when it is.
std::string FitNotice(const LabelFit& fit);

// The error text of options outside the sheet (English, for kartex-cli's
// usage message); empty when they are right.
std::string CheckLabelOptions(const LabelSheet& sheet, const LabelOptions& options);

struct PlacedLabel {
  uint32_t station = 0;
  uint32_t firstContact = 0;  // of the station's rows
  uint32_t contactCount = 0;
  int part = 1, parts = 1;
  int page = 0;  // from 0
  int slot = 0;  // the label's place on its page, in LabelSheet::Origins order
};

// The labels of one sheet and fit; see LabelContacts::Plan.
class LabelPlan {
 public:
  const LabelSheet& Sheet() const { return sheet_; }
  const std::vector<LabelOrigin>& Origins() const { return origins_; }
  const LabelFit& Fit() const { return fit_; }
  int PageCount() const { return pageCount_; }
  const std::vector<PlacedLabel>& Labels() const { return labels_; }
  // The labels on a page, in label order.
  std::span<const PlacedLabel> LabelsOn(int page) const;

 private:
  friend class LabelContacts;
  LabelSheet sheet_;
  std::vector<LabelOrigin> origins_;
  LabelFit fit_;
  int pageCount_ = 0;
  std::vector<PlacedLabel> labels_;
};

// The shown rows of a log table made ready for labels: grouped by station
// once, so that a new sheet or K is planned without reading the table
// again. The table must stay as it is while this lives.
class LabelContacts {
 public:
  LabelContacts(const LogTable& table, int callColumn);

  size_t StationCount() const { return stations_.Count(); }
  bool Empty() const { return stations_.Count() == 0; }
  // Whether a shown contact names a manager, so that labels have a via line.
  bool AnyVia() const { return anyVia_; }

  // Options must pass CheckLabelOptions.
  LabelFit FitOn(const LabelSheet& sheet, int perLabel) const;
  LabelPlan Plan(const LabelSheet& sheet, const LabelOptions& options) const;
  LabelText TextOf(const PlacedLabel& label) const;
  std::span<const int> RowsOf(const PlacedLabel& label) const;

 private:
  const LogTable& table_;
  LabelColumns columns_;
  StationRows stations_;
  bool anyVia_ = false;
};

}  // namespace kartex
