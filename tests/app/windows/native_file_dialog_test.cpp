// The file dialogs on Windows are the system's own: answered here as an
// operator answers them, through the dialog's name box and its buttons. Each
// starts in the current folder, offers the default name as it is spelt and
// returns the chosen file with Windows' separators; Cancel returns nothing;
// the current folder stays.

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <windows.h>

#include <optional>
#include <string>

#include "app/qt_window_system.h"

namespace {

// The system's dialog of this process, once it is on the screen.
HWND ShownDialog() {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
            wcscmp(name, L"#32770") != 0)
          return TRUE;
        reinterpret_cast<Search*>(param)->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The dialog's name box: the edit field of its file name combo box (1148)
// where the dialog has one, else its first visible edit field.
HWND NameBox(HWND dialog) {
  struct Search {
    HWND inCombo = nullptr;
    HWND first = nullptr;
  } search;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM param) -> BOOL {
        auto* found = reinterpret_cast<Search*>(param);
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (wcscmp(name, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
        if (!found->first) found->first = child;
        for (HWND up = GetParent(child); up && up != GetParent(up); up = GetParent(up)) {
          if (GetDlgCtrlID(up) == 1148) found->inCombo = child;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.inCombo ? search.inCombo : search.first;
}

QString Text(HWND window) {
  wchar_t text[MAX_PATH] = {};
  GetWindowTextW(window, text, MAX_PATH);
  return QString::fromWCharArray(text);
}

// Once the dialog is up: notes the name it offers, types name (unless
// empty) and presses the button (IDOK or IDCANCEL).
void WhenDialogShown(QString* offered, const QString& name, int button) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, offered, name, button] {
    const HWND dialog = ShownDialog();
    const HWND box = dialog ? NameBox(dialog) : nullptr;
    if (!box) return;
    poll->stop();
    poll->deleteLater();
    *offered = Text(box);
    if (!name.isEmpty()) SetWindowTextW(box, reinterpret_cast<const wchar_t*>(name.utf16()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  });
  poll->start(100);
}

}  // namespace

class NativeFileDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir work;  // the current folder
  QString previousFolder;
  QWidget window;
  kartex::QtWindowSystem windows;

  QString InWork(const QString& name) const {
    return QDir::toNativeSeparators(QDir(work.path()).filePath(name));
  }

 private slots:
  void initTestCase() {
    QVERIFY(work.isValid());
    previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    window.show();
    windows.SetMainWindow(&window, {});
  }

  void cleanupTestCase() { QDir::setCurrent(previousFolder); }

  void openDialogReturnsTheChosenFile() {
    QFile(work.filePath("LOG_DEMO.csv")).open(QIODevice::WriteOnly);
    QString offered = "?";
    WhenDialogShown(&offered, "LOG_DEMO.csv", IDOK);
    const std::optional<std::string> chosen = windows.OpenFileDialog({"OD", "", "CSV|*.csv"});
    QCOMPARE(offered, QString());
    QVERIFY(chosen);
    QCOMPARE(QString::fromStdString(*chosen), InWork("LOG_DEMO.csv"));
    QCOMPARE(QDir::currentPath(), work.path());
  }

  // The default names stay as they are spelt, whatever case the filter's
  // patterns have.
  void saveDialogKeepsTheDefaultName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::newRow("SD2") << "QSL_VIA.TXT"
                         << "TXT|*.txt";
    QTest::newRow("SD1") << "COUNTRY.CSV"
                         << "CSV|*.csv";
  }

  void saveDialogKeepsTheDefaultName() {
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QString offered;
    WhenDialogShown(&offered, {}, IDOK);
    const std::optional<std::string> chosen =
        windows.SaveFileDialog({"SD", name.toStdString(), filter.toStdString()});
    QCOMPARE(offered, name);
    QVERIFY(chosen);
    QCOMPARE(QString::fromStdString(*chosen), InWork(name));
  }

  void cancelReturnsNothing() {
    QString offered;
    WhenDialogShown(&offered, "LOG_DEMO.csv", IDCANCEL);
    QCOMPARE(windows.OpenFileDialog({"OD", "", "CSV|*.csv"}), std::nullopt);
    QCOMPARE(QDir::currentPath(), work.path());
  }
};

QTEST_MAIN(NativeFileDialogTest)
#include "native_file_dialog_test.moc"
