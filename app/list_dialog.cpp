#include "app/list_dialog.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "commands/command_error.h"

namespace kartex {
namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// The lines of the list, asked for only as they come into view.
class ListModel : public QAbstractTableModel {
 public:
  explicit ListModel(const ListDialog& list, QObject* parent)
      : QAbstractTableModel(parent), list_(list) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_.lineCount);
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_.headings.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return Utf8(list_.text(static_cast<size_t>(index.row()), static_cast<size_t>(index.column())));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return Utf8(list_.headings[static_cast<size_t>(section)]);
  }

 private:
  const ListDialog& list_;
};

}  // namespace

ListDialogWindow::ListDialogWindow(const ListDialog& list, QWidget* parent,
                                   std::function<void(int, int)> goToCell,
                                   std::function<void(const std::string&)> showError)
    : QDialog(parent),
      list_(list),
      goToCell_(std::move(goToCell)),
      showError_(std::move(showError)) {
  setObjectName(Utf8(list.name));
  setWindowTitle(Utf8(list.title));
  setSizeGripEnabled(true);
  resize(760, 420);

  auto* layout = new QVBoxLayout(this);
  if (!list.note.empty()) {
    auto* note = new QLabel(Utf8(list.note), this);
    note->setObjectName("Note");
    note->setWordWrap(true);
    layout->addWidget(note);
  }
  auto* view = new QTableView(this);
  view->setObjectName("Lines");
  view->setModel(new ListModel(list, view));
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(20);
  view->horizontalHeader()->setStretchLastSection(true);
  // Each column as wide as its heading at least; the lines are not measured,
  // since a list may hold a million of them.
  for (int column = 0; column < static_cast<int>(list.headings.size()); ++column) {
    const int heading = view->horizontalHeader()->fontMetrics().horizontalAdvance(
        Utf8(list.headings[static_cast<size_t>(column)]));
    view->setColumnWidth(column, std::max(90, heading + 24));
  }
  view->setTabKeyNavigation(false);
  layout->addWidget(view);
  if (list.tableRow) {
    connect(view, &QTableView::activated, this,
            [this](const QModelIndex& index) { GoToLine(index.row()); });
  }

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* save = buttons->addButton("&Zapisz…", QDialogButtonBox::ActionRole);
  save->setObjectName("Zapisz");
  save->setEnabled(static_cast<bool>(list.save));
  QPushButton* close = buttons->addButton("Za&mknij", QDialogButtonBox::RejectRole);
  close->setObjectName("Zamknij");
  connect(save, &QPushButton::clicked, this, &ListDialogWindow::Save);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(buttons);
  view->setFocus();
}

void ListDialogWindow::Save() {
  try {
    list_.save();
  } catch (const std::exception& error) {
    showError_(ErrorText(error));
  }
}

void ListDialogWindow::GoToLine(int line) {
  if (line < 0 || static_cast<size_t>(line) >= list_.lineCount || !goToCell_) return;
  goToCell_(list_.tableRow(static_cast<size_t>(line)), list_.goToColumn);
}

}  // namespace kartex
