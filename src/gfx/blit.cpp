#include "gfx/blit.h"

#include <cstring>

#include "gfx/clip.h"
#include "gfx/colour.h"

namespace {

// Runs pixel(destination, source) over every pixel of a clipped copy, row by row.
template <typename PixelRule>
void ForEachCopiedPixel(Surface& dst, const Surface& src, const ClippedCopy& c, PixelRule pixel) {
  uint8_t* dstRow = PixelAddress(dst, c.dx, c.dy);
  const uint8_t* srcRow = PixelAddress(src, c.sx, c.sy);
  for (int32_t y = 0; y < c.h; ++y, dstRow += dst.pitch, srcRow += src.pitch) {
    uint16_t* d = reinterpret_cast<uint16_t*>(dstRow);
    const uint16_t* s = reinterpret_cast<const uint16_t*>(srcRow);
    for (int32_t x = 0; x < c.w; ++x) pixel(d[x], s[x]);
  }
}

}  // namespace

void Blit(Surface& dst, int32_t dx, int32_t dy, const Surface& src, int32_t sx, int32_t sy,
          int32_t w, int32_t h) {
  ClippedCopy c;
  if (!ClipCopy(dst, src, dx, dy, sx, sy, w, h, c)) return;
  uint8_t* dstRow = PixelAddress(dst, c.dx, c.dy);
  const uint8_t* srcRow = PixelAddress(src, c.sx, c.sy);
  for (int32_t y = 0; y < c.h; ++y, dstRow += dst.pitch, srcRow += src.pitch) {
    uint8_t* d = dstRow;
    const uint8_t* s = srcRow;
    int32_t left = c.w;
    // One pixel alone brings the destination to a 4-byte boundary; then pairs move as 32-bit
    // words (the source may still be misaligned, which memcpy handles), then a last odd pixel.
    if ((reinterpret_cast<uintptr_t>(d) & 2) != 0) {
      std::memcpy(d, s, 2);
      d += 2;
      s += 2;
      --left;
    }
    for (; left >= 2; left -= 2, d += 4, s += 4) {
      uint32_t pair;
      std::memcpy(&pair, s, 4);
      std::memcpy(d, &pair, 4);
    }
    if (left == 1) std::memcpy(d, s, 2);
  }
}

void BlitAlpha(Surface& dst, int32_t dx, int32_t dy, const Surface& src, int32_t sx, int32_t sy,
               int32_t w, int32_t h) {
  ClippedCopy c;
  if (!ClipCopy(dst, src, dx, dy, sx, sy, w, h, c)) return;
  ForEachCopiedPixel(dst, src, c, [](uint16_t& d, uint16_t p) { d = DrawArgb4444Over(d, p); });
}

void BlitBlend(Surface& dst, int32_t dx, int32_t dy, const Surface& src, int32_t sx, int32_t sy,
               int32_t w, int32_t h, uint8_t alpha) {
  ClippedCopy c;
  if (!ClipCopy(dst, src, dx, dy, sx, sy, w, h, c)) return;
  const uint32_t a5 = FiveBitAlpha(alpha);
  ForEachCopiedPixel(dst, src, c, [a5](uint16_t& d, uint16_t s) {
    d = static_cast<uint16_t>(ScaleColour(d, 31 - a5) + ScaleColour(s, a5));
  });
}

void BlitTint(Surface& dst, int32_t dx, int32_t dy, const Surface& src, int32_t sx, int32_t sy,
              int32_t w, int32_t h, uint16_t colour, uint8_t alpha) {
  ClippedCopy c;
  if (!ClipCopy(dst, src, dx, dy, sx, sy, w, h, c)) return;
  const uint32_t a5 = FiveBitAlpha(alpha);
  const uint16_t tint = ScaleColour(colour, a5);
  ForEachCopiedPixel(dst, src, c, [a5, tint](uint16_t& d, uint16_t s) {
    d = static_cast<uint16_t>(ScaleColour(s, 31 - a5) + tint);
  });
}
