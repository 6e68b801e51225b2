// "Drukuj…" of the labels dialog on Windows opens the system's print
// dialog, a native window; Cancel there prints nothing and offers nothing.
// Without any printer the operator is told so instead.
// KARTEX_PRINT_DIALOG_PICTURE=FILE keeps a picture of the screen while the
// dialog is up.

#include <QGuiApplication>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <windows.h>

#include <string>

#include "app/labels_dialog.h"
#include "app/unit1.h"
#include "app_test_support.h"

using kartex::testing::ScriptedWindows;
using kartex::testing::WriteLog;

namespace {

// The visible dialog window (class #32770) of this process, or none.
HWND ShownDialog() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
            wcscmp(name, L"#32770") != 0)
          return TRUE;
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Once a dialog is up: its title, a picture if asked, then Cancel.
void CancelWhenShown(QString* title) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, title] {
    const HWND dialog = ShownDialog();
    if (!dialog) return;
    poll->stop();
    poll->deleteLater();
    wchar_t text[256] = {};
    GetWindowTextW(dialog, text, 256);
    *title = QString::fromWCharArray(text);
    const QString picture = qEnvironmentVariable("KARTEX_PRINT_DIALOG_PICTURE");
    if (!picture.isEmpty()) QGuiApplication::primaryScreen()->grabWindow(0).save(picture);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  poll->start(200);
}

}  // namespace

class PrintDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void printOpensTheSystemsDialog() {
    QTemporaryDir folder;
    ScriptedWindows windows;
    kartex::TForm1 form(windows, kartex::RegionalSettings{});
    form.show();
    windows.fileAnswers.push_back(WriteLog(
        folder, "log.csv",
        {"QSO_DATE,TIME_ON,BAND,MODE,CALL,DXCC,RST_SENT", "20240101,1200,20M,CW,SP1AA,269,599"}));
    form.findChild<QPushButton*>("Load_CSV")->click();
    kartex::LabelsDialog dialog(form.session(), windows,
                                kartex::SheetCatalog{{kartex::QslCardSheet()}}, &form);
    int offered = 0;
    dialog.SetSentCardsCommand([&offered] { ++offered; });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QString title = "(none)";
    CancelWhenShown(&title);
    dialog.findChild<QPushButton*>("Print")->click();
    qInfo("the print dialog: %s", qPrintable(title));
    if (QPrinterInfo::availablePrinters().isEmpty()) {
      // Windows shows no print dialog without a printer: the operator is
      // told instead (Wine has printers only through a running CUPS).
      QCOMPARE(title, QString("(none)"));
      QCOMPARE(windows.messages.size(), size_t(1));
      QVERIFY(windows.messages[0].starts_with("Nie znaleziono żadnej drukarki."));
    } else {
      QVERIFY(title != "(none)");
      QVERIFY(windows.messages.empty());
    }
    QCOMPARE(offered, 0);
    QVERIFY(windows.errors.empty());
  }
};

QTEST_MAIN(PrintDialogTest)
#include "print_dialog_test.moc"
