#include "output_name.h"

#include "output_file.h"
#include "table/ascii_case.h"

namespace kartex {

std::string FileNameExtension(const std::string& path) {
  // A folder ends at the last "/" and, on Windows, at the last "\".
  size_t nameStart = path.find_last_of("/\\");
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return {};
  return path.substr(dot);
}

std::string CsvOutputName(const std::string& chosen, CsvExtensionRule rule, bool* appended) {
  std::string extension = FileNameExtension(chosen);
  if (rule == CsvExtensionRule::AnyCase) MakeAsciiUpper(extension);
  *appended = extension != ".csv" && extension != ".CSV";
  return *appended ? chosen + ".CSV" : chosen;
}

bool MayWriteAppendedName(WindowSystem& windows, const std::string& fileName, bool appended) {
  if (!appended || !FileExists(fileName)) return true;
  return windows.Confirm("Plik " + fileName + " już istnieje. Zastąpić ?", "Confirm");
}

}  // namespace kartex
