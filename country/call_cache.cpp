#include "country/call_cache.h"

#include <cstring>

namespace kartex {

namespace {

constexpr size_t kFirstCapacity = 1024;
// Growing fourfold allocates a third more than the final table on the way,
// against twice as much when doubling.
constexpr size_t kGrowth = 4;

}  // namespace

CallCache::SlotKey::SlotKey(std::string_view text) {
  length = static_cast<uint8_t>(text.size());
  // An empty cell may have no bytes at all to copy from.
  if (!text.empty()) std::memcpy(&head, text.data(), std::min<size_t>(text.size(), 8));
  if (text.size() > 8) std::memcpy(&tail, text.data() + 8, text.size() - 8);
  uint64_t h =
      head * 0x9E3779B97F4A7C15ull ^ (tail + (uint64_t{length} << 32)) * 0xC2B2AE3D27D4EB4Full;
  h ^= h >> 32;
  h *= 0x165667B19E3779F9ull;
  h ^= h >> 29;
  hash = static_cast<uint32_t>(h);
}

CallCache::CallCache(const CallResolver& resolver) : resolver_(resolver) {
  slots_.resize(kFirstCapacity);
  mask_ = kFirstCapacity - 1;
}

CallMatch CallCache::Found(uint32_t country, char areaDigit) const {
  if (country == 0) return {};
  return {&resolver_.Database().Countries()[country - 1], nullptr, areaDigit};
}

CallMatch CallCache::LongCall(std::string_view call) {
  const auto found = longCalls_.find(std::string(call));
  if (found != longCalls_.end()) return found->second;
  const CallMatch match = resolver_.Match(call);
  longCalls_.emplace(call, match);
  return match;
}

CallMatch CallCache::Resolved(const SlotKey& key, std::string_view call) {
  CallMatch match = resolver_.Match(call);
  uint32_t country = 0;
  if (match.country != nullptr) {
    country = static_cast<uint32_t>(match.country - resolver_.Database().Countries().data()) + 1;
    if (country > UINT16_MAX) {
      longCalls_.emplace(call, match);
      return match;
    }
  }
  if (4 * (size_ + 1) > 3 * slots_.size()) Grow();
  size_t i = key.hash & mask_;
  while (slots_[i].usedLength != 0) i = (i + 1) & mask_;
  Slot& slot = slots_[i];
  slot.head = key.head;
  slot.tail = key.tail;
  slot.usedLength = static_cast<uint8_t>(key.length + 1);
  slot.country = static_cast<uint16_t>(country);
  slot.areaDigit = match.areaDigit;
  ++size_;
  match.overrides = nullptr;
  return match;
}

CallMatch CallCache::Match(std::string_view call) {
  if (call.size() > kInlineKey) return LongCall(call);
  const SlotKey key(call);
  for (size_t i = key.hash & mask_; slots_[i].usedLength != 0; i = (i + 1) & mask_) {
    const Slot& slot = slots_[i];
    if (slot.usedLength == key.length + 1 && slot.head == key.head && slot.tail == key.tail) {
      return Found(slot.country, slot.areaDigit);
    }
  }
  if (!longCalls_.empty()) {
    const auto found = longCalls_.find(std::string(call));
    if (found != longCalls_.end()) return found->second;
  }
  return Resolved(key, call);
}

void CallCache::Grow() {
  std::vector<Slot> old(slots_.size() * kGrowth);
  old.swap(slots_);
  mask_ = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.usedLength == 0) continue;
    char text[kInlineKey];
    std::memcpy(text, &slot.head, 8);
    std::memcpy(text + 8, &slot.tail, 4);
    size_t i = SlotKey(std::string_view(text, slot.usedLength - 1u)).hash & mask_;
    while (slots_[i].usedLength != 0) i = (i + 1) & mask_;
    slots_[i] = slot;
  }
}

}  // namespace kartex
