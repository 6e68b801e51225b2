#pragma once
// How SG1 draws its cells: data rows banded (tooltip background, window
// background, one row each), the current cell bold on sky blue, and the
// grid's hint shown over every cell.

#include <QStyledItemDelegate>

namespace kartex {

inline constexpr unsigned kCurrentCellColour = 0x87CEEB;  // sky blue

class LogCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace kartex
