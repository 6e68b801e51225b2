#include "country/reference_loading.h"

#include "country/reference_files.h"
#include "platform/system.h"

// The installed data folder; a relative one is taken from the executable's
// folder. Set by country/CMakeLists.txt.
#ifndef KARTEX_INSTALLED_DATA_DIR
#define KARTEX_INSTALLED_DATA_DIR "."
#endif

namespace kartex {

namespace {

std::string InFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

bool IsAbsolute(const std::string& path) {
  if (path.starts_with("/") || path.starts_with("\\")) return true;
  return path.size() >= 2 && path[1] == ':';  // a drive letter
}

// Opens the first file of that name in the folders; its path, or "" when none.
std::string OpenFirst(TextFile& file, const std::vector<std::string>& folders,
                      const std::string& name) {
  for (const std::string& folder : folders) {
    const std::string path = InFolder(folder, name);
    if (file.Open(path)) return path;
  }
  return {};
}

}  // namespace

std::vector<std::string> ReferenceFolders() {
  std::string installed = KARTEX_INSTALLED_DATA_DIR;
  if (!IsAbsolute(installed)) {
    const std::string program = platform::ExecutableFolder();
    if (program.empty()) return {""};
    installed = InFolder(program, installed);
  }
  return {"", installed};
}

ReferenceLoad LoadCallResolver(const std::vector<std::string>& folders) {
  ReferenceLoad load;
  TextFile cty;
  TextFile adif;
  load.ctyPath = OpenFirst(cty, folders, kCtyDatName);
  load.adifPath = OpenFirst(adif, folders, kAdifDxcName);
  if (load.ctyPath.empty()) load.messages.push_back("Brak obecnosci zbioru CTY.DAT");
  if (load.adifPath.empty()) load.messages.push_back("Brak obecnosci zbioru ADIF_DXC.TXT");
  if (!load.messages.empty()) {
    load.messages.push_back("Brak zbiorow wejscia");
    return load;
  }

  CtyDatabase database = ReadCtyDatabase(cty);
  std::vector<AdifEntry> entries;
  ReadAdifDxc(adif, entries);
  load.skippedLines = database.SkippedLines();
  load.resolver.emplace(std::move(database), entries);
  return load;
}

}  // namespace kartex
