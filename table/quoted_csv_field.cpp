#include "table/quoted_csv_field.h"

namespace kartex {

void AppendQuotedCsvField(std::string& line, std::string_view text) {
  line += '"';
  // Most cells hold no quote and no line break: copy the runs between them whole.
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '"' && c != '\r' && c != '\n') continue;
    line.append(text.substr(start, i - start));
    if (c == '"') {
      line += "\"\"";
    } else {
      // A line break of the cell travels as byte 11, which the reader turns
      // back into CR LF; CR LF counts as one break.
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += '\x0B';
    }
    start = i + 1;
  }
  line.append(text.substr(start));
  line += '"';
}

void AppendQuotedCsvLine(std::string& out, std::initializer_list<std::string_view> fields) {
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) out += ',';
    first = false;
    AppendQuotedCsvField(out, field);
  }
  out += "\r\n";
}

}  // namespace kartex
