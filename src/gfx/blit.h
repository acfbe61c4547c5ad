// Rectangle copies between surfaces, with four transparency rules.
//
// Each copies the source rectangle (sx, sy, w, h) to (dx, dy) in dst. The rectangle is clipped
// against the destination (moving the source start along with it) and against the source
// picture; a copy of nothing does nothing. The destination is always RGB565. alpha is an 8-bit
// opacity of which only the top five bits count.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

// Opaque RGB565 copy.
void Blit(Surface& dst, int32_t dx, int32_t dy, const Surface& src, int32_t sx, int32_t sy,
          int32_t w, int32_t h);

// ARGB4444 source drawn by its own alpha: 0 leaves the destination, 15 replaces it, anything
// between mixes the two.
void BlitAlpha(Surface& dst, int32_t dx, int32_t dy, const Surface& src, int32_t sx, int32_t sy,
               int32_t w, int32_t h);

// RGB565 source mixed with the destination at one opacity for the whole rectangle.
void BlitBlend(Surface& dst, int32_t dx, int32_t dy, const Surface& src, int32_t sx, int32_t sy,
               int32_t w, int32_t h, uint8_t alpha);

// RGB565 source copied while being pulled toward colour by alpha (menu highlights, flashes).
void BlitTint(Surface& dst, int32_t dx, int32_t dy, const Surface& src, int32_t sx, int32_t sy,
              int32_t w, int32_t h, uint16_t colour, uint8_t alpha);
