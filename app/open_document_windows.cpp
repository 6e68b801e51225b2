#include "app/open_document.h"

#include <QDir>
#include <QWidget>

#include <windows.h>

// After windows.h, which it needs.
#include <shellapi.h>

namespace kartex {

// The shell opens the document with the program registered for its type
// (hh.exe for a .chm) and answers at once: a value above 32 when it could,
// an error code of 32 or less when it could not (no such file, no program
// for the type, no memory).
void OpenDocument(const QString& path, QWidget* parent, std::function<void()> failed) {
  const QString native = QDir::toNativeSeparators(path);
  HWND owner = parent ? reinterpret_cast<HWND>(parent->window()->winId()) : nullptr;
  const HINSTANCE result =
      ShellExecuteW(owner, L"open", reinterpret_cast<const wchar_t*>(native.utf16()), nullptr,
                    nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) failed();
}

}  // namespace kartex
