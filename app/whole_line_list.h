#pragma once
// A list box that shows whole lines only: the room below the last whole line
// that fits is left empty, so that no line is cut at the box's bottom edge.

#include <QListWidget>

namespace kartex {

class WholeLineList : public QListWidget {
 public:
  explicit WholeLineList(QWidget* parent = nullptr) : QListWidget(parent) {}

  // The height of one line, as the view gives its rows.
  int LineHeight() {
    if (count() > 0) return sizeHintForRow(0);
    addItem(QStringLiteral("X"));
    const int height = sizeHintForRow(0);
    delete takeItem(0);
    return height;
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    FitWholeLines();
    QListWidget::resizeEvent(event);
  }
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
      FitWholeLines();
    }
    QListWidget::changeEvent(event);
  }

 private:
  void FitWholeLines() {
    const int line = LineHeight();
    if (line <= 0) return;
    const int inside = height() - 2 * frameWidth();
    setViewportMargins(0, 0, 0, inside >= line ? inside % line : 0);
  }
};

}  // namespace kartex
