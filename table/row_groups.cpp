#include "table/row_groups.h"

#include "table/text_index.h"

namespace kartex {

RowGroups GroupRowsByText(const LogTable& table, int column) {
  RowGroups groups;
  const int rows = table.RowCount();
  const size_t dataRows = rows > 1 ? static_cast<size_t>(rows - 1) : 0;
  groups.groupOfRow.resize(dataRows);
  auto textOf = [&groups](uint32_t group) { return groups.texts[group]; };
  TextIndex<decltype(textOf)> groupOfText(textOf, dataRows);
  // The slot of the text a few rows ahead is loaded while this row is
  // grouped (about a tenth of the open of a large log).
  constexpr int kLookAhead = 16;
  for (int row = 1; row < rows; ++row) {
    if (row + kLookAhead < rows) {
      groupOfText.Prefetch(groupOfText.Hash(table.CellText(column, row + kLookAhead)));
    }
    const std::string_view text = table.CellText(column, row);
    const auto [group, inserted] =
        groupOfText.Insert(text, static_cast<uint32_t>(groups.texts.size()));
    if (inserted) {
      groups.texts.push_back(text);
      groups.firstRow.push_back(row);
      groups.rowCount.push_back(0);
    }
    ++groups.rowCount[group];
    groups.groupOfRow[static_cast<size_t>(row - 1)] = group;
  }
  return groups;
}

}  // namespace kartex
