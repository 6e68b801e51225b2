#pragma once
// The file a PDF of labels goes to, as the save dialog gives it: ".pdf" put
// after a name without an extension, and the operator asked before a file
// of that new name is replaced (the dialog asked only about the name typed).

#include <optional>
#include <string>

#include "commands/window_system.h"

namespace kartex {

inline constexpr const char* kLabelPdfDialogName = "SaveLabelsPDF";

std::optional<std::string> AskLabelPdfFile(WindowSystem& windows);

}  // namespace kartex
