// PNG screenshots of surfaces (the headless runs compare them byte for byte).
#pragma once

#include "gfx/surface.h"

// Writes the colours of source (RGB565 widened to 8-bit RGB by repeating the top bits; a
// DepthSurface's depths are not part of the picture) to path as a PNG. False when there is
// nothing to write or the file cannot be written; a partly written file is removed.
bool SavePng(const Surface& source, const char16_t* path);
