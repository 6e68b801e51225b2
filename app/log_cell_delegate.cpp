#include "app/log_cell_delegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QToolTip>

#include "app/refused_edit.h"

namespace kartex {
namespace {

bool IsRefused(const QString& text) { return !FirstCharacterOutsideCp1250(text).isEmpty(); }

bool IsTab(const QKeyEvent& key) {
  return key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
}

bool EndsEditByKey(const QKeyEvent& key) {
  return IsTab(key) || key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

QAbstractItemView* ViewOf(const QWidget* editor) {
  // An editor lives on the view's viewport.
  QWidget* viewport = editor ? editor->parentWidget() : nullptr;
  return viewport ? qobject_cast<QAbstractItemView*>(viewport->parentWidget()) : nullptr;
}

}  // namespace

void LogCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                      const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
  if (view && !view->isEnabled()) {
    // A greyed grid cannot be clicked; it shows neither bands nor a current cell.
    option->backgroundBrush = option->palette.brush(QPalette::Disabled, QPalette::Window);
    option->palette.setColor(QPalette::Text,
                             option->palette.color(QPalette::Disabled, QPalette::Text));
    option->state &= ~QStyle::State_Selected;
    return;
  }
  if (view && view->currentIndex() == index) {
    option->font.setBold(true);
    // The keys act on the cell only while the grid has the focus.
    const bool focused = view->hasFocus() || view->isAncestorOf(QApplication::focusWidget());
    option->backgroundBrush =
        QColor(QRgb(focused ? kCurrentCellColour : kUnfocusedCurrentCellColour));
    option->palette.setColor(QPalette::Text, Qt::black);
    // The current cell keeps its own colours inside a selected range, and
    // its colour alone tells the focus (the style's focus frame would tint it).
    option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    return;
  }
  if (!(option->state & QStyle::State_Selected)) {
    option->backgroundBrush =
        index.row() % 2 == 0 ? option->palette.toolTipBase() : option->palette.base();
  }
}

bool LogCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (event && view && event->type() == QEvent::ToolTip && !view->toolTip().isEmpty()) {
    QToolTip::showText(event->globalPos(), view->toolTip(), view);
    return true;
  }
  return QStyledItemDelegate::helpEvent(event, view, option, index);
}

bool LogCellDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QLineEdit*>(object);
  if (!editor) return QStyledItemDelegate::eventFilter(object, event);
  if (KeepsRefusedText(editor, event)) return true;
  if (event->type() == QEvent::KeyPress && IsTab(*static_cast<QKeyEvent*>(event))) {
    LeaveGridByTab(editor, *static_cast<QKeyEvent*>(event));
    return true;
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

// Enter and Tab do not end an edit that cannot be stored: the message names
// the character and the editor stays with the text. Losing the focus to
// another window (the message box itself, a menu) keeps it quietly.
bool LogCellDelegate::KeepsRefusedText(QLineEdit* editor, QEvent* event) {
  if (!IsRefused(editor->text())) return false;
  if (event->type() == QEvent::KeyPress && EndsEditByKey(*static_cast<QKeyEvent*>(event))) {
    emit editRefused(RefusedEditMessage(editor->text()));
    return true;
  }
  if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
  }
  return false;
}

// Tab stores the edit and moves the focus on to the next control, as Tab
// does in the grid outside an edit.
void LogCellDelegate::LeaveGridByTab(QLineEdit* editor, const QKeyEvent& key) {
  QPointer<QAbstractItemView> view = ViewOf(editor);
  emit commitData(editor);
  emit closeEditor(editor, QAbstractItemDelegate::NoHint);
  if (!view) return;
  QKeyEvent tab(QEvent::KeyPress, key.key(), key.modifiers());
  QCoreApplication::sendEvent(view, &tab);
}

// Any other road that would store a refused text (the focus moved to another
// control or cell) stores nothing, names the character, and opens the editor
// again with the text once the old one is gone.
void LogCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
  auto* line = qobject_cast<QLineEdit*>(editor);
  if (!line || !IsRefused(line->text())) {
    QStyledItemDelegate::setModelData(editor, model, index);
    return;
  }
  emit editRefused(RefusedEditMessage(line->text()));
  ReopenEditor(ViewOf(editor), QPersistentModelIndex(index), line->text());
}

void LogCellDelegate::ReopenEditor(QAbstractItemView* view, const QPersistentModelIndex& index,
                                   const QString& text) const {
  if (!view) return;
  QPointer<QAbstractItemView> target = view;
  QTimer::singleShot(0, view, [target, index, text] {
    // A reset of the table in the meantime (a sort, a filter) ends the edit.
    if (!target || !index.isValid() || !target->isEnabled()) return;
    target->setCurrentIndex(index);
    target->edit(index);
    if (auto* reopened = qobject_cast<QLineEdit*>(target->indexWidget(index))) {
      reopened->setText(text);
      reopened->setFocus();
    }
  });
}

}  // namespace kartex
