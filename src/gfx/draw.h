// Filled rectangles, bevelled panels and axis-aligned lines on RGB565 surfaces.
//
// Rectangles are x, y, w, h in pixels and are clipped to the surface. alpha is an 8-bit
// opacity: 0 draws nothing, 255 draws the colour as it is, anything else mixes by its top five
// bits (so 1..7 still darkens what is there). rounded cuts the corners: the first and last rows
// lose two pixels at each end, the second and second-to-last rows one; it needs a clipped
// rectangle of at least 4 x 4.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

void FillRect(Surface& dst, int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour, bool rounded,
              uint8_t alpha);

// A filled rectangle with a one-pixel bevel: light top and left edges, dark bottom and right.
// A clipped width below 3 leaves no room for a bevel and fills plainly.
void DrawPanel(Surface& dst, int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour, bool rounded,
               uint8_t alpha);

// A vertical or horizontal line, both end points included, in either direction; a slanted line
// draws nothing. Pixels off the surface are skipped.
void DrawLine(Surface& dst, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint16_t colour);
