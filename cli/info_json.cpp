#include "info_json.h"

#include <cstdio>
#include <optional>

#include "commands/session.h"
#include "platform/code_page.h"

namespace kartex {
namespace {

// A JSON string of UTF-8 text. Bytes that are not UTF-8 (a file name given
// in another encoding) become U+FFFD, so the output stays valid JSON.
std::string Quoted(std::string_view utf8) {
  std::string out = "\"";
  for (size_t i = 0; i < utf8.size();) {
    const size_t start = i;
    const std::optional<char32_t> cp = NextUtf8CodePoint(utf8, i);
    if (!cp) {
      out += "\uFFFD";
      ++i;
    } else if (*cp == '"' || *cp == '\\') {
      out += '\\';
      out += static_cast<char>(*cp);
    } else if (*cp < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(*cp));
      out += escaped;
    } else {
      out.append(utf8, start, i - start);
    }
  }
  return out + '"';
}

std::string QuotedCp1250(std::string_view bytes) { return Quoted(Cp1250ToUtf8(bytes)); }

std::string ColumnOrNull(bool found, int column) { return found ? std::to_string(column) : "null"; }

std::string SortKeys(const TSortIndexList& keys) {
  std::string out = "[";
  for (int i = 0; i < keys.Count(); ++i) {
    if (i > 0) out += ", ";
    out += "{\"column\": " + std::to_string(keys.Column(i)) +
           ", \"descending\": " + (keys.Descending(i) ? "true" : "false") + "}";
  }
  return out + "]";
}

std::string Managers(const std::vector<std::string>& listBox) {
  std::string out = "[";
  for (size_t i = 1; i < listBox.size(); ++i) {
    if (i > 1) out += ", ";
    out += QuotedCp1250(listBox[i]);
  }
  return out + "]";
}

std::string Tally(const std::vector<TMyRecord>& tally) {
  std::string out = "[";
  for (size_t i = 0; i < tally.size(); ++i) {
    if (i > 0) out += ",\n    ";
    out += "{\"call\": " + QuotedCp1250(tally[i].call) +
           ", \"dxcc\": " + QuotedCp1250(tally[i].dxcc) +
           ", \"count\": " + std::to_string(tally[i].qsoCount) + "}";
  }
  return out + "]";
}

}  // namespace

std::string InfoJson(const Session& session) {
  const ControlStates& controls = session.Controls();
  const LoadedLog& log = session.Log();
  const LogTable& table = session.Table();
  std::string out = "{\n";
  out += "  \"source\": " + Quoted(controls.sourcePath) + ",\n";
  out += "  \"records\": " + (controls.recordsKnown ? std::to_string(controls.records) : "null") +
         ",\n";
  out += "  \"row_count\": " + std::to_string(table.RowCount()) +
         ", \"col_count\": " + std::to_string(table.ColCount()) +
         ", \"fixed_rows\": " + std::to_string(table.FixedRows()) + ",\n";
  out += std::string("  \"filter_active\": ") +
         (session.Filter().FilterActive() ? "true" : "false") + ",\n";
  out += "  \"columns\": {\"CALL\": " + ColumnOrNull(log.callFound, log.callColumn) +
         ", \"DXCC\": " + ColumnOrNull(log.dxccFound, log.dxccColumn) +
         ", \"QSL_VIA\": " + ColumnOrNull(log.qslViaFound, log.qslViaColumn) + "},\n";
  out += "  \"sort_keys\": " + SortKeys(session.Sort().SortIndex()) + ",\n";
  out += "  \"rg1\": " + std::to_string(controls.rg1ItemIndex + 1) + ",\n";
  out += std::string("  \"sort_by\": ") + (controls.sortByItemIndex == 1 ? "\"cty\"" : "\"adif\"") +
         ",\n";
  out += "  \"managers\": " + Managers(controls.listBox1) + ",\n";
  out += "  \"tally\": " + Tally(log.tally) + "\n";
  return out + "}\n";
}

}  // namespace kartex
