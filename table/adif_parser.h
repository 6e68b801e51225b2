#pragma once
// The ADIF parser: turns the bytes of an ADIF log, handed over piece by
// piece, into packed table rows, one per record, and the field names in the
// order in which each first appears.
//
// A field is <NAME:LENGTH> or <NAME:LENGTH:TYPE> followed by LENGTH bytes of
// value; <EOR> ends a record and <EOH> the header. Text between fields is
// passed over. Real logs bend these rules, and each bend costs at most the
// one field it touches:
//   - a length that ends inside a UTF-8 character, or whose value is followed
//     by anything but blanks, line ends, a " // comment" or the next "<",
//     is tried as a count of characters; failing that, the value is the text
//     up to the next "<" (trailing blanks dropped). So is a value whose
//     length is no number (<CALL:-1>), runs past the end of the file, or
//     would take in another field, its tag and its value;
//   - a "<" without a ">" before the next "<" or the end is text;
//   - names are upper-cased; type marks are passed over;
//   - everything before the first <EOH> is the header, unless an <EOR> comes
//     first (a file without a header);
//   - fields after the last <EOR> are no record.
// Each step looks at a bounded part of the input and is linear in it, so a
// file of any content ends in linear time.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/adif_read_report.h"
#include "table/adif_text.h"
#include "table/log_table.h"
#include "table/text_index.h"

namespace kartex {

class AdifParser {
 public:
  // More field names than this are no log; their fields are left out, so
  // that the rows of a hostile file stay within a bounded width.
  static constexpr size_t kMaxColumns = 1024;

  enum class Start {
    kFileStart,    // a header may come first
    kRecordStart,  // the input starts at a record (after an <EOR>)
  };

  // knownNames: names to number first, in this order (those of the start of
  // the file, for a parse of its second half, so that both halves number
  // the usual fields alike).
  explicit AdifParser(Start start, const std::vector<std::string>& knownNames = {});
  AdifParser(const AdifParser&) = delete;
  AdifParser& operator=(const AdifParser&) = delete;

  // Parses input[0, n), the input from where the last call stopped. more: the
  // number of bytes of the input that follow input[n] (0 at its end). Stops
  // where it needs bytes beyond n, or at the first step that ends at or past
  // stopAt. Returns how many bytes it is done with: the next call starts
  // with the bytes after them. With more 0 it takes in everything.
  size_t Parse(const char* input, size_t n, uint64_t more, size_t stopAt = SIZE_MAX);
  // The input has ended: what is pending is an incomplete record.
  void Finish();
  // Between records of the log: past the header, no field pending, not in a
  // comment. A parse that stops here can be followed by one that starts at
  // a record.
  bool AtRecordBoundary() const;

  std::vector<TableRow>& Rows() { return rows_; }
  // The field names (upper-cased, Windows-1250) in the order of their first
  // appearance; column k of the rows holds field Names()[k].
  const std::vector<std::string>& Names() const { return names_; }
  const AdifReadReport& Report() const { return report_; }

 private:
  enum class Step { kDone, kNeedMore, kEnd };
  struct Cursor;  // the input and the parse position

  Step NextStep(Cursor& c);
  Step SkipComment(Cursor& c);
  Step ReadField(Cursor& c, size_t tagEnd, std::string_view name, std::string_view length);
  void AddField(std::string_view name, std::string_view value, bool recovered);
  void EndRecord();
  void EndHeader();
  void ClearPending();
  int ColumnOf(std::string_view name);

  struct PendingField {
    int column;                     // -1: a new name, found by its text at the record's end
    uint32_t nameBegin, nameEnd;    // in pendingNames_, for a new name
    uint32_t valueBegin, valueEnd;  // in pendingValues_
  };
  int KnownColumn(std::string_view name) const;
  void AppendValue(std::string_view value, AdifTextChanges& changes);

  bool inHeader_;
  bool afterValue_ = false;  // a value just ended: a comment may follow
  bool inComment_ = false;
  AdifTextConverter converter_;

  // The fields of the record being read: names upper-cased, values as cell
  // texts one after the other, so that a record whose fields come in column
  // order is a packed row already.
  std::string pendingNames_;
  std::string pendingValues_;
  size_t valuesSize_ = 0;  // the used part of pendingValues_
  std::string converted_;
  std::vector<PendingField> pending_;
  int64_t pendingRecovered_ = 0;
  int64_t pendingReplaced_ = 0;

  std::vector<std::string> names_;
  struct NameOf {
    const std::vector<std::string>* names;
    std::string_view operator()(uint32_t column) const { return (*names)[column]; }
  };
  TextIndex<NameOf> columnOfName_;

  // Building a row: the field of each column (index + 1 into pending_, 0
  // none), the row's text and the end offset of each cell.
  std::vector<uint32_t> fieldOfColumn_;
  std::vector<int> columnOfField_;
  std::string rowText_;
  std::vector<uint32_t> ends_;

  std::vector<TableRow> rows_;
  AdifReadReport report_;
};

}  // namespace kartex
