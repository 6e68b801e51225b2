#pragma once
// The label sheets offered for printing: the QSL card, then every
// rectangular sheet of a label designer's template database (gLabels'
// *-templates.xml files with paper-sizes.xml, as Debian's glabels-data
// installs them), equivalent parts resolved, in brand and part order.
// Round, CD, elliptic and continuous templates are not offered. A missing
// or broken folder leaves the card alone, and says so.

#include <string>
#include <string_view>
#include <vector>

#include "label_sheet.h"

namespace kartex {

inline constexpr std::string_view kDefaultSheetName = "Avery L7160";

struct SheetCatalog {
  std::vector<LabelSheet> sheets;        // the card first
  std::string folder;                    // where the templates were read from (UTF-8)
  bool folderRead = false;               // the folder and its paper sizes could be read
  std::vector<std::string> brokenFiles;  // template files that are no readable XML

  // At least one sheet besides the card.
  bool HasSheets() const { return sheets.size() > 1; }
  // A sheet by the name kartex-cli takes: "BRAND PART" with any letter case
  // and blanks, or "card"; nullptr when there is none of that name.
  const LabelSheet* Find(std::string_view name) const;
  // Avery L7160, or else the first sheet.
  const LabelSheet& Default() const;
  // What the operator is told about the reading (Polish, UTF-8); empty when
  // all went well.
  std::string Notice() const;
};

// Reads the sheets of a folder of templates (a UTF-8 name). Never throws on
// bad files: a file that cannot be read is left out and named in brokenFiles.
SheetCatalog ReadSheetCatalog(const std::string& folder);

}  // namespace kartex
