#include "console_window_system.h"

#include <ostream>

namespace kartex {

std::optional<std::string> ConsoleWindowSystem::TakeAnswer() {
  std::optional<std::string> answer = std::move(nextFileName_);
  nextFileName_.reset();
  return answer;
}

std::optional<std::string> ConsoleWindowSystem::OpenFileDialog(const FileDialogSpec&) {
  return TakeAnswer();
}

std::optional<std::string> ConsoleWindowSystem::SaveFileDialog(const FileDialogSpec&) {
  return TakeAnswer();
}

void ConsoleWindowSystem::ShowMessage(const std::string& text) {
  messages_ << "KARTEX: " << text << '\n' << std::flush;
}

bool ConsoleWindowSystem::Confirm(const std::string&, const std::string&) { return true; }

}  // namespace kartex
