// What the Windows build links into the program: Qt's windows platform and
// the Windows style (static plugins), and Qt's Polish texts built in, with
// no Qt folder on the machine to read them from.

#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QTest>

#include "app/qt_translation.h"

class WindowsProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void windowsPlatform() { QCOMPARE(QGuiApplication::platformName(), QString("windows")); }

  void windowsStyle() { QCOMPARE(QApplication::style()->name(), QString("windowsvista")); }

  void polishTextsBuiltIn() {
    QVERIFY(QFile::exists(":/kartex/translations/qtbase_pl.qm"));
    QVERIFY(kartex::InstallQtPolishTranslation(*qApp));
  }
};

QTEST_MAIN(WindowsProgramTest)
#include "windows_program_test.moc"
