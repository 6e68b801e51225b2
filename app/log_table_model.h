#pragma once
// The grid SG1's view of the log table: no copy of the cells, only views of
// them decoded from Windows-1250 for the screen. Row 0 of the table (the
// log's header) is the horizontal header; model row r is table row r + 1.
// The header's sort marks come from here too (kSortMarkRole, sort_mark.h).

#include <QAbstractTableModel>

#include "commands/session.h"
#include "table/log_table.h"

namespace kartex {

class LogTableModel : public QAbstractTableModel, public TableObserver {
  Q_OBJECT

 public:
  explicit LogTableModel(Session& session, QObject* parent = nullptr);
  ~LogTableModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Stores an in-place edit encoded in Windows-1250 through the session;
  // refuses (false, editRefused) a text the code page cannot hold.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // TableObserver: every change of the table's shape or order is a reset,
  // a single edit a dataChanged.
  void TableAboutToChange() override;
  void TableChanged() override;
  void CellChanged(int col, int row) override;

  // The sort keys changed: the header shows their marks anew.
  void SortKeysChanged();

 signals:
  // An edit was refused or failed; the text says why (UTF-8 for the screen).
  void editRefused(const QString& message);

 private:
  bool HoldsCell(const QModelIndex& index) const;
  QVariant SortMarkOf(int column) const;

  Session& session_;
  const LogTable& table_;
  bool resetting_ = false;
  int cellChanges_ = 0;  // CellChanged calls seen, so setData knows it was told
};

}  // namespace kartex
