// JPEG pictures to and from surfaces (libjpeg, 6b interface).
//
// Every picture the game shows is a 3-component JPEG. A picture that cannot be decoded (not a
// JPEG, corrupt, cut short, greyscale where colour is needed, larger than kMaxJpegSide on a
// side) gives false and an empty surface; the library prints nothing and the game goes on.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

// Largest picture side accepted, in pixels; anything bigger is taken for a broken file.
constexpr uint32_t kMaxJpegSide = 8192;

// Decodes a colour JPEG into target as RGB565 (colours truncated to 5/6/5 bits).
bool DecodeJpeg(Surface& target, const uint8_t* bytes, uint32_t size);

// Decodes a colour JPEG into target as ARGB4444, taking the alpha from the first component of
// a mask JPEG (usually greyscale): black is transparent, white opaque. A mask of another size
// sets alpha only where both pictures have pixels; the rest stays transparent.
bool DecodeJpegWithMask(Surface& target, const uint8_t* colourBytes, uint32_t colourSize,
                        const uint8_t* maskBytes, uint32_t maskSize);

// Writes the colours of source (RGB565; a DepthSurface's depths are not part of the picture)
// as a JPEG of quality 100 to path. False when the file cannot be written; a partly written
// file is removed.
bool SaveJpeg(const Surface& source, const char16_t* path);
