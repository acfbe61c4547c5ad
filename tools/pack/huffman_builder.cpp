#include "huffman_builder.h"

#include <algorithm>
#include <queue>

namespace {

// Plain Huffman code lengths (unbounded) for the symbols with non-zero frequency.
std::vector<uint8_t> HuffmanLengths(const std::vector<uint64_t>& frequencies) {
  const size_t n = frequencies.size();
  std::vector<uint8_t> lengths(n, 0);
  // Nodes 0..n-1 are leaves; internal nodes follow. Ties are broken by node index so the
  // result never depends on the heap's implementation.
  std::vector<uint32_t> parent(2 * n, 0);
  using Item = std::pair<uint64_t, uint32_t>;
  std::priority_queue<Item, std::vector<Item>, std::greater<Item>> heap;
  for (uint32_t i = 0; i < n; ++i) {
    if (frequencies[i] > 0) heap.push({frequencies[i], i});
  }
  uint32_t next = static_cast<uint32_t>(n);
  while (heap.size() > 1) {
    const Item a = heap.top();
    heap.pop();
    const Item b = heap.top();
    heap.pop();
    parent[a.second] = next;
    parent[b.second] = next;
    heap.push({a.first + b.first, next});
    ++next;
  }
  const uint32_t root = next - 1;
  for (uint32_t i = 0; i < n; ++i) {
    if (frequencies[i] == 0) continue;
    uint32_t depth = 0;
    for (uint32_t node = i; node != root; node = parent[node]) ++depth;
    lengths[i] = static_cast<uint8_t>(std::min<uint32_t>(depth, 255));
  }
  return lengths;
}

}  // namespace

std::vector<uint8_t> BuildCodeLengths(const std::vector<uint32_t>& frequencies, uint32_t maxLength) {
  std::vector<uint64_t> weights(frequencies.begin(), frequencies.end());
  size_t used = 0;
  for (uint64_t w : weights) used += w > 0 ? 1 : 0;
  if (used == 0) return std::vector<uint8_t>(frequencies.size(), 0);
  if (used == 1) {
    const size_t only =
        std::find_if(weights.begin(), weights.end(), [](uint64_t w) { return w > 0; }) - weights.begin();
    weights[only == 0 ? 1 : 0] = 1;
  }
  // Too long: flatten the distribution (halving, never to zero) until the tree fits. Each
  // round brings the frequencies closer together, so it ends after a few rounds.
  for (;;) {
    std::vector<uint8_t> lengths = HuffmanLengths(weights);
    if (*std::max_element(lengths.begin(), lengths.end()) <= maxLength) return lengths;
    for (uint64_t& w : weights) {
      if (w > 0) w = (w + 1) / 2;
    }
  }
}

HuffmanCode CanonicalCode(const std::vector<uint8_t>& lengths) {
  HuffmanCode code;
  code.lengths = lengths;
  code.codes.assign(lengths.size(), 0);
  uint32_t count[17] = {};
  for (uint8_t length : lengths) {
    if (length > 0 && length <= 16) ++count[length];
  }
  uint32_t next[17] = {};
  uint32_t value = 0;
  for (uint32_t length = 1; length <= 16; ++length) {
    value = (value + count[length - 1]) << 1;
    next[length] = value;
  }
  // count[0] was never filled, so next[1] is 0 and each length starts where the shorter ones
  // ended, doubled.
  for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
    const uint8_t length = lengths[symbol];
    if (length > 0) code.codes[symbol] = static_cast<uint16_t>(next[length]++);
  }
  return code;
}
