// Captions in the pictures, drawn with the game's own 8-pixel fonts (so names and briefings
// look like the rest of the game), scaled up by whole or fractional factors for titles.
#pragma once

#include <string>
#include <vector>

#include "image.h"

struct TextStyle {
  float scale = 1;      // 1: the font's own 8-pixel rows
  bool bold = false;    // "sysfontSqTinyBold" instead of "sysfontSqTiny"
  Colour colour = Rgb(255, 255, 255);
  float shadow = 0;     // offset of a dark drop shadow, pixels; 0 for none
  float outline = 0;    // width of a dark outline, pixels; 0 for none
  Colour edge = Rgb(0, 0, 0);
};

float TextWidth(const std::string& text, const TextStyle& style);
// Draws one line with its top-left corner at (x, y); returns its width.
float DrawText(Image& image, const std::string& text, float x, float y, const TextStyle& style);
void DrawTextCentred(Image& image, const std::string& text, float centreX, float y, const TextStyle& style);
// Breaks text into lines no wider than `width` at spaces.
std::vector<std::string> WrapText(const std::string& text, float width, const TextStyle& style);
