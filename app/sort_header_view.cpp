#include "app/sort_header_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QTableView>

#include "app/header_click_geometry.h"
#include "app/sort_mark.h"

namespace kartex {
namespace {

// The key's number in 6-point digits, drawn in whole black pixels: smoothing
// blurs digits this small into the red behind them.
// Digits 8 pixels or more tall at 100 %.
QFont MarkDigitsFont(QFont font) {
  font.setPixelSize(11);
  font.setBold(true);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

constexpr QRgb kMarkRed = 0xFFE00000;
constexpr QRgb kMarkDigits = 0xFFFFFFFF;

}  // namespace

SortHeaderView::SortHeaderView(QTableView* view) : QHeaderView(Qt::Horizontal, view), view_(view) {
  setObjectName("SG1Header");
  // Clicks are the sort's, not Qt's section selection or sort indicator.
  setSectionsClickable(false);
  setHighlightSections(false);
  setSectionsMovable(false);
  setSortIndicatorShown(false);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setMinimumSectionSize(8);
  setDefaultSectionSize(kGridColumnWidth);
  setSectionResizeMode(QHeaderView::Interactive);
  setFixedHeight(kGridRowHeight);
  connect(this, &QHeaderView::sectionResized, this, [this] {
    if (buttonDown_) widthChanged_ = true;
  });
  view_->setHorizontalHeader(this);
  view_->viewport()->installEventFilter(this);
  // A mark sits at the right end of the visible part of its cell, so it
  // moves while the grid scrolls sideways: every scroll repaints the header
  // instead of shifting what it painted before.
  connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, viewport(),
          qOverload<>(&QWidget::update));
}

void SortHeaderView::setModel(QAbstractItemModel* newModel) {
  if (model()) disconnect(model(), nullptr, this, nullptr);
  QHeaderView::setModel(newModel);
  if (!newModel) return;
  // The header keeps its column widths across a reset of the model (Qt's
  // own handling runs first); columns a wider file adds get the table's
  // narrower default width.
  connect(newModel, &QAbstractItemModel::modelAboutToBeReset, this,
          [this] { sectionsBeforeReset_ = count(); });
  connect(newModel, &QAbstractItemModel::modelReset, this, [this] {
    for (int section = sectionsBeforeReset_; section < count(); ++section) {
      resizeSection(section, kAddedColumnWidth);
    }
    viewport()->update();
  });
}

SortHeaderView::Cell SortHeaderView::CellAtHeaderPoint(QPoint point) const {
  Cell cell;
  if (point.y() >= viewport()->height()) {
    // Below the header: the data cell there, as the grid sees it.
    const QPoint tablePoint = view_->viewport()->mapFromGlobal(viewport()->mapToGlobal(point));
    return tablePoint.y() < 0 ? cell : DataCellAt(tablePoint);
  }
  if (point.y() < 0) return cell;
  cell.col = logicalIndexAt(point.x());
  if (cell.col >= 0) cell.row = 0;
  return cell;
}

SortHeaderView::Cell SortHeaderView::CellAtTablePoint(QPoint point) const {
  if (point.y() >= 0) return DataCellAt(point);
  // Above the data cells: the header cell there, if the point is on it.
  const QPoint headerPoint = viewport()->mapFromGlobal(view_->viewport()->mapToGlobal(point));
  if (headerPoint.y() >= viewport()->height()) return Cell{};
  return CellAtHeaderPoint(headerPoint);
}

SortHeaderView::Cell SortHeaderView::DataCellAt(QPoint tablePoint) const {
  Cell cell;
  const int modelRow =
      tablePoint.y() < view_->viewport()->height() ? view_->rowAt(tablePoint.y()) : -1;
  cell.col = view_->columnAt(tablePoint.x());
  if (cell.col >= 0 && modelRow >= 0)
    cell.row = modelRow + 1;
  else
    cell.col = -1;
  return cell;
}

void SortHeaderView::Press(Cell cell, QPoint headerPoint, bool doubleClick) {
  press_ = cell;
  buttonDown_ = true;
  widthChanged_ = false;
  edgeDoubleClick_ = false;
  if (doubleClick && cell.row == 0 && cell.col >= 0) {
    const int left = sectionViewportPosition(cell.col);
    edgeDoubleClick_ = InColumnSizingZone(headerPoint.x(), left, left + sectionSize(cell.col));
  }
}

void SortHeaderView::Release(Cell cell, QPoint headerPoint, bool shiftHeld) {
  HeaderRelease release;
  release.col = cell.col;
  release.row = cell.row;
  release.pressCol = press_.col;
  release.pressRow = press_.row;
  release.x = headerPoint.x();
  if (cell.col >= 0) {
    release.cellLeft = sectionViewportPosition(cell.col);
    release.cellRight = release.cellLeft + sectionSize(cell.col);
  }
  release.endedColumnDrag = widthChanged_;
  release.followsEdgeDoubleClick = edgeDoubleClick_;
  buttonDown_ = false;
  widthChanged_ = false;
  edgeDoubleClick_ = false;
  if (IsSortRelease(release)) emit sortClicked(cell.col, shiftHeld);
}

void SortHeaderView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    Press(CellAtHeaderPoint(event->position().toPoint()), event->position().toPoint(), false);
  QHeaderView::mousePressEvent(event);
}

void SortHeaderView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    Press(CellAtHeaderPoint(event->position().toPoint()), event->position().toPoint(), true);
  QHeaderView::mouseDoubleClickEvent(event);
}

void SortHeaderView::mouseReleaseEvent(QMouseEvent* event) {
  // Qt ends a width drag first, so a width it changes now still counts.
  QHeaderView::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = event->position().toPoint();
  Release(CellAtHeaderPoint(point), point, event->modifiers().testFlag(Qt::ShiftModifier));
}

bool SortHeaderView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_->viewport()) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
        type == QEvent::MouseButtonRelease) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) {
        const QPoint point = mouse->position().toPoint();
        const QPoint headerPoint = viewport()->mapFromGlobal(view_->viewport()->mapToGlobal(point));
        if (type == QEvent::MouseButtonRelease) {
          Release(CellAtTablePoint(point), headerPoint,
                  mouse->modifiers().testFlag(Qt::ShiftModifier));
        } else {
          Press(CellAtTablePoint(point), headerPoint, type == QEvent::MouseButtonDblClick);
        }
      }
    }
  }
  return QHeaderView::eventFilter(watched, event);
}

void SortHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  QHeaderView::paintSection(painter, rect, logicalIndex);
  PaintSortMark(painter, rect, logicalIndex);
}

void SortHeaderView::PaintSortMark(QPainter* painter, const QRect& section,
                                   int logicalIndex) const {
  if (!model()) return;
  const QVariant markData = model()->headerData(logicalIndex, orientation(), kSortMarkRole);
  if (!markData.canConvert<SortMark>()) return;
  const SortMark mark = markData.value<SortMark>();
  // The part of the cell that can be seen: a key column scrolled partly out
  // of view still shows its mark.
  const QRect visible = section.intersected(viewport()->rect());
  if (visible.isEmpty()) return;
  const QFont digitsFont = MarkDigitsFont(painter->font());
  const QString digits = QString::number(mark.position);
  const int digitsWidth = QFontMetrics(digitsFont).horizontalAdvance(digits);
  const int markWidth = SortMarkWidth(digitsWidth);
  const SortMarkShape shape =
      SortMarkAt(MarkCentreX(visible.left(), visible.left() + visible.width(), markWidth),
                 section.top(), mark.descending, digitsWidth);

  painter->save();
  // The style may leave a clip of its own behind; the mark belongs to this
  // section's rectangle.
  painter->setClipRect(visible, Qt::ReplaceClip);
  painter->setRenderHint(QPainter::Antialiasing, false);
  QPolygon triangle;
  for (const MarkPoint& corner : shape.corners) triangle << QPoint(corner.x, corner.y);
  painter->setPen(QColor(kMarkRed).darker(140));
  painter->setBrush(QColor(kMarkRed));
  painter->drawPolygon(triangle);
  const QRect box(shape.digitsBox.left, shape.digitsBox.top, shape.digitsBox.width,
                  shape.digitsBox.height);
  painter->fillRect(box, QColor(kMarkRed));
  painter->setFont(digitsFont);
  painter->setPen(QColor(kMarkDigits));
  painter->drawText(box, Qt::AlignCenter, digits);
  painter->restore();
}

}  // namespace kartex
