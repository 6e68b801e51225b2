#pragma once
// The CSV rules of the log table written out plainly: line reading,
// separator detection, field splitting, the table a file reads into, and the
// export's line layout. Slow, but plainly right; the reader's and the
// writer's fast paths are checked against them (unit tests and fuzzers).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kartex::testing {

using CellRows = std::vector<std::vector<std::string>>;

// The lines of a file: a line ends at LF, every CR is dropped (the one
// before LF and any lone one), a last line needs no line end, a line end at
// the very end starts no further line, and a byte 26 where a line would
// begin ends the file.
inline std::vector<std::string> ReferenceLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < bytes.size() && bytes[i] != 26) {
    size_t end = bytes.find('\n', i);
    if (end == std::string_view::npos) end = bytes.size();
    std::string line;
    for (size_t k = i; k < end; ++k) {
      if (bytes[k] != '\r') line += bytes[k];
    }
    lines.push_back(std::move(line));
    i = end + 1;
  }
  return lines;
}

inline constexpr std::string_view kReferenceCandidates = ",;#\t|@*-+&";

// Runs of c: one that ends before the end of the line counts 1 when odd and
// 0 when even, one that reaches the end counts 1.
inline int64_t ReferenceSingleCount(const std::string& line, char c) {
  int64_t count = 0;
  for (size_t i = 0; i < line.size();) {
    if (line[i] != c) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < line.size() && line[j] == c) ++j;
    if (j == line.size() || (j - i) % 2 == 1) ++count;
    i = j;
  }
  return count;
}

inline int64_t ReferencePlainCount(const std::string& line, char c) {
  return std::count(line.begin(), line.end(), c);
}

// The fields of a line of double-quoted fields joined by commas, quotes
// inside a field doubled; 0 for the empty line, -1 for any other line.
inline int64_t ReferenceQuotedCommaFields(const std::string& line) {
  if (line.empty()) return 0;
  std::vector<std::string> fields(1);
  bool inQuotes = false;
  for (char c : line) {
    if (c == '"') inQuotes = !inQuotes;
    if (c == ',' && !inQuotes) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (const std::string& field : fields) {
    if (field.size() < 2 || field.front() != '"' || field.back() != '"') return -1;
    for (size_t i = 1; i + 1 < field.size(); ++i) {
      if (field[i] != '"') continue;
      if (i + 2 == field.size() || field[i + 1] != '"') return -1;
      ++i;
    }
  }
  return static_cast<int64_t>(fields.size());
}

// The export's layout in the first line (at least two fields) and in the
// second (or an empty one) means the comma; else the three passes over the
// candidates, 0 when none occurs.
inline char ReferenceDetect(const std::string& line1, const std::string& line2) {
  if (ReferenceQuotedCommaFields(line1) >= 2 && ReferenceQuotedCommaFields(line2) >= 0) return ',';
  int64_t best = 0;
  char separator = 0;
  for (char c : kReferenceCandidates) {
    const int64_t s1 = ReferenceSingleCount(line1, c), s2 = ReferenceSingleCount(line2, c);
    if (s1 == s2 && s1 > best) separator = c, best = s1;
  }
  if (best == 0) {
    for (char c : kReferenceCandidates) {
      const int64_t p1 = ReferencePlainCount(line1, c), p2 = ReferencePlainCount(line2, c);
      if (p1 == p2 && p1 > best) separator = c, best = p1;
    }
  }
  if (best == 0) {
    for (char c : kReferenceCandidates) {
      const int64_t p1 = ReferencePlainCount(line1, c), p2 = ReferencePlainCount(line2, c);
      if (p1 > best || p2 > best) separator = c, best = std::max(p1, p2);
    }
  }
  return separator;
}

// The splitting rules applied literally, removing characters from the front
// of the line as they are consumed.
inline std::vector<std::string> ReferenceSplit(std::string line, char sep) {
  const auto positionOfSep = [sep](const std::string& text) -> size_t {
    if (sep == 0) return 0;
    const size_t p = text.find(sep);
    return p == std::string::npos ? 0 : p + 1;
  };
  const auto undoPairs = [](const std::string& text) {
    if (text.find('"') == std::string::npos) return text;
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '"') {
        result += text[i];
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        result += '"';
        ++i;
      }
    }
    return result;
  };
  const auto lineBreaks = [](const std::string& text) {
    std::string result;
    for (char c : text) {
      if (c == 11) {
        result += "\r\n";
      } else {
        result += c;
      }
    }
    return result;
  };
  std::vector<std::string> fields;
  while (positionOfSep(line) != 0) {
    std::string field;
    size_t p;
    if (line[0] == '"') {
      line.erase(0, 1);
      size_t q = 0;  // 1-based position of the closing quote, 0: none
      for (size_t i = 0; i < line.size();) {
        if (line[i] != '"') {
          ++i;
          continue;
        }
        size_t j = i;
        while (j < line.size() && line[j] == '"') ++j;
        if (j == line.size() || (j - i) % 2 == 1) {
          q = j;
          break;
        }
        i = j;
      }
      if (q != 0) {
        field = undoPairs(line.substr(0, q - 1));
        line.erase(0, q);
      }
      p = positionOfSep(line);
    } else {
      p = positionOfSep(line);
      field = undoPairs(line.substr(0, p - 1));
    }
    fields.push_back(lineBreaks(field));
    line.erase(0, p);
  }
  if (!line.empty()) {
    if (line[0] == '"') line.erase(0, 1);
    if (!line.empty() && line.back() == '"') line.pop_back();
    fields.push_back(lineBreaks(undoPairs(line)));
  }
  return fields;
}

// What a table of rowCount x colCount empty cells with fixedRows fixed rows
// holds after reading a file of these bytes with a detected separator.
struct ReferenceTable {
  CellRows cells;  // RowCount rows of ColCount cells
  int colCount = 0;
  int fixedRows = 0;
};

inline ReferenceTable ReferenceRead(std::string_view bytes, int rowCount, int colCount,
                                    int fixedRows) {
  const std::vector<std::string> lines = ReferenceLines(bytes);
  const char sep = ReferenceDetect(lines.empty() ? "" : lines[0], lines.size() < 2 ? "" : lines[1]);
  ReferenceTable table;
  table.colCount = colCount;
  CellRows rows(std::max<size_t>(static_cast<size_t>(rowCount), lines.size()));
  for (size_t r = 0; r < lines.size(); ++r) {
    const std::vector<std::string> fields = ReferenceSplit(lines[r], sep);
    rows[r] = fields;
    table.colCount = std::max(table.colCount, static_cast<int>(fields.size()));
  }
  // RowCount becomes the number of lines: at least 1, and a row count not
  // above the fixed rows lowers them to one less.
  const size_t finalRows = std::max<size_t>(lines.size(), 1);
  rows.resize(finalRows);
  table.fixedRows =
      static_cast<int>(finalRows) <= fixedRows ? static_cast<int>(finalRows) - 1 : fixedRows;
  for (std::vector<std::string>& row : rows) row.resize(static_cast<size_t>(table.colCount));
  table.cells = std::move(rows);
  return table;
}

// One row as the export writes it: every cell quoted, a double quote
// doubled, a line break (CR LF, or a lone CR or LF) as byte 11, cells joined
// by commas, CR LF at the end.
inline std::string ReferenceExportLine(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t c = 0; c < cells.size(); ++c) {
    if (c > 0) line += ',';
    line += '"';
    const std::string& cell = cells[c];
    for (size_t i = 0; i < cell.size(); ++i) {
      if (cell[i] == '"') {
        line += "\"\"";
      } else if (cell[i] == '\r' || cell[i] == '\n') {
        if (cell[i] == '\r' && i + 1 < cell.size() && cell[i + 1] == '\n') ++i;
        line += '\x0B';
      } else {
        line += cell[i];
      }
    }
    line += '"';
  }
  return line + "\r\n";
}

}  // namespace kartex::testing
