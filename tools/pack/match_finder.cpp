#include "match_finder.h"

void MatchFinder::Reset() {
  head3_.assign(1u << kHashBits, 0);
  head2_.assign(1u << 16, 0);
  chain_.assign(kChainSize, 0);
}

void MatchFinder::Insert(const std::vector<uint8_t>& data, uint32_t position) {
  if (position + 2 < data.size()) {
    const uint32_t hash = Hash3(data.data() + position);
    chain_[position & (kChainSize - 1)] = head3_[hash];
    head3_[hash] = position + 1;
  }
  if (position + 1 < data.size()) head2_[Hash2(data.data() + position)] = position + 1;
}

uint32_t MatchFinder::NearestPairDistance(const std::vector<uint8_t>& data, uint32_t position) const {
  if (position + 1 >= data.size()) return 0;
  const uint32_t candidate = head2_[Hash2(data.data() + position)];
  if (candidate == 0) return 0;
  const uint32_t distance = position - (candidate - 1);
  return distance <= 256 ? distance : 0;
}
