#pragma once
// The countries of the calls of one command, so that each distinct call text
// is resolved once however many rows hold it.
//
// A call of up to 12 bytes (nearly every call) is kept whole inside its
// 16-byte slot of a flat table: a lookup reads one slot, which a run over the
// rows loads ahead of time (Prefetch), and never goes back to the row that
// held the call first. A log of 700,000 different calls costs 16 MB; fresh
// memory is dear (each new page is a fault), so the table stays small.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "country/call_resolver.h"

namespace kartex {

class CallCache {
 public:
  explicit CallCache(const CallResolver& resolver);
  CallCache(const CallCache&) = delete;
  CallCache& operator=(const CallCache&) = delete;

  // The country and area digit of the call (the overrides are not kept).
  CallMatch Match(std::string_view call);

  // Starts loading the slot that Match(call) will read.
  void Prefetch(std::string_view call) const {
    if (call.size() <= kInlineKey) __builtin_prefetch(&slots_[SlotKey(call).hash & mask_]);
  }

  // How many rows ahead a run over the rows prefetches.
  static constexpr int kLookAhead = 16;

 private:
  static constexpr size_t kInlineKey = 12;

  struct SlotKey {
    uint64_t head = 0;  // the text's first 8 bytes, zero-padded
    uint32_t tail = 0;  // its next 4
    uint32_t hash = 0;
    uint8_t length = 0;
    explicit SlotKey(std::string_view text);
  };
  struct Slot {
    uint64_t head = 0;
    uint32_t tail = 0;
    uint16_t country = 0;    // index + 1; 0: none
    uint8_t usedLength = 0;  // length + 1; 0: a free slot
    char areaDigit = 0;
  };
  static_assert(sizeof(Slot) == 16);

  CallMatch Found(uint32_t country, char areaDigit) const;
  CallMatch Resolved(const SlotKey& key, std::string_view call);
  CallMatch LongCall(std::string_view call);
  void Grow();

  const CallResolver& resolver_;
  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t size_ = 0;
  // Calls longer than kInlineKey, and those of a country beyond the slots'
  // 65,535 (no real CTY.DAT has so many).
  std::unordered_map<std::string, CallMatch> longCalls_;
};

}  // namespace kartex
