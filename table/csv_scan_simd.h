#pragma once
// Private to table/: the scans of the CSV splitter that look at many bytes at
// once, each beside its scalar version. SSE2 is used where the compiler
// offers it, unless the build sets KARTEX_NO_SIMD (the sanitizer build does,
// so that the scalar versions are tested too).

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && !defined(KARTEX_NO_SIMD)
#define KARTEX_CSV_SSE2 1
#include <emmintrin.h>
#else
#define KARTEX_CSV_SSE2 0
#endif

namespace kartex::csv_scan {

inline constexpr char kQuote = '"';
inline constexpr char kLineBreakMark = 11;  // vertical tab: a line break inside a cell

// Word-at-a-time search: eight bytes are tested at once, so a short field
// costs no mispredicted branch per byte.
inline constexpr uint64_t kOnes = 0x0101010101010101ull;
inline constexpr uint64_t kHighBits = 0x8080808080808080ull;
inline constexpr bool kLittleEndian = std::endian::native == std::endian::little;

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
#if KARTEX_CSV_SSE2
  // SSE2: 16 bytes at a time.
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
  // Then 8 bytes at a time in a 64-bit word.
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

// Counts the separators and the bytes 11 of a line and marks its double
// quotes in quoteBits (bit i of word i / 64 for byte i), all in one pass.
// quoteBits has room for n / 64 + 2 words; every one of them is written.
inline void ScanLineScalar(const char* s, size_t n, char sep, size_t& seps, size_t& lineBreaks,
                           uint64_t* quoteBits) {
  seps = 0;
  lineBreaks = 0;
  size_t j = 0;
  for (size_t word = 0; word < (n >> 6) + 2; ++word) quoteBits[word] = 0;
  for (; j < n; ++j) {
    const char c = s[j];
    if (c == sep) ++seps;
    if (c == kLineBreakMark) ++lineBreaks;
    if (c == kQuote) quoteBits[j >> 6] |= uint64_t{1} << (j & 63);
  }
}

#if KARTEX_CSV_SSE2
// The same, 64 bytes at a time.
inline void ScanLineSse2(const char* s, size_t n, char sep, size_t& seps, size_t& lineBreaks,
                         uint64_t* quoteBits) {
  seps = 0;
  lineBreaks = 0;
  size_t j = 0;
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
}
#endif

inline void ScanLine(const char* s, size_t n, char sep, size_t& seps, size_t& lineBreaks,
                     uint64_t* quoteBits) {
#if KARTEX_CSV_SSE2
  ScanLineSse2(s, n, sep, seps, lineBreaks, quoteBits);
#else
  ScanLineScalar(s, n, sep, seps, lineBreaks, quoteBits);
#endif
}

#if KARTEX_CSV_SSE2
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
[[gnu::noinline]] inline bool SplitPlainFields(const char* s, size_t n, char sep, size_t& posRef,
                                               char*& outRef, uint32_t*& endsRef, const char* base,
                                               const uint64_t* quoteBits) {
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
}
#else
// Without SIMD there is no fast path: the general rules split every field.
inline bool SplitPlainFields(const char*, size_t, char, size_t&, char*&, uint32_t*&, const char*,
                             const uint64_t*) {
  return false;
}
#endif

}  // namespace kartex::csv_scan
