#pragma once
// The window system the commands see, made of Qt: file dialogs,
// message boxes captioned "KARTEX", the hourglass cursor and the
// processing of pending events.

#include <QHash>
#include <QString>

#include <functional>
#include <optional>
#include <string>

#include "commands/window_system.h"

class QWidget;

namespace kartex {

inline constexpr const char* kApplicationTitle = "KARTEX";

class QtWindowSystem : public WindowSystem {
 public:
  QtWindowSystem() = default;
  ~QtWindowSystem() override;
  QtWindowSystem(const QtWindowSystem&) = delete;
  QtWindowSystem& operator=(const QtWindowSystem&) = delete;

  // The main window: parent of the boxes and the file dialogs, and what
  // ControlsChanged brings up to date.
  void SetMainWindow(QWidget* window, std::function<void()> controlsChanged);

  std::optional<std::string> OpenFileDialog(const FileDialogSpec& spec) override;
  std::optional<std::string> SaveFileDialog(const FileDialogSpec& spec) override;
  void ShowMessage(const std::string& text) override;
  bool Confirm(const std::string& text, const std::string& caption) override;
  void ShowBusyCursor() override;
  void ShowNormalCursor() override;
  void ProcessPendingEvents() override;
  void ControlsChanged() override;
  void ShowList(const ListDialog& list) override;
  // What a double click on a line of a list does: makes that cell of the
  // grid current (set by the main window).
  void SetGoToCell(std::function<void(int row, int column)> goToCell) {
    goToCell_ = std::move(goToCell);
  }

  // The general error box: error icon, caption "KARTEX", OK.
  virtual void ShowError(const std::string& text);

  bool Busy() const { return busy_; }

 protected:
  QWidget* MainWindow() const { return window_; }

 private:
  std::optional<std::string> RunFileDialog(const FileDialogSpec& spec, bool save);

  QWidget* window_ = nullptr;
  std::function<void()> controlsChanged_;
  std::function<void(int, int)> goToCell_;
  QHash<QString, QString> lastFolders_;  // by dialog name (OD, SD1, ...)
  // The hourglass is a state, as the commands use it: shown or not. At most
  // one override cursor is pushed, so any sequence of calls stays balanced.
  bool busy_ = false;
};

// "CSV|*.csv" (description|patterns, pairs joined by "|") in Qt's form,
// "CSV (*.csv *.CSV)". Each pattern is offered in lower and upper case as
// well, because file names on this system are case-sensitive. The pattern
// of the default name's own extension comes first in its filter: a save
// dialog may put the first pattern's extension after a name whose
// extension it does not find there in that case (Wine's does), and the
// offered name must stay as it is.
QString QtFileFilter(const std::string& filter, const std::string& defaultName = {});

}  // namespace kartex
