// "Otwórz plik pomocy" on Linux: Help_CSV.chm opened through the desktop's
// opener, whose failure is shown as "Błąd otwarcia pliku Help_CSV.chm". A
// fake xdg-open, put first on PATH, stands in for the desktop.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "app/help_file.h"
#include "app/unit1.h"
#include "app_test_support.h"

using kartex::testing::WriteFile;

namespace {

const std::string kHelpError = "Błąd otwarcia pliku Help_CSV.chm";

}  // namespace

class HelpOpenerTest : public QObject, protected kartex::testing::WindowFixture {
  Q_OBJECT

 private:
  QTemporaryDir work;     // the current folder
  QTemporaryDir openers;  // the fake xdg-open
  QByteArray path;
  QString previousFolder;

  // An opener that notes the document it was given, then exits with status.
  void FakeOpener(int status) {
    WriteFile(openers.filePath("xdg-open"),
              "#!/bin/sh\nprintf '%s' \"$1\" > \"" + openers.filePath("opened").toUtf8() +
                  "\"\nexit " + QByteArray::number(status) + "\n",
              true);
  }

  QString Opened() const {
    QFile file(openers.filePath("opened"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  void OpenHelp() { form->findChild<QAction*>("Otworzplikpomocy1")->trigger(); }

 private slots:
  void init() {
    QVERIFY(work.isValid() && openers.isValid());
    QFile::remove(openers.filePath("opened"));
    QFile::remove(openers.filePath("xdg-open"));
    QFile::remove(work.filePath("Help_CSV.chm"));
    path = qgetenv("PATH");
    qputenv("PATH", openers.path().toUtf8());
    previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    QVERIFY(OpenWindow());
  }

  void cleanup() {
    CloseWindow();
    QDir::setCurrent(previousFolder);
    qputenv("PATH", path);
  }

  void openerThatFindsNoViewer() {
    // Given the help file and an opener that finds no application for it
    // (xdg-open's status 3, "no method available"),
    WriteFile(work.filePath("Help_CSV.chm"), "ITSF");
    FakeOpener(3);
    // the command says so once the opener has ended.
    OpenHelp();
    QTRY_COMPARE(windows->messages, std::vector<std::string>{kHelpError});
    QCOMPARE(Opened(), QDir(work.path()).absoluteFilePath("Help_CSV.chm"));
  }

  void openerThatOpensIt() {
    WriteFile(work.filePath("Help_CSV.chm"), "ITSF");
    FakeOpener(0);
    OpenHelp();
    QTRY_COMPARE(Opened(), QDir(work.path()).absoluteFilePath("Help_CSV.chm"));
    // The opener's end comes through the event loop; it brings no message.
    QTest::qWait(200);
    QVERIFY(windows->messages.empty());
  }

  // The opener may end while another command runs (here while the open
  // dialog of a load is up): its message waits for the end of that command,
  // after the command's own messages.
  void lateFailureWaitsForTheRunningCommand() {
    WriteFile(work.filePath("Help_CSV.chm"), "ITSF");
    FakeOpener(3);
    OpenHelp();
    bool quietWhileDialogUp = false;
    windows->whileDialogShown = [this, &quietWhileDialogUp] {
      QTest::qWait(500);  // the opener ends while the dialog is up
      quietWhileDialogUp = windows->messages.empty() && !Opened().isEmpty();
    };
    windows->fileAnswers.push_back(
        kartex::testing::WriteLog(work, "bad.csv", {"CALL,BAND", "SP1AA,20M"}));
    form->findChild<QPushButton*>("Load_CSV")->click();
    QVERIFY(quietWhileDialogUp);
    QCOMPARE(windows->messages,
             std::vector<std::string>({"Wybrany format pliku jet nieprawidłowy !", kHelpError}));
    QCOMPARE(windows->busyAtBox.back(), false);  // after the command, with the normal cursor
  }

  void noOpenerAtAll() {
    WriteFile(work.filePath("Help_CSV.chm"), "ITSF");
    OpenHelp();
    QTRY_COMPARE(windows->messages, std::vector<std::string>{kHelpError});
  }

  void noHelpFileAsksNoOpener() {
    FakeOpener(0);
    if (!kartex::FindHelpFile(kartex::HelpFileFolders()).isEmpty())
      QSKIP("an installed Help_CSV.chm is present");
    OpenHelp();
    QCOMPARE(windows->messages, std::vector<std::string>{kHelpError});
    QTest::qWait(100);
    QVERIFY(Opened().isEmpty());
  }
};

QTEST_MAIN(HelpOpenerTest)
#include "help_opener_test.moc"
