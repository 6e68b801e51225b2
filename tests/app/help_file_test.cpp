// Where "Otwórz plik pomocy" finds Help_CSV.chm: in the current folder first,
// then in the copy installed with the program; with neither it says so at
// once.

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <memory>

#include "app/help_file.h"
#include "app/unit1.h"
#include "app_test_support.h"

using kartex::testing::ScriptedWindows;
using kartex::testing::WriteFile;

class HelpFileTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir work;  // the current folder
  QString previousFolder;

 private slots:
  void init() {
    QVERIFY(work.isValid());
    QFile::remove(work.filePath("Help_CSV.chm"));
    previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
  }

  void cleanup() { QDir::setCurrent(previousFolder); }

  void lookupOrder() {
    // The current folder first, then the installed copy.
    const QStringList folders = kartex::HelpFileFolders();
    QCOMPARE(folders.size(), 2);
    QCOMPARE(folders[0], QDir::currentPath());
    QVERIFY(QDir::isAbsolutePath(folders[1]));
    QTemporaryDir installed;
    WriteFile(installed.filePath("Help_CSV.chm"), "ITSF");
    const QStringList both = {work.path(), installed.path()};
    QCOMPARE(kartex::FindHelpFile(both), QDir(installed.path()).absoluteFilePath("Help_CSV.chm"));
    WriteFile(work.filePath("Help_CSV.chm"), "ITSF");
    QCOMPARE(kartex::FindHelpFile(both), QDir(work.path()).absoluteFilePath("Help_CSV.chm"));
    // A folder of that name is no help file.
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkdir("Help_CSV.chm"));
    QCOMPARE(kartex::FindHelpFile({other.path()}), QString());
  }

  void noHelpFileIsSaidAtOnce() {
    if (!kartex::FindHelpFile(kartex::HelpFileFolders()).isEmpty())
      QSKIP("an installed Help_CSV.chm is present");
    ScriptedWindows windows;
    kartex::TForm1 form(windows, kartex::RegionalSettings{});
    form.show();
    form.findChild<QAction*>("Otworzplikpomocy1")->trigger();
    QCOMPARE(windows.messages, std::vector<std::string>{"Błąd otwarcia pliku Help_CSV.chm"});
  }
};

QTEST_MAIN(HelpFileTest)
#include "help_file_test.moc"
