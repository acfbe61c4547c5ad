#include "gfx/draw.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "gfx/clip.h"
#include "gfx/colour.h"

namespace {

// Pixels cut from each end of row `row` of a rounded rectangle of `rows` rows.
int32_t RoundedInset(int32_t row, int32_t rows) {
  if (row == 0 || row == rows - 1) return 2;
  if (row == 1 || row == rows - 2) return 1;
  return 0;
}

// n pixels of one colour; pairs go out as 32-bit words once the address is 4-byte aligned.
void FillSpan(uint16_t* p, int32_t n, uint16_t colour) {
  if (n >= 1 && (reinterpret_cast<uintptr_t>(p) & 2) != 0) {
    *p++ = colour;
    --n;
  }
  const uint32_t pair = colour | (static_cast<uint32_t>(colour) << 16);
  for (; n >= 2; n -= 2, p += 2) std::memcpy(p, &pair, 4);
  if (n == 1) *p = colour;
}

// The translucent mix toward a colour: the colour's share is spread and weighted once, then
// each pixel costs one multiplication.
class SpanBlend {
 public:
  SpanBlend(uint16_t colour, uint32_t a5) : colourShare_(SpreadColour(colour) * a5), keep_(31 - a5) {}
  void operator()(uint16_t* p, int32_t n) const {
    for (int32_t i = 0; i < n; ++i) p[i] = PackSpreadColour(SpreadColour(p[i]) * keep_ + colourShare_);
  }

 private:
  uint32_t colourShare_;
  uint32_t keep_;
};

// An opaque panel: three fixed colours.
struct OpaquePanel {
  // Opaque rounded panels leave their cut corner rows in the plain face colour.
  static constexpr bool kBevelledCornerRows = false;
  uint16_t light;
  uint16_t face;
  uint16_t dark;
  void Light(uint16_t* p, int32_t n) const { FillSpan(p, n, light); }
  void Face(uint16_t* p, int32_t n) const { FillSpan(p, n, face); }
  void Dark(uint16_t* p, int32_t n) const { FillSpan(p, n, dark); }
};

// A translucent panel: light mixes toward white, the face toward the colour, and dark only
// darkens what is there.
struct TranslucentPanel {
  // Translucent rounded panels carry the bevel into the cut corner rows.
  static constexpr bool kBevelledCornerRows = true;
  SpanBlend light;
  SpanBlend face;
  SpanBlend dark;
  void Light(uint16_t* p, int32_t n) const { light(p, n); }
  void Face(uint16_t* p, int32_t n) const { face(p, n); }
  void Dark(uint16_t* p, int32_t n) const { dark(p, n); }
};

// Light first pixel, face between, dark last pixel, over columns [from, to) with to - from >= 2.
template <typename Panel>
void BevelRow(const Panel& panel, uint16_t* row, int32_t from, int32_t to) {
  panel.Light(row + from, 1);
  panel.Face(row + from + 1, to - from - 2);
  panel.Dark(row + to - 1, 1);
}

template <typename Panel>
void PaintPanel(Surface& dst, const ClippedRect& r, bool rounded, const Panel& panel) {
  auto row = [&](int32_t y) { return reinterpret_cast<uint16_t*>(PixelAddress(dst, r.x, r.y + y)); };
  const int32_t w = r.w;
  const int32_t h = r.h;
  if (!rounded) {
    panel.Light(row(0), w);
    for (int32_t y = 1; y < h - 1; ++y) BevelRow(panel, row(y), 0, w);
    // A panel one row high is only its top edge: the bottom edge would lie outside it.
    if (h >= 2) panel.Dark(row(h - 1), w);
    return;
  }
  // Rounded panels are at least 4 x 4.
  for (int32_t y = 2; y < h - 2; ++y) BevelRow(panel, row(y), 0, w);
  if constexpr (Panel::kBevelledCornerRows) {
    panel.Light(row(0) + 2, w - 4);
    BevelRow(panel, row(1), 1, w - 1);
    BevelRow(panel, row(h - 2), 1, w - 1);
    panel.Dark(row(h - 1) + 2, w - 4);
  } else {
    panel.Face(row(0) + 2, w - 4);
    panel.Face(row(1) + 1, w - 2);
    panel.Face(row(h - 2) + 1, w - 2);
    panel.Face(row(h - 1) + 2, w - 4);
  }
}

}  // namespace

void FillRect(Surface& dst, int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour, bool rounded,
              uint8_t alpha) {
  if (alpha == 0) return;
  ClippedRect r;
  if (!ClipRect(dst, x, y, w, h, r)) return;
  rounded = rounded && r.w >= 4 && r.h >= 4;
  const SpanBlend blend(colour, FiveBitAlpha(alpha));
  uint8_t* rowStart = PixelAddress(dst, r.x, r.y);
  for (int32_t row = 0; row < r.h; ++row, rowStart += dst.pitch) {
    const int32_t inset = rounded ? RoundedInset(row, r.h) : 0;
    uint16_t* p = reinterpret_cast<uint16_t*>(rowStart) + inset;
    if (alpha == 255) {
      FillSpan(p, r.w - 2 * inset, colour);
    } else {
      blend(p, r.w - 2 * inset);
    }
  }
}

void DrawPanel(Surface& dst, int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour, bool rounded,
               uint8_t alpha) {
  if (alpha == 0) return;
  ClippedRect r;
  if (!ClipRect(dst, x, y, w, h, r)) return;
  if (r.w < 3) {
    FillRect(dst, x, y, w, h, colour, rounded, alpha);
    return;
  }
  rounded = rounded && r.w >= 4 && r.h >= 4;
  if (alpha == 255) {
    const uint16_t dark = ScaleColour(colour, 15);
    const uint16_t light = static_cast<uint16_t>(dark + ScaleColour(0xFFFF, 16));
    PaintPanel(dst, r, rounded, OpaquePanel{light, colour, dark});
  } else {
    const uint32_t a5 = FiveBitAlpha(alpha);
    PaintPanel(dst, r, rounded, TranslucentPanel{SpanBlend(0xFFFF, a5), SpanBlend(colour, a5), SpanBlend(0, a5)});
  }
}

void DrawLine(Surface& dst, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint16_t colour) {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  if (x0 == x1) {
    if (x0 < 0 || x0 >= dst.width) return;
    const int32_t last = std::min<int32_t>(y1, dst.height - 1);
    for (int32_t y = std::max(y0, 0); y <= last; ++y) dst.Row(static_cast<uint32_t>(y))[x0] = colour;
  } else if (y0 == y1) {
    if (y0 < 0 || y0 >= dst.height) return;
    const int32_t first = std::max(x0, 0);
    const int32_t last = std::min<int32_t>(x1, dst.width - 1);
    if (first <= last) FillSpan(dst.Row(static_cast<uint32_t>(y0)) + first, last - first + 1, colour);
  }
}
