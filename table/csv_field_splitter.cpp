#include "table/csv_field_splitter.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "table/csv_scan_simd.h"

namespace kartex {

namespace {

using csv_scan::Copy;
using csv_scan::CopyUntil;
using csv_scan::kLineBreakMark;
using csv_scan::kQuote;

// Writes count double quotes.
[[gnu::always_inline]] inline void PutQuotes(char*& out, size_t count) {
  for (; count > 0; --count) *out++ = kQuote;
}

// Copies s[b, e) with quote pairs undone and byte 11 turned into CR LF:
// a run of L double quotes gives L / 2 of them (pairs give one, a lone one
// is dropped).
template <Copy kCopy>
void CopyUnquoting(const char* s, size_t b, size_t e, char*& out) {
  size_t j = CopyUntil<false, kCopy>(s, b, e, out, 0);
  while (j < e) {
    size_t m = j + 1;
    while (m < e && s[m] == kQuote) ++m;
    PutQuotes(out, (m - j) / 2);
    j = CopyUntil<false, kCopy>(s, m, e, out, 0);
  }
}

// The splitting proper; see CsvFieldSplitter::Split. The output has room for
// the whole line plus its bytes 11 plus 16 (with Copy::kBytes it may be the
// line's own buffer, see there), and one end offset per field. Everything that changes per
// byte lives in locals, so the compiler keeps it in registers.
template <Copy kCopy>
size_t SplitFields(const char* s, size_t n, char sep, char* const base, uint32_t* const endsBase,
                   const uint64_t* quoteBits) {
  char* out = base;
  uint32_t* ends = endsBase;
  // The rest of the line still to split is [pos, n). Removing characters
  // from its front only moves pos, so a line costs time linear in its length.
  size_t pos = 0;
  // The rest contains the separator exactly while pos <= lastSep. Separator
  // 0 means none: a NUL byte in the line is an ordinary byte.
  const size_t last = sep != 0 ? std::string_view(s, n).rfind(sep) : std::string_view::npos;
  const bool anySep = last != std::string_view::npos;
  const size_t lastSep = anySep ? last : 0;

  while (anySep && pos <= lastSep) {
    if constexpr (kCopy == Copy::kBlocks) {
      if (csv_scan::SplitPlainFields(s, n, sep, pos, out, ends, base, quoteBits) && pos > lastSep)
        break;
    }
    if (s[pos] == kQuote) {
      // A quoted field. Its closing quote is the last one of the first run of
      // quotes that has odd length and is followed by another character, or
      // that reaches the end of the line. Even runs before it are doubled
      // quotes of the field's text.
      ++pos;
      char* const fieldStart = out;
      size_t j = CopyUntil<false, kCopy>(s, pos, n, out, 0);
      bool closed = false;
      while (j < n) {
        size_t m = j + 1;
        while (m < n && s[m] == kQuote) ++m;
        const size_t run = m - j;
        if (m == n || (run & 1u) != 0) {
          // The field ends before the run's last quote.
          PutQuotes(out, (run - 1) / 2);
          pos = m;
          closed = true;
          break;
        }
        PutQuotes(out, run / 2);
        j = CopyUntil<false, kCopy>(s, m, n, out, 0);
      }
      // No closing quote: the field is empty and the rest stays as it is.
      if (!closed) out = fieldStart;
      *ends++ = static_cast<uint32_t>(out - base);
      // Whatever stands between the closing quote and the next separator is
      // dropped together with the separator.
      if (pos <= lastSep) {
        while (s[pos] != sep) ++pos;
        ++pos;
      }
    } else {
      // An unquoted field runs up to the next separator, which exists; its
      // quotes are undone run by run.
      size_t j = CopyUntil<true, kCopy>(s, pos, n, out, sep);
      while (s[j] != sep) {
        size_t m = j + 1;
        while (s[m] == kQuote) ++m;  // ends at the separator at the latest
        PutQuotes(out, (m - j) / 2);
        j = CopyUntil<true, kCopy>(s, m, n, out, sep);
      }
      *ends++ = static_cast<uint32_t>(out - base);
      pos = j + 1;
    }
  }

  // What follows the last separator is the last field, less one leading and
  // one trailing quote. A separator at the very end adds no field.
  if (pos < n) {
    size_t b = pos;
    size_t e = n;
    if (s[b] == kQuote) ++b;
    if (b < e && s[e - 1] == kQuote) --e;
    CopyUnquoting<kCopy>(s, b, e, out);
    *ends++ = static_cast<uint32_t>(out - base);
  }
  return static_cast<size_t>(ends - endsBase);
}

}  // namespace

int CsvFieldSplitter::Split(std::string_view line, char sep) {
  const char* s = line.data();
  const size_t n = line.size();
  size_t seps = 0;
  size_t lineBreaks = 0;
  const size_t wordsNeeded = (n >> 6) + 2;
  if (quoteBitsCapacity_ < wordsNeeded) {
    quoteBitsCapacity_ = std::max(wordsNeeded, quoteBitsCapacity_ * 2);
    quoteBits_ = std::make_unique_for_overwrite<uint64_t[]>(quoteBitsCapacity_);
  }
  csv_scan::ScanLine(s, n, sep, seps, lineBreaks, quoteBits_.get());
  // Undoing quote pairs only shortens a field and a byte 11 becomes two
  // bytes, so the line's length plus its byte-11 count bounds the text; 16
  // more give room for the block copies. A line has at most one field more
  // than it has separators.
  const size_t textNeeded = n + lineBreaks + 16;
  if (textCapacity_ < textNeeded) {
    textCapacity_ = std::max(textNeeded, textCapacity_ * 2);
    text_ = std::make_unique_for_overwrite<char[]>(textCapacity_);
  }
  const size_t endsNeeded = (sep != 0 ? seps : 0) + 1;
  if (endsCapacity_ < endsNeeded) {
    endsCapacity_ = std::max(endsNeeded, endsCapacity_ * 2);
    ends_ = std::make_unique_for_overwrite<uint32_t[]>(endsCapacity_);
  }
  count_ = lineBreaks == 0
               ? SplitFields<Copy::kBlocks>(s, n, sep, text_.get(), ends_.get(), quoteBits_.get())
               : SplitFields<Copy::kBytes>(s, n, sep, text_.get(), ends_.get(), quoteBits_.get());
  return static_cast<int>(count_);
}

int CsvFieldSplitter::SplitInPlace(MallocBuffer& line, size_t& capacity, size_t n, char sep) {
  const size_t lineBreaks =
      static_cast<size_t>(std::count(line.get(), line.get() + n, kLineBreakMark));
  const size_t seps =
      sep != 0 ? static_cast<size_t>(std::count(line.get(), line.get() + n, sep)) : 0;
  const size_t endsNeeded = seps + 1;
  if (endsCapacity_ < endsNeeded) {
    endsCapacity_ = std::max(endsNeeded, endsCapacity_ * 2);
    ends_ = std::make_unique_for_overwrite<uint32_t[]>(endsCapacity_);
  }
  if (lineBreaks > 0) {
    // Each byte 11 becomes two bytes: the line moves up by their number, so
    // that the text written from the buffer's start never overtakes it.
    if (capacity < n + lineBreaks) {
      Resize(line, n + lineBreaks);
      capacity = n + lineBreaks;
    }
    std::memmove(line.get() + lineBreaks, line.get(), n);
  }
  // Byte by byte: the block copies would write ahead of what they have read.
  // The quote bitmap serves only them.
  count_ =
      SplitFields<Copy::kBytes>(line.get() + lineBreaks, n, sep, line.get(), ends_.get(), nullptr);
  return static_cast<int>(count_);
}

std::string_view CsvFieldSplitter::Field(int k) const {
  const auto i = static_cast<size_t>(k);
  const uint32_t start = i == 0 ? 0 : ends_[i - 1];
  return {text_.get() + start, ends_[i] - start};
}

}  // namespace kartex
