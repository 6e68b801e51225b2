#pragma once
// How SG1 draws and edits its cells: data rows banded (tooltip background,
// window background, one row each), the current cell bold on sky blue while
// the grid has the focus and on light grey while it has not, all greyed
// while the grid is disabled, and the grid's hint shown over every
// cell. An edit that Windows-1250 cannot hold stays in its editor, and Tab
// in the editor leaves the grid as it does outside an edit.

#include <QStyledItemDelegate>

class QKeyEvent;
class QLineEdit;

namespace kartex {

inline constexpr unsigned kCurrentCellColour = 0x87CEEB;           // sky blue
inline constexpr unsigned kUnfocusedCurrentCellColour = 0xD3D3D3;  // light grey

class LogCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 signals:
  // An edit was refused; the text names the character (UTF-8 for the screen).
  void editRefused(const QString& message) const;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  bool KeepsRefusedText(QLineEdit* editor, QEvent* event);
  void LeaveGridByTab(QLineEdit* editor, const QKeyEvent& key);
  void ReopenEditor(QAbstractItemView* view, const QPersistentModelIndex& index,
                    const QString& text) const;
};

}  // namespace kartex
