#include "country/cell_splicer.h"

#include <algorithm>
#include <stdexcept>

namespace kartex {

void CellSplicer::Write(LogTable& table, int col, int row, std::string_view text) {
  if (col < 0 || col >= table.ColCount() || row < 0 || row >= table.RowCount()) {
    throw std::out_of_range("no such cell");
  }
  const TableRow& old = table.Row(row);
  const auto stored = static_cast<size_t>(old.FieldCount());
  const size_t count = std::max(stored, static_cast<size_t>(col) + 1);
  const std::string_view oldText = old.StoredText();
  ends_.assign(count, static_cast<uint32_t>(oldText.size()));  // cells beyond: empty
  old.StoredEnds(ends_.data());

  const size_t c = static_cast<size_t>(col);
  const size_t begin = c == 0 ? 0 : ends_[c - 1];
  const size_t end = ends_[c];
  text_.assign(oldText.substr(0, begin));
  text_.append(text);
  text_.append(oldText.substr(end));
  if (text_.size() > UINT32_MAX) throw std::length_error("row too long");
  for (size_t k = c; k < count; ++k) {
    ends_[k] = static_cast<uint32_t>(ends_[k] - (end - begin) + text.size());
  }

  TableRow fresh;
  fresh.height = old.height;
  fresh.AssignPacked(text_.data(), ends_.data(), count);
  table.PutRow(row, std::move(fresh));
}

}  // namespace kartex
