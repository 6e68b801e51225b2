#include "pdf_file_choice.h"

#include "commands/output_file.h"

namespace kartex {

std::optional<std::string> AskLabelPdfFile(WindowSystem& windows) {
  std::optional<std::string> chosen =
      windows.SaveFileDialog({kLabelPdfDialogName, "naklejki.pdf", "PDF (*.pdf)|*.pdf"});
  if (!chosen || !FileNameExtension(*chosen).empty()) return chosen;
  const std::string fileName = *chosen + ".pdf";
  if (FileExists(fileName) &&
      !windows.Confirm("Plik " + fileName + " już istnieje. Zastąpić ?", "Confirm"))
    return std::nullopt;
  return fileName;
}

}  // namespace kartex
