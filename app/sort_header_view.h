#pragma once
// The header of the grid SG1: the log's column names, the sort clicks and the
// sort marks. A left-button release is a sort click under the grid's release
// rules (app/header_click_geometry.h); the header tells which column and
// whether Shift was held at the release, the window sorts. The marks come
// from the model (kSortMarkRole) and are painted over the section, at the
// right end of its visible part, never put into the header texts.

#include <QHeaderView>
#include <QPoint>

class QTableView;

namespace kartex {

inline constexpr int kGridRowHeight = 20;
inline constexpr int kGridColumnWidth = 146;
// Columns added by a file wider than the window's 53 columns.
inline constexpr int kAddedColumnWidth = 60;

class SortHeaderView : public QHeaderView {
  Q_OBJECT

 public:
  // Becomes the horizontal header of view and watches its viewport for
  // presses and releases on the data cells.
  explicit SortHeaderView(QTableView* view);

  void setModel(QAbstractItemModel* model) override;

  // The x of a key's mark centre (the triangle's) within a section spanning
  // [left, right), for a mark markWidth pixels wide right of that centre:
  // at the right end of the section, or in its middle when it is narrow.
  static int MarkCentreX(int left, int right, int markWidth) {
    const int atRightEnd = right - 2 - markWidth;
    return atRightEnd > left + 8 ? atRightEnd : (left + right - markWidth) / 2;
  }

 signals:
  void sortClicked(int column, bool shiftHeld);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Cell {
    int col = -1;
    int row = -1;  // 0: the header row; from 1: a data row of the table
  };
  // The cell under a point of the header's viewport, or of the table's.
  Cell CellAtHeaderPoint(QPoint point) const;
  Cell CellAtTablePoint(QPoint point) const;
  Cell DataCellAt(QPoint tablePoint) const;
  void Press(Cell cell, QPoint headerPoint, bool doubleClick);
  void Release(Cell cell, QPoint headerPoint, bool shiftHeld);
  void PaintSortMark(QPainter* painter, const QRect& section, int logicalIndex) const;

  QTableView* view_;
  Cell press_;
  bool buttonDown_ = false;
  bool widthChanged_ = false;     // a column width changed while the button was down
  bool edgeDoubleClick_ = false;  // the next release ends a double-click in a sizing zone
  int sectionsBeforeReset_ = 0;
};

}  // namespace kartex
