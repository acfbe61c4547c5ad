#include "render/terrain_blocks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct BlockCase {
  const char* name;
  uint8_t bytes[8];
  uint16_t expected[16];
};

// Index words: 0xE4 = indices 0, 1, 2, 3 for four positions in a row; 0x1B the reverse.
const BlockCase kHeightCases[] = {
    // 21/32 of 100 is 65, of 200 is 131: 200 + 65 - 131 = 134 and 100 + 131 - 65 = 166.
    {"near ends", {0x64, 0x00, 0xC8, 0x00, 0xE4, 0xE4, 0xE4, 0xE4},
     {100, 200, 134, 166, 100, 200, 134, 166, 100, 200, 134, 166, 100, 200, 134, 166}},
    // 21 x 40000 does not fit 16 bits; the products are taken at full width: 21/32 of 1000 is
    // 656, of 40000 is 26250: 40000 + 656 - 26250 = 14406 and 1000 + 26250 - 656 = 26594.
    {"wide products", {0xE8, 0x03, 0x40, 0x9C, 0x1B, 0x00, 0x00, 0xC0},
     {26594, 14406, 40000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 26594}},
    // Ends out of order are decoded all the same: 21/32 of 65535 is 43007.
    {"ends out of order", {0xFF, 0xFF, 0x00, 0x00, 0xE4, 0x00, 0x00, 0x00},
     {65535, 0, 43007, 22528, 65535, 65535, 65535, 65535, 65535, 65535, 65535, 65535, 65535, 65535, 65535, 65535}},
};

const BlockCase kTextureCases[] = {
    // Red and blue: (21 x 31) / 32 = 20 and (11 x 31) / 32 = 10 per channel.
    {"red and blue", {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0xE4, 0xE4, 0xE4},
     {0xF800, 0x001F, 0xA00A, 0x5014, 0xF800, 0x001F, 0xA00A, 0x5014, 0xF800, 0x001F, 0xA00A, 0x5014, 0xF800,
      0x001F, 0xA00A, 0x5014}},
    // Green keeps all six bits: (21 x 63 + 11) / 32 = 41, (11 x 63 + 21) / 32 = 22.
    {"six-bit green", {0xE0, 0x07, 0x20, 0x00, 0x1B, 0x00, 0x00, 0x00},
     {0x02C0, 0x0520, 0x0020, 0x07E0, 0x07E0, 0x07E0, 0x07E0, 0x07E0, 0x07E0, 0x07E0, 0x07E0, 0x07E0, 0x07E0,
      0x07E0, 0x07E0, 0x07E0}},
    // White and black: red and blue 20 / 10, green 41 / 21.
    {"white and black", {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0xB4},
     {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,
      0x0000, 0x52AA, 0xA534}},
};

TEST(TerrainBlocks, HeightBlocksDecodeToTheirSixteenSamples) {
  for (const BlockCase& c : kHeightCases) {
    SCOPED_TRACE(c.name);
    std::vector<uint16_t> heights(16);
    DecodeHeightBlock(c.bytes, heights.data());
    EXPECT_EQ(heights, std::vector<uint16_t>(c.expected, c.expected + 16));
  }
}

TEST(TerrainBlocks, TextureBlocksDecodeToTheirSixteenColours) {
  for (const BlockCase& c : kTextureCases) {
    SCOPED_TRACE(c.name);
    std::vector<uint16_t> colours(16);
    DecodeTextureBlock(c.bytes, colours.data());
    EXPECT_EQ(colours, std::vector<uint16_t>(c.expected, c.expected + 16));
  }
}

TEST(TerrainBlocks, HighEndIsTheSecondValue) {
  const uint8_t block[8] = {0x10, 0x00, 0x34, 0x12, 0, 0, 0, 0};
  EXPECT_EQ(BlockHighEnd(block), 0x1234);
}

}  // namespace
