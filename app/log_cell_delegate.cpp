#include "app/log_cell_delegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace kartex {

void LogCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
  if (view && view->currentIndex() == index) {
    option->font.setBold(true);
    option->backgroundBrush = QColor(QRgb(kCurrentCellColour));
    option->palette.setColor(QPalette::Text, Qt::black);
    // The current cell keeps its own colours inside a selected range.
    option->state &= ~QStyle::State_Selected;
    return;
  }
  if (!(option->state & QStyle::State_Selected)) {
    option->backgroundBrush =
        index.row() % 2 == 0 ? option->palette.toolTipBase() : option->palette.base();
  }
}

bool LogCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                const QModelIndex& index) {
  if (event && view && event->type() == QEvent::ToolTip && !view->toolTip().isEmpty()) {
    QToolTip::showText(event->globalPos(), view->toolTip(), view);
    return true;
  }
  return QStyledItemDelegate::helpEvent(event, view, option, index);
}

}  // namespace kartex
