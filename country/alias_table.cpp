#include "country/alias_table.h"

namespace kartex {

namespace {

// Bits of the filter per text: about 6 % of the absent texts pass it.
constexpr size_t kFilterBitsPerText = 16;

}  // namespace

void AliasTable::Insert(std::string_view text, AliasRef ref) {
  const auto n = static_cast<uint32_t>(refs_.size());
  bytes_.append(text);
  ends_.push_back(static_cast<uint32_t>(bytes_.size()));
  refs_.push_back(ref);
  const uint32_t h = TextIndex<KeyOf>::Hash(text);
  if (!index_.Insert(Text(n), h, n).second) {
    // Known already: the text and its entry go again.
    bytes_.resize(bytes_.size() - text.size());
    ends_.pop_back();
    refs_.pop_back();
    return;
  }
  if (filter_.size() * 64 < kFilterBitsPerText * refs_.size() && filterShift_ > 8) GrowFilter();
  Remember(h);
}

// Twice the bits: every text is remembered again under the new width.
void AliasTable::GrowFilter() {
  --filterShift_;
  filter_.assign(filter_.size() * 2, 0);
  for (uint32_t n = 0; n < refs_.size(); ++n) Remember(TextIndex<KeyOf>::Hash(Text(n)));
}

}  // namespace kartex
