#include "content/crc32.h"

#include <array>

namespace {

// Built at compile time, so every extraction shares one read-only table.
constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t value = 0; value < 256; ++value) {
    uint32_t c = value;
    for (int round = 0; round < 8; ++round) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    table[value] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

uint32_t Crc32(uint32_t crc, const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) crc = kCrcTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}
