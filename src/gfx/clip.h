// Clipping of rectangles against surfaces, shared by the copies and the rectangle primitives.
// Sums are taken in 64 bits so that no caller's coordinates can overflow them.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

// A rectangle that lies wholly inside its surface: 0 <= x, x + w <= width, w >= 1, and the same
// for y and h.
struct ClippedRect {
  int32_t x;
  int32_t y;
  int32_t w;
  int32_t h;
};

// A copy of a source rectangle to a destination position, both inside their surfaces.
struct ClippedCopy {
  int32_t dx;
  int32_t dy;
  int32_t sx;
  int32_t sy;
  int32_t w;
  int32_t h;
};

// Cuts one axis of a copy. The destination cut moves the source start with it, so the pixel
// that lands at each destination position is the same as without clipping. The source is cut
// the same way so that a rectangle reaching past the source picture (a picture smaller than its
// caller expected) reads nothing outside it.
inline bool ClipCopyAxis(int64_t& d, int64_t& s, int64_t& n, int64_t dLimit, int64_t sLimit) {
  if (d < 0) {
    s -= d;
    n += d;
    d = 0;
  }
  if (d + n > dLimit) n = dLimit - d;
  if (s < 0) {
    d -= s;
    n += s;
    s = 0;
  }
  if (s + n > sLimit) n = sLimit - s;
  return n >= 1;
}

inline bool ClipCopy(const Surface& dst, const Surface& src, int32_t dx, int32_t dy, int32_t sx,
                     int32_t sy, int32_t w, int32_t h, ClippedCopy& out) {
  int64_t x = dx, y = dy, fromX = sx, fromY = sy, cols = w, rows = h;
  if (!ClipCopyAxis(x, fromX, cols, dst.width, src.width)) return false;
  if (!ClipCopyAxis(y, fromY, rows, dst.height, src.height)) return false;
  out = {static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(fromX),
         static_cast<int32_t>(fromY), static_cast<int32_t>(cols), static_cast<int32_t>(rows)};
  return true;
}

inline bool ClipRectAxis(int64_t& start, int64_t& n, int64_t limit) {
  if (start < 0) {
    n += start;
    start = 0;
  }
  if (start + n > limit) n = limit - start;
  return n >= 1;
}

inline bool ClipRect(const Surface& dst, int32_t x, int32_t y, int32_t w, int32_t h, ClippedRect& out) {
  int64_t left = x, top = y, cols = w, rows = h;
  if (!ClipRectAxis(left, cols, dst.width) || !ClipRectAxis(top, rows, dst.height)) return false;
  out = {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(cols),
         static_cast<int32_t>(rows)};
  return true;
}

// Pixel (x, y) of a surface, for walking rows from a starting point.
inline uint8_t* PixelAddress(const Surface& surface, int32_t x, int32_t y) {
  return reinterpret_cast<uint8_t*>(surface.pixels) + static_cast<uint32_t>(y) * surface.pitch +
         static_cast<uint32_t>(x) * 2u;
}
