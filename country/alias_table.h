#pragma once
// The texts of one kind of CTY.DAT alias (prefixes, or whole calls) with what
// each one stands for, in a flat hash index: a lookup of a short text costs
// one hash and a probe or two in a small array, which a lookup per contact of
// a log of a million contacts needs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/text_index.h"

namespace kartex {

// An alias in the tables: its country, and its overrides + 1 (0: none).
struct AliasRef {
  uint32_t country = 0;
  uint32_t overrides = 0;
};

// The index refers to the table's own texts, so a table stays where it was
// made (CtyDatabase holds it on the heap).
class AliasTable {
 public:
  AliasTable() : index_(KeyOf{this}) {}
  AliasTable(const AliasTable&) = delete;
  AliasTable& operator=(const AliasTable&) = delete;

  // Adds text unless it is there already (the first alias of a text wins).
  void Insert(std::string_view text, AliasRef ref);
  const AliasRef* Find(std::string_view text) const {
    const uint32_t h = TextIndex<KeyOf>::Hash(text);
    if (!MayHold(h)) return nullptr;
    const uint32_t n = index_.Find(text, h);
    return n == TextIndex<KeyOf>::kAbsent ? nullptr : &refs_[n];
  }
  size_t Size() const { return refs_.size(); }

 private:
  struct KeyOf {
    const AliasTable* table;
    std::string_view operator()(uint32_t n) const { return table->Text(n); }
  };
  std::string_view Text(uint32_t n) const {
    const uint32_t begin = n == 0 ? 0 : ends_[n - 1];
    return std::string_view(bytes_).substr(begin, ends_[n] - begin);
  }

  // Most lookups ask for a text that is not there (a call is rarely a
  // whole-call entry; a prefix is tried at every length). A bit per hash,
  // in a few kilobytes that stay in the processor's cache, answers most of
  // them without a probe of the index.
  bool MayHold(uint32_t h) const {
    const uint32_t bit = h >> filterShift_;
    return (filter_[bit / 64] >> (bit % 64)) & 1u;
  }
  void Remember(uint32_t h) {
    const uint32_t bit = h >> filterShift_;
    filter_[bit / 64] |= uint64_t{1} << (bit % 64);
  }
  void GrowFilter();

  std::vector<uint64_t> filter_ = std::vector<uint64_t>(1, 0);
  uint32_t filterShift_ = 26;   // 2^(32 - shift) bits
  std::string bytes_;           // the texts back to back
  std::vector<uint32_t> ends_;  // where each text ends in bytes_
  std::vector<AliasRef> refs_;
  TextIndex<KeyOf> index_;
};

}  // namespace kartex
