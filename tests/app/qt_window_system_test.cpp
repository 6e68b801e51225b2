// The Qt window system: file filters in Qt's form, the hourglass kept as
// one state however the commands call it, the boxes, and the file dialogs as
// the operator meets them, in Polish.

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "app/qt_translation.h"
#include "app/qt_window_system.h"
#include "app_test_support.h"

namespace {

// Runs check on the modal window once it is up (the box or dialog under
// test); a check that fails part-way still closes it.
void WhenModal(std::function<void(QWidget*)> check) {
  QTimer::singleShot(0, [check] {
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    QVERIFY(modal);
    check(modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal.data()); dialog && dialog->isVisible())
      dialog->reject();
  });
}

// A window that counts its paints and notes whether the latest came with no
// modal box up.
class PaintCounter : public QWidget {
 public:
  int paints = 0;
  bool paintedWithoutModal = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    ++paints;
    paintedWithoutModal = QApplication::activeModalWidget() == nullptr;
  }
};

}  // namespace

// Every value of Qt's own settings store.
static QMap<QString, QVariant> QtProjectSettings() {
  const QSettings settings(QSettings::UserScope, "QtProject");
  QMap<QString, QVariant> values;
  for (const QString& key : settings.allKeys()) values.insert(key, settings.value(key));
  return values;
}

class QtWindowSystemTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY2(kartex::InstallQtPolishTranslation(*qApp), "qtbase_pl.qm (qt6-translations-l10n)");
  }

  void fileFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("defaultName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("open dialog") << "CSV|*.csv"
                                 << ""
                                 << "CSV (*.csv *.CSV)";
    QTest::newRow("manager list") << "TXT|*.txt"
                                  << ""
                                  << "TXT (*.txt *.TXT)";
    QTest::newRow("description with its own patterns") << "CSV (*.csv)|*.CSV"
                                                       << ""
                                                       << "CSV (*.CSV *.csv)";
    QTest::newRow("two filters") << "CSV|*.csv|All|*.*"
                                 << ""
                                 << "CSV (*.csv *.CSV);;All (*.*)";
    QTest::newRow("several patterns") << "Logs|*.csv;*.adi"
                                      << ""
                                      << "Logs (*.csv *.CSV *.adi *.ADI)";
    QTest::newRow("open dialog, both kinds of log")
        << "Dzienniki (*.csv *.adi *.adif)|*.csv;*.adi;*.adif|CSV (*.csv)|*.csv|"
           "ADIF (*.adi *.adif)|*.adi;*.adif"
        << ""
        << "Dzienniki (*.csv *.CSV *.adi *.ADI *.adif *.ADIF);;CSV (*.csv *.CSV);;"
           "ADIF (*.adi *.ADI *.adif *.ADIF)";
    QTest::newRow("record of the cards sent") << "ADIF (*.adi)|*.adi"
                                              << "WYSLANE.ADI"
                                              << "ADIF (*.ADI *.adi)";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    // The default name's extension leads, spelt as the name spells it.
    QTest::newRow("SD2, QSL_VIA.TXT") << "TXT|*.txt"
                                      << "QSL_VIA.TXT"
                                      << "TXT (*.TXT *.txt)";
    QTest::newRow("SD1, COUNTRY.CSV") << "CSV|*.csv"
                                      << "COUNTRY.CSV"
                                      << "CSV (*.CSV *.csv)";
    QTest::newRow("already first") << "CSV|*.csv"
                                   << "log.csv"
                                   << "CSV (*.csv *.CSV)";
    QTest::newRow("in the second filter") << "CSV|*.csv|Logs|*.adi"
                                          << "LOG.ADI"
                                          << "CSV (*.csv *.CSV);;Logs (*.ADI *.adi)";
    QTest::newRow("extension of no filter") << "CSV|*.csv"
                                            << "LOG.ADI"
                                            << "CSV (*.csv *.CSV)";
    QTest::newRow("name without extension") << "CSV|*.csv"
                                            << "LOG"
                                            << "CSV (*.csv *.CSV)";
  }

  void fileFilters() {
    QFETCH(QString, filter);
    QFETCH(QString, defaultName);
    QFETCH(QString, expected);
    QCOMPARE(kartex::QtFileFilter(filter.toStdString(), defaultName.toStdString()), expected);
  }

  void busyCursorIsOneState() {
    kartex::QtWindowSystem windows;
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // The filter's progress shows the hourglass at every step, and the
    // normal cursor once at 100 %.
    windows.ShowBusyCursor();
    windows.ShowBusyCursor();
    windows.ShowBusyCursor();
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    windows.ShowNormalCursor();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // A second restore does not pop someone else's cursor.
    QApplication::setOverrideCursor(Qt::CrossCursor);
    windows.ShowNormalCursor();
    QVERIFY(QApplication::overrideCursor());
    QApplication::restoreOverrideCursor();
  }

  void confirmAnswers_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Enter on OK") << int(Qt::Key_Return) << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
  }

  void confirmAnswers() {
    QFETCH(int, key);
    QFETCH(bool, answer);
    QWidget window;
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});
    QString caption, text;
    QStringList buttons;
    WhenModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      caption = box->windowTitle();
      text = box->text();
      for (QAbstractButton* button : box->buttons()) buttons.append(button->text());
      QTest::keyClick(box, Qt::Key(key));
    });
    QCOMPARE(windows.Confirm("Zamknąć aplikację ?", "Confirm"), answer);
    QCOMPARE(caption, QString("Confirm"));
    QCOMPARE(text, QString("Zamknąć aplikację ?"));
    buttons.sort();
    QCOMPARE(buttons, QStringList({"Cancel", "OK"}));
  }

  void closingTheQuestionIsCancel() {
    kartex::QtWindowSystem windows;
    WhenModal([](QWidget* modal) { modal->close(); });
    QVERIFY(!windows.Confirm("Zamknąć aplikację ?", "Confirm"));
  }

  void messagesAndErrors() {
    kartex::QtWindowSystem windows;
    windows.ShowBusyCursor();
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool normalCursor = false;
    auto look = [&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      caption = box->windowTitle();
      icon = box->icon();
      buttons = int(box->buttons().size());
      normalCursor = QApplication::overrideCursor() == nullptr;
      box->button(QMessageBox::Ok)->click();
    };
    WhenModal(look);
    windows.ShowMessage("Nie ma żadnych rekordów !");
    QCOMPARE(caption, QString("KARTEX"));
    QCOMPARE(buttons, 1);
    QVERIFY2(normalCursor, "the box is shown with the normal cursor");
    WhenModal(look);
    windows.ShowError("Cannot open file x.csv.");
    QCOMPARE(caption, QString("KARTEX"));
    QCOMPARE(icon, QMessageBox::Critical);
    // The hourglass comes back after the box.
    QVERIFY(QApplication::overrideCursor());
    windows.ShowNormalCursor();
  }

  void fileDialogsByName() {
    QWidget window;
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});

    // Each dialog carries the name the command asks for and is the window's.
    QString name;
    QStringList filters;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    QWidget* parent = nullptr;
    auto look = [&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      name = dialog->objectName();
      filters = dialog->nameFilters();
      mode = dialog->acceptMode();
      parent = dialog->parentWidget();
      dialog->reject();
    };
    WhenModal(look);
    QCOMPARE(windows.OpenFileDialog({"OD", "", "CSV|*.csv"}), std::nullopt);
    QCOMPARE(name, QString("OD"));
    QCOMPARE(filters, QStringList({"CSV (*.csv *.CSV)"}));
    QCOMPARE(mode, QFileDialog::AcceptOpen);
    QCOMPARE(parent, &window);

    WhenModal(look);
    QCOMPARE(windows.SaveFileDialog({"SaveSGToCSV", "", "CSV (*.csv)|*.CSV"}), std::nullopt);
    QCOMPARE(name, QString("SaveSGToCSV"));
    QCOMPARE(mode, QFileDialog::AcceptSave);
    // Nothing of a dialog stays once it is answered.
    QVERIFY(window.findChildren<QFileDialog*>().isEmpty());
  }

  // Accepting returns the chosen file; the current directory stays. The
  // system's own dialog is answered as an operator does it in
  // windows/native_file_dialog_test.cpp.
  void acceptedFileComesBack() {
    if (kartex::testing::NativeFileDialogs()) QSKIP("the system's own file dialog is shown");
    QWidget window;
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      dialog->setDirectory(dir.path());
      dialog->selectFile("QSL_VIA.TXT");
      static_cast<QDialog*>(dialog)->accept();
    });
    const std::optional<std::string> chosen =
        windows.SaveFileDialog({"SD2", "QSL_VIA.TXT", "TXT|*.txt"});
    QVERIFY(chosen);
    // The system's own separators, as the commands show the name.
    QCOMPARE(QString::fromStdString(*chosen),
             QDir::toNativeSeparators(QDir(dir.path()).filePath("QSL_VIA.TXT")));
    QCOMPARE(QDir::currentPath(), before);
  }

  // After every box and dialog the main window is active again, and the
  // control that had the focus has it: the keys work at once.
  void focusComesBackAfterEveryBox_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("message") << 0;
    QTest::newRow("error") << 1;
    QTest::newRow("question") << 2;
    QTest::newRow("open dialog") << 3;
  }
  void focusComesBackAfterEveryBox() {
    QFETCH(int, kind);
    if (kind == 3 && kartex::testing::NativeFileDialogs())
      QSKIP("the system's own file dialog is shown");
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    second->move(0, 40);
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    second->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), second);

    WhenModal([](QWidget*) {});
    switch (kind) {
      case 0:
        windows.ShowMessage("x");
        break;
      case 1:
        windows.ShowError("x");
        break;
      case 2:
        windows.Confirm("x", "Confirm");
        break;
      default:
        windows.OpenFileDialog({"OD", "", "CSV|*.csv"});
        break;
    }
    QTRY_COMPARE(QApplication::activeWindow(), &window);
    QTRY_COMPARE(QApplication::focusWidget(), second);
    Q_UNUSED(first);
  }

  // Qt's dialog stores its folder and history in Qt's settings as it goes;
  // KARTEX keeps no settings, so the store is as it was before the dialog:
  // absent when it was absent, another program's values kept when not.
  void fileDialogsLeaveQtSettingsAsTheyWere() {
    if (kartex::testing::NativeFileDialogs()) QSKIP("the system's own file dialog is shown");
    QWidget window;
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});
    const QString store = QSettings(QSettings::UserScope, "QtProject").fileName();
    const bool storeWasThere = QFileInfo::exists(store);
    const QMap<QString, QVariant> before = QtProjectSettings();

    WhenModal([](QWidget*) {});
    windows.OpenFileDialog({"OD", "", "CSV|*.csv"});
    QCOMPARE(QtProjectSettings(), before);
    QCOMPARE(QFileInfo::exists(store), storeWasThere);

    // With a value of another program in the store, that value stays and
    // nothing of the dialog's joins it.
    QSettings(QSettings::UserScope, "QtProject").setValue("Other/key", 42);
    const QMap<QString, QVariant> withOther = QtProjectSettings();
    WhenModal([](QWidget*) {});
    windows.SaveFileDialog({"SD2", "QSL_VIA.TXT", "TXT|*.txt"});
    QCOMPARE(QtProjectSettings(), withOther);
    QSettings(QSettings::UserScope, "QtProject").remove("Other");
    if (!storeWasThere) QFile::remove(store);
  }

  // The name field as each showing of a dialog finds it: empty for the open
  // dialog however it was answered before, the default name selected for a
  // save dialog, so that what the operator types is the whole name.
  void nameFieldOnEveryShowing() {
    if (kartex::testing::NativeFileDialogs()) QSKIP("the system's own file dialog is shown");
    QTemporaryDir dir;
    QFile(dir.filePath("LOG_DEMO.csv")).open(QIODevice::WriteOnly);
    QWidget window;
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});
    QString text, selected;
    auto typeName = [&](const QString& typed) {
      return [&, typed](QWidget* modal) {
        auto* name = modal->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name);
        QTRY_VERIFY(name->hasFocus());
        text = name->text();
        selected = name->selectedText();
        // A name left unselected would take the typing as its tail; the
        // dialog is closed unanswered then, and the checks below say why.
        if (text != selected) return;
        QTest::keyClicks(name, typed);
        QTest::keyClick(name, Qt::Key_Return);
      };
    };
    const QString log = QDir(dir.path()).filePath("LOG_DEMO.csv");
    WhenModal([&](QWidget* modal) {
      qobject_cast<QFileDialog*>(modal)->setDirectory(dir.path());
      typeName("LOG_DEMO.csv")(modal);
    });
    QCOMPARE(windows.OpenFileDialog({"OD", "", "CSV|*.csv"}), std::optional(log.toStdString()));
    QCOMPARE(text, QString());
    // Shown again, the open dialog has an empty name field and stays in the
    // folder chosen last: a full path typed there is taken as it is.
    WhenModal(typeName(log));
    QCOMPARE(windows.OpenFileDialog({"OD", "", "CSV|*.csv"}), std::optional(log.toStdString()));
    QCOMPARE(text, QString());
    // A save dialog opens with its default name selected; typing replaces it.
    WhenModal([&](QWidget* modal) {
      qobject_cast<QFileDialog*>(modal)->setDirectory(dir.path());
      typeName("MANAGERS.TXT")(modal);
    });
    QCOMPARE(windows.SaveFileDialog({"SD2", "QSL_VIA.TXT", "TXT|*.txt"}),
             std::optional(QDir(dir.path()).filePath("MANAGERS.TXT").toStdString()));
    QCOMPARE(text, QString("QSL_VIA.TXT"));
    QCOMPARE(selected, QString("QSL_VIA.TXT"));
  }

  // The completion list that typing opens goes with its dialog: nothing is
  // left on the screen to swallow the next click.
  void noCompletionListOutlivesTheDialog() {
    if (kartex::testing::NativeFileDialogs()) QSKIP("the system's own file dialog is shown");
    QTemporaryDir dir;
    for (const char* file : {"LOG_DEMO.csv", "LOG_2023.csv"})
      QFile(dir.filePath(file)).open(QIODevice::WriteOnly);
    QWidget window;
    window.show();
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});
    bool listShown = false;
    WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      dialog->setDirectory(dir.path());
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      QVERIFY(name && name->completer());
      QTRY_VERIFY(name->hasFocus());
      QTest::keyClicks(name, "LOG_");
      QTRY_COMPARE(name->completer()->completionCount(), 2);
      // The list as typing opens it.
      name->completer()->complete();
      QTRY_VERIFY(name->completer()->popup()->isVisible());
      listShown = true;
      name->setText("LOG_DEMO.csv");
      static_cast<QDialog*>(dialog)->accept();
    });
    QVERIFY(windows.OpenFileDialog({"OD", "", "CSV|*.csv"}));
    QVERIFY(listShown);
    QApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets()) {
      QVERIFY2(top == &window || !top->isVisible(), qPrintable(top->metaObject()->className()));
    }
  }

  // Qt's own texts are Polish on every system, here those of the buttons
  // Qt names itself.
  void qtTextsInPolish() {
    QMessageBox box(QMessageBox::NoIcon, "KARTEX", "?", QMessageBox::Save | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text().remove('&'), QString("Anuluj"));
  }

  // Qt's own texts are Polish, as the window is.
  void dialogsInPolish() {
    if (kartex::testing::NativeFileDialogs()) QSKIP("the system's own file dialog is shown");
    QWidget window;
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});
    QStringList buttons;
    auto look = [&](QWidget* modal) {
      buttons.clear();
      for (QPushButton* button :
           modal->findChild<QDialogButtonBox*>()->findChildren<QPushButton*>()) {
        buttons.append(button->text().remove('&'));
      }
      buttons.sort();
      static_cast<QDialog*>(modal)->reject();
    };
    WhenModal(look);
    windows.OpenFileDialog({"OD", "", "CSV|*.csv"});
    QCOMPARE(buttons, QStringList({"Anuluj", "Otwórz"}));
    WhenModal(look);
    windows.SaveFileDialog({"SD1", "COUNTRY.CSV", "CSV|*.csv"});
    QCOMPARE(buttons, QStringList({"Anuluj", "Zapisz"}));
  }

  // A command goes on working after its dialog or question without the
  // event loop: the window must not wait for the command's end to be painted
  // where the box stood.
  void windowPaintedAsSoonAsABoxIsAnswered_data() {
    QTest::addColumn<QString>("box");
    QTest::newRow("open dialog") << "open";
    QTest::newRow("save dialog") << "save";
    QTest::newRow("question") << "question";
  }

  void windowPaintedAsSoonAsABoxIsAnswered() {
    QFETCH(QString, box);
    PaintCounter window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});
    QApplication::processEvents();

    // While the box is up, the window is asked to paint the part the box
    // will leave, as a window system does when the box goes away.
    WhenModal([&window](QWidget* modal) {
      window.update();
      static_cast<QDialog*>(modal)->reject();
    });
    const int before = window.paints;
    window.paintedWithoutModal = false;
    if (box == "open") windows.OpenFileDialog({"OD", "", "CSV|*.csv"});
    if (box == "save") windows.SaveFileDialog({"SD2", "QSL_VIA.TXT", "TXT|*.txt"});
    if (box == "question") windows.Confirm("Plik x.CSV już istnieje. Zastąpić ?", "Confirm");
    // That paint happened before the call returned, after the box was gone:
    // no event loop of the test has run since.
    QVERIFY(window.paints > before);
    QVERIFY(window.paintedWithoutModal);
  }

  void busyCursorEndsWithTheWindowSystem() {
    {
      kartex::QtWindowSystem windows;
      windows.ShowBusyCursor();
    }
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }
};

QTEST_MAIN(QtWindowSystemTest)
#include "qt_window_system_test.moc"
