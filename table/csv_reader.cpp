#include "table/csv_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "table/log_table.h"

namespace kartex {

namespace {

constexpr size_t kCandidates = kSeparatorCandidates.size();
constexpr char kQuote = '"';
constexpr char kLineBreakMark = 11;  // vertical tab: a line break inside a cell

// Candidate index + 1 for each byte, 0 for bytes that are no candidate.
constexpr std::array<uint8_t, 256> MakeCandidateTable() {
  std::array<uint8_t, 256> table{};
  for (size_t i = 0; i < kCandidates; ++i) {
    table[static_cast<unsigned char>(kSeparatorCandidates[i])] = static_cast<uint8_t>(i + 1);
  }
  return table;
}
constexpr std::array<uint8_t, 256> kCandidateOf = MakeCandidateTable();

// Word-at-a-time search: eight bytes are tested at once, so a short field
// costs no mispredicted branch per byte.
constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

inline uint64_t Load8(const char* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}
// High bit set in every byte of x that is zero (exact for the lowest one).
inline uint64_t ZeroBytes(uint64_t x) { return (x - kOnes) & ~x & kHighBits; }

// How the fields of a line are copied out of it.
enum class Copy {
  // The line holds no byte 11: blocks of 16 or 8 bytes at a time, into a
  // buffer of its own with 16 bytes of room beyond what it receives (a block
  // may be written past the field's end).
  kBlocks,
  // Byte by byte, each byte 11 written as CR LF. Each byte is read before
  // anything is written where it stands, so the output may also be the
  // line's own buffer, starting as many bytes before the line as it holds
  // bytes 11 (undoing quotes and dropping separators only shortens the text,
  // and only a byte 11 lengthens it, by one).
  kBytes,
};

// Copies s[j ..) to out up to the first double quote, or the first stop
// byte when kStopAtSep; returns the index of that byte, n when there is none.
//
// With blocks the bytes are tested a block at a time, so a short field costs
// no mispredicted branch per byte.
template <bool kStopAtSep, Copy kCopy>
[[gnu::always_inline]] inline size_t CopyUntil(const char* s, size_t j, size_t n, char*& out,
                                               char stop) {
#if defined(__SSE2__)
  if constexpr (kCopy == Copy::kBlocks) {
    const __m128i quotes = _mm_set1_epi8(kQuote);
    const __m128i stops = _mm_set1_epi8(stop);
    char* o = out;
    while (j + 16 <= n) {
      const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + j));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o), w);
      __m128i hit = _mm_cmpeq_epi8(w, quotes);
      if constexpr (kStopAtSep) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(w, stops));
      const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
      if (mask != 0) {
        const auto k = static_cast<size_t>(std::countr_zero(mask));
        out = o + k;
        return j + k;
      }
      o += 16;
      j += 16;
    }
    out = o;
  }
#endif
  if constexpr (kCopy == Copy::kBlocks && kLittleEndian) {
    const uint64_t quotes = kOnes * static_cast<unsigned char>(kQuote);
    const uint64_t stops = kOnes * static_cast<unsigned char>(stop);
    char* o = out;
    while (j + 8 <= n) {
      const uint64_t w = Load8(s + j);
      std::memcpy(o, &w, 8);
      uint64_t hits = ZeroBytes(w ^ quotes);
      if constexpr (kStopAtSep) hits |= ZeroBytes(w ^ stops);
      if (hits != 0) {
        const size_t k = static_cast<size_t>(std::countr_zero(hits)) >> 3;
        out = o + k;
        return j + k;
      }
      o += 8;
      j += 8;
    }
    out = o;
  }
  char* o = out;
  for (; j < n; ++j) {
    const char c = s[j];
    if (c == kQuote || (kStopAtSep && c == stop)) break;
    if (kCopy == Copy::kBytes && c == kLineBreakMark) {
      *o++ = '\r';
      *o++ = '\n';
    } else {
      *o++ = c;
    }
  }
  out = o;
  return j;
}

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

// Counts the separators and the bytes 11 of a line and marks its double
// quotes in quoteBits (bit i of word i / 64 for byte i), all in one pass.
// quoteBits has room for n / 64 + 2 words; every one of them is written.
void ScanLine(const char* s, size_t n, char sep, size_t& seps, size_t& lineBreaks,
              uint64_t* quoteBits) {
  seps = 0;
  lineBreaks = 0;
  size_t j = 0;
#if defined(__SSE2__)
  const __m128i sepBytes = _mm_set1_epi8(sep);
  const __m128i breakBytes = _mm_set1_epi8(kLineBreakMark);
  const __m128i quoteBytes = _mm_set1_epi8(kQuote);
  const __m128i zero = _mm_setzero_si128();
  alignas(16) char tail[64];
  while (j < n) {
    // Per-byte counters in 8 bits: at most 63 blocks of 4 before they are
    // summed.
    __m128i sepCount = zero;
    __m128i breakCount = zero;
    for (int block = 0; block < 63 && j < n; ++block, j += 64) {
      const char* p = s + j;
      if (j + 64 > n) {
        // The last bytes, padded with bytes 0 (counted as separators only
        // when the separator is 0, and then the count is not used).
        std::memset(tail, 0, sizeof tail);
        std::memcpy(tail, p, n - j);
        p = tail;
      }
      uint64_t quotes = 0;
      for (int part = 0; part < 4; ++part) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        sepCount = _mm_sub_epi8(sepCount, _mm_cmpeq_epi8(w, sepBytes));
        breakCount = _mm_sub_epi8(breakCount, _mm_cmpeq_epi8(w, breakBytes));
        const auto mask = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(w, quoteBytes)));
        quotes |= uint64_t{mask} << (16 * part);
      }
      quoteBits[j >> 6] = quotes;
    }
    const __m128i sepSums = _mm_sad_epu8(sepCount, zero);
    const __m128i breakSums = _mm_sad_epu8(breakCount, zero);
    seps += static_cast<size_t>(_mm_cvtsi128_si32(sepSums)) +
            static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sepSums, 8)));
    lineBreaks += static_cast<size_t>(_mm_cvtsi128_si32(breakSums)) +
                  static_cast<size_t>(_mm_cvtsi128_si32(_mm_srli_si128(breakSums, 8)));
  }
  for (size_t word = (n + 63) >> 6; word < (n >> 6) + 2; ++word) quoteBits[word] = 0;
#else
  for (size_t word = 0; word < (n >> 6) + 2; ++word) quoteBits[word] = 0;
  for (; j < n; ++j) {
    const char c = s[j];
    if (c == sep) ++seps;
    if (c == kLineBreakMark) ++lineBreaks;
    if (c == kQuote) quoteBits[j >> 6] |= uint64_t{1} << (j & 63);
  }
#endif
}

// The usual fields of a log, split without looking at every byte: a quoted
// field whose single closing quote is followed by the separator, or an
// unquoted field without a double quote whose separator lies within the
// next 16 bytes. Splits such fields from pos on for as long as they come and
// returns whether it split any; anything else is left to the general rules
// (the results are the same). Only for lines without byte 11.
//
// The quotes are found in the line's quote bitmap: the quotes of the current
// 64-byte word that lie at or after pos are kept in a register, so finding
// the next closing quote does not wait for a load and a compare of the bytes
// of the field before.
[[gnu::noinline]] bool SplitPlainFields(const char* s, size_t n, char sep, size_t& posRef,
                                        char*& outRef, uint32_t*& endsRef, const char* base,
                                        const uint64_t* quoteBits) {
#if defined(__SSE2__)
  // With the double quote as separator a quote after a field's closing
  // quote would lengthen the quote run; the general rules handle it.
  if (sep == kQuote) return false;
  const __m128i quoteBytes = _mm_set1_epi8(kQuote);
  const __m128i sepBytes = _mm_set1_epi8(sep);
  size_t pos = posRef;
  char* out = outRef;
  uint32_t* ends = endsRef;
  // The quotes at or after pos in pos's word wi.
  size_t wi = pos >> 6;
  uint64_t bits = quoteBits[wi] & (~uint64_t{0} << (pos & 63));
  while (pos + 18 <= n) {
    if (s[pos] == kQuote) {
      // The opening quote at pos is the lowest of bits; the closing quote is
      // the next one, in this word or the next.
      const uint64_t rest = bits & (bits - 1);
      size_t close;
      if (rest != 0) {
        close = (wi << 6) + static_cast<size_t>(std::countr_zero(rest));
        bits = rest & (rest - 1);
      } else {
        const uint64_t next = quoteBits[wi + 1];
        if (next == 0) break;
        ++wi;
        close = (wi << 6) + static_cast<size_t>(std::countr_zero(next));
        bits = next & (next - 1);
      }
      // A single quote followed by the separator closes the field (a second
      // quote would make it a doubled one).
      if (close + 1 >= n || s[close + 1] != sep) break;
      const size_t length = close - pos - 1;
      if (length <= 16) {
        // pos + 17 <= n: the 16 bytes after the opening quote are in the line.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + pos + 1)));
      } else {
        std::memcpy(out, s + pos + 1, length);
      }
      out += length;
      pos = close + 2;
    } else {
      const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + pos));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), w);
      const auto mask = static_cast<unsigned>(_mm_movemask_epi8(
          _mm_or_si128(_mm_cmpeq_epi8(w, quoteBytes), _mm_cmpeq_epi8(w, sepBytes))));
      if (mask == 0) break;
      const auto k = static_cast<size_t>(std::countr_zero(mask));
      if (s[pos + k] != sep) break;
      out += k;
      pos += k + 1;
    }
    *ends++ = static_cast<uint32_t>(out - base);
    if ((pos >> 6) != wi) {
      wi = pos >> 6;
      bits = quoteBits[wi] & (~uint64_t{0} << (pos & 63));
    }
  }
  const bool any = ends != endsRef;
  posRef = pos;
  outRef = out;
  endsRef = ends;
  return any;
#else
  (void)s, (void)n, (void)sep, (void)posRef, (void)outRef, (void)endsRef, (void)base,
      (void)quoteBits;
  return false;
#endif
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
      if (SplitPlainFields(s, n, sep, pos, out, ends, base, quoteBits) && pos > lastSep) break;
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

// See SeparatorCounts::quotedCommaFields.
int64_t QuotedCommaFields(std::string_view line) {
  if (line.empty()) return 0;
  int64_t fields = 0;
  size_t i = 0;
  for (;;) {
    if (i == line.size() || line[i] != kQuote) return -1;
    // The closing quote is the first one that is not doubled.
    for (++i;;) {
      const size_t q = line.find(kQuote, i);
      if (q == std::string_view::npos) return -1;
      i = q + 1;
      if (i == line.size() || line[i] != kQuote) break;
      ++i;
    }
    ++fields;
    if (i == line.size()) return fields;
    if (line[i++] != ',') return -1;
  }
}

}  // namespace

SeparatorCounts CountSeparators(std::string_view line) {
  SeparatorCounts counts;
  const size_t n = line.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    const uint8_t candidate = kCandidateOf[c];
    if (candidate == 0) {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < n && static_cast<unsigned char>(line[j]) == c) ++j;
    const size_t run = j - i;
    const size_t k = candidate - 1u;
    counts.plain[k] += static_cast<int64_t>(run);
    // A doubled separator inside the line counts as none; a run that ends
    // the line counts once whatever its length.
    if (j == n || (run & 1u) != 0) ++counts.single[k];
    i = j;
  }
  counts.quotedCommaFields = QuotedCommaFields(line);
  return counts;
}

char DetectSeparator(const SeparatorCounts& line1, const SeparatorCounts& line2) {
  if (line1.quotedCommaFields >= 2 && line2.quotedCommaFields >= 0) return ',';
  int64_t best = 0;
  char separator = 0;
  // Passes 1 and 2: the candidate that occurs equally often, and most often,
  // in both lines; the earlier candidate wins a tie.
  for (size_t k = 0; k < kCandidates; ++k) {
    if (line1.single[k] == line2.single[k] && line1.single[k] > best) {
      separator = kSeparatorCandidates[k];
      best = line1.single[k];
    }
  }
  if (best == 0) {
    for (size_t k = 0; k < kCandidates; ++k) {
      if (line1.plain[k] == line2.plain[k] && line1.plain[k] > best) {
        separator = kSeparatorCandidates[k];
        best = line1.plain[k];
      }
    }
  }
  // Pass 3: the candidate that occurs most often in either line.
  if (best == 0) {
    for (size_t k = 0; k < kCandidates; ++k) {
      if (line1.plain[k] > best || line2.plain[k] > best) {
        separator = kSeparatorCandidates[k];
        best = std::max(line1.plain[k], line2.plain[k]);
      }
    }
  }
  return separator;
}

char DetectSeparator(std::string_view line1, std::string_view line2) {
  return DetectSeparator(CountSeparators(line1), CountSeparators(line2));
}

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
  ScanLine(s, n, sep, seps, lineBreaks, quoteBits_.get());
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

void SplitCsvLine(std::string_view line, char sep,
                  const std::function<void(int column, std::string_view text)>& store) {
  CsvFieldSplitter splitter;
  const int count = splitter.Split(line, sep);
  for (int k = 0; k < count; ++k) store(k, splitter.Field(k));
}

CsvLineReader::CsvLineReader(const std::string& fileName) : fileName_(fileName) {
  if (!file_.Open(fileName)) throw TableError("Cannot open file " + fileName);
  chunk_ = std::make_unique_for_overwrite<char[]>(kChunkSize);
}

CsvLineReader::~CsvLineReader() = default;

void CsvLineReader::Rewind() { Restrict(partBegin_, partEnd_); }

void CsvLineReader::Restrict(uint64_t begin, uint64_t end) {
  partBegin_ = offset_ = begin;
  partEnd_ = end;
  begin_ = end_ = 0;
  atEnd_ = stoppedAtEndMark_ = false;
  carrySize_ = 0;  // the buffer is kept: a second read of a long line reuses it
  lineInCarry_ = false;
}

uint64_t CsvLineReader::FileSize() const {
  const std::optional<uint64_t> size = file_.Size();
  if (!size) FailRead();
  return *size;
}

std::optional<uint64_t> CsvLineReader::LineStartFrom(uint64_t offset) const {
  std::unique_ptr<char[]> window = std::make_unique_for_overwrite<char[]>(kChunkSize);
  const std::optional<size_t> got = file_.ReadAt(offset, window.get(), kChunkSize);
  if (!got) FailRead();
  const void* lf = std::memchr(window.get(), '\n', *got);
  if (lf == nullptr) return std::nullopt;
  return offset + static_cast<uint64_t>(static_cast<const char*>(lf) - window.get()) + 1;
}

bool CsvLineReader::Fill() {
  begin_ = end_ = 0;
  if (offset_ >= partEnd_) return false;
  const auto wanted = static_cast<size_t>(std::min<uint64_t>(kChunkSize, partEnd_ - offset_));
  const std::optional<size_t> got = file_.ReadAt(offset_, chunk_.get(), wanted);
  if (!got) FailRead();
  if (*got == 0) return false;
  end_ = *got;
  offset_ += *got;
  return true;
}

void CsvLineReader::FailRead() const { throw TableError("Cannot read file " + fileName_); }

// Drops the CR bytes of a line in place: the one before its LF and every
// lone one.
std::string_view CsvLineReader::Finish(char* begin, size_t length) {
  if (length > 0 && begin[length - 1] == '\r') --length;
  char* cr = static_cast<char*>(std::memchr(begin, '\r', length));
  if (cr == nullptr) return {begin, length};
  char* out = cr;
  for (const char* in = cr; in < begin + length; ++in) {
    if (*in != '\r') *out++ = *in;
  }
  return {begin, static_cast<size_t>(out - begin)};
}

void CsvLineReader::AppendToCarry(const char* bytes, size_t count) {
  const size_t needed = carrySize_ + count;
  if (needed > carryCapacity_) {
    const size_t capacity = std::max({needed, 2 * carryCapacity_, size_t{4096}});
    Resize(carry_, capacity);
    carryCapacity_ = capacity;
  }
  std::memcpy(carry_.get() + carrySize_, bytes, count);
  carrySize_ = needed;
}

MallocBuffer CsvLineReader::TakeLongLine(size_t& capacity) {
  capacity = carryCapacity_;
  carrySize_ = carryCapacity_ = 0;
  lineInCarry_ = false;
  return std::move(carry_);
}

bool CsvLineReader::Next(std::string_view& line) {
  lineInCarry_ = false;
  if (atEnd_) return false;
  if (begin_ == end_ && !Fill()) {
    atEnd_ = true;
    return false;
  }
  if (chunk_[begin_] == 26) {  // Ctrl-Z where a line would begin: end of file
    atEnd_ = stoppedAtEndMark_ = true;
    return false;
  }
  char* start = chunk_.get() + begin_;
  const size_t available = end_ - begin_;
  if (char* lf = static_cast<char*>(std::memchr(start, '\n', available))) {
    begin_ += static_cast<size_t>(lf - start) + 1;
    line = Finish(start, static_cast<size_t>(lf - start));
    return true;
  }
  // The line goes on in the next chunk(s).
  carrySize_ = 0;
  AppendToCarry(start, available);
  for (;;) {
    if (!Fill()) {
      atEnd_ = true;  // a last line without a line end
      break;
    }
    char* chunk = chunk_.get();
    if (char* lf = static_cast<char*>(std::memchr(chunk, '\n', end_))) {
      AppendToCarry(chunk, static_cast<size_t>(lf - chunk));
      begin_ = static_cast<size_t>(lf - chunk) + 1;
      break;
    }
    AppendToCarry(chunk, end_);
  }
  line = Finish(carry_.get(), carrySize_);
  lineInCarry_ = true;
  lineLength_ = line.size();
  return true;
}

}  // namespace kartex
