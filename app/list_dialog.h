#pragma once
// The dialog of a list (ListDialog): the note, the list in a table with its
// headings, "Zapisz…" and "Zamknij". A double click on a line of a list whose
// lines stand for rows of the log takes the grid there.

#include <QDialog>

#include <functional>

#include "commands/window_system.h"

namespace kartex {

class ListDialogWindow : public QDialog {
  Q_OBJECT

 public:
  // goToCell(row, column) makes that cell of the grid current; save errors
  // are shown through showError.
  ListDialogWindow(const ListDialog& list, QWidget* parent,
                   std::function<void(int row, int column)> goToCell,
                   std::function<void(const std::string& error)> showError);

 private:
  void Save();
  void GoToLine(int line);

  const ListDialog& list_;
  std::function<void(int, int)> goToCell_;
  std::function<void(const std::string&)> showError_;
};

}  // namespace kartex
