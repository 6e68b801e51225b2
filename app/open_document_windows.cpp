#include <QDir>
#include <QWidget>

#include "app/open_document.h"
#include "platform/windows/shell_open.h"

namespace kartex {

// The shell opens the document with the program registered for its type
// (hh.exe for a .chm) and answers at once.
void OpenDocument(const QString& path, QWidget* parent, std::function<void()> failed) {
  const std::uintptr_t owner = parent ? static_cast<std::uintptr_t>(parent->window()->winId()) : 0;
  if (!platform::ShellOpenDocument(QDir::toNativeSeparators(path).toStdString(), owner)) failed();
}

}  // namespace kartex
