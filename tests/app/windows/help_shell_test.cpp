// "Otwórz plik pomocy" on Windows: the shell opens the document with the
// program registered for its type, and a refusal (a value of 32 or less from
// ShellExecuteW) is reported. A command script stands in for the help viewer:
// the shell runs it, and it leaves a note of its start.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

#include "app/help_file.h"
#include "app/open_document.h"
#include "app_test_support.h"

using kartex::testing::WriteFile;

class HelpShellTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir work;
  QWidget window;

  // Whether the shell refused the document at path.
  bool Refused(const QString& path) {
    bool refused = false;
    kartex::OpenDocument(path, &window, [&refused] { refused = true; });
    return refused;
  }

 private slots:
  void initTestCase() {
    QVERIFY(work.isValid());
    window.show();
  }

  // The installed copy lies beside KARTEX.exe.
  void installedCopyBesideTheProgram() {
    QCOMPARE(kartex::HelpFileFolders().value(1),
             QDir::cleanPath(QCoreApplication::applicationDirPath()));
  }

  void shellOpensTheDocument() {
    const QString note = QDir::toNativeSeparators(work.filePath("opened.txt"));
    const QString script = work.filePath("viewer.cmd");
    WriteFile(script, ("@echo opened> \"" + note + "\"\r\n").toLocal8Bit());
    QVERIFY(!Refused(script));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(note), 20000);
  }

  void missingDocumentIsRefused() { QVERIFY(Refused(work.filePath("Help_CSV.chm"))); }

  void documentOfNoKnownTypeIsRefused() {
    const QString document = work.filePath("Help_CSV.kartex-no-such-type");
    WriteFile(document, "ITSF");
    QVERIFY(Refused(document));
  }
};

QTEST_MAIN(HelpShellTest)
#include "help_shell_test.moc"
