#pragma once
// A window system for tests: answers file dialogs and questions from queues
// and records every message, question, dialog and cursor change it was
// asked for.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "commands/window_system.h"

namespace kartex::testing {

class FakeWindowSystem : public WindowSystem {
 public:
  std::deque<std::optional<std::string>> fileAnswers;  // nullopt, or none left: Cancel
  std::deque<bool> confirmAnswers;                     // none left: OK

  std::vector<FileDialogSpec> dialogs;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<std::string> captions;  // of the questions
  // Every call in order: "message", "confirm", "busy", "normal".
  std::vector<std::string> events;
  bool busy = false;
  std::vector<bool> cursorChanges;  // each change of the cursor: true for the hourglass
  int busyCalls = 0;
  int normalCalls = 0;
  int controlsChanged = 0;

  // Forgets what was recorded so far; the answers stay.
  void ClearRecords() {
    dialogs.clear();
    messages.clear();
    questions.clear();
    captions.clear();
    events.clear();
    cursorChanges.clear();
    busyCalls = normalCalls = controlsChanged = 0;
  }

  std::optional<std::string> OpenFileDialog(const FileDialogSpec& spec) override {
    return Answer(spec);
  }
  std::optional<std::string> SaveFileDialog(const FileDialogSpec& spec) override {
    return Answer(spec);
  }
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    events.push_back("message");
  }
  bool Confirm(const std::string& text, const std::string& caption) override {
    questions.push_back(text);
    captions.push_back(caption);
    events.push_back("confirm");
    if (confirmAnswers.empty()) return true;
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }
  void ShowBusyCursor() override {
    ++busyCalls;
    events.push_back("busy");
    SetBusy(true);
  }
  void ShowNormalCursor() override {
    ++normalCalls;
    events.push_back("normal");
    SetBusy(false);
  }
  void ProcessPendingEvents() override {}
  void ControlsChanged() override { ++controlsChanged; }
  // Records the list's texts, then presses "Zapisz…" when saveLists is set.
  void ShowList(const ListDialog& list) override {
    events.push_back("list");
    listNames.push_back(list.name);
    std::vector<std::vector<std::string>> lines;
    for (size_t line = 0; line < list.lineCount; ++line) {
      std::vector<std::string> texts;
      for (size_t col = 0; col < list.headings.size(); ++col) texts.push_back(list.text(line, col));
      lines.push_back(std::move(texts));
    }
    listLines.push_back(std::move(lines));
    if (saveLists && list.save) list.save();
  }
  bool saveLists = false;
  std::vector<std::string> listNames;
  std::vector<std::vector<std::vector<std::string>>> listLines;  // of each list shown

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
