// "Plik -> Drukuj naklejki QSL…" and its dialog on the offscreen platform:
// the menu item and its enabling, the sheets read when the dialog opens (the
// card alone when they cannot be), the search, the start label and K, the
// preview and its page count, the PDF, the printer through a stand-in for
// the system's print dialog, the offer of the sent-cards command, and the
// keyboard.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/labels_dialog.h"
#include "app/unit1.h"
#include "app_test_support.h"

using kartex::testing::WriteFile;
using kartex::testing::WriteLog;

namespace {

const QByteArray kPaperSizes = R"(<?xml version="1.0"?>
<Glabels-paper-sizes>
  <Paper-size id="A4" _name="A4" pwg_size="iso_a4" width="210mm" height="297mm"/>
</Glabels-paper-sizes>
)";

// Sheets written for the test in gLabels' format: 21 labels of 63.5 x
// 38.1 mm, 24 of 70 x 36, and a row of low labels that hold few lines.
const QByteArray kTemplates = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Avery" part="L7160" size="A4" _description="Mailing labels">
    <Label-rectangle id="0" width="63.5mm" height="38.1mm" round="1.5mm">
      <Layout nx="3" ny="7" x0="7.2mm" y0="15.1mm" dx="66mm" dy="38.1mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Zweckform" part="3475" size="A4" _description="Address Labels">
    <Label-rectangle id="0" width="70mm" height="36mm">
      <Layout nx="3" ny="8" x0="0mm" y0="4.5mm" dx="70mm" dy="36mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Test" part="Low" size="A4" _description="Low labels">
    <Label-rectangle id="0" width="100mm" height="20mm">
      <Layout nx="2" ny="10" x0="5mm" y0="10mm" dx="100mm" dy="25mm"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>
)";

const QString kL7160Entry = "Avery L7160 – 63,5 × 38,1 mm, 21 na arkuszu (A4)";

// Six stations, SP1AA with five contacts and a manager, the others one each.
std::vector<std::string> Log() {
  std::vector<std::string> lines = {"QSO_DATE,TIME_ON,BAND,MODE,CALL,DXCC,QSL_VIA,RST_SENT"};
  for (int q = 0; q < 5; ++q)
    lines.push_back("2024010" + std::to_string(q + 1) + ",1200,20M,CW,SP1AA,269,SP5MGR,599");
  for (const char* call : {"SP2BB", "SP3CC", "SP4DD", "SP5EE", "SP6FF"})
    lines.push_back(std::string("20240201,1300,40M,SSB,") + call + ",269,,59");
  return lines;
}

}  // namespace

class LabelsDialogTest : public QObject, protected kartex::testing::WindowFixture {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> folder;  // a fresh one per test

  QString Templates() const { return folder->filePath("templates"); }
  void WriteTemplates() {
    QDir().mkpath(Templates());
    WriteFile(Templates() + "/paper-sizes.xml", kPaperSizes);
    WriteFile(Templates() + "/test-templates.xml", kTemplates);
  }
  QAction* Item() const { return form->findChild<QAction*>("DrukujnaklejkiQSL1"); }
  void Load() { WindowFixture::Load(Log()); }
  std::unique_ptr<kartex::LabelsDialog> Dialog() {
    auto dialog = std::make_unique<kartex::LabelsDialog>(
        form->session(), *windows, kartex::ReadSheetCatalog(Templates().toStdString()), form.get());
    dialog->show();
    return dialog;
  }
  // Runs the menu item; `inside` sees the dialog while it is up, then it
  // closes. False when no dialog came.
  bool WithDialogFromMenu(const std::function<void(kartex::LabelsDialog&)>& inside) {
    bool came = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<kartex::LabelsDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      came = true;
      inside(*dialog);
      dialog->reject();
    });
    Item()->trigger();
    return came;
  }
  static QStringList Shown(const QListWidget& list) {
    QStringList shown;
    for (int row = 0; row < list.count(); ++row) {
      if (!list.item(row)->isHidden()) shown.append(list.item(row)->text());
    }
    return shown;
  }

 private slots:
  void init() {
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    qputenv("KARTEX_LABEL_TEMPLATES", Templates().toLocal8Bit());
    QVERIFY(OpenWindow());
  }

  void cleanup() {
    CloseWindow();
    folder.reset();
    qunsetenv("KARTEX_LABEL_TEMPLATES");
  }

  void standsInPlikAndFollowsTheLoad() {
    QVERIFY(Item());
    QCOMPARE(Item()->text(), QString("&Drukuj naklejki QSL…"));
    QStringList names;
    for (QAction* action : form->menuBar()->findChild<QMenu*>("Plik1")->actions())
      names.append(action->objectName());
    QCOMPARE(names, QStringList({"OtworzplikCSV1", "SaveCSV1", "SaveStationsCSV1",
                                 "DrukujnaklejkiQSL1", "SaveSentADIF1", "Zamknij1"}));
    QVERIFY(!Item()->isEnabled());
    Load();
    QVERIFY(Item()->isEnabled());
    form->findChild<QRadioButton*>("RG1Item0")->click();  // "1": works on the shown rows
    QVERIFY(Item()->isEnabled());
    // A rejected load disables it again.
    windows->fileAnswers.push_back(WriteLog(*folder, "bad.csv", {"CALLSIGN,DXCC", "A,1"}));
    form->findChild<QPushButton*>("Load_CSV")->click();
    QVERIFY(!Item()->isEnabled());
  }

  void readsTheSheetsWhenTheDialogOpens() {
    // Given the window made before the templates exist.
    Load();
    WriteTemplates();
    QVERIFY(WithDialogFromMenu([&](kartex::LabelsDialog& dialog) {
      auto* list = dialog.findChild<QListWidget*>("SheetList");
      QCOMPARE(list->count(), 4);
      QCOMPARE(list->item(0)->text(), QString("Karta QSL 140 × 90 mm"));
      QCOMPARE(list->currentItem()->text(), kL7160Entry);
      QVERIFY(dialog.findChild<QLabel*>("SheetsNotice")->isHidden());
      QCOMPARE(dialog.findChild<QSpinBox*>("PerLabel")->value(), 4);
      QCOMPARE(dialog.findChild<QSpinBox*>("StartLabel")->maximum(), 21);
      // Six stations, SP1AA on two labels: seven labels, one page.
      QCOMPARE(dialog.Plan().Labels().size(), size_t(7));
      QCOMPARE(dialog.findChild<QLabel*>("PageCount")->text(),
               QString("Podgląd pierwszej strony – 1 strona"));
      QVERIFY(!dialog.findChild<QLabel*>("Preview")->pixmap().isNull());
    }));
    QVERIFY(windows->errors.empty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void withoutTheSheetsTheCardIsOfferedAndTheReasonSaid() {
    Load();  // no templates folder at all
    QVERIFY(WithDialogFromMenu([&](kartex::LabelsDialog& dialog) {
      auto* list = dialog.findChild<QListWidget*>("SheetList");
      QCOMPARE(list->count(), 1);
      QCOMPARE(list->currentItem()->text(), QString("Karta QSL 140 × 90 mm"));
      auto* notice = dialog.findChild<QLabel*>("SheetsNotice");
      QVERIFY(!notice->isHidden());
      QVERIFY(notice->text().startsWith("Nie udało się odczytać arkuszy etykiet"));
      // Six stations, seven cards: SP1AA's five contacts take two.
      QCOMPARE(dialog.Plan().PageCount(), 7);
    }));
    // A folder whose files are no XML: the same, never a crash.
    QDir().mkpath(Templates());
    WriteFile(Templates() + "/paper-sizes.xml", "<Glabels-paper-sizes><Paper");
    WriteFile(Templates() + "/x-templates.xml", QByteArray("\0\0\xFF<", 4));
    QVERIFY(WithDialogFromMenu([&](kartex::LabelsDialog& dialog) {
      QCOMPARE(dialog.findChild<QListWidget*>("SheetList")->count(), 1);
    }));
  }

  void noShownRowIsSaidInsteadOfTheDialog() {
    Load();
    WriteTemplates();
    form->findChild<QRadioButton*>("RG1Item8")->click();  // "9": nobody
    QVERIFY(!WithDialogFromMenu([](kartex::LabelsDialog&) {}));
    QCOMPARE(windows->messages, std::vector<std::string>{"Brak rekordów w tabeli !"});
  }

  void searchNarrowsTheListAndKeepsTheChoice() {
    Load();
    WriteTemplates();
    auto dialog = Dialog();
    auto* list = dialog->findChild<QListWidget*>("SheetList");
    auto* search = dialog->findChild<QLineEdit*>("SheetSearch");
    QTest::keyClicks(search, "zweck 34");
    QCOMPARE(Shown(*list), QStringList{"Zweckform 3475 – 70 × 36 mm, 24 na arkuszu (A4)"});
    QCOMPARE(dialog->Sheet().Name(), std::string("Zweckform 3475"));
    QCOMPARE(dialog->findChild<QSpinBox*>("StartLabel")->maximum(), 24);
    // The description is searched too.
    search->setText("low LABELS");
    QCOMPARE(Shown(*list).size(), 1);
    QCOMPARE(dialog->Sheet().Name(), std::string("Test Low"));
    search->clear();
    QCOMPARE(Shown(*list).size(), 4);
    QCOMPARE(dialog->Sheet().Name(), std::string("Test Low"));
    search->setText("nothing like it");
    QVERIFY(Shown(*list).isEmpty());
    QCOMPARE(dialog->Sheet().Name(), std::string("Test Low"));
  }

  void startAndKFollowTheSheet() {
    Load();
    WriteTemplates();
    auto dialog = Dialog();
    auto* list = dialog->findChild<QListWidget*>("SheetList");
    auto* start = dialog->findChild<QSpinBox*>("StartLabel");
    auto* perLabel = dialog->findChild<QSpinBox*>("PerLabel");
    auto* pages = dialog->findChild<QLabel*>("PageCount");
    QCOMPARE(perLabel->minimum(), 1);
    QCOMPARE(perLabel->maximum(), 10);
    // Label 20 of 21: seven labels take two pages.
    start->setValue(20);
    QCOMPARE(dialog->Plan().PageCount(), 2);
    QCOMPARE(pages->text(), QString("Podgląd pierwszej strony – stron: 2"));
    // One contact a label: ten labels, from label 20: three pages... of 21.
    perLabel->setValue(1);
    QCOMPARE(dialog->Plan().Labels().size(), size_t(10));
    QCOMPARE(dialog->Plan().PageCount(), 2);
    // The card has one place: the start comes back to 1.
    list->setCurrentRow(0);
    QCOMPARE(start->maximum(), 1);
    QCOMPARE(start->value(), 1);
    QCOMPARE(dialog->Plan().PageCount(), 10);
    const QPixmap card = dialog->findChild<QLabel*>("Preview")->pixmap();
    QVERIFY(card.width() > card.height());
  }

  void kTooLargeForTheLabelIsLoweredAndSaid() {
    Load();
    WriteTemplates();
    auto dialog = Dialog();
    auto* fit = dialog->findChild<QLabel*>("FitNotice");
    QVERIFY(fit->isHidden());
    dialog->findChild<QLineEdit*>("SheetSearch")->setText("Test Low");
    dialog->findChild<QSpinBox*>("PerLabel")->setValue(10);
    // 20 mm less margins of 1.2 mm holds seven lines at 6 pt; with the via
    // line, three contacts.
    QCOMPARE(dialog->Plan().Fit().perLabel, 3);
    QVERIFY(!fit->isHidden());
    QVERIFY(fit->text().startsWith("Na etykiecie mieści się najwyżej 3 łączności"));
    dialog->findChild<QSpinBox*>("PerLabel")->setValue(3);
    QVERIFY(fit->isHidden());
  }

  void savesThePdfAndOffersTheSentCards() {
    Load();
    WriteTemplates();
    auto dialog = Dialog();
    int offered = 0;
    dialog->SetSentCardsCommand([&offered] { ++offered; });
    // A name without an extension gets ".pdf".
    windows->fileAnswers.push_back(folder->filePath("naklejki").toStdString());
    windows->confirmAnswers = {true};
    dialog->findChild<QPushButton*>("SavePdf")->click();
    QCOMPARE(windows->dialogs.back().name, std::string("SaveLabelsPDF"));
    {
      QFile pdf(folder->filePath("naklejki.pdf"));  // closed again: Windows replaces no open file
      QVERIFY(pdf.open(QIODevice::ReadOnly));
      QVERIFY(pdf.read(5) == "%PDF-");
    }
    QCOMPARE(
        windows->questions,
        std::vector<std::string>{"KARTEX: Naklejki są gotowe. Zapisać plik ADIF wysłanych kart?"});
    QCOMPARE(offered, 1);
    // Answered Cancel: not run. Replacing the file under the appended name
    // was asked first.
    windows->fileAnswers.push_back(folder->filePath("naklejki").toStdString());
    windows->confirmAnswers = {true, false};
    dialog->findChild<QPushButton*>("SavePdf")->click();
    QCOMPARE(windows->questions.size(), size_t(3));
    QVERIFY(windows->questions[1].find("naklejki.pdf już istnieje. Zastąpić ?") !=
            std::string::npos);
    QCOMPARE(offered, 1);
    QVERIFY(windows->errors.empty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void withoutTheCommandNothingIsOffered() {
    Load();
    WriteTemplates();
    auto dialog = Dialog();
    windows->fileAnswers.push_back(folder->filePath("a.pdf").toStdString());
    dialog->findChild<QPushButton*>("SavePdf")->click();
    QVERIFY(QFile::exists(folder->filePath("a.pdf")));
    QVERIFY(windows->questions.empty());
    // Cancel in the save dialog: nothing written, nothing asked.
    dialog->findChild<QPushButton*>("SavePdf")->click();
    QVERIFY(windows->questions.empty());
  }

  void aFileThatCannotBeCreatedIsAnError() {
    Load();
    WriteTemplates();
    auto dialog = Dialog();
    int offered = 0;
    dialog->SetSentCardsCommand([&offered] { ++offered; });
    const std::string target = folder->filePath("no folder/a.pdf").toStdString();
    windows->fileAnswers.push_back(target);
    dialog->findChild<QPushButton*>("SavePdf")->click();
    QCOMPARE(windows->errors, std::vector<std::string>{"Cannot create file " + target + "."});
    QCOMPARE(offered, 0);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void printsOnTheSheetsPageThroughThePrintDialog() {
    Load();
    WriteTemplates();
    auto dialog = Dialog();
    dialog->findChild<QListWidget*>("SheetList")->setCurrentRow(0);  // the card
    int offered = 0;
    dialog->SetSentCardsCommand([&offered] { ++offered; });
    const QString output = folder->filePath("printed.pdf");
    bool fullPage = false;
    QWidget* printParent = nullptr;
    // Given an operator who cancels the print dialog: nothing happens.
    dialog->SetPrintDialog([](QPrinter&, QWidget*) { return false; });
    dialog->findChild<QPushButton*>("Print")->click();
    QVERIFY(!QFile::exists(output));
    QCOMPARE(offered, 0);
    // Then one who prints (to a PDF, so that the test sees the pages).
    dialog->SetPrintDialog([&](QPrinter& printer, QWidget* parent) {
      fullPage = printer.fullPage();
      printParent = parent;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(output);
      return true;
    });
    windows->confirmAnswers = {true};
    dialog->findChild<QPushButton*>("Print")->click();
    QVERIFY(fullPage);
    QCOMPARE(printParent, static_cast<QWidget*>(dialog.get()));
    QCOMPARE(offered, 1);
    // Seven cards, each page 140 x 90 mm (in whole points) and drawn at
    // 100 %: the page's size is the card's.
    QFile printed(output);
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QCOMPARE(printed.readAll().count("/MediaBox [0 0 397.000000 255.000000]"), 7);
  }

  void everyControlHasItsKey() {
    Load();
    WriteTemplates();
    auto dialog = Dialog();
    QApplication::setActiveWindow(dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    const auto focusAfter = [&](Qt::Key key) {
      QTest::keyClick(dialog.get(), key, Qt::AltModifier);
      return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    };
    QCOMPARE(focusAfter(Qt::Key_C), QString("PerLabel"));
    QCOMPARE(focusAfter(Qt::Key_P), QString("StartLabel"));
    QCOMPARE(focusAfter(Qt::Key_A), QString("SheetSearch"));
    // Tab leads through the controls in order.
    QStringList order;
    for (int step = 0; step < 6; ++step) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(order,
             QStringList({"SheetList", "StartLabel", "PerLabel", "SavePdf", "Print", "Close"}));
    // The arrow keys choose a sheet in the list (brand order: Avery, Test,
    // Zweckform).
    dialog->findChild<QListWidget*>("SheetList")->setFocus();
    QTest::keyClick(dialog->findChild<QListWidget*>("SheetList"), Qt::Key_Down);
    QCOMPARE(dialog->Sheet().Name(), std::string("Test Low"));
    // Escape closes.
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
  }
};

QTEST_MAIN(LabelsDialogTest)
#include "labels_dialog_test.moc"
