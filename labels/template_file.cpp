#include "template_file.h"

#include <charconv>

#include "length.h"
#include "xml_elements.h"

namespace kartex {
namespace {

constexpr int kMostLabelsAcross = 1000;

std::string AttributeText(const XmlElementReader& reader, std::string_view name) {
  const std::string* value = reader.Attribute(name);
  return value != nullptr ? *value : std::string();
}

// A length attribute; `fallback` when it is missing, nullopt when broken.
std::optional<double> Length(const XmlElementReader& reader, std::string_view name,
                             std::optional<double> fallback = std::nullopt) {
  const std::string* value = reader.Attribute(name);
  if (value == nullptr) return fallback;
  return ParseLengthMm(*value);
}

std::optional<int> Count(const XmlElementReader& reader, std::string_view name) {
  const std::string* value = reader.Attribute(name);
  if (value == nullptr) return std::nullopt;
  int count = 0;
  const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), count);
  if (error != std::errc() || end != value->data() + value->size() || count < 1 ||
      count > kMostLabelsAcross)
    return std::nullopt;
  return count;
}

// Reads one <Template> element and what it holds; false when its numbers
// are broken.
class TemplateReader {
 public:
  explicit TemplateReader(XmlElementReader& reader) : reader_(reader) {}

  bool Start(TemplateEntry& entry) {
    entry.brand = AttributeText(reader_, "brand");
    entry.part = AttributeText(reader_, "part");
    entry.equiv = AttributeText(reader_, "equiv");
    entry.description = AttributeText(reader_, "_description");
    if (entry.description.empty()) entry.description = AttributeText(reader_, "description");
    entry.paperId = AttributeText(reader_, "size");
    const std::optional<double> width = Length(reader_, "width", 0.0);
    const std::optional<double> height = Length(reader_, "height", 0.0);
    if (!width || !height) return false;
    entry.pageWidth = *width;
    entry.pageHeight = *height;
    return !entry.brand.empty() && !entry.part.empty();
  }

  // An element inside the template, at its depth below the template.
  bool Inner(TemplateEntry& entry, int depth) {
    const std::string& name = reader_.Name();
    if (depth == 1 && name.starts_with("Label-")) {
      if (!entry.shape.empty()) return true;  // only the first label shape counts
      entry.shape = name;
      inFirstLabel_ = true;
      if (name != "Label-rectangle") return true;
      const std::optional<double> width = Length(reader_, "width");
      const std::optional<double> height = Length(reader_, "height");
      const std::optional<double> round = Length(reader_, "round", 0.0);
      if (!width || !height || !round || *width <= 0 || *height <= 0) return false;
      entry.labelWidth = *width;
      entry.labelHeight = *height;
      entry.cornerRadius = *round;
      return true;
    }
    if (depth == 2 && name == "Layout" && inFirstLabel_ && entry.shape == "Label-rectangle") {
      SheetLayout layout;
      const std::optional<int> nx = Count(reader_, "nx");
      const std::optional<int> ny = Count(reader_, "ny");
      const std::optional<double> x0 = Length(reader_, "x0", 0.0);
      const std::optional<double> y0 = Length(reader_, "y0", 0.0);
      const std::optional<double> dx = Length(reader_, "dx", 0.0);
      const std::optional<double> dy = Length(reader_, "dy", 0.0);
      if (!nx || !ny || !x0 || !y0 || !dx || !dy) return false;
      entry.layouts.push_back({*nx, *ny, *x0, *y0, *dx, *dy});
    }
    return true;
  }

  void End(int depth) {
    if (depth == 1) inFirstLabel_ = false;
  }

 private:
  XmlElementReader& reader_;
  bool inFirstLabel_ = false;
};

}  // namespace

TemplateFile ReadTemplateFile(std::string_view xml) {
  TemplateFile file;
  XmlElementReader reader(xml);
  TemplateEntry entry;
  std::optional<TemplateReader> current;  // inside a <Template>
  int templateDepth = 0;
  bool good = true;
  for (auto event = reader.Next(); event != XmlElementReader::Event::Done; event = reader.Next()) {
    if (event == XmlElementReader::Event::Error) {
      file.error = reader.Error();
      break;
    }
    const bool start = event == XmlElementReader::Event::Start;
    if (!current) {
      if (start && reader.Name() == "Template") {
        current.emplace(reader);
        entry = TemplateEntry();
        templateDepth = reader.Depth();
        good = current->Start(entry);
      }
      continue;
    }
    const int depth = reader.Depth() - templateDepth;
    if (start) {
      good = current->Inner(entry, depth) && good;
    } else if (depth > 0) {
      current->End(depth);
    } else {  // </Template>
      current.reset();
      if (good) {
        file.templates.push_back(std::move(entry));
      } else {
        ++file.skipped;
      }
    }
  }
  return file;
}

std::optional<std::vector<PaperSize>> ReadPaperSizes(std::string_view xml) {
  std::vector<PaperSize> sizes;
  XmlElementReader reader(xml);
  for (auto event = reader.Next(); event != XmlElementReader::Event::Done; event = reader.Next()) {
    if (event == XmlElementReader::Event::Error) return std::nullopt;
    if (event != XmlElementReader::Event::Start || reader.Name() != "Paper-size") continue;
    PaperSize size;
    size.id = AttributeText(reader, "id");
    size.name = AttributeText(reader, "_name");
    if (size.name.empty()) size.name = AttributeText(reader, "name");
    if (size.name.empty()) size.name = size.id;
    const std::optional<double> width = Length(reader, "width");
    const std::optional<double> height = Length(reader, "height");
    if (size.id.empty() || !width || !height || *width <= 0 || *height <= 0) continue;
    size.width = *width;
    size.height = *height;
    sizes.push_back(std::move(size));
  }
  return sizes;
}

}  // namespace kartex
