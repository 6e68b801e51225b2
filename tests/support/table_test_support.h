#pragma once
// Helpers shared by the table tests: joining texts, and observers that
// record what the table tells a view.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "table/log_table.h"

namespace kartex::testing {

// Joins texts (plain appends, which keep GCC 12's -Wrestrict quiet).
inline std::string Cat(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (std::string_view part : parts) joined.append(part);
  return joined;
}

// Every notification, in order: "about", "changed", "cell COL,ROW".
class Recorder : public TableObserver {
 public:
  void TableAboutToChange() override { events.push_back("about"); }
  void TableChanged() override { events.push_back("changed"); }
  void CellChanged(int col, int row) override {
    events.push_back("cell " + std::to_string(col) + "," + std::to_string(row));
  }
  std::vector<std::string> events;
};

// The number of notifications of each kind.
class CountingObserver : public TableObserver {
 public:
  void TableAboutToChange() override { ++aboutToChange; }
  void TableChanged() override { ++changed; }
  void CellChanged(int, int) override { ++cells; }
  int aboutToChange = 0, changed = 0, cells = 0;
};

}  // namespace kartex::testing
