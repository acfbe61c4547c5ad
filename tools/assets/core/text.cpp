#include "text.h"

#include <algorithm>
#include <sstream>

#include "gfx/font.h"

namespace {

const Font& FontOf(const TextStyle& style) { return style.bold ? kSqTinyBoldFont : kSqTinyFont; }

// The ink of one line as squares of `scale` pixels, laid over the image.
void DrawInk(Image& image, const std::string& text, float x, float y, float scale, const Font& font,
             const Colour& colour, float grow) {
  float penX = x;
  for (char ch : text) {
    const uint8_t* glyph = GetGlyph(font, static_cast<char16_t>(static_cast<unsigned char>(ch)));
    if (glyph == nullptr) continue;
    const int columns = std::min<int>(glyph[0], 8 * font.bytesPerRow);
    for (int row = 0; row < font.height; ++row) {
      const uint8_t bits = glyph[1 + row * font.bytesPerRow];
      for (int column = 0; column < columns; ++column) {
        if ((bits & (0x80u >> column)) == 0) continue;
        image.FillRect(penX + column * scale - grow, y + row * scale - grow, scale + 2 * grow, scale + 2 * grow,
                       colour);
      }
    }
    penX += glyph[0] * scale;
  }
}

}  // namespace

float TextWidth(const std::string& text, const TextStyle& style) {
  const Font& font = FontOf(style);
  float width = 0;
  for (char ch : text) {
    if (const uint8_t* glyph = GetGlyph(font, static_cast<char16_t>(static_cast<unsigned char>(ch)))) {
      width += glyph[0] * style.scale;
    }
  }
  return width;
}

float DrawText(Image& image, const std::string& text, float x, float y, const TextStyle& style) {
  const Font& font = FontOf(style);
  if (style.outline > 0) DrawInk(image, text, x, y, style.scale, font, style.edge, style.outline);
  if (style.shadow > 0) DrawInk(image, text, x + style.shadow, y + style.shadow, style.scale, font, style.edge, 0);
  DrawInk(image, text, x, y, style.scale, font, style.colour, 0);
  return TextWidth(text, style);
}

void DrawTextCentred(Image& image, const std::string& text, float centreX, float y, const TextStyle& style) {
  DrawText(image, text, centreX - TextWidth(text, style) / 2, y, style);
}

std::vector<std::string> WrapText(const std::string& text, float width, const TextStyle& style) {
  std::vector<std::string> lines;
  std::istringstream words(text);
  std::string word, line;
  while (words >> word) {
    const std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && TextWidth(candidate, style) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}
