#pragma once
// The window system of kartex-cli: the file dialogs answer with the names
// given on the command line, message boxes become lines on standard error,
// and every question is answered OK (the command line is the operator's
// answer).

#include <iosfwd>
#include <optional>
#include <string>

#include "commands/window_system.h"

namespace kartex {

class ConsoleWindowSystem : public WindowSystem {
 public:
  explicit ConsoleWindowSystem(std::ostream& messages) : messages_(messages) {}

  // The name the next file dialog returns.
  void AnswerNextDialog(std::string fileName) { nextFileName_ = std::move(fileName); }

  std::optional<std::string> OpenFileDialog(const FileDialogSpec& spec) override;
  std::optional<std::string> SaveFileDialog(const FileDialogSpec& spec) override;
  void ShowMessage(const std::string& text) override;
  bool Confirm(const std::string& text, const std::string& caption) override;
  void ShowBusyCursor() override {}
  void ShowNormalCursor() override {}
  void ProcessPendingEvents() override {}
  void ControlsChanged() override {}
  // The list is not shown; its "Zapisz…" is pressed, and writes the file the
  // action named (none: nothing is written).
  void ShowList(const ListDialog& list) override {
    if (list.save) list.save();
  }

 private:
  std::optional<std::string> TakeAnswer();

  std::ostream& messages_;
  std::optional<std::string> nextFileName_;
};

}  // namespace kartex
