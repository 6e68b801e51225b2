#pragma once
// A session over a fake window system, with a helper that loads a log given
// as lines of CSV text.

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
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

  // Makes a fresh folder the current one, with CTY.DAT and ADIF_DXC.TXT copied
  // from the source folder (the demonstration's by default), where the
  // commands that read them look first.
  void UseReferenceFiles(const std::string& source = KARTEX_DEMO_DIR) {
    work = std::make_unique<ScratchDirectory>();
    for (const char* name : {"CTY.DAT", "ADIF_DXC.TXT"}) {
      std::filesystem::copy_file(std::filesystem::path(source) / name, work->Path() / name);
    }
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
  std::unique_ptr<ScratchDirectory> work;  // the current folder, when one is made
  FakeWindowSystem windows;
  Session session;
};

}  // namespace kartex::testing
