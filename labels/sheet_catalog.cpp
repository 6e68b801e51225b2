#include "sheet_catalog.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <tuple>

#include "platform/files.h"
#include "table/ascii_case.h"
#include "template_file.h"

namespace kartex {
namespace {

constexpr size_t kLargestTemplateFile = size_t{16} << 20;
constexpr int kLongestEquivalentChain = 8;
constexpr int kMostLabelsPerSheet = 5000;

// Upper case, blanks folded into one and trimmed: how sheet names compare.
std::string NameKey(std::string_view name) {
  std::string key;
  for (char c : name) {
    const bool blank = c == ' ' || c == '\t';
    if (blank) {
      if (!key.empty() && key.back() != ' ') key += ' ';
    } else {
      key += AsciiUpper(c);
    }
  }
  if (!key.empty() && key.back() == ' ') key.pop_back();
  return key;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  platform::InputFile file;
  if (!file.Open(path)) return std::nullopt;
  const std::optional<uint64_t> size = file.Size();
  if (!size || *size > kLargestTemplateFile) return std::nullopt;
  std::string text(static_cast<size_t>(*size), '\0');
  size_t done = 0;
  while (done < text.size()) {
    const std::optional<size_t> read = file.ReadAt(done, text.data() + done, text.size() - done);
    if (!read) return std::nullopt;
    if (*read == 0) break;
    done += *read;
  }
  text.resize(done);
  return text;
}

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

// The template files of a folder (the names gLabels reads), in name order;
// nullopt when the folder cannot be listed.
std::optional<std::vector<std::string>> TemplateFileNames(const std::string& folder) {
  std::error_code error;
  std::filesystem::directory_iterator entries(PathOf(folder), error);
  if (error) return std::nullopt;
  std::vector<std::string> names;
  for (const std::filesystem::directory_entry& entry : entries) {
    const std::string name = Utf8Of(entry.path().filename());
    if (name.ends_with("-templates.xml") && entry.is_regular_file(error)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Makes sheets of the templates: each one's paper and, for an equivalent,
// the labels of the template it names (of the same brand).
class SheetBuilder {
 public:
  SheetBuilder(const std::vector<PaperSize>& papers, const std::vector<TemplateEntry>& templates)
      : templates_(templates) {
    for (const PaperSize& paper : papers) papers_.emplace(paper.id, paper);
    for (size_t i = 0; i < templates.size(); ++i)
      byName_.emplace(std::make_pair(templates[i].brand, templates[i].part), i);
  }

  std::optional<LabelSheet> Build(const TemplateEntry& entry) const {
    const TemplateEntry* labels = LabelsOf(entry);
    if (labels == nullptr || labels->shape != "Label-rectangle" || labels->layouts.empty())
      return std::nullopt;
    LabelSheet sheet;
    sheet.brand = entry.brand;
    sheet.part = entry.part;
    sheet.description = !entry.description.empty() ? entry.description : labels->description;
    if (!PaperOf(*labels, sheet)) return std::nullopt;
    sheet.labelWidth = labels->labelWidth;
    sheet.labelHeight = labels->labelHeight;
    sheet.cornerRadius = labels->cornerRadius;
    sheet.layouts = labels->layouts;
    const int count = sheet.LabelsPerSheet();
    if (count < 1 || count > kMostLabelsPerSheet) return std::nullopt;
    return sheet;
  }

 private:
  // The template that describes the labels: entry itself, or the end of its
  // chain of equivalents.
  const TemplateEntry* LabelsOf(const TemplateEntry& entry) const {
    const TemplateEntry* current = &entry;
    for (int step = 0; step < kLongestEquivalentChain; ++step) {
      if (current->equiv.empty()) return current;
      const auto found = byName_.find({current->brand, current->equiv});
      if (found == byName_.end()) return nullptr;
      current = &templates_[found->second];
    }
    return nullptr;  // a loop of equivalents
  }

  bool PaperOf(const TemplateEntry& labels, LabelSheet& sheet) const {
    if (labels.paperId.empty() || labels.paperId == "Other") {
      sheet.pageWidth = labels.pageWidth;
      sheet.pageHeight = labels.pageHeight;
    } else {
      const auto paper = papers_.find(labels.paperId);
      if (paper == papers_.end()) return false;
      sheet.paperName = paper->second.name;
      sheet.pageWidth = paper->second.width;
      sheet.pageHeight = paper->second.height;
    }
    return sheet.pageWidth > 0 && sheet.pageHeight > 0;
  }

  const std::vector<TemplateEntry>& templates_;
  std::map<std::string, PaperSize> papers_;
  std::map<std::pair<std::string, std::string>, size_t> byName_;  // the first of each name
};

}  // namespace

SheetCatalog ReadSheetCatalog(const std::string& folder) {
  SheetCatalog catalog;
  catalog.folder = folder;
  catalog.sheets.push_back(QslCardSheet());
  const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  const std::optional<std::string> paperText = ReadWholeFile(base + "paper-sizes.xml");
  const std::optional<std::vector<PaperSize>> papers =
      paperText ? ReadPaperSizes(*paperText) : std::nullopt;
  const std::optional<std::vector<std::string>> names = TemplateFileNames(folder);
  if (!papers || !names) return catalog;
  catalog.folderRead = true;

  std::vector<TemplateEntry> templates;
  for (const std::string& name : *names) {
    const std::optional<std::string> text = ReadWholeFile(base + name);
    TemplateFile file = text ? ReadTemplateFile(*text) : TemplateFile{{}, 0, "unreadable"};
    if (!file.error.empty()) catalog.brokenFiles.push_back(name);
    for (TemplateEntry& entry : file.templates) templates.push_back(std::move(entry));
  }

  const SheetBuilder builder(*papers, templates);
  std::vector<LabelSheet> sheets;
  std::map<std::string, bool> seen;
  for (const TemplateEntry& entry : templates) {
    std::optional<LabelSheet> sheet = builder.Build(entry);
    if (sheet && seen.emplace(NameKey(sheet->Name()), true).second)
      sheets.push_back(std::move(*sheet));
  }
  std::sort(sheets.begin(), sheets.end(), [](const LabelSheet& a, const LabelSheet& b) {
    return std::forward_as_tuple(NameKey(a.brand), NameKey(a.part)) <
           std::forward_as_tuple(NameKey(b.brand), NameKey(b.part));
  });
  for (LabelSheet& sheet : sheets) catalog.sheets.push_back(std::move(sheet));
  return catalog;
}

const LabelSheet* SheetCatalog::Find(std::string_view name) const {
  const std::string key = NameKey(name);
  for (const LabelSheet& sheet : sheets) {
    if (NameKey(sheet.Name()) == key) return &sheet;
  }
  return nullptr;
}

const LabelSheet& SheetCatalog::Default() const {
  const LabelSheet* sheet = Find(kDefaultSheetName);
  return sheet != nullptr ? *sheet : sheets.front();
}

std::string SheetCatalog::Notice() const {
  if (!HasSheets())
    return "Nie udało się odczytać arkuszy etykiet z folderu " + folder +
           " – dostępna jest tylko karta QSL.";
  if (brokenFiles.empty()) return {};
  std::string files;
  for (const std::string& name : brokenFiles) files.append(files.empty() ? "" : ", ").append(name);
  return "Pominięto uszkodzone pliki arkuszy etykiet: " + files + ".";
}

}  // namespace kartex
