#include "app/qt_window_system.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

#include "app/list_dialog.h"
#include "app/qt_settings_keeper.h"

namespace kartex {
namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// While a box or dialog is up the operator sees the normal cursor. When it
// goes, the hourglass comes back if it was showing, the main window is the
// active window again and the control that had the focus has it again: a
// dialog of the system's own may leave the window inactive, its keys dead
// until it is clicked.
class ModalPause {
 public:
  ModalPause(bool busy, QWidget* window)
      : busy_(busy), window_(window), focus_(QApplication::focusWidget()) {
    if (busy_) QApplication::restoreOverrideCursor();
  }
  ~ModalPause() {
    if (window_ && window_->isVisible()) {
      window_->activateWindow();
      if (focus_ && focus_->window() == window_) focus_->setFocus(Qt::ActiveWindowFocusReason);
    }
    if (busy_) QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ModalPause(const ModalPause&) = delete;
  ModalPause& operator=(const ModalPause&) = delete;

 private:
  bool busy_;
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;
};

void ConfigureDialog(QFileDialog& dialog, const FileDialogSpec& spec, bool save,
                     const QString& folder) {
  dialog.setObjectName(Utf8(spec.name));
  dialog.setSizeGripEnabled(true);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // A save dialog asks before it overwrites (Qt's default, kept explicit).
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setOption(QFileDialog::ReadOnly, false);
  // Qt's Polish texts name the save button "Zachowaj"; a Polish desktop
  // says "Zapisz", as the window's own buttons do.
  if (save) dialog.setLabelText(QFileDialog::Accept, "Zapisz");
  dialog.setNameFilter(QtFileFilter(spec.filter, spec.defaultName));
  dialog.setDirectory(folder);
  if (!spec.defaultName.empty()) dialog.selectFile(Utf8(spec.defaultName));
}

// Qt's own dialog (where the desktop offers none) shows its default name
// selected, so that a typed name replaces it instead of joining it.
class SelectNameOnShow : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* name = watched->findChild<QLineEdit*>("fileNameEdit")) {
        name->setFocus();
        name->selectAll();
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

QtWindowSystem::~QtWindowSystem() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void QtWindowSystem::SetMainWindow(QWidget* window, std::function<void()> controlsChanged) {
  window_ = window;
  controlsChanged_ = std::move(controlsChanged);
}

// Every dialog is made for its call and ends with it: it opens with an empty
// name field or its default name, and nothing of it (its completion list
// above all) stays on the screen to take the next click. It keeps only the
// folder the operator last chose in it; the first time it starts where the
// program runs. The choice never changes the current directory of the
// process. The desktop's own dialog is used where it has one.
std::optional<std::string> QtWindowSystem::RunFileDialog(const FileDialogSpec& spec, bool save) {
  const QString name = Utf8(spec.name);
  // Goes after the dialog, which stores its state in Qt's settings as it goes.
  const QtSettingsKeeper keepSettings;
  QFileDialog dialog(window_);
  ConfigureDialog(dialog, spec, save, lastFolders_.value(name, QDir::currentPath()));
  SelectNameOnShow selectName;
  dialog.installEventFilter(&selectName);
  ModalPause pause(busy_, window_);
  const int result = dialog.exec();
  // The command goes on working without the event loop: the window is painted
  // where the dialog stood now, not at the command's end.
  ProcessPendingEvents();
  lastFolders_.insert(name, dialog.directory().absolutePath());
  if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

std::optional<std::string> QtWindowSystem::OpenFileDialog(const FileDialogSpec& spec) {
  return RunFileDialog(spec, false);
}

std::optional<std::string> QtWindowSystem::SaveFileDialog(const FileDialogSpec& spec) {
  return RunFileDialog(spec, true);
}

void QtWindowSystem::ShowMessage(const std::string& text) {
  ModalPause pause(busy_, window_);
  QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, Utf8(text), QMessageBox::Ok, window_);
  box.exec();
}

void QtWindowSystem::ShowError(const std::string& text) {
  ModalPause pause(busy_, window_);
  QMessageBox box(QMessageBox::Critical, kApplicationTitle, Utf8(text), QMessageBox::Ok, window_);
  box.exec();
}

bool QtWindowSystem::Confirm(const std::string& text, const std::string& caption) {
  ModalPause pause(busy_, window_);
  QMessageBox box(QMessageBox::Question, Utf8(caption), Utf8(text),
                  QMessageBox::Ok | QMessageBox::Cancel, window_);
  box.button(QMessageBox::Ok)->setText("OK");
  box.button(QMessageBox::Cancel)->setText("Cancel");
  // Esc and the box's close button answer Cancel.
  box.setEscapeButton(QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Ok);
  const bool ok = box.exec() == QMessageBox::Ok;
  ProcessPendingEvents();  // as after a file dialog
  return ok;
}

void QtWindowSystem::ShowBusyCursor() {
  if (busy_) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  busy_ = true;
}

void QtWindowSystem::ShowNormalCursor() {
  if (!busy_) return;
  QApplication::restoreOverrideCursor();
  busy_ = false;
}

// The window repaints after a dialog closed; input waiting meanwhile stays
// queued until the command ends, so no second command starts inside this one.
void QtWindowSystem::ProcessPendingEvents() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtWindowSystem::ShowList(const ListDialog& list) {
  ModalPause pause(busy_, window_);
  ListDialogWindow dialog(list, window_, goToCell_,
                          [this](const std::string& error) { ShowError(error); });
  dialog.exec();
  ProcessPendingEvents();
}

void QtWindowSystem::ControlsChanged() {
  if (controlsChanged_) controlsChanged_();
}

QString QtFileFilter(const std::string& filter, const std::string& defaultName) {
  const QString name = Utf8(defaultName);
  const qsizetype dot = name.lastIndexOf('.');
  const QString namePattern = dot < 0 ? QString() : "*" + name.mid(dot);
  const QStringList parts = Utf8(filter).split('|');
  QStringList filters;
  static const QRegularExpression trailingPatterns(R"(\s*\([^()]*\)\s*$)");
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    description.remove(trailingPatterns);
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      for (const QString& variant :
           {pattern.trimmed(), pattern.trimmed().toLower(), pattern.trimmed().toUpper()}) {
        if (!patterns.contains(variant)) patterns.append(variant);
      }
    }
    if (const qsizetype own = patterns.indexOf(namePattern); own > 0) patterns.move(own, 0);
    filters.append(description.trimmed() + " (" + patterns.join(' ') + ")");
  }
  if (filters.isEmpty()) return {};
  return filters.join(";;");
}

}  // namespace kartex
