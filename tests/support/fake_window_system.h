#pragma once
// A window system for tests: answers file dialogs and questions from queues
// and records every message and dialog it was asked for.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "commands/window_system.h"

namespace kartex::testing {

class FakeWindowSystem : public WindowSystem {
 public:
  std::deque<std::optional<std::string>> fileAnswers;  // nullopt: Cancel
  std::deque<bool> confirmAnswers;                     // empty: OK
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<FileDialogSpec> dialogs;
  bool busy = false;
  std::vector<bool> cursorChanges;  // each change of the cursor: true for the hourglass
  int controlsChanged = 0;

  std::optional<std::string> OpenFileDialog(const FileDialogSpec& spec) override {
    return Answer(spec);
  }
  std::optional<std::string> SaveFileDialog(const FileDialogSpec& spec) override {
    return Answer(spec);
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string& text, const std::string&) override {
    questions.push_back(text);
    if (confirmAnswers.empty()) return true;
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }
  void ShowBusyCursor() override { SetBusy(true); }
  void ShowNormalCursor() override { SetBusy(false); }
  void ProcessPendingEvents() override {}
  void ControlsChanged() override { ++controlsChanged; }

 private:
  void SetBusy(bool nowBusy) {
    if (busy != nowBusy) cursorChanges.push_back(nowBusy);
    busy = nowBusy;
  }
  std::optional<std::string> Answer(const FileDialogSpec& spec) {
    dialogs.push_back(spec);
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
};

}  // namespace kartex::testing
