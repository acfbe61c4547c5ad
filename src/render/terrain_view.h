// Draws the landscape of a TerrainMap as seen from the camera: one ray per screen column
// across the height field, the ground filled bottom-up in vertical runs of texture colour, and
// the rows left above the ground filled from the sky picture. Colour and depth go into the frame
// so that the objects drawn afterwards are hidden behind hills. Also draws the top-down map.
//
// The view has no pitch or roll: one screen column and one screen row are each a quarter degree
// (240 columns make a 60 degree field of view) and the horizon lies on the middle row.
//
// Owned by the game screen for one mission; keeps its decoded-block caches from frame to frame,
// so it must not outlive its map nor see the map loaded again.
#pragma once

#include <cstdint>

#include "core/fixed.h"
#include "core/vector3.h"
#include "render/render_settings.h"
#include "gfx/surface.h"
#include "render/terrain_map.h"

class TerrainView {
 public:
  explicit TerrainView(const TerrainMap& map);
  ~TerrainView();
  TerrainView(const TerrainView&) = delete;
  TerrainView& operator=(const TerrainView&) = delete;

  // Called every frame before drawing. yaw 0 looks along +z, 16384 along +x, 49152 along -x.
  void SetCamera(const Vector3& position, Angle yaw);

  // Draws landscape and sky into every column of a DepthSurface, two rows per ray step when its
  // lineDouble is set. Distances are 16.16 metres: the ground is drawn up to `far` (at most
  // 2000.0, so that every depth fits its 16 bits), its height interpolated between samples up
  // to `near` and its texture filtered from 15.0 up to `filter`; the ray step doubles each time
  // it passes the next of `thresholds`. False, with the surface untouched, when the map is not
  // usable, the view's caches could not be allocated, or the surface is not a DepthSurface whose
  // height is at most twice the sky picture's width.
  bool Render(DepthSurface& surface, fixed far, fixed near, fixed filter,
              const fixed (&thresholds)[kRayStepThresholdCount]);

  // Draws the texture top-down, one texel (2.0 metres) per pixel, +x to the right and +z up,
  // the camera in the centre; depths are not written. False, with the surface untouched, when
  // there is nothing to draw.
  bool RenderMap(Surface& surface);

  // Quarter degrees (0..1439) of the view direction at the middle column: 0 looks along -x,
  // 360 along +z.
  uint16_t heading() const { return heading_; }
  const Vector3& position() const { return position_; }

 private:
  // Decoded 4 x 4 block; block (bx, bz) always goes to slot (bx mod 64) + 64 x (bz mod 64).
  struct CacheSlot {
    uint16_t tagX;  // block coordinates, 0xFFFF while the slot is empty
    uint16_t tagZ;
    uint16_t values[16];
  };
  struct FrameSetup;
  struct Ray;

  // The inner loop's helpers are forced inline: called once per ray step or per texel, a call
  // costs as much as their work.
  void CastColumn(const FrameSetup& frame, uint16_t* bottomPixel, uint16_t* topPixel, uint32_t direction);
  [[gnu::always_inline]] inline bool Hit(const FrameSetup& frame, Ray& ray, fixed ground);
  // The 16 decoded values of a block, decoded into its slot first when the slot holds another
  // block. Neighbouring blocks never share a slot.
  [[gnu::always_inline]] inline const uint16_t* HeightBlockValues(uint32_t blockX, uint32_t blockZ);
  [[gnu::always_inline]] inline const uint16_t* TextureBlockValues(uint32_t blockX, uint32_t blockZ);
  // Height (16.16 metres) of sample (x, z), 0 <= x, z < 512.
  [[gnu::always_inline]] inline fixed CachedHeight(uint32_t x, uint32_t z);
  // RGB565 colour of texel (x, z), 0 <= x, z < 1024.
  [[gnu::always_inline]] inline uint16_t CachedTexel(uint32_t x, uint32_t z);

  uint16_t heading_ = 0;
  Vector3 position_;
  const TerrainMap& map_;
  CacheSlot* heightCache_ = nullptr;   // kCacheSlots each, from CheckedAlloc
  CacheSlot* textureCache_ = nullptr;
};
