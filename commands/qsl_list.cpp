// The QSL managers of the shown rows (ListBox1) and QSL_VIA.TXT.

#include <string_view>
#include <unordered_set>

#include "busy_cursor.h"
#include "output_file.h"
#include "platform/code_page.h"
#include "session.h"

namespace kartex {
namespace {

// "Lista managerów:" in Windows-1250, as the list shows it and the file holds it.
constexpr std::string_view kManagerListHeading = "Lista manager\xF3w:";

// A card sent direct, not through a manager: "DIRECT" in any letter case,
// whatever follows.
bool IsDirect(std::string_view value) {
  constexpr std::string_view kDirect = "DIRECT";
  if (value.size() < kDirect.size()) return false;
  for (size_t i = 0; i < kDirect.size(); ++i) {
    if (UpperCase1250(static_cast<unsigned char>(value[i])) !=
        static_cast<unsigned char>(kDirect[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

void Session::QSL_VIA_Listbox() {
  std::vector<std::string>& list = controls_.listBox1;
  if (!log_.qslViaFound) {
    list.clear();
    controls_.qslViaEnabled = false;
    return;
  }
  controls_.qslViaEnabled = true;
  list.assign(1, std::string(kManagerListHeading));
  // The lines so far, for the duplicate test; the heading counts as a line.
  std::unordered_set<std::string> listed{std::string(kManagerListHeading)};
  for (int row = 1; row < table_.RowCount(); ++row) {
    std::string_view value = table_.CellText(log_.qslViaColumn, row);
    if (value.empty() || IsDirect(value)) continue;
    if (listed.emplace(value).second) list.emplace_back(value);
  }
}

void Session::QSL_VIAClick() {
  BusyCursor busy(windows_);
  std::optional<std::string> fileName =
      windows_.SaveFileDialog({"SD2", "QSL_VIA.TXT", "TXT|*.txt"});
  if (!fileName) return;
  std::string content;
  for (const std::string& line : controls_.listBox1) {
    content += line;
    content += "\r\n";
  }
  WriteFileAtomically(*fileName, content);
}

}  // namespace kartex
