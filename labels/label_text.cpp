#include "label_text.h"

#include "table/ascii_case.h"
#include "table/call_sign_text.h"

#include <algorithm>

namespace kartex {
namespace {

int FindColumn(const LogTable& table, std::string_view name) {
  int exact = -1, loose = -1;
  if (table.RowCount() < 1) return -1;
  for (int col = 0; col < table.ColCount(); ++col) {
    const std::string_view header = table.CellText(col, 0);
    if (header == name) exact = col;
    if (SameIgnoringAsciiCase(TrimmedBlanks(header), name)) loose = col;
  }
  return exact >= 0 ? exact : loose;
}

std::string_view Cell(const LogTable& table, int col, int row) {
  return col >= 0 ? table.CellText(col, row) : std::string_view();
}

ContactCells ContactOf(const LogTable& table, const LabelColumns& columns, int row) {
  const std::string_view band = Cell(table, columns.band, row);
  const std::string_view subMode = Cell(table, columns.subMode, row);
  const std::string_view time = Cell(table, columns.timeOn, row);
  return {LabelDate(Cell(table, columns.qsoDate, row)), std::string(time.substr(0, 4)),
          std::string(!band.empty() ? band : Cell(table, columns.freq, row)),
          std::string(!subMode.empty() ? subMode : Cell(table, columns.mode, row)),
          std::string(Cell(table, columns.rstSent, row))};
}

}  // namespace

LabelColumns LabelColumns::Find(const LogTable& table, int callColumn) {
  LabelColumns columns;
  columns.call = callColumn;
  columns.qsoDate = FindColumn(table, "QSO_DATE");
  columns.timeOn = FindColumn(table, "TIME_ON");
  columns.band = FindColumn(table, "BAND");
  columns.freq = FindColumn(table, "FREQ");
  columns.mode = FindColumn(table, "MODE");
  columns.subMode = FindColumn(table, "SUBMODE");
  columns.rstSent = FindColumn(table, "RST_SENT");
  columns.qslRcvd = FindColumn(table, "QSL_RCVD");
  columns.qslVia = FindColumn(table, "QSL_VIA");
  return columns;
}

bool IsCallSign(std::string_view text) { return HoldsCallSign(text); }

std::string LabelDate(std::string_view qsoDate) {
  if (qsoDate.size() != 8 || !std::all_of(qsoDate.begin(), qsoDate.end(), IsDigit))
    return std::string(qsoDate);
  std::string date;
  date.reserve(10);
  date.append(qsoDate.substr(0, 4)).append("-");
  date.append(qsoDate.substr(4, 2)).append("-");
  date.append(qsoDate.substr(6, 2));
  return date;
}

LabelText MakeLabelText(const LogTable& table, const LabelColumns& columns,
                        std::span<const int> rows, int part, int parts) {
  LabelText text;
  text.title = "To Radio: ";
  if (!rows.empty()) text.title += Cell(table, columns.call, rows.front());
  if (parts > 1) text.title += "  (" + std::to_string(part) + "/" + std::to_string(parts) + ")";
  bool confirmed = false;
  text.contacts.reserve(rows.size());
  for (int row : rows) {
    text.contacts.push_back(ContactOf(table, columns, row));
    const std::string_view via = Cell(table, columns.qslVia, row);
    if (text.via.empty() && IsCallSign(via)) text.via = "via " + std::string(TrimmedBlanks(via));
    confirmed =
        confirmed || SameIgnoringAsciiCase(TrimmedBlanks(Cell(table, columns.qslRcvd, row)), "Y");
  }
  text.closing = confirmed ? "TNX QSL" : "PSE QSL";
  return text;
}

int LabelText::LineCount() const {
  return static_cast<int>(contacts.size()) + (via.empty() ? 3 : 4);
}

std::vector<std::string> LabelText::PlainLines() const {
  std::array<size_t, 5> widths{};
  for (size_t col = 0; col < widths.size(); ++col) {
    widths[col] = kContactHeading[col].size();
    for (const ContactCells& contact : contacts)
      widths[col] = std::max(widths[col], contact[col].size());
  }
  const auto tableLine = [&widths](auto cellOf) {
    std::string line;
    for (size_t col = 0; col < widths.size(); ++col) {
      const std::string_view cell = cellOf(col);
      line.append(cell);
      if (col + 1 < widths.size()) line.append(widths[col] + 2 - cell.size(), ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
  };
  std::vector<std::string> lines = {title};
  if (!via.empty()) lines.push_back(via);
  lines.push_back(tableLine([](size_t col) { return kContactHeading[col]; }));
  for (const ContactCells& contact : contacts)
    lines.push_back(tableLine([&contact](size_t col) { return std::string_view(contact[col]); }));
  lines.push_back(closing);
  return lines;
}

}  // namespace kartex
