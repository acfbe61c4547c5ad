#include "render/sprite_renderer.h"

#include "gfx/colour.h"

namespace {

struct SpriteRecord {
  int16_t left;  // pixels, inclusive on all four sides
  int16_t right;
  int16_t top;
  int16_t bottom;
  fixed depth;  // view depth, 16.16 metres
  const Surface* image;
};

// A 16.16 fraction of the surface size, in whole pixels, cut to 16 bits.
inline int16_t ScreenPixels(uint32_t size, fixed fraction) {
  return static_cast<int16_t>((static_cast<int64_t>(size) * fraction) >> 16);
}

}  // namespace

void DrawSprites(const SceneView& view, DepthSurface& surface, const PtrArray<ParticleGroup*>& groups,
                 fixed farDistance) {
  SpriteRecord records[kMaxSprites];
  uint16_t count = 0;
  for (const ParticleGroup* group : groups) {
    for (uint16_t i = 0; i < group->particles.Count() && count < kMaxSprites; ++i) {
      const Particle& particle = *group->particles[i];
      const Surface* image = group->SpriteImage(particle);
      if (image == nullptr) continue;
      const Vector3 p = view.view.TransformPoint(particle.position);
      if (p.z <= kFixedOne || p.z >= farDistance) continue;
      const fixed inverse = FixedReciprocal(FixedMul(view.projX, p.z));
      const fixed centreX = WrapAdd(FixedMul(p.x, inverse), kFixedHalf);
      const fixed centreY = WrapSub(kFixedHalf, FixedMul(p.y, inverse));
      const fixed half = FixedMul(particle.halfSize, inverse);
      if (WrapAdd(centreX, half) < 0 || WrapSub(centreX, half) >= kFixedOne || WrapAdd(centreY, half) < 0 ||
          WrapSub(centreY, half) >= kFixedOne) {
        continue;
      }
      records[count++] = {ScreenPixels(surface.width, WrapSub(centreX, half)),
                          ScreenPixels(surface.width, WrapAdd(centreX, half)),
                          ScreenPixels(surface.height, WrapSub(centreY, half)),
                          ScreenPixels(surface.height, WrapAdd(centreY, half)),
                          p.z,
                          image};
    }
  }

  // Farthest first, by the same exchange as the object list (a stable result for equal depths).
  uint16_t order[kMaxSprites];
  for (uint16_t i = 0; i < count; ++i) order[i] = i;
  for (uint16_t i = 0; i + 1 < count; ++i) {
    for (uint16_t j = static_cast<uint16_t>(i + 1); j < count; ++j) {
      if (records[order[i]].depth < records[order[j]].depth) {
        const uint16_t swap = order[i];
        order[i] = order[j];
        order[j] = swap;
      }
    }
  }
  for (uint16_t i = 0; i < count; ++i) {
    const SpriteRecord& sprite = records[order[i]];
    DrawScaledSprite(surface, sprite.left, sprite.top, sprite.right - sprite.left + 1, sprite.bottom - sprite.top + 1,
                     *sprite.image, 0, 0, sprite.image->width, sprite.image->height, sprite.depth, true);
  }
}

void DrawScaledSprite(DepthSurface& surface, int32_t x, int32_t y, int32_t w, int32_t h, const Surface& image,
                      int32_t sourceX, int32_t sourceY, int32_t sourceWidth, int32_t sourceHeight, fixed depth,
                      bool writeDepth) {
  if (w <= 0 || h <= 0 || x >= surface.width || y >= surface.height || surface.pixels == nullptr) return;
  // Every texel read lies in the source rectangle, so that rectangle must lie in the picture.
  if (image.pixels == nullptr || sourceX < 0 || sourceY < 0 || sourceWidth <= 0 || sourceHeight <= 0 ||
      sourceX > image.width - sourceWidth || sourceY > image.height - sourceHeight) {
    return;
  }
  const uint16_t key = static_cast<uint16_t>(depth >> 11);
  // 16.16 texel steps per pixel; the texel coordinates stay below (source end) x 65536 < 2^32.
  const int64_t du = (static_cast<int64_t>(sourceWidth) << 16) / w;
  const int64_t dv = (static_cast<int64_t>(sourceHeight) << 16) / h;
  int64_t u0 = static_cast<int64_t>(sourceX) << 16;
  int64_t v = static_cast<int64_t>(sourceY) << 16;
  if (x < 0) {
    u0 -= du * x;
    w += x;
    x = 0;
  }
  if (y < 0) {
    v -= dv * y;
    h += y;
    y = 0;
  }
  if (w > surface.width - x) w = surface.width - x;
  if (h > surface.height - y) h = surface.height - y;
  if (h < 1 || w < 1) return;

  const uint8_t* texels = reinterpret_cast<const uint8_t*>(image.pixels);
  const uint32_t stepU = static_cast<uint32_t>(du);
  for (int32_t row = 0; row < h; ++row, v += dv) {
    const uint16_t* source = reinterpret_cast<const uint16_t*>(texels + static_cast<uint32_t>(v >> 16) * image.pitch);
    uint16_t* colours = surface.Row(static_cast<uint32_t>(y + row)) + x;
    uint16_t* depths = surface.DepthRow(static_cast<uint32_t>(y + row)) + x;
    uint32_t u = static_cast<uint32_t>(u0);
    for (int32_t column = 0; column < w; ++column, u += stepU) {
      if (key > depths[column]) continue;
      const uint16_t texel = source[u >> 16];
      if ((texel >> 12) == 0) continue;  // fully transparent: neither colour nor depth
      colours[column] = DrawArgb4444Over(colours[column], texel);
      if (writeDepth) depths[column] = key;
    }
  }
}
