#include <gtest/gtest.h>

#include "gfx/blit.h"
#include "test_pictures.h"

namespace {

// Every source pixel is distinct and none is 0, the destination's background.
uint16_t SourcePixel(int32_t x, int32_t y) { return static_cast<uint16_t>(0x100 * y + x + 1); }

class BlitTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dst.Create(8, 6));
    dst.Clear(0);
    ASSERT_TRUE(src.Create(16, 10));
    FillSurface(src, [](uint32_t x, uint32_t y) { return SourcePixel(static_cast<int32_t>(x), static_cast<int32_t>(y)); });
  }

  // Checks that exactly the destination rectangle (x, y, w, h) was written, each pixel with
  // the source pixel that the unclipped copy from (sx, sy) to (dx, dy) puts there.
  void ExpectCopied(int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t x, int32_t y, int32_t w, int32_t h) {
    for (int32_t py = 0; py < dst.height; ++py) {
      for (int32_t px = 0; px < dst.width; ++px) {
        const bool inside = px >= x && px < x + w && py >= y && py < y + h;
        const uint16_t expected = inside ? SourcePixel(px - dx + sx, py - dy + sy) : 0;
        ASSERT_EQ(dst.Row(static_cast<uint32_t>(py))[px], expected) << "at " << px << "," << py;
      }
    }
  }

  Surface dst;
  Surface src;
};

TEST_F(BlitTest, ClipsAgainstEveryEdgeOfTheDestination) {
  struct Case {
    const char* name;
    int32_t dx, dy, sx, sy, w, h;
    int32_t x, y, cw, ch;  // what must be written; cw 0 for nothing
  };
  const Case cases[] = {
      {"inside", 1, 1, 2, 3, 4, 2, 1, 1, 4, 2},
      {"left edge: source columns sx+5 .. sx+9 land at 0 .. 4", -5, 0, 2, 0, 10, 2, 0, 0, 5, 2},
      {"right edge", 5, 2, 0, 0, 6, 2, 5, 2, 3, 2},
      {"top edge", 0, -2, 0, 0, 4, 4, 0, 0, 4, 2},
      {"bottom edge", 2, 4, 0, 0, 3, 4, 2, 4, 3, 2},
      {"all four edges", -1, -1, 1, 1, 10, 8, 0, 0, 8, 6},
      {"entirely right", 8, 0, 0, 0, 4, 4, 0, 0, 0, 0},
      {"entirely left", -4, 0, 0, 0, 4, 4, 0, 0, 0, 0},
      {"entirely below", 0, 6, 0, 0, 4, 4, 0, 0, 0, 0},
      {"entirely above", 0, -4, 0, 0, 4, 4, 0, 0, 0, 0},
      {"zero width", 0, 0, 0, 0, 0, 3, 0, 0, 0, 0},
      {"negative height", 0, 0, 0, 0, 3, -2, 0, 0, 0, 0},
      {"far beyond without overflow", 2147483000, 0, 0, 0, 2000, 2, 0, 0, 0, 0},
      {"source reaching past its left edge", 3, 0, -2, 0, 4, 1, 5, 0, 2, 1},
      {"source reaching past its right edge", 0, 0, 14, 0, 5, 1, 0, 0, 2, 1},
      {"source reaching past its bottom", 0, 0, 0, 8, 2, 5, 0, 0, 2, 2},
      {"source reaching past its top", 0, 1, 0, -3, 2, 5, 0, 4, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dst.Clear(0);
    Blit(dst, c.dx, c.dy, src, c.sx, c.sy, c.w, c.h);
    ExpectCopied(c.dx, c.dy, c.sx, c.sy, c.x, c.y, c.cw, c.ch);
  }
}

// The row copy moves pixel pairs as 32-bit words once the destination is word aligned; every
// mix of destination and source alignment and of odd and even widths copies exactly.
TEST_F(BlitTest, CopiesExactlyForEveryAlignment) {
  for (int32_t dx = 0; dx < 2; ++dx) {
    for (int32_t sx = 0; sx < 2; ++sx) {
      for (int32_t w = 1; w <= 6; ++w) {
        SCOPED_TRACE(testing::Message() << "dx " << dx << " sx " << sx << " w " << w);
        dst.Clear(0);
        Blit(dst, dx, 1, src, sx, 2, w, 3);
        ExpectCopied(dx, 1, sx, 2, dx, 1, w, 3);
      }
    }
  }
}

TEST_F(BlitTest, CopyOfAnEmptySurfaceDrawsNothing) {
  Surface missing;
  Blit(dst, 0, 0, missing, 0, 0, 8, 6);
  BlitAlpha(dst, 0, 0, missing, 0, 0, 8, 6);
  ExpectCopied(0, 0, 0, 0, 0, 0, 0, 0);
  Blit(missing, 0, 0, src, 0, 0, 8, 6);  // nor into one
}

// One ARGB4444 row drawn over one destination row, each pixel over its own.
void BlitAlphaRow(const std::vector<uint16_t>& source, const std::vector<uint16_t>& before,
                  const std::vector<uint16_t>& expected) {
  Surface dst, src;
  ASSERT_TRUE(dst.Create(static_cast<uint32_t>(before.size()), 1));
  ASSERT_TRUE(src.Create(static_cast<uint32_t>(source.size()), 1));
  for (size_t i = 0; i < before.size(); ++i) {
    dst.Row(0)[i] = before[i];
    src.Row(0)[i] = source[i];
  }
  BlitAlpha(dst, 0, 0, src, 0, 0, src.width, 1);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(dst.Row(0)[i], expected[i]) << "pixel " << i << " source " << std::hex << source[i];
  }
}

TEST(BlitAlphaTest, AlphaNibbleChoosesKeepReplaceOrMix) {
  BlitAlphaRow({0x0123, 0x0FFF, 0xF123, 0xFFFF, 0x8F00, 0x4000, 0x4800},
          {0xABCD, 0x0000, 0xABCD, 0x0000, 0x001F, 0xFFFF, 0x0000},
          {
              0xABCD,  // alpha 0: kept
              0x0000,  // alpha 0, whatever the colour
              0x1106,  // alpha 15: the colour widened to 565 exactly
              0xFFFF,
              0x880E,  // alpha 8 -> weight 17: blue 31 x 15 / 32 = 14 plus red 31 x 18 / 32 = 17
              0xBDD7,  // alpha 4, red below 8 -> weight 8: white x 24 / 32 = 23 per channel
              0x2800,  // alpha 4, red 8 -> weight 9: red 17 x 10 / 32 = 5
          });
}

// The translucent copies share the clipping of Blit; one clipped call of each shows they use it.
TEST(TranslucentBlitTest, ClipTheSameWay) {
  Surface src;
  ASSERT_TRUE(src.Create(4, 1));
  FillSurface(src, [](uint32_t x, uint32_t) { return static_cast<uint16_t>(0xF000 | (x + 1)); });
  Surface dst;
  ASSERT_TRUE(dst.Create(4, 1));

  dst.Clear(0);
  BlitAlpha(dst, -2, 0, src, 0, 0, 4, 1);  // source columns 2, 3: blue 3 -> 6, 4 -> 8
  EXPECT_EQ(Picture(dst, {{0x0006, 'a'}, {0x0008, 'b'}, {0, '.'}}), std::vector<std::string>{"ab.."});

  dst.Clear(0);
  BlitBlend(dst, 3, 0, src, 0, 0, 4, 1, 255);  // source column 0 alone: 0xF001 scaled by 31
  EXPECT_EQ(Picture(dst, {{0xF001, 'a'}, {0, '.'}}), std::vector<std::string>{"...a"});

  dst.Clear(0);
  BlitTint(dst, 0, -1, src, 0, 0, 4, 1, 0xFFFF, 255);  // the only row is above the surface
  EXPECT_EQ(Picture(dst, {{0, '.'}}), std::vector<std::string>{"...."});
}

TEST(BlitBlendTest, MixesSourceAndDestinationByTheTopFiveAlphaBits) {
  struct Case {
    uint16_t source;
    uint16_t before;
    uint8_t alpha;
    uint16_t expected;
  };
  const Case cases[] = {
      {0xFFFF, 0x0000, 128, 0x8410},  // white x 17 / 32 = 16 per channel
      {0x1234, 0xFFFF, 255, 0x1214},  // destination x 1 / 32 = 0; source keeps all but green bit 0
      {0x0000, 0xFFFF, 0, 0xFFDF},    // destination kept but for green bit 0
      {0xF800, 0x001F, 7, 0x001F},    // alpha 7 is a5 0: red 31 x 1 / 32 = 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.source << " over " << c.before << " alpha " << std::dec << int{c.alpha});
    Surface dst, src;
    ASSERT_TRUE(dst.Create(1, 1));
    ASSERT_TRUE(src.Create(1, 1));
    dst.Row(0)[0] = c.before;
    src.Row(0)[0] = c.source;
    BlitBlend(dst, 0, 0, src, 0, 0, 1, 1, c.alpha);
    EXPECT_EQ(dst.Row(0)[0], c.expected);
  }
}

TEST(BlitTintTest, PullsTheSourceTowardTheColourAndIgnoresTheDestination) {
  struct Case {
    uint16_t source;
    uint16_t colour;
    uint8_t alpha;
    uint16_t expected;
  };
  const Case cases[] = {
      {0xFFFF, 0xF800, 255, 0xF800},  // source x 1 / 32 = 0, plus all of the colour
      {0xFFFF, 0xF800, 0, 0xFFDF},    // source kept but for green bit 0, red 31 x 1 / 32 = 0
      {0x001F, 0xF800, 128, 0x800F},  // blue 31 x 16 / 32 = 15, red 31 x 17 / 32 = 16
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.source << " toward " << c.colour << " alpha " << std::dec << int{c.alpha});
    Surface dst, src;
    ASSERT_TRUE(dst.Create(1, 1));
    ASSERT_TRUE(src.Create(1, 1));
    dst.Row(0)[0] = 0x5555;
    src.Row(0)[0] = c.source;
    BlitTint(dst, 0, 0, src, 0, 0, 1, 1, c.colour, c.alpha);
    EXPECT_EQ(dst.Row(0)[0], c.expected);
  }
}

}  // namespace
