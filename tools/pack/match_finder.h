// Hash chains over the bytes a version-20 stream has produced so far (for a solid archive,
// every earlier entry too), for finding earlier copies of the bytes at a position.
#pragma once

#include <cstdint>
#include <vector>

class MatchFinder {
 public:
  // Farthest distance searched: the decoder's window is 1 MiB.
  static constexpr uint32_t kMaxDistance = 0xFFFFF;

  explicit MatchFinder(uint32_t maxChainLength) : maxChainLength_(maxChainLength) { Reset(); }

  void Reset();

  // Positions are indices into `data`, which holds every byte from the start of the stream;
  // every position before `position` must have been inserted, in order.
  void Insert(const std::vector<uint8_t>& data, uint32_t position);

  // Calls visit(distance, length) for earlier copies at `position` of at least 3 bytes, nearest
  // first, each longer than the previous one reported. Stops at `maxLength` bytes or when the
  // chain runs out; `limit` is the number of bytes that may be matched (to the entry's end).
  template <typename Visit>
  void FindMatches(const std::vector<uint8_t>& data, uint32_t position, uint32_t limit, Visit visit) const;

  // The nearest earlier position, at most 256 back, whose two bytes equal those at `position`;
  // 0 when there is none. Length-2 matches are only worth coding that close.
  uint32_t NearestPairDistance(const std::vector<uint8_t>& data, uint32_t position) const;

 private:
  static constexpr uint32_t kHashBits = 16;
  static constexpr uint32_t kChainSize = 0x100000;  // > kMaxDistance, a power of two

  static uint32_t Hash3(const uint8_t* p) {
    return ((p[0] << 8) ^ (p[1] << 4) ^ p[2] ^ (p[0] >> 3)) & ((1u << kHashBits) - 1);
  }
  static uint32_t Hash2(const uint8_t* p) { return p[0] | (p[1] << 8); }

  uint32_t maxChainLength_;
  // Positions are stored plus one so that 0 means "none".
  std::vector<uint32_t> head3_;
  std::vector<uint32_t> head2_;
  std::vector<uint32_t> chain_;
};

template <typename Visit>
void MatchFinder::FindMatches(const std::vector<uint8_t>& data, uint32_t position, uint32_t limit, Visit visit) const {
  if (limit < 3) return;
  const uint8_t* current = data.data() + position;
  uint32_t best = 2;
  uint32_t candidate = head3_[Hash3(current)];
  for (uint32_t steps = 0; candidate != 0 && steps < maxChainLength_; ++steps) {
    const uint32_t earlier = candidate - 1;
    const uint32_t distance = position - earlier;
    if (distance > kMaxDistance) break;
    const uint8_t* match = data.data() + earlier;
    if (match[best] == current[best] && match[0] == current[0] && match[1] == current[1]) {
      uint32_t length = 0;
      while (length < limit && match[length] == current[length]) ++length;
      if (length > best) {
        best = length;
        visit(distance, length);
        if (length >= limit) return;
      }
    }
    candidate = chain_[earlier & (kChainSize - 1)];
  }
}
