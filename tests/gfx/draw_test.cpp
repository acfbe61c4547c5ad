#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "test_pictures.h"

namespace {

using Rows = std::vector<std::string>;

// An 8 x 6 surface of one background colour; the expected pictures below were drawn by hand
// from the shape rules, one character per pixel.
class DrawTest : public testing::Test {
 protected:
  void Start(uint16_t background) {
    ASSERT_TRUE(surface.Create(8, 6));
    surface.Clear(background);
  }
  Surface surface;
};

constexpr uint16_t kGreen = 0x07E0;

TEST_F(DrawTest, FillRectShapes) {
  struct Case {
    const char* name;
    int32_t x, y, w, h;
    bool rounded;
    Rows expected;
  };
  const Case cases[] = {
      {"plain", 1, 1, 3, 2, false, {"........", ".###....", ".###....", "........", "........", "........"}},
      {"rounded 6 x 5", 1, 0, 6, 5, true,
       {"...##...", "..####..", ".######.", "..####..", "...##...", "........"}},
      {"rounded 4 x 4, no full-width row", 0, 0, 4, 4, true,
       {"........", ".##.....", ".##.....", "........", "........", "........"}},
      {"rounded but only 3 wide", 0, 0, 3, 5, true,
       {"###.....", "###.....", "###.....", "###.....", "###.....", "........"}},
      {"rounded but only 3 high", 0, 0, 6, 3, true,
       {"######..", "######..", "######..", "........", "........", "........"}},
      {"rounded, cut at the left edge", -2, 0, 8, 5, true,
       {"..##....", ".####...", "######..", ".####...", "..##....", "........"}},
      {"rounded, clipped to 3 wide", -3, 0, 6, 5, true,
       {"###.....", "###.....", "###.....", "###.....", "###.....", "........"}},
      {"over all four edges", -2, -2, 12, 10, false,
       {"########", "########", "########", "########", "########", "########"}},
      {"right and bottom edges", 6, 4, 5, 5, false,
       {"........", "........", "........", "........", "......##", "......##"}},
      {"entirely outside", 8, 0, 3, 3, false,
       {"........", "........", "........", "........", "........", "........"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(0);
    FillRect(surface, c.x, c.y, c.w, c.h, kGreen, c.rounded, 255);
    EXPECT_EQ(Picture(surface, {{0, '.'}, {kGreen, '#'}}), c.expected);
  }
}

TEST_F(DrawTest, FillRectAlphaZeroDrawsNothing) {
  Start(0x1234);
  FillRect(surface, 0, 0, 8, 6, kGreen, false, 0);
  EXPECT_EQ(Picture(surface, {{0x1234, '.'}}), (Rows(6, "........")));
}

TEST_F(DrawTest, FillRectTranslucentBlendsEveryCoveredPixel) {
  struct Case {
    uint16_t background;
    uint16_t colour;
    uint8_t alpha;
    uint16_t expected;
  };
  const Case cases[] = {
      {0x0000, 0xFFFF, 128, 0x7BEF},  // 31 x 16 / 32 = 15, green 63 x 16 / 32 = 31
      {0x0000, 0xFFFF, 248, 0xF7BE},  // a5 31 is not opaque: 31 x 31 / 32 = 30
      // alpha 7 or less is a5 0: the colour does not count, the pixel becomes dst x 31 / 32
      {0xFFFF, 0x1234, 7, 0xF7BE},
      {0x8410, 0xFFFF, 1, 0x7BEF},  // 16 -> 15, green 32 -> 31
      {0x0841, 0xFFFF, 5, 0x0020},  // red and blue 1 -> 0, green 2 -> 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.colour << " over " << c.background << " alpha " << std::dec << int{c.alpha});
    Start(c.background);
    FillRect(surface, 2, 1, 3, 2, c.colour, false, c.alpha);
    EXPECT_EQ(Picture(surface, {{c.background, '.'}, {c.expected, '*'}}),
              (Rows{"........", "..***...", "..***...", "........", "........", "........"}));
  }
}

TEST_F(DrawTest, FillRectTranslucentRoundedKeepsTheShape) {
  Start(0);
  FillRect(surface, 1, 0, 6, 5, 0xFFFF, true, 128);
  EXPECT_EQ(Picture(surface, {{0, '.'}, {0x7BEF, '*'}}),
            (Rows{"...**...", "..****..", ".******.", "..****..", "...**...", "........"}));
}

// Opaque panels: face colour pure blue; light = blue x 16 / 32 + white x 17 / 32 = 0x841F,
// dark = blue x 16 / 32 = 0x000F.
TEST_F(DrawTest, OpaquePanelShapes) {
  struct Case {
    const char* name;
    int32_t x, y, w, h;
    bool rounded;
    Rows expected;
  };
  const Case cases[] = {
      {"plain", 1, 1, 5, 4, false, {"........", ".LLLLL..", ".LCCCD..", ".LCCCD..", ".DDDDD..", "........"}},
      {"rounded", 1, 0, 6, 5, true, {"...CC...", "..CCCC..", ".LCCCCD.", "..CCCC..", "...CC...", "........"}},
      {"rounded but 3 high", 0, 0, 5, 3, true, {"LLLLL...", "LCCCD...", "DDDDD...", "........", "........", "........"}},
      {"two rows", 0, 0, 4, 2, false, {"LLLL....", "DDDD....", "........", "........", "........", "........"}},
      {"one row on the last row", 0, 5, 5, 1, false, {"........", "........", "........", "........", "........", "LLLLL..."}},
      {"bevel on the clipped rectangle", -1, -1, 5, 4, false,
       {"LLLL....", "LCCD....", "DDDD....", "........", "........", "........"}},
      {"under 3 wide: plain fill", 2, 1, 2, 3, true, {"........", "..CC....", "..CC....", "..CC....", "........", "........"}},
      {"clipped under 3 wide", 6, 0, 6, 2, false, {"......CC", "......CC", "........", "........", "........", "........"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(0);
    DrawPanel(surface, c.x, c.y, c.w, c.h, 0x001F, c.rounded, 255);
    EXPECT_EQ(Picture(surface, {{0, '.'}, {0x841F, 'L'}, {0x001F, 'C'}, {0x000F, 'D'}}), c.expected);
  }
}

// Translucent panels over white at alpha 128 (a5 16), colour red: light mixes toward white
// (0xF7BE), the face toward red (0xF3AE) and dark only darkens (0x73AE).
TEST_F(DrawTest, TranslucentPanelShapes) {
  struct Case {
    const char* name;
    int32_t x, y, w, h;
    bool rounded;
    Rows expected;
  };
  const Case cases[] = {
      {"plain", 1, 1, 5, 4, false, {"........", ".LLLLL..", ".LCCCD..", ".LCCCD..", ".DDDDD..", "........"}},
      {"rounded: the bevel runs into the cut corners", 1, 0, 6, 5, true,
       {"...LL...", "..LCCD..", ".LCCCCD.", "..LCCD..", "...DD...", "........"}},
      {"rounded 4 x 4", 0, 0, 4, 4, true, {"........", ".LD.....", ".LD.....", "........", "........", "........"}},
      {"under 3 wide: plain blend", 0, 0, 2, 2, false, {"CC......", "CC......", "........", "........", "........", "........"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(0xFFFF);
    DrawPanel(surface, c.x, c.y, c.w, c.h, 0xF800, c.rounded, 128);
    EXPECT_EQ(Picture(surface, {{0xFFFF, '.'}, {0xF7BE, 'L'}, {0xF3AE, 'C'}, {0x73AE, 'D'}}), c.expected);
  }
}

TEST_F(DrawTest, PanelAlphaZeroDrawsNothing) {
  Start(0x1234);
  DrawPanel(surface, 0, 0, 8, 6, kGreen, true, 0);
  DrawPanel(surface, 0, 0, 2, 6, kGreen, false, 0);
  EXPECT_EQ(Picture(surface, {{0x1234, '.'}}), (Rows(6, "........")));
}

TEST(DrawLineTest, AxisAlignedLinesIncludeBothEnds) {
  struct Case {
    const char* name;
    int32_t x0, y0, x1, y1;
    int32_t left, top, right, bottom;  // pixels expected set, inclusive; left > right for none
  };
  const Case cases[] = {
      {"vertical, drawn upward", 5, 9, 5, 2, 5, 2, 5, 9},
      {"horizontal, drawn leftward", 6, 3, 1, 3, 1, 3, 6, 3},
      {"one point", 2, 2, 2, 2, 2, 2, 2, 2},
      {"diagonal draws nothing", 0, 0, 3, 3, 1, 0, 0, 0},
      {"vertical, partly above", 3, -5, 3, 2, 3, 0, 3, 2},
      {"horizontal, past both sides", -4, 11, 20, 11, 0, 11, 7, 11},
      {"vertical, right of the surface", 8, 0, 8, 5, 1, 0, 0, 0},
      {"horizontal, above the surface", 0, -1, 7, -1, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Surface surface;
    ASSERT_TRUE(surface.Create(8, 12));
    surface.Clear(0);
    DrawLine(surface, c.x0, c.y0, c.x1, c.y1, kGreen);
    for (int32_t y = 0; y < 12; ++y) {
      for (int32_t x = 0; x < 8; ++x) {
        const bool set = x >= c.left && x <= c.right && y >= c.top && y <= c.bottom;
        EXPECT_EQ(surface.Row(static_cast<uint32_t>(y))[x], set ? kGreen : 0) << x << "," << y;
      }
    }
  }
}

}  // namespace
