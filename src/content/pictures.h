// Pictures from files and from the program's own numbered pictures, decoded into surfaces.
#pragma once

#include <cstdint>

#include "content/data_buffer.h"
#include "gfx/jpeg.h"
#include "gfx/surface.h"

inline bool DecodeJpeg(Surface& target, const DataBuffer& buffer) {
  return DecodeJpeg(target, buffer.data, buffer.size);
}

inline bool DecodeJpegWithMask(Surface& target, const DataBuffer& colour, const DataBuffer& mask) {
  return DecodeJpegWithMask(target, colour.data, colour.size, mask.data, mask.size);
}

// One of the program's own pictures as RGB565; false and an empty surface when it is missing.
bool LoadProgramPicture(Surface& target, uint32_t pictureId);
// A colour picture and a mask picture of the program as one ARGB4444 sprite.
bool LoadProgramPicture(Surface& target, uint32_t colourId, uint32_t maskId);
