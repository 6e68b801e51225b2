#pragma once
// Opening a document with the application the desktop keeps for its type,
// as the shell's "open" verb does. One small file per system implements it,
// chosen in app/CMakeLists.txt: open_document_posix.cpp runs the desktop's
// opener, xdg-open; open_document_windows.cpp asks the shell (ShellExecuteW
// with the verb "open").

#include <QString>

#include <functional>

class QWidget;

namespace kartex {

// Asks the desktop to open the document at path, shown normally, with parent
// as the owner of whatever the desktop shows. When the desktop cannot open
// it, failed is called: at once, or later from the event loop once the
// opener has said so, never after parent is gone.
void OpenDocument(const QString& path, QWidget* parent, std::function<void()> failed);

}  // namespace kartex
