#include "app/log_table_model.h"

#include <string>

#include "app/refused_edit.h"
#include "app/sort_mark.h"
#include "platform/code_page.h"
#include "table/header_click_rules.h"

namespace kartex {
namespace {

QString Decoded(std::string_view cell) {
  if (cell.empty()) return QString();
  return QString::fromStdString(Cp1250ToUtf8(cell));
}

}  // namespace

LogTableModel::LogTableModel(Session& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session), table_(session.Table()) {
  session_.Table().SetObserver(this);
}

LogTableModel::~LogTableModel() { session_.Table().SetObserver(nullptr); }

int LogTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return table_.RowCount() > 1 ? table_.RowCount() - 1 : 0;
}

int LogTableModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return table_.ColCount();
}

bool LogTableModel::HoldsCell(const QModelIndex& index) const {
  // The table is read live, so an index is checked against it, not against
  // counts the view may still hold from before a change.
  return index.isValid() && index.model() == this && !index.parent().isValid() &&
         index.row() >= 0 && index.row() + 1 < table_.RowCount() && index.column() >= 0 &&
         index.column() < table_.ColCount();
}

QVariant LogTableModel::data(const QModelIndex& index, int role) const {
  if (!HoldsCell(index)) return QVariant();
  if (role == Qt::DisplayRole || role == Qt::EditRole) {
    return Decoded(table_.CellText(index.column(), index.row() + 1));
  }
  return QVariant();
}

QVariant LogTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= table_.ColCount()) return QVariant();
    if (role == Qt::DisplayRole) {
      return table_.RowCount() >= 1 ? Decoded(table_.CellText(section, 0)) : QString();
    }
    if (role == Qt::TextAlignmentRole)
      return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (role == kSortMarkRole) return SortMarkOf(section);
    return QVariant();
  }
  if (role == Qt::DisplayRole && section >= 0 && section < rowCount()) return section + 1;
  return QVariant();
}

QVariant LogTableModel::SortMarkOf(int column) const {
  if (!ShowsSortMarks(table_.RowCount())) return QVariant();
  const TSortIndexList& keys = session_.Sort().SortIndex();
  const int position = keys.Find(column);
  if (position < 0) return QVariant();
  return QVariant::fromValue(SortMark{position + 1, keys.Descending(position)});
}

void LogTableModel::SortKeysChanged() {
  if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

Qt::ItemFlags LogTableModel::flags(const QModelIndex& index) const {
  if (!HoldsCell(index)) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool LogTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !HoldsCell(index)) return false;
  const int col = index.column();
  const int row = index.row() + 1;
  const QString text = value.toString();
  std::optional<std::string> encoded = Utf8ToCp1250(text.toStdString());
  if (!encoded) {
    emit editRefused(RefusedEditMessage(text));
    return false;
  }
  if (table_.CellText(col, row) == *encoded) return true;
  const int changesBefore = cellChanges_;
  try {
    session_.EditCell(col, row, *encoded);
  } catch (const std::exception& error) {
    emit editRefused(QString::fromStdString(ErrorText(error)));
    return false;
  }
  if (cellChanges_ == changesBefore)
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

void LogTableModel::TableAboutToChange() {
  if (resetting_) return;
  resetting_ = true;
  beginResetModel();
}

void LogTableModel::TableChanged() {
  if (!resetting_) return;
  resetting_ = false;
  endResetModel();
}

void LogTableModel::CellChanged(int col, int row) {
  ++cellChanges_;
  if (resetting_) return;
  if (row == 0) {
    emit headerDataChanged(Qt::Horizontal, col, col);
    return;
  }
  const QModelIndex changed = index(row - 1, col);
  if (changed.isValid()) emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

}  // namespace kartex
