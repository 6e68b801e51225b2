#pragma once
// Windows only: the shell's "open" verb, which starts the program registered
// for a document's type. Its POSIX counterpart is the desktop's opener,
// xdg-open, which the window runs itself (app/open_document_posix.cpp).

#include <cstdint>
#include <string>

namespace kartex::platform {

// Asks the shell to open the document at path (UTF-8), shown normally, with
// ownerWindow (an HWND, or 0) as the owner of what it shows. The shell
// answers at once; false when it could not (no such file, no program for
// the type, no memory).
bool ShellOpenDocument(const std::string& path, std::uintptr_t ownerWindow);

}  // namespace kartex::platform
