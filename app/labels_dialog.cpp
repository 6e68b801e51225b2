#include "app/labels_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/qt_window_system.h"
#include "commands/command_error.h"
#include "commands/session.h"
#include "labels/pdf_file_choice.h"
#include "print/label_output.h"
#include "print/label_page.h"
#include "print/label_printer.h"

namespace kartex {
namespace {

constexpr QSize kPreviewRoom(340, 360);
constexpr const char* kNoPrinterMessage =
    "Nie znaleziono żadnej drukarki. Zapisz naklejki do pliku PDF i wydrukuj go później.";
// Jobs of more pages than this show their progress.
constexpr int kPagesWithoutProgress = 4;

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

bool RunSystemPrintDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle("Drukuj naklejki QSL");
  // Every page is printed: the labels of one run go on the sheets together.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  return dialog.exec() == QDialog::Accepted;
}

// Every word of the search in the text, letter case aside.
bool Matches(const QString& text, const QStringList& words) {
  for (const QString& word : words) {
    if (!text.contains(word, Qt::CaseInsensitive)) return false;
  }
  return true;
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

LabelsDialog::LabelsDialog(Session& session, QtWindowSystem& windows, SheetCatalog catalog,
                           QWidget* parent)
    : QDialog(parent),
      session_(session),
      windows_(windows),
      catalog_(std::move(catalog)),
      contacts_(session.Table(), session.Log().callColumn),
      printDialog_([this](QPrinter& printer, QWidget* parent) {
        // Without a printer the system offers no print dialog at all.
        if (QPrinterInfo::availablePrinters().isEmpty()) {
          windows_.ShowMessage(kNoPrinterMessage);
          return false;
        }
        return RunSystemPrintDialog(printer, parent);
      }) {
  setObjectName("LabelsDialog");
  setWindowTitle("Drukuj naklejki QSL");
  BuildControls();
  FillSheetList();
  Refresh();
}

LabelsDialog::~LabelsDialog() = default;

const LabelSheet& LabelsDialog::Sheet() const { return catalog_.sheets[sheetIndex_]; }

// The chosen sheet in the middle of the list, once the list has its size.
void LabelsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QListWidgetItem* item = sheets_->currentItem())
    sheets_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

void LabelsDialog::BuildControls() {
  search_ = new QLineEdit(this);
  search_->setObjectName("SheetSearch");
  search_->setPlaceholderText("np. Avery L7160, Zweckform 3475, karta");
  search_->setClearButtonEnabled(true);
  sheets_ = new QListWidget(this);
  sheets_->setObjectName("SheetList");
  sheets_->setMinimumWidth(380);
  sheetsNotice_ = new QLabel(Utf8(catalog_.Notice()), this);
  sheetsNotice_->setObjectName("SheetsNotice");
  sheetsNotice_->setWordWrap(true);
  sheetsNotice_->setVisible(!catalog_.Notice().empty());

  start_ = new QSpinBox(this);
  start_->setObjectName("StartLabel");
  start_->setMinimum(1);
  perLabel_ = new QSpinBox(this);
  perLabel_->setObjectName("PerLabel");
  perLabel_->setRange(1, kMostContactsPerLabel);
  perLabel_->setValue(4);
  fitNotice_ = new QLabel(this);
  fitNotice_->setObjectName("FitNotice");
  fitNotice_->setWordWrap(true);

  preview_ = new QLabel(this);
  preview_->setObjectName("Preview");
  preview_->setFixedSize(kPreviewRoom);
  preview_->setAlignment(Qt::AlignCenter);
  pageCount_ = new QLabel(this);
  pageCount_->setObjectName("PageCount");
  pageCount_->setAlignment(Qt::AlignCenter);

  savePdf_ = new QPushButton("&Zapisz PDF…", this);
  savePdf_->setObjectName("SavePdf");
  print_ = new QPushButton("&Drukuj…", this);
  print_->setObjectName("Print");
  close_ = new QPushButton("Za&mknij", this);
  close_->setObjectName("Close");
  // Enter in the search field or a spin box starts nothing.
  for (QPushButton* button : {savePdf_, print_, close_}) button->setAutoDefault(false);

  auto* options = new QGridLayout;
  options->addWidget(Caption("&Pierwsza etykieta na arkuszu:", start_, this), 0, 0);
  options->addWidget(start_, 0, 1);
  options->addWidget(Caption("Łą&czności na etykiecie:", perLabel_, this), 1, 0);
  options->addWidget(perLabel_, 1, 1);
  auto* left = new QVBoxLayout;
  left->addWidget(Caption("&Arkusz etykiet:", search_, this));
  left->addWidget(search_);
  left->addWidget(sheets_, 1);
  left->addWidget(sheetsNotice_);
  left->addLayout(options);
  left->addWidget(fitNotice_);
  auto* right = new QVBoxLayout;
  right->addWidget(preview_);
  right->addWidget(pageCount_);
  right->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {savePdf_, print_, close_}) buttons->addWidget(button);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(right);
  auto* all = new QVBoxLayout(this);
  all->addLayout(columns);
  all->addLayout(buttons);

  setTabOrder(search_, sheets_);
  setTabOrder(sheets_, start_);
  setTabOrder(start_, perLabel_);
  setTabOrder(perLabel_, savePdf_);
  setTabOrder(savePdf_, print_);
  setTabOrder(print_, close_);

  connect(search_, &QLineEdit::textChanged, this, &LabelsDialog::FilterSheets);
  connect(sheets_, &QListWidget::currentRowChanged, this, &LabelsDialog::SheetChosen);
  connect(start_, &QSpinBox::valueChanged, this, &LabelsDialog::Refresh);
  connect(perLabel_, &QSpinBox::valueChanged, this, &LabelsDialog::Refresh);
  connect(savePdf_, &QPushButton::clicked, this, &LabelsDialog::SavePdf);
  connect(print_, &QPushButton::clicked, this, &LabelsDialog::Print);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void LabelsDialog::FillSheetList() {
  const LabelSheet* chosen = &catalog_.Default();
  QSignalBlocker quiet(sheets_);
  for (size_t i = 0; i < catalog_.sheets.size(); ++i) {
    const LabelSheet& sheet = catalog_.sheets[i];
    auto* item = new QListWidgetItem(Utf8(sheet.Entry()), sheets_);
    item->setData(Qt::UserRole, static_cast<qulonglong>(i));
    if (!sheet.description.empty()) item->setToolTip(Utf8(sheet.description));
    if (&sheet == chosen) {
      sheets_->setCurrentItem(item);
      sheetIndex_ = i;
    }
  }
  start_->setMaximum(Sheet().LabelsPerSheet());
}

// The entries that hold every word typed; the chosen sheet stays chosen
// while it is among them.
void LabelsDialog::FilterSheets(const QString& search) {
  const QStringList words = search.split(' ', Qt::SkipEmptyParts);
  QListWidgetItem* firstShown = nullptr;
  for (int row = 0; row < sheets_->count(); ++row) {
    QListWidgetItem* item = sheets_->item(row);
    const size_t index = item->data(Qt::UserRole).toULongLong();
    const bool shown =
        Matches(item->text() + ' ' + Utf8(catalog_.sheets[index].description), words);
    item->setHidden(!shown);
    if (shown && firstShown == nullptr) firstShown = item;
  }
  QListWidgetItem* current = sheets_->currentItem();
  if ((current == nullptr || current->isHidden()) && firstShown != nullptr)
    sheets_->setCurrentItem(firstShown);
  if (QListWidgetItem* item = sheets_->currentItem()) sheets_->scrollToItem(item);
}

void LabelsDialog::SheetChosen() {
  QListWidgetItem* item = sheets_->currentItem();
  if (item == nullptr) return;
  sheetIndex_ = item->data(Qt::UserRole).toULongLong();
  {
    QSignalBlocker quiet(start_);
    start_->setMaximum(Sheet().LabelsPerSheet());  // lowers the value when it was beyond
  }
  Refresh();
}

void LabelsDialog::Refresh() {
  plan_ = contacts_.Plan(Sheet(), {start_->value(), perLabel_->value()});
  const std::string notice = FitNotice(plan_->Fit());
  fitNotice_->setText(Utf8(notice));
  fitNotice_->setVisible(!notice.empty());
  const int pages = plan_->PageCount();
  pageCount_->setText(pages == 1 ? QString("Podgląd pierwszej strony – 1 strona")
                                 : QString("Podgląd pierwszej strony – stron: %1").arg(pages));
  preview_->setPixmap(QPixmap::fromImage(LabelPagePreview(contacts_, *plan_, 0, kPreviewRoom)));
  savePdf_->setEnabled(pages > 0);
  print_->setEnabled(pages > 0);
}

bool LabelsDialog::RunWithProgress(
    const QString& caption, const std::function<bool(const std::function<bool(int, int)>&)>& job) {
  const int pages = plan_->PageCount();
  std::unique_ptr<QProgressDialog> progress;
  if (pages > kPagesWithoutProgress) {
    progress = std::make_unique<QProgressDialog>(caption, "Anuluj", 0, pages, this);
    progress->setObjectName("LabelsProgress");
    progress->setWindowTitle(windowTitle());
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(300);
    progress->setValue(0);
  }
  windows_.ShowBusyCursor();
  bool done = false;
  try {
    done = job([&progress](int page, int) {
      if (!progress) return true;
      progress->setValue(page);
      return !progress->wasCanceled();
    });
  } catch (const std::exception& error) {
    windows_.ShowNormalCursor();
    if (progress) progress->reset();
    windows_.ShowError(ErrorText(error));
    return false;
  }
  windows_.ShowNormalCursor();
  return done;
}

void LabelsDialog::SavePdf() {
  const std::optional<std::string> path = AskLabelPdfFile(windows_);
  if (!path) return;
  const bool done = RunWithProgress("Zapisywanie pliku PDF…", [&](const auto& progress) {
    return SaveLabelPdf(*path, contacts_, *plan_, progress);
  });
  if (done) OfferSentCards();
}

void LabelsDialog::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName("Naklejki QSL");
  SetSheetPage(printer, Sheet());
  if (!printDialog_(printer, this)) return;
  const bool done = RunWithProgress("Drukowanie…", [&](const auto& progress) {
    return PrintLabels(printer, contacts_, *plan_, progress);
  });
  if (done) OfferSentCards();
}

void LabelsDialog::OfferSentCards() {
  if (!sentCards_) return;
  if (windows_.Confirm("Naklejki są gotowe. Zapisać plik ADIF wysłanych kart?", kApplicationTitle))
    sentCards_();
}

}  // namespace kartex
