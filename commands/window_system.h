#pragma once
// What the window system provides to the commands: file dialogs, message
// boxes, the busy cursor and the processing of pending events. The Qt window
// and kartex-cli each implement it. All texts here are UTF-8.

#include <optional>
#include <string>

namespace kartex {

struct FileDialogSpec {
  std::string name;         // the dialog's name in the window (OD, SD1, SD2, ...)
  std::string defaultName;  // proposed file name, may be empty
  std::string filter;       // e.g. "CSV|*.csv"
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The chosen file name, or nullopt on Cancel.
  virtual std::optional<std::string> OpenFileDialog(const FileDialogSpec& spec) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogSpec& spec) = 0;
  // The program's own message in a modal box captioned "KARTEX" with OK.
  virtual void ShowMessage(const std::string& text) = 0;
  // A question with OK and Cancel; true for OK.
  virtual bool Confirm(const std::string& text, const std::string& caption) = 0;
  // The cursor is a state, not a stack: busy until told normal again.
  virtual void ShowBusyCursor() = 0;
  virtual void ShowNormalCursor() = 0;
  virtual void ProcessPendingEvents() = 0;
  // The control states changed (enabled commands, labels, list box, progress).
  virtual void ControlsChanged() = 0;
};

}  // namespace kartex
