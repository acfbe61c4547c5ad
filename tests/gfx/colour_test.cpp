#include <gtest/gtest.h>

#include "gfx/colour.h"

namespace {

TEST(ColourTest, ScaleColourByFullWeightOnlyClearsTheLowestGreenBit) {
  for (uint32_t c = 0; c <= 0xFFFF; ++c) {
    ASSERT_EQ(ScaleColour(static_cast<uint16_t>(c), 31), c & ~0x20u) << std::hex << c;
  }
}

TEST(ColourTest, ScaleColourWeighsEveryChannelByWeightPlusOneThirtySeconds) {
  struct Case {
    uint16_t colour;
    uint32_t weight;
    uint16_t expected;
  };
  const Case cases[] = {
      {0xFFFF, 16, 0x8410},  // 31 x 17 / 32 = 16 in each five-bit channel; green 16 -> 32
      {0xFFFF, 0, 0x0000},   // 31 x 1 / 32 = 0
      {0xF800, 15, 0x7800},  // red 31 x 16 / 32 = 15
      {0x07E0, 15, 0x03C0},  // green 63 -> top five bits 31 -> 15 -> six bits 30
      {0x001F, 14, 0x000E},  // blue 31 x 15 / 32 = 14
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleColour(c.colour, c.weight), c.expected) << std::hex << c.colour << " by " << std::dec << c.weight;
  }
}

TEST(ColourTest, BlendKeepsSixGreenBitsAndWeighsByThirtyOne) {
  EXPECT_EQ(SpreadColour(0xFFFF), 0x3E0FC1Fu);
  struct Case {
    uint16_t dst;
    uint16_t colour;
    uint32_t a5;
    uint16_t expected;
  };
  const Case cases[] = {
      {0x0000, 0xFFFF, 31, 0xF7BE},  // 31 x 31 / 32 = 30, green 63 x 31 / 32 = 61
      {0xFFFF, 0x1234, 0, 0xF7BE},   // a5 0 still darkens the destination
      {0x0000, 0xFFFF, 16, 0x7BEF},  // 31 x 16 / 32 = 15, green 63 x 16 / 32 = 31
      {0xFFFF, 0xF800, 16, 0xF3AE},  // red (31 x 15 + 31 x 16) / 32 = 30, green 945 / 32 = 29
      {0xFFFF, 0x0000, 16, 0x73AE},
      {0x0020, 0x0000, 0, 0x0000},   // green 1 x 31 / 32 = 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BlendColour(c.dst, c.colour, c.a5), c.expected)
        << std::hex << c.dst << " toward " << c.colour << " at " << std::dec << c.a5;
  }
}

TEST(ColourTest, FiveBitAlphaIsTheTopFiveBits) {
  EXPECT_EQ(FiveBitAlpha(255), 31u);
  EXPECT_EQ(FiveBitAlpha(248), 31u);
  EXPECT_EQ(FiveBitAlpha(247), 30u);
  EXPECT_EQ(FiveBitAlpha(7), 0u);
  EXPECT_EQ(FiveBitAlpha(128), 16u);
}

TEST(ColourTest, Argb4444WidensByRepeatingTopBits) {
  struct Case {
    uint16_t argb;
    uint16_t expected;
  };
  const Case cases[] = {
      {0xF123, 0x1106},  // red 1 -> 2, green 2 -> 8, blue 3 -> 6
      {0x0FFF, 0xFFFF},  // alpha is dropped
      {0x0F00, 0xF800},
      {0x00F0, 0x07E0},
      {0x000F, 0x001F},
      {0x0888, 0x8C51},  // 8 -> 17 (five bits), 8 -> 34 (six bits)
  };
  for (const Case& c : cases) EXPECT_EQ(Argb4444To565(c.argb), c.expected) << std::hex << c.argb;
}

TEST(ColourTest, Rgb555MovesRedUpAndWidensGreen) {
  struct Case {
    uint16_t rgb555;
    uint16_t expected;
  };
  const Case cases[] = {
      {0x7FFF, 0xFFFF},
      {0x7C00, 0xF800},
      {0x03E0, 0x07E0},  // green 31 -> 63
      {0x0200, 0x0420},  // green 16 -> 33
      {0x01E0, 0x03C0},  // green 15 -> 30
      {0x0010, 0x0010},  // blue unchanged
  };
  for (const Case& c : cases) EXPECT_EQ(Rgb555To565(c.rgb555), c.expected) << std::hex << c.rgb555;
}

}  // namespace
