// The main window as the operator meets it: every control's name, caption,
// place and starting state, the enabling after loads, the QSO-count choice,
// closing, the help command and editing in the grid.

#include <QAction>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <memory>

#include "app/help_file.h"
#include "app/log_table_model.h"
#include "app/unit1.h"
#include "app/window_fonts.h"
#include "app_test_support.h"

using kartex::testing::ColumnString;
using kartex::testing::WriteLog;

namespace {

// CALL in the fifth column, as Logger32 writes it; SP1AA worked once, SP2BB
// twice, SP3CC three times.
const std::vector<std::string> kLog = {
    "QSO_DATE,TIME_ON,BAND,MODE,CALL,DXCC,QSL_VIA",
    "20240101,1200,20M,SSB,SP1AA,269,SP5ABC",
    "20240102,1300,40M,CW,SP2BB,269,",
    "20240103,1400,20M,CW,SP3CC,230,DIRECT",
    "20240104,1500,15M,FT8,SP2BB,269,DL1XYZ",
    "20240105,1600,20M,SSB,SP3CC,230,SP5ABC",
    "20240106,1700,10M,SSB,SP3CC,230,",
};

}  // namespace

class TForm1Test : public QObject, protected kartex::testing::WindowFixture {
  Q_OBJECT

 private:
  // The enabled state of the six log commands, the QSL_VIA button and the
  // menu item, in one string: "Save_CSV SaveCSV1 SG1 SortBy RG1 CTY_ADIF QSL_VIA".
  QString Enabled() {
    QString states;
    for (const char* name : {"Save_CSV", "SG1", "SortBy", "RG1", "CTY_ADIF", "QSL_VIA"}) {
      states += Find<QWidget>(name)->isEnabled() ? '1' : '0';
    }
    states += Find<QAction>("SaveCSV1")->isEnabled() ? '1' : '0';
    return states;
  }

 private slots:
  void init() { QVERIFY(OpenWindow()); }

  void cleanup() {
    CloseWindow();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");  // width and height -1: sized to the caption
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("bold");

    const QString client = "ClientArea";
    QTest::newRow("Load_CSV") << "Load_CSV" << client << "&Otwórz plik CSV" << QRect(8, 20, 109, 25)
                              << true << false;
    QTest::newRow("Save_CSV") << "Save_CSV" << client << "&Zapisz plik CSV"
                              << QRect(128, 20, 109, 25) << false << false;
    QTest::newRow("Source") << "Source" << client << "Źródło danych : " << QRect(276, 20, -1, -1)
                            << true << false;
    QTest::newRow("Records") << "Records" << client
                             << "Liczba rekordów : " << QRect(276, 44, -1, -1) << true << true;
    QTest::newRow("Label4")
        << "Label4" << client
        << "Lewy przycisk myszy na nazwie pola -> pierwsze sortowanie. Shift + lewy przycisk "
           "myszy na nazwie pola -> kolejne sortowanie"
        << QRect(8, 72, -1, -1) << true << false;
    QTest::newRow("SG1") << "SG1" << client << QString() << QRect(8, 96, 697, 185) << false
                         << false;
    QTest::newRow("RG1") << "RG1" << client << "Liczba łączności z tą samą stacją"
                         << QRect(8, 288, 697, 57) << false << false;
    QTest::newRow("Label1") << "Label1" << client
                            << "Postęp procesu filtrowania:" << QRect(8, 359, -1, -1) << true
                            << false;
    QTest::newRow("dxfProgressBar1")
        << "dxfProgressBar1" << client << QString() << QRect(140, 358, 565, 16) << true << false;
    QTest::newRow("Panel1") << "Panel1" << client << QString() << QRect(8, 388, 585, 93) << true
                            << false;
    QTest::newRow("Label2") << "Label2"
                            << "Panel1"
                            << "Zapis pliku COUNTRY.CSV" << QRect(11, 4, -1, -1) << true << true;
    QTest::newRow("SortBy") << "SortBy"
                            << "Panel1"
                            << "Sortuj wg:" << QRect(16, 28, 177, 57) << false << false;
    QTest::newRow("CTY_ADIF") << "CTY_ADIF"
                              << "Panel1"
                              << "Zapisz" << QRect(120, 40, 65, 37) << false << false;
    QTest::newRow("Label5") << "Label5"
                            << "Panel1"
                            << "Zapis pliku QSL_VIA.TXT" << QRect(299, 4, -1, -1) << true << true;
    QTest::newRow("ListBox1") << "ListBox1"
                              << "Panel1" << QString() << QRect(272, 24, 201, 57) << true << false;
    QTest::newRow("QSL_VIA") << "QSL_VIA"
                             << "Panel1"
                             << "Zapisz" << QRect(488, 32, 65, 37) << false << false;
    QTest::newRow("BitBtn1") << "BitBtn1" << client << "&Zamknij" << QRect(608, 440, 93, 25) << true
                             << false;
    QTest::newRow("Label3")
        << "Label3" << client
        << "Program wspomagający druk kart QSL za pomocą korespondencji seryjnej oraz generowanych "
           "przez program Logger32 plików źródłowych *.CSV"
        << QRect(16, 488, 684, 13) << true << false;
    QTest::newRow("StatusBar1") << "StatusBar1" << client << QString() << QRect(0, 508, 713, 19)
                                << true << false;
  }

  void controls() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    QFETCH(bool, bold);

    auto* widget = form->findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    if (geometry.width() < 0) {
      QCOMPARE(widget->pos(), geometry.topLeft());
      QVERIFY(widget->width() >= widget->sizeHint().width());
    } else {
      QCOMPARE(widget->geometry(), geometry);
    }
    QCOMPARE(widget->isEnabled(), enabled);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      QCOMPARE(label->text(), caption);
      QCOMPARE(label->font().bold(), bold);
      QVERIFY2(label->sizeHint().width() <= label->width(), "the whole caption fits its place");
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      QCOMPARE(button->text(), caption);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      QCOMPARE(group->title(), caption);
    }
  }

  void windowFrame() {
    QCOMPARE(form->windowTitle(), QString("KARTEX v1.0"));
    QWidget* client = form->centralWidget();
    QCOMPARE(client->objectName(), QString("ClientArea"));
    QCOMPARE(client->size(), QSize(713, 527));
    // The menu bar lies above the client area, outside it.
    QVERIFY(client->geometry().top() >= form->menuBar()->geometry().bottom());
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(form->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!Find<QPushButton>("BitBtn1")->icon().isNull());
    auto* credit = Find<QStatusBar>("StatusBar1")->findChild<QLabel*>();
    QVERIFY(credit && !credit->text().isEmpty());
    auto* bar = Find<QProgressBar>("dxfProgressBar1");
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 0);
    QVERIFY(bar->isVisible());
    QVERIFY(bar->isTextVisible());
    QCOMPARE(Find<QListWidget>("ListBox1")->count(), 0);
    // The COUNTRY.CSV button lies inside the right half of the group's frame.
    QRect group = Find<QWidget>("SortBy")->geometry();
    QRect button = Find<QWidget>("CTY_ADIF")->geometry();
    QVERIFY(group.contains(button));
    QVERIFY(button.left() >= group.center().x());
  }

  void menus_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("OtworzplikCSV1") << "OtworzplikCSV1"
                                    << "&Otwórz plik CSV" << true;
    QTest::newRow("SaveCSV1") << "SaveCSV1"
                              << "&Zapisz plik CSV" << false;
    QTest::newRow("Zamknij1") << "Zamknij1"
                              << "&Zamknij" << true;
    QTest::newRow("Otworzplikpomocy1") << "Otworzplikpomocy1"
                                       << "&Otwórz plik pomocy" << true;
    QTest::newRow("UzupelnijDXCC1") << "UzupelnijDXCC1"
                                    << "&Uzupełnij DXCC z CTY.DAT" << false;
    QTest::newRow("SprawdzDXCC1") << "SprawdzDXCC1"
                                  << "&Sprawdź DXCC" << false;
    QTest::newRow("SortujwgbiurQSL1") << "SortujwgbiurQSL1"
                                      << "Sortuj wg &biur QSL" << false;
  }

  void menus() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    auto* action = form->findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->isEnabled(), enabled);
    QStringList menus;
    for (QAction* menu : form->menuBar()->actions()) menus.append(menu->text());
    QCOMPARE(menus, QStringList({"&Plik", "&Narzędzia", "&Pomoc"}));
  }

  void radioGroups() {
    QStringList captions;
    for (int item = 0; item < 11; ++item) {
      auto* radio = Find<QRadioButton>(QString("RG1Item%1").arg(item).toLatin1());
      QVERIFY(radio);
      QCOMPARE(radio->parentWidget()->objectName(), QString("RG1"));
      QVERIFY(!radio->isChecked());
      captions.append(radio->text());
    }
    QCOMPARE(captions,
             QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "Usuń filtr"}));
    // Eleven columns: each item stands right of the one before, on one line.
    for (int item = 1; item < 11; ++item) {
      auto* left = Find<QWidget>(QString("RG1Item%1").arg(item - 1).toLatin1());
      auto* right = Find<QWidget>(QString("RG1Item%1").arg(item).toLatin1());
      QVERIFY(right->x() >= left->geometry().right());
      QCOMPARE(right->y(), left->y());
    }
    // Every caption is shown whole, inside the group's frame.
    auto* group = Find<QWidget>("RG1");
    for (int item = 0; item < 11; ++item) {
      auto* radio = Find<QRadioButton>(QString("RG1Item%1").arg(item).toLatin1());
      QVERIFY2(radio->width() >= radio->sizeHint().width(), qPrintable(radio->text()));
      QVERIFY(radio->geometry().right() < group->width() - 2);
    }
    QCOMPARE(Find<QRadioButton>("SortByItem0")->text(), QString("ADIF_DXC"));
    QVERIFY(Find<QRadioButton>("SortByItem0")->isChecked());
    QCOMPARE(Find<QRadioButton>("SortByItem1")->text(), QString("CTY"));
    QVERIFY(!Find<QRadioButton>("SortByItem1")->isChecked());
  }

  void gridAtStart() {
    auto* grid = Find<QTableView>("SG1");
    QCOMPARE(grid->model()->columnCount(), 53);
    QCOMPARE(grid->model()->rowCount(), 1);  // the empty table: a header and one row
    for (int col = 0; col < 53; ++col) QCOMPARE(grid->horizontalHeader()->sectionSize(col), 146);
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 20);
    QCOMPARE(grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(grid->horizontalHeader()->height(), 20);
    QCOMPARE(grid->toolTip(), Find<QLabel>("Label4")->text());
    QVERIFY(!grid->acceptDrops());
    QVERIFY(!grid->viewport()->acceptDrops());
    QCOMPARE(grid->dragDropMode(), QAbstractItemView::NoDragDrop);
    QCOMPARE(grid->font().pointSize(), 8);
    QCOMPARE(QColor::fromRgba(static_cast<QRgb>(
                 grid->style()->styleHint(QStyle::SH_Table_GridLineColor, nullptr, grid))),
             QColor(0xC0, 0xC0, 0xC0));
  }

  // The window and the grid are drawn in faces of their lists, not in
  // whatever the system falls back to; the closing line stays readable.
  // The manager list shows whole lines only: its last visible line is not
  // cut at the bottom edge.
  void managerListShowsWholeLines() {
    auto* list = Find<QListWidget>("ListBox1");
    list->addItems({"Lista managerów:", "SP5ABC", "DL1XYZ", "W3HNK", "IK2QEI"});
    const int line = list->sizeHintForRow(0);
    QVERIFY(line > 0);
    QVERIFY(list->viewport()->height() >= line);
    QCOMPARE(list->viewport()->height() % line, 0);
    list->clear();
  }

  void fontsOfTheirLists() {
    // The face drawn, without the foundry some systems name ("Nimbus Sans [urw]").
    auto face = [](const QFont& font) {
      return QFontInfo(font).family().remove(QRegularExpression(R"(\s*\[.*\]$)"));
    };
    QVERIFY2(kartex::WindowFontFamilies().contains(face(form->font())),
             qPrintable(face(form->font())));
    auto* grid = Find<QTableView>("SG1");
    QVERIFY2(kartex::GridFontFamilies().contains(face(grid->font())),
             qPrintable(face(grid->font())));
    auto* line = Find<QLabel>("Label3");
    QVERIFY(line->font().pointSizeF() >= 6);
    QVERIFY(QFontMetrics(line->font()).horizontalAdvance(line->text()) <= line->width());
    // The progress bar's caption ends before the bar.
    auto* caption = Find<QLabel>("Label1");
    QVERIFY(caption->x() + QFontMetrics(caption->font()).horizontalAdvance(caption->text()) <
            Find<QWidget>("dxfProgressBar1")->x());
  }

  void fileDialogs_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("save");
    QTest::newRow("OD") << "OD" << false;
    QTest::newRow("SD1") << "SD1" << true;
    QTest::newRow("SD2") << "SD2" << true;
  }

  // The window's dialogs, as the Qt window system shows them: named, owned by
  // the window, asking before an overwrite, and gone once answered.
  void fileDialogs() {
    QFETCH(QString, name);
    QFETCH(bool, save);
    QString shownName;
    bool ownedByTheWindow = false;
    bool confirmsOverwrite = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      shownName = dialog->objectName();
      ownedByTheWindow = dialog->parentWidget() == form.get();
      confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
      dialog->reject();
    });
    const kartex::FileDialogSpec spec{name.toStdString(), "", "CSV|*.csv"};
    kartex::QtWindowSystem& qtWindows = *windows;
    QCOMPARE(save ? qtWindows.QtWindowSystem::SaveFileDialog(spec)
                  : qtWindows.QtWindowSystem::OpenFileDialog(spec),
             std::nullopt);
    QCOMPARE(shownName, name);
    QVERIFY(ownedByTheWindow);
    QVERIFY(confirmsOverwrite);
    QVERIFY(form->findChildren<QFileDialog*>().isEmpty());
  }

  void successfulLoadEnables() {
    Load(kLog);
    QCOMPARE(Enabled(), QString("1111111"));
    QCOMPARE(windows->dialogs.size(), size_t(1));
    QCOMPARE(windows->dialogs[0].name, std::string("OD"));
    QCOMPARE(Find<QLabel>("Source")->text(), "Źródło: " + dir.filePath("log.csv"));
    QCOMPARE(Find<QLabel>("Records")->text(), QString("Liczba rekordów : 6"));
    QVERIFY(Find<QLabel>("Records")->width() >= Find<QLabel>("Records")->sizeHint().width());
    auto* list = Find<QListWidget>("ListBox1");
    QStringList managers;
    for (int row = 0; row < list->count(); ++row) managers.append(list->item(row)->text());
    QCOMPARE(managers, QStringList({"Lista managerów:", "SP5ABC", "DL1XYZ"}));
    auto* grid = Find<QTableView>("SG1");
    QCOMPARE(grid->model()->rowCount(), 6);
    QCOMPARE(grid->model()->headerData(4, Qt::Horizontal).toString(), QString("CALL"));
    QCOMPARE(ColumnString(*grid->model(), 4), QString("SP1AA|SP2BB|SP3CC|SP2BB|SP3CC|SP3CC"));
    QVERIFY(windows->messages.empty());
    QVERIFY(windows->errors.empty());
  }

  void loadWithoutQslViaLeavesItsButtonDisabled() {
    Load({"CALL,DXCC", "SP1AA,269"});
    QCOMPARE(Enabled(), QString("1111101"));
    QCOMPARE(Find<QListWidget>("ListBox1")->count(), 0);
  }

  void rejectedLoadDisables_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("message");
    QTest::newRow("no DXCC column")
        << QStringList({"CALL,BAND", "SP1AA,20M"}) << "Wybrany format pliku jet nieprawidłowy !";
    QTest::newRow("header only") << QStringList({"CALL,DXCC"}) << "Nie ma żadnych rekordów !";
  }

  void rejectedLoadDisables() {
    QFETCH(QStringList, lines);
    QFETCH(QString, message);
    // Given a log loaded and the commands enabled,
    Load(kLog);
    QCOMPARE(Enabled(), QString("1111111"));
    // when a file that cannot be used is opened,
    std::vector<std::string> bytes;
    for (const QString& line : lines) bytes.push_back(line.toStdString());
    Load(bytes, "bad.csv");
    // then everything but opening is disabled again and the reason is shown.
    QCOMPARE(Enabled(), QString("0000000"));
    QCOMPARE(windows->messages, std::vector<std::string>{message.toStdString()});
    QCOMPARE(Find<QLabel>("Source")->text(), QString("Źródło: "));
    QCOMPARE(Find<QLabel>("Records")->text(), QString("Liczba rekordów : 0"));
    QCOMPARE(Find<QListWidget>("ListBox1")->count(), 0);
    QCOMPARE(Find<QTableView>("SG1")->model()->rowCount(), 1);
  }

  void loadErrorGoesToTheErrorBox() {
    windows->fileAnswers.push_back(dir.filePath("missing.csv").toStdString());
    Find<QPushButton>("Load_CSV")->click();
    QCOMPARE(windows->errors.size(), size_t(1));
    QCOMPARE(QString::fromStdString(windows->errors[0]),
             "Cannot open file " + dir.filePath("missing.csv") + ".");
    QCOMPARE(windows->busyAtBox, std::vector<bool>{false});
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(Enabled(), QString("0000000"));
  }

  void cancelledOpenChangesNothing() {
    windows->fileAnswers.push_back(std::nullopt);
    form->findChild<QAction*>("OtworzplikCSV1")->trigger();
    QCOMPARE(windows->dialogs.size(), size_t(1));
    QCOMPARE(Find<QLabel>("Source")->text(), QString("Źródło danych : "));
    QCOMPARE(Enabled(), QString("0000000"));
    QVERIFY(windows->messages.empty() && windows->errors.empty());
  }

  void qsoCountRoad() {
    Load(kLog);
    auto* grid = Find<QTableView>("SG1");
    auto* bar = Find<QProgressBar>("dxfProgressBar1");
    // Choosing "1" shows the station worked once.
    Find<QRadioButton>("RG1Item0")->click();
    QCOMPARE(ColumnString(*grid->model(), 4), QString("SP1AA"));
    QCOMPARE(Find<QLabel>("Records")->text(), QString("Liczba rekordów : 1"));
    QCOMPARE(bar->value(), 100);
    QVERIFY(bar->isVisible());
    QCOMPARE(Find<QListWidget>("ListBox1")->count(), 2);

    // Choosing the same item again does not filter again: a row edited so
    // that it no longer matches stays.
    QVERIFY(grid->model()->setData(grid->model()->index(0, 4), "XX9XX"));
    Find<QRadioButton>("RG1Item0")->click();
    QCOMPARE(ColumnString(*grid->model(), 4), QString("XX9XX"));

    // "3" starts again from all rows.
    Find<QRadioButton>("RG1Item2")->click();
    QCOMPARE(ColumnString(*grid->model(), 4), QString("SP3CC|SP3CC|SP3CC"));
    QCOMPARE(Find<QLabel>("Records")->text(), QString("Liczba rekordów : 3"));

    // "Usuń filtr" brings every row back and hides the progress bar.
    Find<QRadioButton>("RG1Item10")->click();
    QCOMPARE(grid->model()->rowCount(), 6);
    QCOMPARE(Find<QLabel>("Records")->text(), QString("Liczba rekordów : 6"));
    QVERIFY(!bar->isVisible());
    QCOMPARE(form->session().Controls().rg1ItemIndex, 10);

    // The keyboard moves the choice too: left arrow from "Usuń filtr" picks "10".
    auto* remove = Find<QRadioButton>("RG1Item10");
    remove->setFocus();
    QTest::keyClick(remove, Qt::Key_Left);
    QVERIFY(Find<QRadioButton>("RG1Item9")->isChecked());
    QCOMPARE(form->session().Controls().rg1ItemIndex, 9);
    QVERIFY(bar->isVisible());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void sortByChoiceReachesTheSession() {
    Load(kLog);
    Find<QRadioButton>("SortByItem1")->click();
    QCOMPARE(form->session().Controls().sortByItemIndex, 1);
    Find<QRadioButton>("SortByItem0")->click();
    QCOMPARE(form->session().Controls().sortByItemIndex, 0);
  }

  void savingAsksTheNamedDialogs() {
    Load(kLog);
    const QString csv = dir.filePath("out.csv");
    const QString qsl = dir.filePath("QSL_VIA.TXT");
    windows->fileAnswers = {csv.toStdString(), qsl.toStdString(), std::nullopt};
    Find<QPushButton>("Save_CSV")->click();
    Find<QPushButton>("QSL_VIA")->click();
    Find<QPushButton>("CTY_ADIF")->click();
    QCOMPARE(windows->dialogs.size(), size_t(4));
    QCOMPARE(windows->dialogs[1].name, std::string("SaveSGToCSV"));
    QCOMPARE(windows->dialogs[2].name, std::string("SD2"));
    QCOMPARE(windows->dialogs[3].name, std::string("SD1"));
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readLine().startsWith("\"QSO_DATE\",\"TIME_ON\",\"BAND\""));
    QFile managers(qsl);
    QVERIFY(managers.open(QIODevice::ReadOnly));
    QCOMPARE(managers.readAll(), QByteArray("Lista manager\xF3w:\r\nSP5ABC\r\nDL1XYZ\r\n"));
    QVERIFY(windows->errors.empty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void closing_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("answer");
    for (const char* how : {"close box", "BitBtn1", "Zamknij1"}) {
      QTest::addRow("%s, Cancel", how) << how << false;
      QTest::addRow("%s, OK", how) << how << true;
    }
  }

  void closing() {
    QFETCH(QString, how);
    QFETCH(bool, answer);
    Load(kLog);
    windows->confirmAnswers = {answer};
    if (how == "close box") {
      form->close();
    } else if (how == "BitBtn1") {
      Find<QPushButton>("BitBtn1")->click();
    } else {
      Find<QAction>("Zamknij1")->trigger();
    }
    // One question, whatever the road to it.
    QCOMPARE(windows->questions, std::vector<std::string>{"Confirm: Zamknąć aplikację ?"});
    QCOMPARE(form->isVisible(), !answer);
    if (!answer) {
      // The window goes on with its table and its tally: the QSO-count
      // filter still works.
      QCOMPARE(Find<QTableView>("SG1")->model()->rowCount(), 6);
      Find<QRadioButton>("RG1Item1")->click();
      QCOMPARE(ColumnString(*Find<QTableView>("SG1")->model(), 4), QString("SP2BB|SP2BB"));
    }
  }

  void helpWithoutItsFile() {
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    if (!kartex::FindHelpFile(kartex::HelpFileFolders()).isEmpty()) {
      QDir::setCurrent(previous);
      QSKIP("an installed Help_CSV.chm is present");
    }
    Find<QAction>("Otworzplikpomocy1")->trigger();
    QDir::setCurrent(previous);
    QCOMPARE(windows->messages, std::vector<std::string>{"Błąd otwarcia pliku Help_CSV.chm"});
  }

  void inPlaceEditWithPolishLetters() {
    Load(kLog);
    auto* grid = Find<QTableView>("SG1");
    const QModelIndex cell = grid->model()->index(1, 3);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText("Łódź żółw");
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits once the key press is handled. Stored in
    // Windows-1250, shown decoded.
    QTRY_COMPARE(std::string(Table().CellText(3, 2)), std::string("\xA3\xF3"
                                                                  "d\x9F \xBF\xF3\xB3w"));
    QCOMPARE(cell.data().toString(), QString("Łódź żółw"));
    QVERIFY(windows->messages.empty());
  }

  // An edit that Windows-1250 cannot hold is not stored and not thrown away:
  // Enter and Tab leave the editor open with the text and the message names
  // the character; mended, it is stored; Esc drops it.
  void inPlaceEditOutsideTheCodePage() {
    Load(kLog);
    auto* grid = Find<QTableView>("SG1");
    const QModelIndex cell = grid->model()->index(0, 3);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->setText("Привет");
    const std::string message =
        "Tekst zawiera znak „П” (U+041F), którego nie można zapisać w stronie kodowej "
        "Windows-1250.";
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Backtab}) {
      windows->messages.clear();
      QTest::keyClick(editor, key);
      QTRY_COMPARE(windows->messages, std::vector<std::string>{message});
      QVERIFY(grid->indexWidget(cell) == editor);
      QCOMPARE(editor->text(), QString("Привет"));
      QCOMPARE(std::string(Table().CellText(3, 1)), std::string("SSB"));
    }
    // Mended, the text is stored.
    editor->setText("Privet");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(std::string(Table().CellText(3, 1)), std::string("Privet"));
    QTRY_VERIFY(!grid->indexWidget(cell));
    // Esc ends an edit without storing it.
    grid->edit(cell);
    editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    QVERIFY(editor);
    editor->setText("Жора");
    windows->messages.clear();
    QTest::keyClick(editor, Qt::Key_Escape);
    QTRY_VERIFY(!grid->indexWidget(cell));
    QCOMPARE(std::string(Table().CellText(3, 1)), std::string("Privet"));
    QVERIFY(windows->messages.empty());
  }

  // Leaving a refused edit by a click elsewhere (here another cell) stores
  // nothing either: the message comes and the editor opens again with the
  // text on its cell.
  void refusedEditLeftByTheMouseComesBack() {
    Load(kLog);
    auto* grid = Find<QTableView>("SG1");
    const QModelIndex cell = grid->model()->index(1, 2);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    QVERIFY(editor);
    editor->setText("20M ✓");
    const QModelIndex other = grid->model()->index(3, 5);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(other).center());
    QTRY_COMPARE(windows->messages.size(), size_t(1));
    QVERIFY(QString::fromStdString(windows->messages[0]).contains("„✓” (U+2713)"));
    QTRY_VERIFY(qobject_cast<QLineEdit*>(grid->indexWidget(cell)));
    QCOMPARE(qobject_cast<QLineEdit*>(grid->indexWidget(cell))->text(), QString("20M ✓"));
    QCOMPARE(grid->currentIndex(), cell);
    QCOMPARE(std::string(Table().CellText(2, 2)), std::string("40M"));
  }

  void gridColours() {
    Load(kLog);
    auto* grid = Find<QTableView>("SG1");
    grid->setCurrentIndex(grid->model()->index(1, 1));
    // A point inside a cell, clear of its text (the texts are short).
    QImage image;
    auto colourAt = [&](int row, int col) {
      const QRect cell = grid->visualRect(grid->model()->index(row, col));
      return QColor(image.pixel(cell.right() - 6, cell.center().y()));
    };
    // The current cell: light grey while another control has the focus,
    // sky blue once the grid has it.
    Find<QPushButton>("Load_CSV")->setFocus();
    image = grid->viewport()->grab().toImage();
    QCOMPARE(colourAt(1, 1), QColor(0xD3, 0xD3, 0xD3));
    grid->setFocus();
    image = grid->viewport()->grab().toImage();
    QCOMPARE(colourAt(1, 1), QColor(0x87, 0xCE, 0xEB));
    const QPalette palette = grid->palette();
    QCOMPARE(colourAt(0, 1), palette.color(QPalette::ToolTipBase));
    QCOMPARE(colourAt(1, 2), palette.color(QPalette::Base));
    QCOMPARE(colourAt(2, 2), palette.color(QPalette::ToolTipBase));
    QVERIFY(palette.color(QPalette::ToolTipBase) != palette.color(QPalette::Base));
  }

  // A disabled grid is greyed all over: no bands, no sky-blue current cell,
  // the empty space grey too; a successful load brings the colours back.
  void disabledGridIsGreyed() {
    auto* grid = Find<QTableView>("SG1");
    const QColor grey = grid->palette().color(QPalette::Disabled, QPalette::Window);
    auto colours = [grid] {
      const QImage image = grid->viewport()->grab().toImage();
      const QRect cell = grid->visualRect(grid->model()->index(0, 1));
      // Inside the first cell, clear of its text, and below the last row.
      return std::pair(QColor(image.pixel(cell.right() - 6, cell.center().y())),
                       QColor(image.pixel(cell.center().x(), image.height() - 4)));
    };
    QVERIFY(!grid->isEnabled());
    QCOMPARE(colours(), std::pair(grey, grey));
    // Given a loaded log with a current cell, a rejected load greys it again.
    Load(kLog);
    grid->setCurrentIndex(grid->model()->index(0, 1));
    grid->setFocus();
    QCOMPARE(colours().first, QColor(0x87, 0xCE, 0xEB));
    Load({"CALL,BAND", "SP1AA,20M"}, "bad.csv");
    QVERIFY(!grid->isEnabled());
    QCOMPARE(grid->currentIndex(), grid->model()->index(0, 1));
    QCOMPARE(colours(), std::pair(grey, grey));
    // The grey grid takes no clicks.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 3)).center());
    QCOMPARE(grid->currentIndex(), grid->model()->index(0, 1));
    Load(kLog);
    grid->setFocus();
    QCOMPARE(colours().first, QColor(0x87, 0xCE, 0xEB));
    QVERIFY(colours().second != grey);
  }

  // A long path is cut in its middle so that the file name stays in view;
  // the label's tooltip holds the whole path.
  void longSourcePathKeepsItsFileName() {
    QString folder = dir.path();
    while (folder.size() < 200) folder += "/Logger32-eksport-dziennika";
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/LOG_SP5XYZ_2024.csv";
    windows->fileAnswers.push_back(WriteLog(dir, path.mid(dir.path().size() + 1), kLog));
    Find<QPushButton>("Load_CSV")->click();
    auto* source = Find<QLabel>("Source");
    QVERIFY(source->text().startsWith("Źródło: "));
    QVERIFY(source->text().endsWith("LOG_SP5XYZ_2024.csv"));
    QVERIFY(source->text().contains("…"));
    QVERIFY(source->geometry().right() < form->centralWidget()->width());
    QVERIFY(source->sizeHint().width() <= source->width());
    QCOMPARE(source->toolTip(), path);
    // A short path is shown whole.
    Load(kLog);
    QCOMPARE(source->text(), "Źródło: " + dir.filePath("log.csv"));
    QCOMPARE(source->toolTip(), dir.filePath("log.csv"));
  }

  void gridTooltipIsTheSortHint() {
    Load(kLog);
    auto* grid = Find<QTableView>("SG1");
    const QPoint point = grid->visualRect(grid->model()->index(0, 0)).center();
    QHelpEvent help(QEvent::ToolTip, point, grid->viewport()->mapToGlobal(point));
    QApplication::sendEvent(grid->viewport(), &help);
    QTRY_COMPARE(QToolTip::text(), Find<QLabel>("Label4")->text());
  }

  void currentCellKeepsItsPlaceAcrossAFilter() {
    Load(kLog);
    auto* grid = Find<QTableView>("SG1");
    grid->setCurrentIndex(grid->model()->index(4, 2));
    Find<QRadioButton>("RG1Item1")->click();  // two rows left
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(grid->currentIndex().column(), 2);
    Find<QRadioButton>("RG1Item10")->click();
    QCOMPARE(grid->currentIndex().row(), 1);
  }
};

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
