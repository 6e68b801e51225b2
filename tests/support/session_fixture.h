#pragma once
// A session over a fake window system, with a helper that loads a log given
// as lines of CSV text.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "commands/session.h"
#include "fake_window_system.h"
#include "temp_dir.h"

namespace kartex::testing {

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() : session(windows, RegionalSettings{}) {}

  // Writes the lines (CR LF) to a file and opens it through the open dialog.
  LoadOutcome Load(std::initializer_list<std::string> lines, const std::string& name = "log.csv") {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    windows.fileAnswers.push_back(dir.Write(name, text));
    return session.Load_CSVClick();
  }

  // The texts of one column over the data rows, joined by "|".
  std::string Column(int col) const {
    std::string out;
    for (int row = 1; row < session.Table().RowCount(); ++row) {
      if (row > 1) out += '|';
      out += session.Table().CellText(col, row);
    }
    return out;
  }

  TempDir dir;
  FakeWindowSystem windows;
  Session session;
};

}  // namespace kartex::testing
