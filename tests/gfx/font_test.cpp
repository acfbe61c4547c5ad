#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/wide_string.h"
#include "gfx/font.h"
#include "test_pictures.h"

namespace {

using Rows = std::vector<std::string>;

constexpr uint16_t kPaper = 0x0000;
constexpr uint16_t kInk = 0xFFE0;

// The advance widths of characters 32..127 as the font data was published.
constexpr const char* kRegularAdvances =
    "4 2 4 6 6 6 6 2 3 3 5 4 3 4 2 6 5 2 5 5 5 5 5 5 5 5 2 3 5 4 5 5 8 5 5 5 5 5 5 5 5 2 5 5 5 6 5 5 "
    "5 5 5 5 4 5 5 6 5 5 5 3 6 3 4 4 2 5 5 5 5 5 3 5 5 2 3 5 2 6 5 5 5 5 3 5 3 5 5 6 5 5 5 4 2 4 6 8";
constexpr const char* kBoldAdvances =
    "4 3 6 8 6 7 6 3 4 4 5 5 4 4 3 7 7 3 7 7 7 7 7 7 7 7 3 4 6 4 6 6 8 7 7 6 7 6 6 7 7 3 6 7 6 8 7 7 "
    "7 7 7 6 5 7 7 8 7 7 6 4 7 4 6 5 3 6 6 6 6 6 4 6 6 3 4 6 3 8 6 6 6 6 4 6 4 6 6 8 6 6 6 5 3 5 8 8";

std::vector<int> ParseWidths(const char* list) {
  std::istringstream in(list);
  std::vector<int> widths;
  for (int width; in >> width;) widths.push_back(width);
  return widths;
}

const Font* Regular() { return FindFont(u"sysfontSqTiny"); }
const Font* Bold() { return FindFont(u"sysfontSqTinyBold"); }

std::string Label(char16_t c) { return "character " + std::to_string(static_cast<int>(c)); }

// ---- the stored records ----

TEST(FontData, RecordHeadersAreAsStored) {
  struct Case {
    const Font* font;
    const char16_t* name;
    uint8_t widestBody;
  };
  const Case cases[] = {{&kSqTinyFont, u"sysfontSqTiny", 5}, {&kSqTinyBoldFont, u"sysfontSqTinyBold", 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.name));
    EXPECT_EQ(std::u16string(c.font->name), c.name);
    EXPECT_EQ(c.font->baseline, 7);
    EXPECT_EQ(c.font->descent, 1);
    EXPECT_EQ(c.font->height, 8);
    EXPECT_EQ(c.font->reserved, 2);
    EXPECT_EQ(c.font->bytesPerRow, 1);
    EXPECT_EQ(c.font->widestBody, c.widestBody);
    EXPECT_EQ(c.font->glyphSize, 9);
    EXPECT_EQ(c.font->firstChar, 32);
    EXPECT_EQ(c.font->lastChar, 127);
  }
}

TEST(FontData, EveryGlyphHasThePublishedAdvanceWidth) {
  struct Case {
    const Font* font;
    const char* advances;
  };
  for (const Case& c : {Case{&kSqTinyFont, kRegularAdvances}, Case{&kSqTinyBoldFont, kBoldAdvances}}) {
    SCOPED_TRACE(Utf8FromWide(c.font->name));
    const std::vector<int> widths = ParseWidths(c.advances);
    ASSERT_EQ(widths.size(), 96u);
    for (char16_t ch = 32; ch <= 127; ++ch) {
      const uint8_t* glyph = GetGlyph(*c.font, ch);
      ASSERT_NE(glyph, nullptr) << Label(ch);
      EXPECT_EQ(glyph[0], widths[ch - 32]) << Label(ch);
    }
  }
}

TEST(FontData, LetterAIsExactlyThePublishedGlyph) {
  const uint8_t regularA[9] = {5, 0xF0, 0x90, 0x90, 0xF0, 0x90, 0x90, 0x90, 0x00};
  const uint8_t boldA[9] = {7, 0xFC, 0xCC, 0xCC, 0xFC, 0xCC, 0xCC, 0xCC, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(GetGlyph(kSqTinyFont, u'A'), GetGlyph(kSqTinyFont, u'A') + 9),
            std::vector<uint8_t>(regularA, regularA + 9));
  EXPECT_EQ(std::vector<uint8_t>(GetGlyph(kSqTinyBoldFont, u'A'), GetGlyph(kSqTinyBoldFont, u'A') + 9),
            std::vector<uint8_t>(boldA, boldA + 9));
}

// Ink stays left of the last column of the advance, so neighbouring glyphs never touch.
TEST(FontData, InkStaysInsideTheAdvanceLeavingASpacingColumn) {
  for (const Font* font : {&kSqTinyFont, &kSqTinyBoldFont}) {
    SCOPED_TRACE(Utf8FromWide(font->name));
    for (char16_t ch = 32; ch <= 127; ++ch) {
      const uint8_t* glyph = GetGlyph(*font, ch);
      const uint32_t advance = glyph[0];
      ASSERT_GE(advance, 2u) << Label(ch);
      ASSERT_LE(advance, 8u) << Label(ch);
      const uint8_t beyondAdvance = static_cast<uint8_t>(0xFFu >> advance);
      const uint8_t spacingColumn = static_cast<uint8_t>(0x80u >> (advance - 1));
      for (uint32_t row = 0; row < 8; ++row) {
        EXPECT_EQ(glyph[1 + row] & beyondAdvance, 0) << Label(ch) << " row " << row;
        EXPECT_EQ(glyph[1 + row] & spacingColumn, 0) << Label(ch) << " row " << row;
      }
    }
  }
}

// Capitals and digits fill rows 0-6, lower case without ascenders starts at row 2, and only the
// descenders reach row 7.
TEST(FontData, GlyphsKeepToTheirRows) {
  const std::u16string descenders = u"gjpqy,;";
  const std::u16string xHeightOnly = u"acemnorsuvwxz";
  for (const Font* font : {&kSqTinyFont, &kSqTinyBoldFont}) {
    SCOPED_TRACE(Utf8FromWide(font->name));
    for (char16_t ch = 32; ch <= 127; ++ch) {
      const uint8_t* rows = GetGlyph(*font, ch) + 1;
      EXPECT_EQ(rows[7] != 0, descenders.find(ch) != std::u16string::npos) << Label(ch);
      if ((ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9')) {
        EXPECT_NE(rows[0], 0) << Label(ch);
        EXPECT_NE(rows[6], 0) << Label(ch);
      }
      if (xHeightOnly.find(ch) != std::u16string::npos) {
        EXPECT_EQ(rows[0] | rows[1], 0) << Label(ch);
        EXPECT_NE(rows[2], 0) << Label(ch);
        EXPECT_NE(rows[6], 0) << Label(ch);
      }
      uint32_t ink = 0;
      for (uint32_t row = 0; row < 8; ++row) ink |= rows[row];
      EXPECT_EQ(ink != 0, ch != u' ') << Label(ch);
    }
  }
}

// ---- lookup and measuring ----

TEST(FontLookup, ListHoldsRegularThenBold) {
  const PtrArray<const Font*>& fonts = FontList();
  ASSERT_EQ(fonts.Count(), 2);
  EXPECT_EQ(fonts[0], &kSqTinyFont);
  EXPECT_EQ(fonts[1], &kSqTinyBoldFont);
}

TEST(FontLookup, FindFontMatchesWholeNamesIgnoringCase) {
  struct Case {
    const char16_t* name;
    const Font* expected;
  };
  const Case cases[] = {
      {u"sysfontSqTiny", &kSqTinyFont},
      {u"SYSFONTSQTINY", &kSqTinyFont},
      {u"SysFontSqTinyBOLD", &kSqTinyBoldFont},
      {u"sysfontSqTin", nullptr},
      {u"sysfontSqTinyBold2", nullptr},
      {u"Arial", nullptr},
      {u"", nullptr},
      {nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name ? Utf8FromWide(c.name) : "null");
    EXPECT_EQ(FindFont(c.name), c.expected);
  }
}

TEST(FontLookup, GetGlyphCoversFirstToLastOnly) {
  EXPECT_EQ(GetGlyph(kSqTinyFont, 31), nullptr);
  EXPECT_EQ(GetGlyph(kSqTinyFont, 32), kSqTinyFont.glyphs);
  EXPECT_EQ(GetGlyph(kSqTinyFont, 127), kSqTinyFont.glyphs + 95 * 9);
  EXPECT_EQ(GetGlyph(kSqTinyFont, 128), nullptr);
  EXPECT_EQ(GetGlyph(kSqTinyFont, 0x0141), nullptr);  // 0x41 in its low byte
  EXPECT_EQ(GetGlyph(kSqTinyFont, 0), nullptr);
}

TEST(FontLookup, TextWidthAddsTheAdvancesOfCharactersWithGlyphs) {
  struct Case {
    const Font* font;
    const char16_t* text;
    int32_t expected;
  };
  const Case cases[] = {
      {Regular(), u"AB", 10},
      {Regular(), u"", 0},
      {Regular(), u"A\u00e9B\u20ac", 10},  // above 127: no glyph, no width
      {Regular(), u"\tA\n", 5},            // below 32 likewise
      {Regular(), u"I1 !", 2 + 2 + 4 + 2},
      {Bold(), u"AB", 14},
      {Bold(), u"\u007f@", 16},
      {nullptr, u"AB", 0},
      {Regular(), nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? Utf8FromWide(c.text) : "null");
    EXPECT_EQ(TextWidth(c.font, c.text), c.expected);
  }
}

// ---- drawing ----

class FontDrawTest : public testing::Test {
 protected:
  void Start(uint32_t width, uint32_t height, uint16_t background = kPaper) {
    ASSERT_TRUE(surface.Create(width, height));
    surface.Clear(background);
  }
  Rows Seen() const { return Picture(surface, {{kPaper, '.'}, {kInk, '#'}}); }
  Surface surface;
};

TEST_F(FontDrawTest, DrawGlyphSetsInkAndLeavesPaperAlone) {
  constexpr uint16_t kBackground = 0x1234;
  Start(8, 9, kBackground);
  DrawGlyph(surface, kSqTinyFont, kInk, GetGlyph(kSqTinyFont, u'A'), 1, 1);
  EXPECT_EQ(Picture(surface, {{kBackground, '-'}, {kInk, '#'}}),
            (Rows{"--------", "-####---", "-#--#---", "-#--#---", "-####---", "-#--#---", "-#--#---",
                  "-#--#---", "--------"}));
}

TEST_F(FontDrawTest, DrawGlyphSkipsPixelsOffTheSurface) {
  struct Case {
    const char* name;
    int32_t x, y;
    Rows expected;
  };
  const Case cases[] = {
      {"over the top left corner", -2, -3, {"##..", ".#..", ".#..", ".#.."}},
      {"over the bottom right corner", 2, 1, {"....", "..##", "..#.", "..#."}},
      {"wholly outside", 4, 0, {"....", "....", "....", "...."}},
      {"far outside", -2000000000, 2000000000, {"....", "....", "....", "...."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(4, 4);
    DrawGlyph(surface, kSqTinyFont, kInk, GetGlyph(kSqTinyFont, u'A'), c.x, c.y);
    EXPECT_EQ(Seen(), c.expected);
  }
}

// Text on a 12 x 9 surface, drawn with the regular letter A (ink 4 wide, advance 5).
TEST_F(FontDrawTest, DrawTextAlignsAndClipsWholeGlyphs) {
  const Rows kNothing(9, "............");
  struct Case {
    const char* name;
    const char16_t* text;
    int32_t x, y;
    std::optional<TextClip> clip;
    HorizontalAlign horizontal;
    VerticalAlign vertical;
    int32_t width;
    int32_t returned;
    Rows expected;
  };
  const Case cases[] = {
      {"left, top", u"AA", 1, 0, std::nullopt, HorizontalAlign::Left, VerticalAlign::Top, 0, 10,
       {".####.####..", ".#..#.#..#..", ".#..#.#..#..", ".####.####..", ".#..#.#..#..", ".#..#.#..#..",
        ".#..#.#..#..", "............", "............"}},
      {"last glyph ending on the right column is left out", u"AA", 2, 0, std::nullopt,
       HorizontalAlign::Left, VerticalAlign::Top, 0, 10,
       {"..####......", "..#..#......", "..#..#......", "..####......", "..#..#......", "..#..#......",
        "..#..#......", "............", "............"}},
      {"right aligned", u"A", 11, 1, std::nullopt, HorizontalAlign::Right, VerticalAlign::Top, 0, 5,
       {"............", "......####..", "......#..#..", "......#..#..", "......####..", "......#..#..",
        "......#..#..", "......#..#..", "............"}},
      {"right aligned to a given width", u"A", 11, 0, std::nullopt, HorizontalAlign::Right,
       VerticalAlign::Top, 8, 8,
       {"...####.....", "...#..#.....", "...#..#.....", "...####.....", "...#..#.....", "...#..#.....",
        "...#..#.....", "............", "............"}},
      {"centred", u"A", 6, 0, std::nullopt, HorizontalAlign::Centre, VerticalAlign::Top, 0, 5,
       {"....####....", "....#..#....", "....#..#....", "....####....", "....#..#....", "....#..#....",
        "....#..#....", "............", "............"}},
      {"centred, odd width rounds toward the start", u"A", 6, 0, std::nullopt, HorizontalAlign::Centre,
       VerticalAlign::Top, 3, 3,
       {".....####...", ".....#..#...", ".....#..#...", ".....####...", ".....#..#...", ".....#..#...",
        ".....#..#...", "............", "............"}},
      {"y is the baseline", u"A", 0, 8, std::nullopt, HorizontalAlign::Left, VerticalAlign::Baseline, 0, 5,
       {"............", "####........", "#..#........", "#..#........", "####........", "#..#........",
        "#..#........", "#..#........", "............"}},
      {"y is the row below", u"A", 0, 9, std::nullopt, HorizontalAlign::Left, VerticalAlign::Below, 0, 5,
       {"............", "####........", "#..#........", "#..#........", "####........", "#..#........",
        "#..#........", "#..#........", "............"}},
      {"top at y = -1 draws nothing", u"AA", 0, -1, std::nullopt, HorizontalAlign::Left, VerticalAlign::Top,
       0, 10, kNothing},
      {"last row below the surface draws nothing", u"AA", 0, 2, std::nullopt, HorizontalAlign::Left,
       VerticalAlign::Top, 0, 10, kNothing},
      {"glyph starting left of the surface is skipped whole", u"AA", -1, 0, std::nullopt,
       HorizontalAlign::Left, VerticalAlign::Top, 0, 10,
       {"....####....", "....#..#....", "....#..#....", "....####....", "....#..#....", "....#..#....",
        "....#..#....", "............", "............"}},
      {"characters without glyphs take no room", u"A\u00e9\u0001A", 0, 0, std::nullopt,
       HorizontalAlign::Left, VerticalAlign::Top, 0, 10,
       {"####.####...", "#..#.#..#...", "#..#.#..#...", "####.####...", "#..#.#..#...", "#..#.#..#...",
        "#..#.#..#...", "............", "............"}},
      {"clip left skips the first glyph", u"AA", 0, 0, TextClip{3, 11, 0, 8}, HorizontalAlign::Left,
       VerticalAlign::Top, 0, 10,
       {".....####...", ".....#..#...", ".....#..#...", ".....####...", ".....#..#...", ".....#..#...",
        ".....#..#...", "............", "............"}},
      {"clip right leaves out what reaches it", u"AA", 0, 0, TextClip{0, 9, 0, 8}, HorizontalAlign::Left,
       VerticalAlign::Top, 0, 10,
       {"####........", "#..#........", "#..#........", "####........", "#..#........", "#..#........",
        "#..#........", "............", "............"}},
      {"clip top below the line draws nothing", u"A", 0, 0, TextClip{0, 11, 1, 8}, HorizontalAlign::Left,
       VerticalAlign::Top, 0, 5, kNothing},
      {"clip bottom above the line's last row draws nothing", u"A", 0, 0, TextClip{0, 11, 0, 6},
       HorizontalAlign::Left, VerticalAlign::Top, 0, 5, kNothing},
      // A clip larger than the surface is cut to it: glyphs are still whole or absent, and no
      // pixel outside the surface is touched.
      {"clip past the left edge", u"AA", -3, 0, TextClip{-20, 40, -20, 40}, HorizontalAlign::Left,
       VerticalAlign::Top, 0, 10,
       {"..####......", "..#..#......", "..#..#......", "..####......", "..#..#......", "..#..#......",
        "..#..#......", "............", "............"}},
      {"clip past the right edge", u"AA", 4, 0, TextClip{-20, 40, -20, 40}, HorizontalAlign::Left,
       VerticalAlign::Top, 0, 10,
       {"....####....", "....#..#....", "....#..#....", "....####....", "....#..#....", "....#..#....",
        "....#..#....", "............", "............"}},
      {"clip past the top edge", u"AA", 0, -2, TextClip{-20, 40, -20, 40}, HorizontalAlign::Left,
       VerticalAlign::Top, 0, 10, kNothing},
      {"clip past the bottom edge", u"AA", 0, 5, TextClip{-20, 40, -20, 40}, HorizontalAlign::Left,
       VerticalAlign::Top, 0, 10, kNothing},
      {"clip wholly off the surface", u"AA", 0, 0, TextClip{20, 40, 0, 8}, HorizontalAlign::Left,
       VerticalAlign::Top, 0, 10, kNothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(12, 9);
    const TextClip* clip = c.clip ? &*c.clip : nullptr;
    EXPECT_EQ(DrawText(surface, Regular(), kInk, c.text, c.x, c.y, clip, c.horizontal, c.vertical, c.width),
              c.returned);
    EXPECT_EQ(Seen(), c.expected);
  }
}

TEST_F(FontDrawTest, RightAlignedAt239WithWidth30StartsAt209) {
  Start(240, 8);
  EXPECT_EQ(DrawText(surface, Regular(), kInk, u"A", 239, 0, nullptr, HorizontalAlign::Right,
                     VerticalAlign::Top, 30),
            30);
  std::vector<int> inkColumns;
  for (int x = 0; x < 240; ++x) {
    if (surface.Row(0)[x] == kInk) inkColumns.push_back(x);
  }
  EXPECT_EQ(inkColumns, (std::vector<int>{209, 210, 211, 212}));
}

TEST_F(FontDrawTest, BoldTextUsesTheBoldGlyphs) {
  Start(9, 8);
  EXPECT_EQ(DrawText(surface, Bold(), kInk, u"A", 1, 0, nullptr, HorizontalAlign::Left, VerticalAlign::Top), 7);
  EXPECT_EQ(Seen(), (Rows{".######..", ".##..##..", ".##..##..", ".######..", ".##..##..", ".##..##..",
                          ".##..##..", "........."}));
}

TEST_F(FontDrawTest, MissingFontOrTextDrawsNothing) {
  Start(12, 9);
  EXPECT_EQ(DrawText(surface, nullptr, kInk, u"AA", 0, 0, nullptr, HorizontalAlign::Left, VerticalAlign::Top), 0);
  EXPECT_EQ(DrawText(surface, Regular(), kInk, nullptr, 0, 0, nullptr, HorizontalAlign::Left, VerticalAlign::Top),
            0);
  EXPECT_EQ(Seen(), Rows(9, "............"));
}

TEST_F(FontDrawTest, EmptySurfaceDrawsNothing) {
  Surface empty;
  const TextClip clip{-10, 10, -10, 10};
  EXPECT_EQ(DrawText(empty, Regular(), kInk, u"A", 0, 0, &clip, HorizontalAlign::Left, VerticalAlign::Top), 5);
  DrawGlyph(empty, kSqTinyFont, kInk, GetGlyph(kSqTinyFont, u'A'), 0, 0);
  EXPECT_FALSE(empty.HasPixels());
}

}  // namespace
