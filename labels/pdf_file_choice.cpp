#include "pdf_file_choice.h"

#include "commands/output_name.h"

namespace kartex {

std::optional<std::string> AskLabelPdfFile(WindowSystem& windows) {
  std::optional<std::string> chosen =
      windows.SaveFileDialog({kLabelPdfDialogName, "naklejki.pdf", "PDF (*.pdf)|*.pdf"});
  if (!chosen || !FileNameExtension(*chosen).empty()) return chosen;
  const std::string fileName = *chosen + ".pdf";
  if (!MayWriteAppendedName(windows, fileName, true)) return std::nullopt;
  return fileName;
}

}  // namespace kartex
