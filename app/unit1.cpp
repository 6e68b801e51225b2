#include "app/unit1.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>

#include "app/help_file.h"
#include "app/labels_dialog.h"
#include "app/log_cell_delegate.h"
#include "app/log_table_model.h"
#include "app/open_document.h"
#include "app/qt_window_system.h"
#include "app/sort_header_view.h"
#include "app/whole_line_list.h"
#include "app/window_fonts.h"
#include "platform/code_page.h"
#include "print/template_folder.h"

namespace kartex {
namespace {

constexpr const char* kSortHint =
    "Lewy przycisk myszy na nazwie pola -> pierwsze sortowanie. Shift + lewy przycisk myszy na "
    "nazwie pola -> "
    "kolejne sortowanie";
constexpr const char* kCredit =
    "KARTEX v1.0 — przygotowanie wydruku kart QSL z dzienników programu Logger32";
constexpr const char* kHelpError = "Błąd otwarcia pliku Help_CSV.chm";

// The grid's lines in silver, and a margin of 2 pixels round the header's
// names, so that a row of 20 pixels holds the whole height of the 8-point
// font (the Windows styles' margin of 4 cuts the underscore off QSO_DATE);
// everything else as the application's style draws it.
class GridStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_Table_GridLineColor) return static_cast<int>(QColor(0xC0, 0xC0, 0xC0).rgba());
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_HeaderMargin) return 2;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

QFont FontOf(const QStringList& families, int pointSize, bool bold = false) {
  QFont font(families, pointSize);
  font.setBold(bold);
  return font;
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y,
                 bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  label->move(x, y);
  label->adjustSize();
  return label;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                       bool enabled) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setEnabled(enabled);
  button->setAutoDefault(false);
  return button;
}

// A label of a fixed place shows its whole text there whatever face stands
// in for MS Sans Serif: its font shrinks, half a point at a time, until the
// text fits the width.
void FitFontToWidth(QLabel* label, int width) {
  QFont font = label->font();
  while (QFontMetrics(font).horizontalAdvance(label->text()) > width && font.pointSizeF() > 6) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
  }
  label->setFont(font);
}

QString FromCp1250(const std::string& bytes) { return QString::fromStdString(Cp1250ToUtf8(bytes)); }

}  // namespace

TForm1::TForm1(QtWindowSystem& windows, RegionalSettings regional, QWidget* parent)
    : QMainWindow(parent), windows_(windows), session_(windows, std::move(regional)) {
  setObjectName("Form1");
  setWindowTitle("KARTEX v1.0");
  // Fixed single border: minimise button and system menu, no maximise, no resizing.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFont(FontOf(WindowFontFamilies(), 8));

  auto* client = new QWidget(this);
  client->setObjectName("ClientArea");
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  BuildMenu();
  BuildControls(client);
  BuildGrid(client);
  SetTabOrder();
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  windows_.SetMainWindow(this, [this] { ApplyControlStates(); });
  windows_.SetGoToCell([this](int row, int column) { GoToCell(row, column); });
  ApplyControlStates();

  adjustSize();
  if (QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  }
}

TForm1::~TForm1() {
  windows_.SetMainWindow(nullptr, {});
  windows_.SetGoToCell({});
  // The grid goes before the model, the model (the table's observer) before
  // the session that owns the table.
  delete SG1;
  SG1 = nullptr;
  model_.reset();
}

void TForm1::BuildMenu() {
  QMenu* plik = menuBar()->addMenu("&Plik");
  plik->setObjectName("Plik1");
  OtworzplikCSV1 = plik->addAction("&Otwórz plik CSV");
  OtworzplikCSV1->setObjectName("OtworzplikCSV1");
  SaveCSV1 = plik->addAction("&Zapisz plik CSV");
  SaveCSV1->setObjectName("SaveCSV1");
  SaveCSV1->setEnabled(false);
  SaveStationsCSV1 = plik->addAction("Zapisz plik CSV – jedna stacja w wierszu");
  SaveStationsCSV1->setObjectName("SaveStationsCSV1");
  SaveStationsCSV1->setEnabled(false);
  DrukujnaklejkiQSL1 = plik->addAction("&Drukuj naklejki QSL…");
  DrukujnaklejkiQSL1->setObjectName("DrukujnaklejkiQSL1");
  DrukujnaklejkiQSL1->setEnabled(false);
  SaveSentADIF1 = plik->addAction("Zapisz plik ADIF wysłanych kart…");
  SaveSentADIF1->setObjectName("SaveSentADIF1");
  SaveSentADIF1->setEnabled(false);
  Zamknij1 = plik->addAction("&Zamknij");
  Zamknij1->setObjectName("Zamknij1");

  QMenu* narzedzia = menuBar()->addMenu("&Narzędzia");
  narzedzia->setObjectName("Narzedzia1");
  UzupelnijDXCC1 = narzedzia->addAction("&Uzupełnij DXCC z CTY.DAT");
  UzupelnijDXCC1->setObjectName("UzupelnijDXCC1");
  SprawdzDXCC1 = narzedzia->addAction("&Sprawdź DXCC");
  SprawdzDXCC1->setObjectName("SprawdzDXCC1");
  SortujwgbiurQSL1 = narzedzia->addAction("Sortuj wg &biur QSL");
  SortujwgbiurQSL1->setObjectName("SortujwgbiurQSL1");
  for (QAction* tool : {UzupelnijDXCC1, SprawdzDXCC1, SortujwgbiurQSL1}) tool->setEnabled(false);

  QMenu* pomoc = menuBar()->addMenu("&Pomoc");
  pomoc->setObjectName("Pomoc1");
  Otworzplikpomocy1 = pomoc->addAction("&Otwórz plik pomocy");
  Otworzplikpomocy1->setObjectName("Otworzplikpomocy1");

  connect(OtworzplikCSV1, &QAction::triggered, this, &TForm1::Load_CSVClick);
  connect(SaveCSV1, &QAction::triggered, this, &TForm1::Save_CSVClick);
  connect(SaveStationsCSV1, &QAction::triggered, this, &TForm1::SaveStationsCSV1Click);
  connect(DrukujnaklejkiQSL1, &QAction::triggered, this, &TForm1::DrukujnaklejkiQSL1Click);
  connect(SaveSentADIF1, &QAction::triggered, this, &TForm1::SaveSentADIF1Click);
  connect(Zamknij1, &QAction::triggered, this, &TForm1::Close1Click);
  connect(UzupelnijDXCC1, &QAction::triggered, this,
          [this] { RunCommand([this] { session_.UzupelnijDXCC1Click(); }); });
  connect(SprawdzDXCC1, &QAction::triggered, this,
          [this] { RunCommand([this] { session_.SprawdzDXCC1Click(); }); });
  connect(SortujwgbiurQSL1, &QAction::triggered, this, &TForm1::SortujwgbiurQSL1Click);
  connect(Otworzplikpomocy1, &QAction::triggered, this, &TForm1::Otworzplikpomocy1Click);
}

void TForm1::BuildControls(QWidget* client) {
  Load_CSV = AddButton(client, "Load_CSV", "&Otwórz plik CSV", {8, 20, 109, 25}, true);
  Save_CSV = AddButton(client, "Save_CSV", "&Zapisz plik CSV", {128, 20, 109, 25}, false);
  Source = AddLabel(client, "Source", "Źródło danych : ", 276, 20);
  Records = AddLabel(client, "Records", "Liczba rekordów : ", 276, 44, true);
  Label4 = AddLabel(client, "Label4", kSortHint, 8, 72);

  RG1 = new QGroupBox("Liczba łączności z tą samą stacją", client);
  RG1->setObjectName("RG1");
  RG1->setGeometry(8, 288, 697, 57);
  RG1->setEnabled(false);
  RG1Items = new QButtonGroup(RG1);
  RG1Items->setObjectName("RG1Items");
  RG1Items->setExclusive(true);
  // "Usuń filtr" gets the room its caption needs, whatever face stands in
  // for the window's font; "1" .. "10" share the rest of the row evenly.
  constexpr int kItems = kRG1RemoveFilter + 1;
  constexpr int kInnerLeft = 8;
  const int innerWidth = RG1->width() - kInnerLeft - 4;
  for (int item = 0; item < kItems; ++item) {
    const QString caption =
        item == kRG1RemoveFilter ? QString("Usuń filtr") : QString::number(item + 1);
    auto* radio = new QRadioButton(caption, RG1);
    radio->setObjectName(QString("RG1Item%1").arg(item));
    RG1Items->addButton(radio, item);
  }
  QAbstractButton* removeFilter = RG1Items->button(kRG1RemoveFilter);
  const int removeWidth = removeFilter->sizeHint().width() + 2;
  const int columnWidth = (innerWidth - removeWidth) / kRG1RemoveFilter;
  for (int item = 0; item < kRG1RemoveFilter; ++item) {
    RG1Items->button(item)->setGeometry(kInnerLeft + item * columnWidth, 24, columnWidth, 22);
  }
  removeFilter->setGeometry(kInnerLeft + innerWidth - removeWidth, 24, removeWidth, 22);
  connect(RG1Items, &QButtonGroup::idToggled, this, [this](int item, bool checked) {
    if (checked) RG1Selected(item);
  });

  Label1 = AddLabel(client, "Label1", "Postęp procesu filtrowania:", 8, 359);
  // The progress bar begins at 140: the label ends before it.
  FitFontToWidth(Label1, 140 - 8 - 2);
  Label1->adjustSize();
  dxfProgressBar1 = new QProgressBar(client);
  dxfProgressBar1->setObjectName("dxfProgressBar1");
  dxfProgressBar1->setGeometry(140, 358, 565, 16);
  dxfProgressBar1->setRange(0, 100);
  dxfProgressBar1->setValue(0);
  dxfProgressBar1->setTextVisible(true);
  dxfProgressBar1->setFormat("%p%");
  dxfProgressBar1->setAlignment(Qt::AlignCenter);

  Panel1 = new QFrame(client);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(8, 388, 585, 93);
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setFrameShadow(QFrame::Sunken);

  Label2 = AddLabel(Panel1, "Label2", "Zapis pliku COUNTRY.CSV", 11, 4, true);
  SortBy = new QGroupBox("Sortuj wg:", Panel1);
  SortBy->setObjectName("SortBy");
  SortBy->setGeometry(16, 28, 177, 57);
  SortBy->setEnabled(false);
  SortByItems = new QButtonGroup(SortBy);
  SortByItems->setObjectName("SortByItems");
  const char* sortByCaptions[] = {"ADIF_DXC", "CTY"};
  for (int item = 0; item < 2; ++item) {
    auto* radio = new QRadioButton(sortByCaptions[item], SortBy);
    radio->setObjectName(QString("SortByItem%1").arg(item));
    radio->setGeometry(8, 16 + item * 19, 92, 18);
    SortByItems->addButton(radio, item);
  }
  SortByItems->button(0)->setChecked(true);
  connect(SortByItems, &QButtonGroup::idToggled, this, [this](int item, bool checked) {
    if (checked) SortBySelected(item);
  });
  // The button sits inside the right half of the group's frame.
  CTY_ADIF = AddButton(Panel1, "CTY_ADIF", "Zapisz", {120, 40, 65, 37}, false);
  CTY_ADIF->raise();

  Label5 = AddLabel(Panel1, "Label5", "Zapis pliku QSL_VIA.TXT", 299, 4, true);
  ListBox1 = new WholeLineList(Panel1);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(272, 24, 201, 57);
  QSL_VIA = AddButton(Panel1, "QSL_VIA", "Zapisz", {488, 32, 65, 37}, false);

  BitBtn1 = AddButton(client, "BitBtn1", "&Zamknij", {608, 440, 93, 25}, true);
  BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

  Label3 = new QLabel(
      "Program wspomagający druk kart QSL za pomocą korespondencji seryjnej oraz generowanych "
      "przez program "
      "Logger32 plików źródłowych *.CSV",
      client);
  Label3->setObjectName("Label3");
  Label3->setGeometry(16, 488, 684, 13);
  FitFontToWidth(Label3, Label3->width());

  StatusBar1 = new QStatusBar(client);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setGeometry(0, kClientHeight - 19, kClientWidth, 19);
  auto* credit = new QLabel(kCredit, StatusBar1);
  credit->setObjectName("StatusBar1Text");
  StatusBar1->addWidget(credit, 1);

  connect(Load_CSV, &QPushButton::clicked, this, &TForm1::Load_CSVClick);
  connect(Save_CSV, &QPushButton::clicked, this, &TForm1::Save_CSVClick);
  connect(QSL_VIA, &QPushButton::clicked, this, &TForm1::QSL_VIAClick);
  connect(CTY_ADIF, &QPushButton::clicked, this, &TForm1::CTY_ADIFClick);
  connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
}

// Tab follows the window's layout from the top. A radio group is one stop:
// Qt gives the tab focus to its checked item only (to every item while none
// is checked), and the arrow keys move within it.
void TForm1::SetTabOrder() {
  QList<QWidget*> chain = {Load_CSV, Save_CSV, SG1};
  for (QAbstractButton* item : RG1Items->buttons()) chain.append(item);
  for (QAbstractButton* item : SortByItems->buttons()) chain.append(item);
  chain << CTY_ADIF << ListBox1 << QSL_VIA << BitBtn1;
  for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TForm1::BuildGrid(QWidget* client) {
  SG1 = new QTableView(client);
  SG1->setObjectName("SG1");
  SG1->setGeometry(8, 96, 697, 185);
  SG1->setEnabled(false);
  SG1->setFont(FontOf(GridFontFamilies(), 8));
  auto* gridStyle = new GridStyle;
  gridStyle->setParent(this);
  SG1->setStyle(gridStyle);
  SG1->setToolTip(kSortHint);
  // Greyed while disabled, the space below the rows as well as the cells.
  QPalette gridPalette = SG1->palette();
  gridPalette.setColor(QPalette::Disabled, QPalette::Base,
                       gridPalette.color(QPalette::Disabled, QPalette::Window));
  SG1->setPalette(gridPalette);
  SG1->setShowGrid(true);
  SG1->setWordWrap(false);
  SG1->setCornerButtonEnabled(false);
  SG1->setSelectionMode(QAbstractItemView::ContiguousSelection);
  SG1->setSelectionBehavior(QAbstractItemView::SelectItems);
  SG1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                       QAbstractItemView::AnyKeyPressed);
  SG1->setAcceptDrops(false);
  SG1->viewport()->setAcceptDrops(false);
  SG1->setDragEnabled(false);
  SG1->setDragDropMode(QAbstractItemView::NoDragDrop);
  // Tab and Shift+Tab lead to the next control; the arrows, Home, End and
  // the page keys move the current cell.
  SG1->setTabKeyNavigation(false);
  auto* delegate = new LogCellDelegate(SG1);
  SG1->setItemDelegate(delegate);
  connect(
      delegate, &LogCellDelegate::editRefused, this,
      [this](const QString& message) { windows_.ShowMessage(message.toStdString()); },
      Qt::QueuedConnection);

  // Every row 20 pixels: no per-row sizing, so a log of a million rows scrolls
  // without measuring its rows.
  QHeaderView* rows = SG1->verticalHeader();
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(kGridRowHeight);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->hide();

  SG1Header = new SortHeaderView(SG1);
  SG1Header->setStyle(gridStyle);
  SG1Header->setToolTip(kSortHint);
  connect(SG1Header, &SortHeaderView::sortClicked, this, &TForm1::HeaderSortClick);

  model_ = std::make_unique<LogTableModel>(session_);
  SG1->setModel(model_.get());
  // The current cell keeps its row and column when the table is rebuilt
  // (a sort, a filter, a load), as far as the table still reaches.
  connect(model_.get(), &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    const QModelIndex current = SG1->currentIndex();
    savedCurrentRow_ = current.isValid() ? current.row() : -1;
    savedCurrentColumn_ = current.isValid() ? current.column() : -1;
  });
  connect(model_.get(), &QAbstractItemModel::modelReset, this, [this] {
    if (savedCurrentRow_ < 0 || model_->rowCount() == 0) return;
    const QModelIndex current =
        model_->index(std::min(savedCurrentRow_, model_->rowCount() - 1),
                      std::min(savedCurrentColumn_, model_->columnCount() - 1));
    SG1->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
  });
  connect(
      model_.get(), &LogTableModel::editRefused, this,
      [this](const QString& message) { windows_.ShowMessage(message.toStdString()); },
      Qt::QueuedConnection);
}

void TForm1::ApplyControlStates() {
  const ControlStates& controls = session_.Controls();
  const bool log = controls.logCommandsEnabled;
  Save_CSV->setEnabled(log);
  SaveCSV1->setEnabled(log);
  SaveStationsCSV1->setEnabled(controls.SaveStationsEnabled());
  SaveSentADIF1->setEnabled(log);
  for (QAction* tool : {UzupelnijDXCC1, SprawdzDXCC1, SortujwgbiurQSL1}) tool->setEnabled(log);
  DrukujnaklejkiQSL1->setEnabled(log);
  SG1->setEnabled(log);
  SortBy->setEnabled(log);
  RG1->setEnabled(log);
  CTY_ADIF->setEnabled(log);
  QSL_VIA->setEnabled(controls.qslViaEnabled);

  ShowSource(QString::fromStdString(controls.sourceCaption),
             QString::fromStdString(controls.sourcePath));
  const QString records = QString::fromStdString(controls.recordsCaption);
  if (Records->text() != records) {
    Records->setText(records);
    Records->adjustSize();
  }

  if (shownListBox_ != controls.listBox1) {
    shownListBox_ = controls.listBox1;
    ListBox1->clear();
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(shownListBox_.size()));
    for (const std::string& line : shownListBox_) lines.append(FromCp1250(line));
    ListBox1->addItems(lines);
  }

  applyingControls_ = true;
  if (RG1Items->checkedId() != controls.rg1ItemIndex) {
    if (controls.rg1ItemIndex < 0) {
      // An exclusive group cannot uncheck its button; lift that for a moment.
      RG1Items->setExclusive(false);
      if (QAbstractButton* checked = RG1Items->checkedButton()) checked->setChecked(false);
      RG1Items->setExclusive(true);
    } else if (QAbstractButton* item = RG1Items->button(controls.rg1ItemIndex)) {
      item->setChecked(true);
    }
  }
  if (QAbstractButton* item = SortByItems->button(controls.sortByItemIndex);
      item && !item->isChecked()) {
    item->setChecked(true);
  }
  applyingControls_ = false;

  dxfProgressBar1->setVisible(controls.progressVisible);
  ShowProgress(controls.progressPosition);
}

// The filter reports its progress from inside a command, with no event loop
// running: the bar is painted at once when its value moved, but only every so
// often and at its end. QProgressBar paints itself on every new value; with
// its updates off it only takes the value, and the event loop paints what is
// left after the command.
void TForm1::ShowProgress(int position) {
  if (dxfProgressBar1->value() == position) return;
  dxfProgressBar1->setUpdatesEnabled(false);
  dxfProgressBar1->setValue(position);
  dxfProgressBar1->setUpdatesEnabled(true);
  if (!dxfProgressBar1->isVisible()) return;
  if (progressPaints_.Due() || position == dxfProgressBar1->maximum()) dxfProgressBar1->repaint();
}

// A long folder path is cut in its middle, so that the file name stays in
// view up to the window's edge; the whole path is the label's tooltip.
// The filter's progress brings the controls up to date a hundred times, so
// an unchanged caption is not measured again.
void TForm1::ShowSource(const QString& caption, const QString& path) {
  Source->setToolTip(path);
  if (caption == sourceCaption_) return;
  sourceCaption_ = caption;
  const int room = kClientWidth - Source->x() - 8;
  Source->setText(Source->fontMetrics().elidedText(caption, Qt::ElideMiddle, room));
  Source->adjustSize();
}

void TForm1::RunCommand(const std::function<void()>& command) {
  const bool outermost = !commandRunning_;
  commandRunning_ = true;
  try {
    command();
  } catch (const std::exception& error) {
    windows_.ShowNormalCursor();
    ApplyControlStates();
    windows_.ShowError(ErrorText(error));
  }
  windows_.ShowNormalCursor();
  ApplyControlStates();
  if (!outermost) return;
  commandRunning_ = false;
  ShowMessagesHeldBack();
}

void TForm1::ShowWhenNoCommandRuns(const std::string& message) {
  heldBackMessages_.push_back(message);
  if (!commandRunning_) ShowMessagesHeldBack();
}

void TForm1::ShowMessagesHeldBack() {
  while (!heldBackMessages_.empty()) {
    const std::string message = heldBackMessages_.front();
    heldBackMessages_.erase(heldBackMessages_.begin());
    windows_.ShowMessage(message);
  }
}

void TForm1::Load_CSVClick() {
  RunCommand([this] { session_.Load_CSVClick(); });
}

void TForm1::Save_CSVClick() {
  RunCommand([this] { session_.Save_CSVClick(); });
}

void TForm1::SaveStationsCSV1Click() {
  RunCommand([this] { session_.SaveStationsCSV1Click(); });
}

void TForm1::SaveSentADIF1Click() {
  RunCommand([this] { session_.SaveSentADIF1Click(); });
}

// The sheets are read when the dialog opens, never at the program's start.
void TForm1::DrukujnaklejkiQSL1Click() {
  RunCommand([this] {
    if (session_.Table().RowCount() < 2) {
      windows_.ShowMessage(kNoLabelRowsMessage);
      return;
    }
    windows_.ShowBusyCursor();
    LabelsDialog dialog(session_, windows_, LoadSheetCatalog(), this);
    windows_.ShowNormalCursor();
    // After a print or a PDF the dialog offers the record of the cards sent.
    dialog.SetSentCardsCommand([this] { session_.SaveSentADIF1Click(); });
    dialog.exec();
  });
}

void TForm1::QSL_VIAClick() {
  RunCommand([this] { session_.QSL_VIAClick(); });
}

void TForm1::CTY_ADIFClick() {
  RunCommand([this] { session_.CTY_ADIFClick(); });
}

// The bureau order replaces the order of the header's keys, whose marks go.
void TForm1::SortujwgbiurQSL1Click() {
  RunCommand([this] { session_.SortujwgbiurQSL1Click(); });
  model_->SortKeysChanged();
}

// A line of a list (the rows whose DXCC differs) chosen: its row's cell
// becomes the grid's current cell, in view.
void TForm1::GoToCell(int row, int column) {
  const QModelIndex cell = model_->index(row - 1, std::max(column, 0));
  if (!cell.isValid()) return;
  SG1->setCurrentIndex(cell);
  SG1->scrollTo(cell);
}

void TForm1::RG1Selected(int itemIndex) {
  if (applyingControls_) return;
  RunCommand([this, itemIndex] { session_.RG1Click(itemIndex); });
}

void TForm1::SortBySelected(int itemIndex) {
  if (applyingControls_) return;
  session_.Controls().sortByItemIndex = itemIndex;
}

void TForm1::HeaderSortClick(int column, bool shiftHeld) {
  bool sorted = false;
  RunCommand(
      [this, column, shiftHeld, &sorted] { sorted = session_.HeaderSortClick(column, shiftHeld); });
  if (sorted) model_->SortKeysChanged();
}

// The help opens in the desktop's viewer for its type. Where the desktop
// says only later that it could not open it, the message waits for the end
// of any command running by then.
void TForm1::Otworzplikpomocy1Click() {
  RunCommand([this] {
    const QString path = FindHelpFile(HelpFileFolders());
    if (path.isEmpty()) {
      windows_.ShowMessage(kHelpError);
      return;
    }
    OpenDocument(path, this, [this] { ShowWhenNoCommandRuns(kHelpError); });
  });
}

void TForm1::Close1Click() {
  // The session asks the question and empties the tally only when the answer
  // lets the window close; the close that follows asks nothing more.
  bool mayClose = false;
  RunCommand([this, &mayClose] { mayClose = session_.Close1Click(); });
  if (!mayClose) return;
  closeConfirmed_ = true;
  close();
}

void TForm1::closeEvent(QCloseEvent* event) {
  bool mayClose = closeConfirmed_;
  closeConfirmed_ = false;
  if (!mayClose) RunCommand([this, &mayClose] { mayClose = session_.FormCloseQuery(); });
  if (mayClose) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace kartex
