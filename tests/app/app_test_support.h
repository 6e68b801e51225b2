#pragma once
// Helpers of the window tests: a window system that answers dialogs and
// questions from queues and records every box, logs written as files, and
// the texts of a model row.

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/qt_settings_keeper.h"
#include "app/qt_window_system.h"
#include "app/unit1.h"
#include "table/regional_settings.h"

namespace kartex::testing {

// The real Qt window system (cursor, control updates, the main window) with
// the modal parts answered by the test.
class ScriptedWindows : public QtWindowSystem {
 public:
  std::deque<std::optional<std::string>> fileAnswers;  // nullopt: Cancel
  std::deque<bool> confirmAnswers;                     // empty: OK
  std::vector<FileDialogSpec> dialogs;
  std::vector<std::string> messages;
  std::vector<std::string> errors;
  std::vector<std::string> questions;  // "caption: text"
  // Whether the hourglass was showing when a box came up.
  std::vector<bool> busyAtBox;
  // Runs while a file dialog is "shown", as the event loop of a real one runs.
  std::function<void()> whileDialogShown;

  std::optional<std::string> OpenFileDialog(const FileDialogSpec& spec) override {
    return Answer(spec);
  }
  std::optional<std::string> SaveFileDialog(const FileDialogSpec& spec) override {
    return Answer(spec);
  }
  void ShowMessage(const std::string& text) override {
    busyAtBox.push_back(Busy());
    messages.push_back(text);
  }
  void ShowError(const std::string& text) override {
    busyAtBox.push_back(Busy());
    errors.push_back(text);
  }
  bool Confirm(const std::string& text, const std::string& caption) override {
    questions.push_back(caption + ": " + text);
    if (confirmAnswers.empty()) return true;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }

 private:
  std::optional<std::string> Answer(const FileDialogSpec& spec) {
    dialogs.push_back(spec);
    if (whileDialogShown) whileDialogShown();
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
};

// Whether the platform shows file dialogs of its own (Windows does): Qt's
// dialog then makes none of its widgets, and what the operator types into
// is the system's.
inline bool NativeFileDialogs() {
  const QtSettingsKeeper keepSettings;  // the probe stores its state as it goes
  QFileDialog probe;
  return probe.findChild<QLineEdit*>("fileNameEdit") == nullptr;
}

// Writes lines (CR LF after each) as bytes into the folder; returns the path.
inline std::string WriteLog(const QTemporaryDir& dir, const QString& name,
                            const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  const QString path = dir.filePath(name);
  FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  return path.toStdString();
}

// Writes bytes as the file at path, executable by its owner if asked.
inline void WriteFile(const QString& path, const QByteArray& bytes, bool executable = false) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  file.close();
  if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

// The window as the widget tests drive it: TForm1 over ScriptedWindows, made
// afresh for each test (OpenWindow in init, CloseWindow in cleanup), and a
// folder for the logs it opens.
class WindowFixture {
 protected:
  std::unique_ptr<ScriptedWindows> windows;
  std::unique_ptr<TForm1> form;
  QTemporaryDir dir;

  // Makes and shows the window; false when it did not come up (exposed, or
  // the active window when asked).
  [[nodiscard]] bool OpenWindow(bool active = false) {
    if (!dir.isValid()) return false;
    windows = std::make_unique<ScriptedWindows>();
    form = std::make_unique<TForm1>(*windows, RegionalSettings{});
    form->show();
    if (!active) return QTest::qWaitForWindowExposed(form.get());
    QApplication::setActiveWindow(form.get());
    return QTest::qWaitForWindowActive(form.get());
  }

  void CloseWindow() {
    form.reset();
    windows.reset();
    if (work) {
      QDir::setCurrent(previousFolder);
      work.reset();
    }
  }

  // Makes a fresh folder the current one, with the demonstration's CTY.DAT
  // and ADIF_DXC.TXT, where the commands that read them look (until
  // CloseWindow). False when that could not be done.
  [[nodiscard]] bool WorkInFolderWithReferenceFiles() {
    work = std::make_unique<QTemporaryDir>();
    if (!work->isValid()) return false;
    for (const char* reference : {"CTY.DAT", "ADIF_DXC.TXT"}) {
      if (!QFile::copy(QString(KARTEX_DEMO_DIR "/") + reference, work->filePath(reference)))
        return false;
    }
    previousFolder = QDir::currentPath();
    return QDir::setCurrent(work->path());
  }
  std::unique_ptr<QTemporaryDir> work;  // the current folder, when one is made
  QString previousFolder;

  template <typename T>
  T* Find(const QString& name) const {
    T* widget = form->findChild<T*>(name);
    if (!widget) qWarning("no control named %s", qPrintable(name));
    return widget;
  }

  // Writes the lines as a log in the folder and opens it with "Otwórz plik
  // CSV", the file dialog answered with its name.
  void Load(const std::vector<std::string>& lines, const QString& name = "log.csv") {
    windows->fileAnswers.push_back(WriteLog(dir, name, lines));
    Find<QPushButton>("Load_CSV")->click();
  }

  const LogTable& Table() const { return form->session().Table(); }
};

// The texts of one model row, joined by "|", up to the given column count.
inline QString RowString(const QAbstractItemModel& model, int row, int columns) {
  QStringList cells;
  for (int col = 0; col < columns; ++col) cells.append(model.index(row, col).data().toString());
  return cells.join('|');
}

// The texts of one model column over all rows, joined by "|".
inline QString ColumnString(const QAbstractItemModel& model, int col) {
  QStringList cells;
  for (int row = 0; row < model.rowCount(); ++row)
    cells.append(model.index(row, col).data().toString());
  return cells.join('|');
}

}  // namespace kartex::testing
