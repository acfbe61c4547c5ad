#include "render/terrain_blocks.h"

#include "gfx/colour.h"

namespace {

uint16_t ReadLittle16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)); }

uint32_t ReadLittle32(const uint8_t* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// Spreads the four values of a block over its 16 positions by the index word.
void Expand(const uint16_t (&palette)[4], uint32_t indices, uint16_t* values) {
  for (uint32_t i = 0; i < kTerrainBlockValues; ++i) values[i] = palette[(indices >> (2 * i)) & 3];
}

}  // namespace

void DecodeHeightBlock(const uint8_t* block, uint16_t* heights) {
  const uint32_t e0 = ReadLittle16(block);
  const uint32_t e1 = ReadLittle16(block + 2);
  // 21/32 of each end, truncated on its own; the sums wrap to 16 bits (they only leave the range
  // in a file whose ends are out of order).
  const uint32_t part0 = 21 * e0 / 32;
  const uint32_t part1 = 21 * e1 / 32;
  const uint16_t palette[4] = {static_cast<uint16_t>(e0), static_cast<uint16_t>(e1),
                               static_cast<uint16_t>(e1 + part0 - part1), static_cast<uint16_t>(e0 + part1 - part0)};
  Expand(palette, ReadLittle32(block + 4), heights);
}

void DecodeTextureBlock(const uint8_t* block, uint16_t* colours) {
  const uint16_t c0 = ReadLittle16(block);
  const uint16_t c1 = ReadLittle16(block + 2);
  // Mixed per channel in 10-bit lanes, weights 21:11 out of 32.
  const uint32_t lanes0 = SpreadColour(c0);
  const uint32_t lanes1 = SpreadColour(c1);
  const uint16_t palette[4] = {c0, c1, PackSpreadColour(21 * lanes0 + 11 * lanes1),
                               PackSpreadColour(11 * lanes0 + 21 * lanes1)};
  Expand(palette, ReadLittle32(block + 4), colours);
}
