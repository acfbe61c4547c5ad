#include "gfx/font.h"

#include <algorithm>
#include <cstddef>

#include "core/wide_string.h"

// The stored record layout: the name field, then nine bytes, then the glyph records.
static_assert(offsetof(Font, baseline) == 2 * kFontNameLength);
static_assert(offsetof(Font, glyphs) == 2 * kFontNameLength + 9);

const PtrArray<const Font*>& FontList() {
  static const PtrArray<const Font*> fonts = [] {
    PtrArray<const Font*> list;
    list.Append(&kSqTinyFont);
    list.Append(&kSqTinyBoldFont);
    return list;
  }();
  return fonts;
}

const Font* FindFont(const char16_t* name) {
  if (name == nullptr) return nullptr;
  for (const Font* font : FontList()) {
    if (EqualsNoCase(font->name, name)) return font;
  }
  return nullptr;
}

const uint8_t* GetGlyph(const Font& font, char16_t character) {
  if (character < font.firstChar || character > font.lastChar) return nullptr;
  return font.glyphs + static_cast<uint32_t>(character - font.firstChar) * font.glyphSize;
}

int32_t TextWidth(const Font* font, const char16_t* text) {
  if (font == nullptr || text == nullptr) return 0;
  int32_t width = 0;
  for (; *text != u'\0'; ++text) {
    if (const uint8_t* glyph = GetGlyph(*font, *text)) width += glyph[0];
  }
  return width;
}

void DrawGlyph(Surface& surface, const Font& font, uint16_t colour, const uint8_t* glyph, int32_t x,
               int32_t y) {
  const uint32_t advance = glyph[0];
  // Only the columns that exist in a row's bytes can hold ink; past them the row is paper.
  const uint32_t columns = std::min<uint32_t>(advance, 8u * font.bytesPerRow);
  const uint8_t* rowBytes = glyph + 1;
  for (uint32_t row = 0; row < font.height; ++row, rowBytes += font.bytesPerRow) {
    const int64_t py = int64_t{y} + row;
    if (py < 0 || py >= surface.height) continue;
    uint16_t* line = surface.Row(static_cast<uint32_t>(py));
    for (uint32_t column = 0; column < columns; ++column) {
      if ((rowBytes[column / 8] & (0x80u >> (column % 8))) == 0) continue;
      const int64_t px = int64_t{x} + column;
      if (px >= 0 && px < surface.width) line[px] = colour;
    }
  }
}

int32_t DrawText(Surface& surface, const Font* font, uint16_t colour, const char16_t* text, int32_t x,
                 int32_t y, const TextClip* clip, HorizontalAlign horizontal, VerticalAlign vertical,
                 int32_t width) {
  if (font == nullptr) return 0;
  if (text == nullptr) text = u"";
  const int32_t w = width != 0 ? width : TextWidth(font, text);

  // The clip, cut down to the surface so that every glyph that passes it lies on the surface.
  int64_t left = 0, right = int64_t{surface.width} - 1, top = 0, bottom = int64_t{surface.height} - 1;
  if (clip != nullptr) {
    left = std::max<int64_t>(left, clip->left);
    right = std::min<int64_t>(right, clip->right);
    top = std::max<int64_t>(top, clip->top);
    bottom = std::min<int64_t>(bottom, clip->bottom);
  }

  int64_t pen = x;
  if (horizontal == HorizontalAlign::Right) pen -= w;
  if (horizontal == HorizontalAlign::Centre) pen -= w / 2;
  int64_t penY = y;
  if (vertical == VerticalAlign::Baseline) penY -= font->baseline;
  if (vertical == VerticalAlign::Below) penY -= font->height;

  // Glyphs that start left of the clip are passed over whole, never drawn in part.
  const char16_t* next = text;
  while (pen < left && *next != u'\0') {
    if (const uint8_t* glyph = GetGlyph(*font, *next)) pen += glyph[0];
    ++next;
  }

  if (penY < top || penY + font->height - 1 > bottom) return w;
  for (; *next != u'\0' && pen <= right; ++next) {
    const uint8_t* glyph = GetGlyph(*font, *next);
    if (glyph == nullptr) continue;
    // A glyph whose last column touches the right edge is left out, like one crossing it.
    if (pen + glyph[0] - 1 < right) {
      DrawGlyph(surface, *font, colour, glyph, static_cast<int32_t>(pen), static_cast<int32_t>(penY));
    }
    pen += glyph[0];
  }
  return w;
}
