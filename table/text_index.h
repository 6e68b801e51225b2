#pragma once
// A hash index from texts to numbers 0, 1, 2, ... (the caller's own entry
// numbers). It stores no text: each slot holds a hash and a number, and
// keyOf(number) gives the text back when a hash matches. With 8 bytes a
// slot, the index of a hundred thousand calls stays small enough to be
// looked up without a cache miss per step of the probe.

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace kartex {

template <typename KeyOf>  // std::string_view keyOf(uint32_t number)
class TextIndex {
 public:
  static constexpr uint32_t kAbsent = UINT32_MAX;

  explicit TextIndex(KeyOf keyOf, size_t expected = 0) : keyOf_(std::move(keyOf)) {
    Resize(CapacityFor(expected));
  }

  // The number stored for text, or kAbsent.
  uint32_t Find(std::string_view text) const { return Find(text, Hash(text)); }
  // The same with the text's Hash worked out already.
  uint32_t Find(std::string_view text, uint32_t h) const {
    for (size_t i = h & mask_; slots_[i].number != kAbsent; i = (i + 1) & mask_) {
      if (slots_[i].hash == h && keyOf_(slots_[i].number) == text) return slots_[i].number;
    }
    return kAbsent;
  }

  // Stores number for text unless text is there already. Returns the number
  // stored for text and whether it was stored now. keyOf(number) must give
  // text from then on.
  std::pair<uint32_t, bool> Insert(std::string_view text, uint32_t number) {
    return Insert(text, Hash(text), number);
  }
  // The same with the text's Hash worked out already.
  std::pair<uint32_t, bool> Insert(std::string_view text, uint32_t h, uint32_t number) {
    if (2 * (size_ + 1) > slots_.size()) Resize(slots_.size() * 2);
    size_t i = h & mask_;
    for (; slots_[i].number != kAbsent; i = (i + 1) & mask_) {
      if (slots_[i].hash == h && keyOf_(slots_[i].number) == text) return {slots_[i].number, false};
    }
    slots_[i] = Slot{h, number};
    ++size_;
    return {number, true};
  }

  // Starts loading the slot where the search for a text of this hash
  // begins, so that a run of look-ups does not wait for memory one by one.
  void Prefetch(uint32_t h) const { __builtin_prefetch(&slots_[h & mask_]); }

  // A hash that reads the text eight bytes at a time; calls are short.
  static uint32_t Hash(std::string_view text) {
    constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    const char* p = text.data();
    size_t n = text.size();
    uint64_t h = n * kMultiplier;
    for (; n >= 8; p += 8, n -= 8) {
      uint64_t word;
      std::memcpy(&word, p, 8);
      h = (h ^ word) * kMultiplier;
      h ^= h >> 29;
    }
    uint64_t tail = 0;
    for (size_t k = 0; k < n; ++k) tail |= uint64_t{static_cast<unsigned char>(p[k])} << (8 * k);
    h = (h ^ tail) * kMultiplier;
    h ^= h >> 32;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return static_cast<uint32_t>(h);
  }

 private:
  struct Slot {
    uint32_t hash = 0;
    uint32_t number = kAbsent;
  };

  static size_t CapacityFor(size_t count) {
    size_t capacity = 16;
    while (capacity < 2 * count) capacity *= 2;
    return capacity;
  }

  void Resize(size_t capacity) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
    for (const Slot& slot : old) {
      if (slot.number == kAbsent) continue;
      size_t i = slot.hash & mask_;
      while (slots_[i].number != kAbsent) i = (i + 1) & mask_;
      slots_[i] = slot;
    }
  }

  KeyOf keyOf_;
  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t size_ = 0;
};

}  // namespace kartex
