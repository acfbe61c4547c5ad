// Colour arithmetic shared by every drawing routine.
//
// Pixels are RGB565 (red 15-11, green 10-5, blue 4-0); soft-edged sprites are ARGB4444
// (alpha 15-12, red 11-8, green 7-4, blue 3-0). Mixing is done in "lane" form: the three
// channels are spread into 10-bit lanes of one 32-bit word so that a single multiplication
// weights all of them at once, and the top bits of each lane are packed back. Weights are
// five-bit opacities 0..31 (an 8-bit alpha shifted right by 3).
#pragma once

#include <cstdint>

// Opacity as the translucent primitives use it: the top five bits of an 8-bit alpha.
constexpr uint32_t FiveBitAlpha(uint8_t alpha) { return alpha >> 3; }

// c x (w + 1) / 32 per channel, w in 0..31. Green goes through its top five bits only, so the
// lowest green bit of the result is always 0; ScaleColour(c, 31) is c with that bit cleared.
constexpr uint16_t ScaleColour(uint16_t c, uint32_t w) {
  // Lanes: blue at 0-4, the top five green bits at 11-15, red at 21-25.
  const uint32_t lanes = (c & 0x001Fu) | ((c & 0x07C0u) << 5) | ((c & 0xF800u) << 10);
  const uint32_t scaled = lanes * (w + 1);
  return static_cast<uint16_t>(((scaled >> 5) & 0x001Fu) | ((scaled >> 10) & 0x07C0u) |
                               ((scaled >> 15) & 0xF800u));
}

// Lanes that keep all six green bits: blue at 0-4, green at 10-15, red at 21-25. White spreads
// to 0x3E0FC1F. Used by the blend of FillRect and DrawPanel.
constexpr uint32_t SpreadColour(uint16_t c) {
  return (c & 0x001Fu) | ((c & 0x07E0u) << 5) | ((c & 0xF800u) << 10);
}

// Packs lanes that were weighted by a total of at most 31 back into RGB565 (divides by 32).
constexpr uint16_t PackSpreadColour(uint32_t lanes) {
  return static_cast<uint16_t>(((lanes >> 5) & 0x001Fu) | ((lanes >> 10) & 0x07E0u) |
                               ((lanes >> 15) & 0xF800u));
}

// (dst x (31 - a5) + colour x a5) / 32 per channel, green at full six bits. The weights add up
// to 31, not 32, so even a5 = 31 leaves the colour slightly darker, and a5 = 0 darkens dst.
constexpr uint16_t BlendColour(uint16_t dst, uint16_t colour, uint32_t a5) {
  return PackSpreadColour(SpreadColour(dst) * (31 - a5) + SpreadColour(colour) * a5);
}

// Alpha dropped; each 4-bit channel widened by repeating its top bits.
constexpr uint16_t Argb4444To565(uint16_t p) {
  const uint32_t r = (p >> 8) & 0xF;
  const uint32_t g = (p >> 4) & 0xF;
  const uint32_t b = p & 0xF;
  const uint32_t red5 = (r << 1) | (r >> 3);
  const uint32_t green6 = (g << 2) | (g >> 2);
  const uint32_t blue5 = (b << 1) | (b >> 3);
  return static_cast<uint16_t>((red5 << 11) | (green6 << 5) | blue5);
}

// An ARGB4444 pixel p drawn over dst by its alpha nibble: 0 leaves dst, 15 replaces it, and
// anything between mixes the two with a five-bit weight made of the alpha nibble and one more
// bit (the top alpha bit or'ed with the top red bit: bits 11-15 of p | p >> 4). The rule of
// BlitAlpha and of the depth-tested sprites.
constexpr uint16_t DrawArgb4444Over(uint16_t dst, uint16_t p) {
  const uint32_t alpha = p >> 12;
  if (alpha == 0) return dst;
  if (alpha == 15) return Argb4444To565(p);
  const uint32_t weight = ((p | (p >> 4)) >> 11) & 0x1F;
  return static_cast<uint16_t>(ScaleColour(dst, 31 - weight) + ScaleColour(Argb4444To565(p), weight));
}

// RGB555 (red 14-10, green 9-5, blue 4-0) to RGB565; green widened by repeating its top bit.
constexpr uint16_t Rgb555To565(uint16_t c) {
  const uint32_t green5 = (c >> 5) & 0x1F;
  const uint32_t green6 = (green5 << 1) | (green5 >> 4);
  return static_cast<uint16_t>(((c & 0x7C00u) << 1) | (green6 << 5) | (c & 0x001Fu));
}
