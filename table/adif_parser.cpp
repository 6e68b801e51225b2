#include "table/adif_parser.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "platform/code_page.h"
#include "table/adif_scan.h"
#include "table/ascii_case.h"

namespace kartex {

// The input of one Parse call and the position in it.
struct AdifParser::Cursor {
  const char* s;
  size_t n;
  uint64_t more;  // bytes of the input after s[n]
  size_t i;
};

namespace {

using namespace adif_scan;

}  // namespace

AdifParser::AdifParser(Start start, const std::vector<std::string>& knownNames)
    : inHeader_(start == Start::kFileStart), columnOfName_(NameOf{&names_}) {
  for (const std::string& name : knownNames) ColumnOf(name);
}

size_t AdifParser::Parse(const char* input, size_t n, uint64_t more, size_t stopAt) {
  if (n == 0) return 0;
  Cursor c{input, n, more, 0};
  while (c.i < stopAt && NextStep(c) == Step::kDone) {
  }
  return c.i;
}

AdifParser::Step AdifParser::NextStep(Cursor& c) {
  if (c.i == c.n) return c.more > 0 ? Step::kNeedMore : Step::kEnd;
  if (inComment_) return SkipComment(c);
  if (afterValue_) {
    while (c.i < c.n && IsBlank(c.s[c.i])) ++c.i;
    if (c.i == c.n) return c.more > 0 ? Step::kNeedMore : Step::kEnd;
    if (c.s[c.i] == '/') {
      if (c.i + 1 == c.n && c.more > 0) return Step::kNeedMore;
      if (c.i + 1 < c.n && c.s[c.i + 1] == '/') {
        afterValue_ = false;
        inComment_ = true;
        c.i += 2;
        return Step::kDone;
      }
    }
    afterValue_ = false;
  }
  // Text up to the next "<" is passed over.
  if (c.s[c.i] != '<') {
    const void* open = std::memchr(c.s + c.i, '<', c.n - c.i);
    if (open == nullptr) {
      c.i = c.n;
      return c.more > 0 ? Step::kNeedMore : Step::kEnd;
    }
    c.i = static_cast<size_t>(static_cast<const char*>(open) - c.s);
  }
  // The tag runs to ">"; its first two colons end the name and the length.
  size_t j = c.i + 1;
  size_t nameEnd = 0;
  size_t lengthEnd = 0;
  for (; j < c.n; ++j) {
    const char ch = c.s[j];
    if (ch == '>' || ch == '<') break;
    if (ch == ':') {
      if (nameEnd == 0) {
        nameEnd = j;
      } else if (lengthEnd == 0) {
        lengthEnd = j;
      }
    }
  }
  if (j == c.n) {
    if (c.more > 0) return Step::kNeedMore;
    c.i = c.n;  // a "<" without ">" at the end is text
    return Step::kEnd;
  }
  if (c.s[j] == '<') {  // so is a "<" followed by another one
    c.i = j;
    return Step::kDone;
  }
  const char* tag = c.s + c.i + 1;
  const std::string_view name = Trim(std::string_view(tag, (nameEnd != 0 ? nameEnd : j) - c.i - 1));
  if (IsNamed(name, "EOR")) {
    EndRecord();
  } else if (IsNamed(name, "EOH")) {
    EndHeader();
  } else if (!name.empty() && nameEnd != 0) {
    const size_t lengthBegin = nameEnd + 1;
    const std::string_view length(c.s + lengthBegin,
                                  (lengthEnd != 0 ? lengthEnd : j) - lengthBegin);
    return ReadField(c, j + 1, name, Trim(length));
  }
  c.i = j + 1;  // a tag without a value is passed over
  return Step::kDone;
}

// The rest of a "//" comment: up to the line end, or up to the next field's
// tag when that follows on the same line.
AdifParser::Step AdifParser::SkipComment(Cursor& c) {
  for (;;) {
    size_t k = c.i;
    while (k < c.n && c.s[k] != '\n' && c.s[k] != '<') ++k;
    if (k == c.n) {
      c.i = c.n;
      return c.more > 0 ? Step::kNeedMore : Step::kEnd;
    }
    if (c.s[k] == '\n') {
      c.i = k + 1;
      inComment_ = false;
      return Step::kDone;
    }
    std::optional<uint64_t> length;
    size_t end = 0;
    const Answer tag = TagAt(c.s, c.n, c.more, k, length, end);
    if (tag == Answer::kNeedMore) {
      c.i = k;
      return Step::kNeedMore;
    }
    if (tag == Answer::kYes) {
      c.i = k;
      inComment_ = false;
      return Step::kDone;
    }
    c.i = k + 1;  // a "<" of the comment's text
  }
}

// The value of a field whose tag ends before p; c.i still at the tag.
AdifParser::Step AdifParser::ReadField(Cursor& c, size_t p, std::string_view name,
                                       std::string_view lengthText) {
  const uint64_t available = (c.n - p) + c.more;
  const std::optional<uint64_t> length = ParseLength(lengthText);
  if (length && *length <= available) {
    if (*length > c.n - p) return Step::kNeedMore;
    const size_t end = p + static_cast<size_t>(*length);
    const Follow follow = FollowAt(c.s, c.n, c.more, end);
    if (follow == Follow::kNeedMore) return Step::kNeedMore;
    const std::string_view value(c.s + p, end - p);
    if (follow == Follow::kGood && !HoldsFieldTag(value)) {
      AddField(name, value, false);
      c.i = end;
      afterValue_ = true;
      return Step::kDone;
    }
    // A length that counts characters, not bytes.
    if (HoldsNonAscii(value)) {
      bool needMore = false;
      const std::optional<size_t> charsEnd = CharactersEnd(c.s, c.n, c.more, p, *length, needMore);
      if (needMore) return Step::kNeedMore;
      if (charsEnd && *charsEnd != end) {
        const Follow after = FollowAt(c.s, c.n, c.more, *charsEnd);
        if (after == Follow::kNeedMore) return Step::kNeedMore;
        const std::string_view chars(c.s + p, *charsEnd - p);
        if (after == Follow::kGood && !HoldsFieldTag(chars)) {
          AddField(name, chars, true);
          c.i = *charsEnd;
          afterValue_ = true;
          return Step::kDone;
        }
      }
    }
  }
  // A broken length: the value is the text up to the next "<".
  const void* open = std::memchr(c.s + p, '<', c.n - p);
  if (open == nullptr && c.more > 0) return Step::kNeedMore;
  const size_t end =
      open != nullptr ? static_cast<size_t>(static_cast<const char*>(open) - c.s) : c.n;
  size_t valueEnd = end;
  while (valueEnd > p && IsBlank(c.s[valueEnd - 1])) --valueEnd;
  AddField(name, std::string_view(c.s + p, valueEnd - p), true);
  c.i = end;
  return Step::kDone;
}

// The column of a name the log has numbered already, found without a hash:
// fields come in the order of their columns, most records leaving out a few,
// so the name is looked for among the columns just after the one of the
// field before. Only ASCII names are matched so (others are converted
// first). -1 when it is not there.
int AdifParser::KnownColumn(std::string_view name) const {
  constexpr size_t kLookAhead = 8;
  const size_t first = pending_.empty() || pending_.back().column < 0
                           ? 0
                           : static_cast<size_t>(pending_.back().column) + 1;
  const size_t last = std::min(names_.size(), first + kLookAhead);
  for (size_t column = first; column < last; ++column) {
    const std::string& known = names_[column];
    if (known.size() == name.size() &&
        std::equal(name.begin(), name.end(), known.begin(), [](char a, char b) {
          return static_cast<unsigned char>(a) < 0x80 && AsciiUpper(a) == b;
        })) {
      return static_cast<int>(column);
    }
  }
  return -1;
}

// Appends the cell text of a value to pendingValues_, whose size is only
// ever raised (valuesSize_ tells the used part), so that a short value costs
// a few byte moves and no library call.
void AdifParser::AppendValue(std::string_view value, AdifTextChanges& changes) {
  std::string_view text = value;
  if (NeedsConversion(value)) {
    converted_.clear();
    changes = converter_.Append(value, converted_);
    text = converted_;
  }
  if (pendingValues_.size() < valuesSize_ + text.size()) {
    pendingValues_.resize(std::max(2 * pendingValues_.size(), valuesSize_ + text.size()));
  }
  char* out = pendingValues_.data() + valuesSize_;
  if (text.size() <= 16) {
    for (char c : text) *out++ = c;
  } else {
    std::memcpy(out, text.data(), text.size());
  }
  valuesSize_ += text.size();
}

void AdifParser::AddField(std::string_view name, std::string_view value, bool recovered) {
  PendingField field{};
  field.column = KnownColumn(name);
  if (field.column < 0) {
    field.nameBegin = static_cast<uint32_t>(pendingNames_.size());
    const bool plain =
        std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (!plain) {
      pendingReplaced_ += converter_.Append(name, pendingNames_).replacedCharacters;
      for (size_t k = field.nameBegin; k < pendingNames_.size(); ++k) {
        pendingNames_[k] =
            static_cast<char>(UpperCase1250(static_cast<unsigned char>(pendingNames_[k])));
      }
    } else {
      pendingNames_.append(name);
      for (size_t k = field.nameBegin; k < pendingNames_.size(); ++k) {
        pendingNames_[k] = AsciiUpper(pendingNames_[k]);
      }
    }
    field.nameEnd = static_cast<uint32_t>(pendingNames_.size());
    if (field.nameEnd == field.nameBegin) return;  // a name of control bytes only
    const uint32_t known = columnOfName_.Find(
        std::string_view(pendingNames_).substr(field.nameBegin, field.nameEnd - field.nameBegin));
    if (known != decltype(columnOfName_)::kAbsent) {
      field.column = static_cast<int>(known);
      pendingNames_.resize(field.nameBegin);
    }
  }
  field.valueBegin = static_cast<uint32_t>(valuesSize_);
  AdifTextChanges changes;
  AppendValue(value, changes);
  if (valuesSize_ > UINT32_MAX || pendingNames_.size() > UINT32_MAX) {
    throw std::length_error("ADIF record too long");
  }
  field.valueEnd = static_cast<uint32_t>(valuesSize_);
  pending_.push_back(field);
  if (recovered || changes.controlsDropped) ++pendingRecovered_;
  pendingReplaced_ += changes.replacedCharacters;
}

int AdifParser::ColumnOf(std::string_view name) {
  const uint32_t known = columnOfName_.Find(name);
  if (known != decltype(columnOfName_)::kAbsent) return static_cast<int>(known);
  if (names_.size() >= kMaxColumns) return -1;
  names_.emplace_back(name);
  columnOfName_.Insert(names_.back(), static_cast<uint32_t>(names_.size() - 1));
  fieldOfColumn_.push_back(0);
  return static_cast<int>(names_.size() - 1);
}

// The pending fields become a row: each in the column of its name (a name
// given twice keeps its last value), the columns between them empty.
void AdifParser::EndRecord() {
  inHeader_ = false;
  int lastColumn = -1;
  bool inOrder = true;  // each field in a column after the one before
  columnOfField_.resize(pending_.size());
  for (size_t k = 0; k < pending_.size(); ++k) {
    const PendingField& field = pending_[k];
    const int column =
        field.column >= 0 ? field.column
                          : ColumnOf(std::string_view(pendingNames_)
                                         .substr(field.nameBegin, field.nameEnd - field.nameBegin));
    columnOfField_[k] = column;
    if (column < 0) {
      ++report_.fieldsLeftOut;
      inOrder = false;
      continue;
    }
    inOrder = inOrder && column > lastColumn;
    lastColumn = std::max(lastColumn, column);
  }
  ends_.resize(static_cast<size_t>(lastColumn + 1));
  rows_.emplace_back();
  if (inOrder) {
    // The values stand in column order already: only the empty columns
    // between them need their ends.
    uint32_t end = 0;
    size_t k = 0;
    for (size_t column = 0; column < ends_.size(); ++column) {
      if (k < pending_.size() && columnOfField_[k] == static_cast<int>(column)) {
        end = pending_[k++].valueEnd;
      }
      ends_[column] = end;
    }
    if (!ends_.empty())
      rows_.back().AssignPacked(pendingValues_.data(), ends_.data(), ends_.size());
  } else {
    for (size_t k = 0; k < pending_.size(); ++k) {
      if (columnOfField_[k] >= 0) {
        fieldOfColumn_[static_cast<size_t>(columnOfField_[k])] = static_cast<uint32_t>(k + 1);
      }
    }
    rowText_.clear();
    for (size_t column = 0; column < ends_.size(); ++column) {
      if (const uint32_t k = fieldOfColumn_[column]; k != 0) {
        const PendingField& field = pending_[k - 1];
        rowText_.append(pendingValues_, field.valueBegin, field.valueEnd - field.valueBegin);
        fieldOfColumn_[column] = 0;
      }
      ends_[column] = static_cast<uint32_t>(rowText_.size());
    }
    if (!ends_.empty()) rows_.back().AssignPacked(rowText_.data(), ends_.data(), ends_.size());
  }
  ++report_.records;
  report_.recoveredValues += pendingRecovered_;
  report_.replacedCharacters += pendingReplaced_;
  ClearPending();
}

// The fields of the header describe the file, not a contact.
void AdifParser::EndHeader() {
  if (!inHeader_) return;  // an <EOH> among the records is passed over
  inHeader_ = false;
  ClearPending();
}

void AdifParser::ClearPending() {
  pending_.clear();
  pendingNames_.clear();
  valuesSize_ = 0;
  pendingRecovered_ = 0;
  pendingReplaced_ = 0;
}

void AdifParser::Finish() {
  if (!pending_.empty()) report_.incompleteRecordLeftOut = true;
  ClearPending();
}

bool AdifParser::AtRecordBoundary() const {
  return !inHeader_ && pending_.empty() && !inComment_ && !afterValue_;
}

}  // namespace kartex
