#pragma once
// What the window system provides to the commands: file dialogs, message
// boxes, the busy cursor and the processing of pending events. The Qt window
// and kartex-cli each implement it. All texts here are UTF-8.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kartex {

struct FileDialogSpec {
  std::string name;         // the dialog's name in the window (OD, SD1, SD2, ...)
  std::string defaultName;  // proposed file name, may be empty
  std::string filter;       // e.g. "CSV|*.csv"
};

// A list the operator reads in a dialog of its own ("Sprawdź DXCC", the
// bureau summary), with "Zapisz…", which writes it as a file. The texts are
// asked for line by line, so that a list of a million lines costs nothing
// until it is shown.
struct ListDialog {
  std::string name;   // the dialog's object name
  std::string title;  // its caption
  std::string note;   // a text above the list; may be empty
  std::vector<std::string> headings;
  size_t lineCount = 0;
  std::function<std::string(size_t line, size_t column)> text;
  // The table row each line stands for: a double click on a line makes that
  // row's cell in goToColumn the grid's current cell. Empty: lines stand for
  // no row.
  std::function<int(size_t line)> tableRow;
  int goToColumn = -1;
  // "Zapisz…": asks for the file and writes the list.
  std::function<void()> save;
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
  // Shows the list until the operator closes it.
  virtual void ShowList(const ListDialog& list) = 0;
};

}  // namespace kartex
