// The Qt window system: file filters in Qt's form and the hourglass kept as
// one state however the commands call it.

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <QDir>
#include <QTemporaryDir>

#include "app/qt_window_system.h"

namespace {

// Runs check on the modal window once it is up (the box or dialog under test).
void WhenModal(std::function<void(QWidget*)> check) {
  QTimer::singleShot(0, [check] {
    QWidget* modal = QApplication::activeModalWidget();
    QVERIFY(modal);
    check(modal);
  });
}

}  // namespace

class QtWindowSystemTest : public QObject {
  Q_OBJECT

 private slots:
  void fileFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("open dialog") << "CSV|*.csv" << "CSV (*.csv *.CSV)";
    QTest::newRow("manager list") << "TXT|*.txt" << "TXT (*.txt *.TXT)";
    QTest::newRow("description with its own patterns") << "CSV (*.csv)|*.CSV" << "CSV (*.CSV *.csv)";
    QTest::newRow("two filters") << "CSV|*.csv|All|*.*" << "CSV (*.csv *.CSV);;All (*.*)";
    QTest::newRow("several patterns") << "Logs|*.csv;*.adi" << "Logs (*.csv *.CSV *.adi *.ADI)";
    QTest::newRow("empty") << "" << "";
  }

  void fileFilters() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(kartex::QtFileFilter(filter.toStdString()), expected);
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
    auto* od = new QFileDialog(&window);
    od->setObjectName("OD");
    kartex::QtWindowSystem windows;
    windows.SetMainWindow(&window, {});

    // The window's own dialog is used for its name.
    QString name;
    QStringList filters;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    auto look = [&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      name = dialog->objectName();
      filters = dialog->nameFilters();
      mode = dialog->acceptMode();
      dialog->reject();
    };
    WhenModal(look);
    QCOMPARE(windows.OpenFileDialog({"OD", "", "CSV|*.csv"}), std::nullopt);
    QCOMPARE(name, QString("OD"));
    QCOMPARE(filters, QStringList({"CSV (*.csv *.CSV)"}));
    QCOMPARE(mode, QFileDialog::AcceptOpen);

    // A name the window does not keep gets a dialog for this call only.
    WhenModal(look);
    QCOMPARE(windows.SaveFileDialog({"SaveSGToCSV", "", "CSV (*.csv)|*.CSV"}), std::nullopt);
    QCOMPARE(name, QString("SaveSGToCSV"));
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QCOMPARE(window.findChildren<QFileDialog*>().size(), 1);

    // Accepting returns the chosen file; the current directory stays.
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      dialog->setDirectory(dir.path());
      dialog->selectFile("QSL_VIA.TXT");
      static_cast<QDialog*>(dialog)->accept();
    });
    const std::optional<std::string> chosen = windows.SaveFileDialog({"SD2", "QSL_VIA.TXT", "TXT|*.txt"});
    QVERIFY(chosen);
    QCOMPARE(QString::fromStdString(*chosen), QDir(dir.path()).filePath("QSL_VIA.TXT"));
    QCOMPARE(QDir::currentPath(), before);
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
