#pragma once
// One file of a label designer's template database as it is written: the
// templates of a *-templates.xml file, and the paper sizes of
// paper-sizes.xml. Lengths are read into millimetres; what a template
// refers to (its paper, the template it is equivalent to) is resolved by
// the catalogue.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "label_sheet.h"

namespace kartex {

struct PaperSize {
  std::string id;    // "A4", "US-Letter"
  std::string name;  // "A4", "US Letter"
  double width = 0, height = 0;
};

// A template as written: either a sheet of its own, or `equiv` naming
// another template of the same brand whose labels it has.
struct TemplateEntry {
  std::string brand, part, equiv, description;
  std::string paperId;  // the size attribute; empty or "Other": pageWidth x pageHeight
  double pageWidth = 0, pageHeight = 0;
  // The first label shape: "Label-rectangle", "Label-round", "Label-cd" ...;
  // empty for an equivalent.
  std::string shape;
  double labelWidth = 0, labelHeight = 0, cornerRadius = 0;
  std::vector<SheetLayout> layouts;
};

struct TemplateFile {
  std::vector<TemplateEntry> templates;
  int skipped = 0;    // templates whose numbers are broken
  std::string error;  // the file is no readable XML; templates read before it are kept
};

TemplateFile ReadTemplateFile(std::string_view xml);

// The paper sizes; nullopt when the file is no readable XML.
std::optional<std::vector<PaperSize>> ReadPaperSizes(std::string_view xml);

}  // namespace kartex
