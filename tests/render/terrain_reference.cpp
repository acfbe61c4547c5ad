#include "render/terrain_reference.h"

#include <algorithm>

#include "gfx/colour.h"

namespace {

fixed HeightAt(const Landscape& landscape, uint32_t x, uint32_t z) {
  return HeightValueAt(landscape, x & 511, z & 511) * 1024;
}

uint16_t TexelAtWrapped(const Landscape& landscape, uint32_t x, uint32_t z) {
  return TexelAt(landscape, x & 1023, z & 1023);
}

fixed Lerp(fixed a, fixed b, uint32_t f) {
  return WrapAdd(a, static_cast<int32_t>(static_cast<uint32_t>(WrapSub(b, a)) * f) >> 6);
}

}  // namespace

void ReferenceRender(const Landscape& landscape, const Surface& sky, DepthSurface& surface, const Vector3& position,
                     uint16_t heading, fixed far, fixed near, fixed filter,
                     const fixed (&thresholds)[kRayStepThresholdCount]) {
  const int32_t width = surface.width;
  const int32_t height = surface.height;
  far = std::min(far, IntToFixed(2000));
  const fixed nearLimit = std::min(far, near);
  int32_t a = heading - width / 2;
  if (a < 0) a += 1440;
  const auto put = [&](int32_t x, int32_t y, uint16_t colour, fixed distance) {
    surface.Row(y)[x] = colour;
    surface.DepthRow(y)[x] = static_cast<uint16_t>(distance >> 11);
  };
  for (int32_t x = 0; x < width; ++x, a = (a + 1) % 1440) {
    int32_t rows = height - 1;
    fixed dist = 0, acc = 0, rh = position.y, step = 65536, k = 286;
    uint32_t px = position.x, pz = position.z;
    fixed dx = -Sin1440(a + 360), dz = Sin1440(a), dh = -(height / 2) * 286;
    uint32_t t = 0;
    bool full = false;

    const auto hit = [&](fixed ground) {
      const uint32_t tx = (px >> 17) & 1023, tz = (pz >> 17) & 1023;
      uint16_t c = TexelAtWrapped(landscape, tx, tz);
      if (dist < filter && dist > 0xF0000) {
        const uint32_t fx = (px >> 12) & 31, fz = (pz >> 12) & 31;
        const uint16_t upper = ScaleColour(c, 31 - fx) + ScaleColour(TexelAtWrapped(landscape, tx + 1, tz), fx);
        const uint16_t lower = ScaleColour(TexelAtWrapped(landscape, tx, tz + 1), 31 - fx) +
                               ScaleColour(TexelAtWrapped(landscape, tx + 1, tz + 1), fx);
        c = ScaleColour(upper, 31 - fz) + ScaleColour(lower, fz);
      }
      do {
        put(x, rows, c, dist);
        if (surface.lineDouble == 0) {
          dh += k;
          rh = WrapAdd(rh, acc);
          if (rows == 0) return true;
          rows -= 1;
        } else {
          if (rows > 0) put(x, rows - 1, c, dist);
          dh += 2 * k;
          rh = WrapAdd(rh, 2 * acc);
          if (rows <= 1) return true;
          rows -= 2;
        }
      } while (rh <= ground);
      return false;
    };
    const auto advance = [&] {
      pz += dz;
      acc += k;
      px += dx;
      rh = WrapAdd(rh, dh);
      if (t < kRayStepThresholdCount && thresholds[t] < dist) {
        dh *= 2;
        k *= 2;
        dx *= 2;
        dz *= 2;
        step *= 2;
        t += 1;
      }
      dist += step;
    };

    if (nearLimit > 0) {
      while (!full && dist < nearLimit) {
        const uint32_t hx = (px >> 18) & 511, hz = (pz >> 18) & 511;
        uint16_t highest = 0;
        for (uint32_t bz = 0; bz < 2; ++bz) {
          for (uint32_t bx = 0; bx < 2; ++bx) {
            const uint8_t* block = landscape.heights.data() + ((((hz >> 2) + bz) & 127) * 128 + (((hx >> 2) + bx) & 127)) * 8;
            highest = std::max<uint16_t>(highest, static_cast<uint16_t>(block[2] | (block[3] << 8)));
          }
        }
        if (rh < highest * 1024) {
          const uint32_t fx = (px >> 12) & 63, fz = (pz >> 12) & 63;
          const fixed hA = Lerp(HeightAt(landscape, hx, hz), HeightAt(landscape, hx + 1, hz), fx);
          const fixed hB = Lerp(HeightAt(landscape, hx, hz + 1), HeightAt(landscape, hx + 1, hz + 1), fx);
          const fixed ground = Lerp(hA, hB, fz);
          if (rh < ground) full = hit(ground);
        }
        if (!full) advance();
      }
    }
    while (!full && dist < far) {
      const fixed ground = HeightAt(landscape, (px >> 18) & 511, (pz >> 18) & 511);
      if (rh < ground) full = hit(ground);
      if (!full) advance();
    }
    if (full || rows == 0) continue;
    const uint16_t* backdrop = sky.Row(a < 720 ? a : 1439 - a);
    int32_t i = 0;
    for (; i < rows; i += 2) {
      put(x, i, backdrop[i / 2], dist);
      put(x, i + 1, backdrop[i / 2], dist);
    }
    if (i == rows) put(x, i, backdrop[i / 2], dist);
  }
}
