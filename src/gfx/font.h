// The two built-in bitmap fonts and one-line text drawing.
//
// Text is zero-terminated UTF-16; the fonts cover characters 32..127, and any other character
// has no glyph: it is skipped without taking room. Callers format numbers into wide text
// themselves and hand DrawText a position, an RGB565 colour, an optional clip and alignment.
#pragma once

#include <cstdint>

#include "core/ptr_array.h"
#include "gfx/surface.h"

// Both built-in fonts hold characters 32..127, each glyph an advance width and 8 rows of one byte.
constexpr uint32_t kBuiltInGlyphCount = 96;
constexpr uint32_t kBuiltInGlyphSize = 9;
constexpr uint32_t kFontNameLength = 25;  // name field, terminator included

// A font record, laid out as the fonts are stored. Each glyph record is the advance width in
// pixels followed by `height` rows of `bytesPerRow` bytes; a set bit is ink, the most
// significant bit the leftmost pixel. Only the built-in fonts exist, so the glyph area is
// sized for them.
struct Font {
  char16_t name[kFontNameLength];
  uint8_t baseline;     // rows from the top row to the baseline row
  uint8_t descent;      // rows below the baseline
  uint8_t height;       // rows per glyph
  uint8_t reserved;     // stored as 2; no drawing reads it
  uint8_t bytesPerRow;  // bytes per glyph row
  uint8_t widestBody;   // widest glyph body in pixels, as stored; no drawing reads it
  uint8_t glyphSize;    // bytes per glyph record: 1 + height x bytesPerRow
  uint8_t firstChar;
  uint8_t lastChar;
  uint8_t glyphs[kBuiltInGlyphCount * kBuiltInGlyphSize];
};

// The built-in records ("sysfontSqTiny", "sysfontSqTinyBold"); callers find fonts by name.
extern const Font kSqTinyFont;
extern const Font kSqTinyBoldFont;

// The fonts in lookup order: regular first, then bold. Process-wide by design: the fonts are
// static data shared by every screen, so the list is one for the whole program, built on first
// use and released at exit. Only the main thread draws text.
const PtrArray<const Font*>& FontList();

// The first font in the list whose name matches ignoring case, or null.
const Font* FindFont(const char16_t* name);

// The glyph record (advance width, then the rows) of a character, or null when the font has no
// glyph for it (outside firstChar..lastChar).
const uint8_t* GetGlyph(const Font& font, char16_t character);

// Sum of the advance widths, in pixels, of the characters that have glyphs. A null font or
// text measures 0.
int32_t TextWidth(const Font* font, const char16_t* text);

// Sets the ink pixels of one glyph with its top-left corner at (x, y); paper is left as it is.
// Pixels that fall off the surface are skipped.
void DrawGlyph(Surface& surface, const Font& font, uint16_t colour, const uint8_t* glyph, int32_t x,
               int32_t y);

// Clip rectangle for text, in pixels, every edge inclusive.
struct TextClip {
  int16_t left;
  int16_t right;
  int16_t top;
  int16_t bottom;
};

enum class HorizontalAlign : uint8_t { Left = 0, Right = 1, Centre = 2 };  // where x is on the line
enum class VerticalAlign : uint8_t { Top = 0, Baseline = 1, Below = 2 };   // which row y is

// Draws one line of text and returns its width in pixels: `width` when it is not 0 (callers
// that measured already, or want to align a field of their own size), else TextWidth.
//
// Glyphs are drawn whole or not at all: those starting left of the clip, and those whose last
// column (the blank spacing column included) reaches the clip's right edge, are left out, and
// a line that does not fit between the clip's top and bottom draws nothing. Without a clip the
// surface is the clip; a given clip is cut down to the surface, so no pixel outside it is
// written. A null font draws nothing and returns 0, like a missing picture.
int32_t DrawText(Surface& surface, const Font* font, uint16_t colour, const char16_t* text, int32_t x,
                 int32_t y, const TextClip* clip, HorizontalAlign horizontal, VerticalAlign vertical,
                 int32_t width = 0);
