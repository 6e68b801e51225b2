#pragma once
// Shared helpers of the country tests: a scratch folder that is also the
// current directory (the reference files are looked up there), file
// writing, and a window system that records what the commands show.

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "commands/window_system.h"

namespace kartex::testing {

// A fresh folder made the current directory for the life of the object.
class ScratchDirectory {
 public:
  ScratchDirectory() : previous_(std::filesystem::current_path()) {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("kartex-country-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// Lines joined with CR LF, each line ended.
inline std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

// A CTY.DAT header line: the name and its colon padded to column 26, the
// zones and position filler, and the main prefix from column 70.
inline std::string CtyHeader(const std::string& name, const std::string& prefix) {
  std::string line = name + ":";
  line.resize(26, ' ');
  line += "15:  28:  EU:   52.28:   -18.67:    -1.0:";  // up to column 69
  line.resize(69, ' ');
  line += "  " + prefix + ":";
  return line;
}

// Records every call of the window system; answers the dialogs and the
// questions from the values set beforehand.
class RecordingWindows : public WindowSystem {
 public:
  std::optional<std::string> OpenFileDialog(const FileDialogSpec& spec) override {
    dialogs.push_back(spec);
    return openAnswer;
  }
  std::optional<std::string> SaveFileDialog(const FileDialogSpec& spec) override {
    dialogs.push_back(spec);
    return saveAnswer;
  }
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    events.push_back("message");
  }
  bool Confirm(const std::string& text, const std::string& caption) override {
    questions.push_back(text);
    captions.push_back(caption);
    events.push_back("confirm");
    return confirmAnswer;
  }
  void ShowBusyCursor() override {
    ++busy;
    events.push_back("busy");
  }
  void ShowNormalCursor() override {
    ++normal;
    events.push_back("normal");
  }
  void ProcessPendingEvents() override {}
  void ControlsChanged() override {}

  std::optional<std::string> openAnswer;
  std::optional<std::string> saveAnswer;
  bool confirmAnswer = true;

  std::vector<FileDialogSpec> dialogs;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> captions;
  std::vector<std::string> events;
  int busy = 0;
  int normal = 0;
};

}  // namespace kartex::testing
