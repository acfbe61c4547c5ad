#include "render/terrain_view.h"

#include <algorithm>
#include <initializer_list>

#include "core/memory.h"
#include "gfx/colour.h"
#include "render/terrain_blocks.h"

namespace {

constexpr uint32_t kQuarterDegreesPerTurn = 1440;
// The sky picture's rows cover half a turn; the other half mirrors them.
constexpr uint32_t kQuarterDegreesPerHalfTurn = 720;

// Sin1440(1): the rise of one quarter degree per metre, 16.16. One screen row is a quarter degree
// of vertical angle, so this is also the slope step from one row to the next.
constexpr fixed kRowSlope = 286;

// Distances in 16.16 metres.
constexpr fixed kStartStep = kFixedOne;
constexpr fixed kUnfilteredDistance = 0xF0000;  // 15.0: nearer texels are big enough unfiltered
// The farthest ray end whose depth (distance x 32, 16 bits) can still be told: 2048.0 less the
// largest step a ray can take (32.0 after five doublings).
constexpr fixed kMaxFarDistance = IntToFixed(2000);
// A distance no ray reaches: the step stops doubling after the last threshold.
constexpr fixed kNoMoreThresholds = INT32_MAX;

// Position bits: world units are 16.16, a height sample every 4.0 (bit 18), a texel every 2.0
// (bit 17); the fractions inside them are read in 64ths and 32nds (from bit 12).
constexpr uint32_t kSampleShift = 18;
constexpr uint32_t kTexelShift = 17;
constexpr uint32_t kFractionShift = 12;
constexpr uint32_t kSampleMask = kHeightSamplesPerSide - 1;  // the world wraps every 512 samples
constexpr uint32_t kTexelMask = kTexelsPerSide - 1;          // and every 1024 texels

constexpr uint32_t kCacheSide = 64;
constexpr uint32_t kCacheSlots = kCacheSide * kCacheSide;

// Position of value (x, z) inside its 4 x 4 block.
inline uint32_t BlockIndex(uint32_t x, uint32_t z) { return (x & 3) + 4 * (z & 3); }
// Whether value x + 1 (or z + 1) lies in the same block as x: then a 2 x 2 neighbourhood is
// read from one cache slot.
inline bool NextInSameBlock(uint32_t x) { return (x & 3) != 3; }

// Depth of a pixel at a ray distance: distance x 32 in 16 bits.
inline uint16_t DepthAt(fixed distance) { return static_cast<uint16_t>(distance >> 11); }

// a + (b - a) x f / 64 with the product wrapping in 32 bits and the shift arithmetic, as the
// handheld's multiply did.
inline fixed Interpolate64ths(fixed a, fixed b, uint32_t f) {
  const int32_t product = static_cast<int32_t>(static_cast<uint32_t>(WrapSub(b, a)) * f);
  return WrapAdd(a, product >> 6);
}

// Sum of two weighted colours, which never carries out of a channel when the weights add to 31.
inline uint16_t MixColours(uint16_t a, uint32_t weightA, uint16_t b, uint32_t weightB) {
  return static_cast<uint16_t>(ScaleColour(a, weightA) + ScaleColour(b, weightB));
}

}  // namespace

// What every column of one Render call shares.
struct TerrainView::FrameSetup {
  fixed far;
  fixed nearLimit;  // end of the interpolated-height phase, at most far
  fixed filter;
  fixed thresholds[kRayStepThresholdCount + 1];  // the caller's, then kNoMoreThresholds
  fixed bottomSlope;     // the ray slope of the bottom row, 16.16 metres per metre
  uint32_t bottomRow;    // its number
  uint32_t rowStep;      // 16-bit values from one row to the next
  uint32_t depthOffset;  // 16-bit values from a pixel's colour to its depth
  bool doubleRows;
  const uint16_t* maxHeights;
  const Surface* sky;
};

// One column's ray. It starts at the camera aimed at the bottom row; each hit raises it to the
// next row's slope, so the rows fill bottom-up while the ray marches on.
struct TerrainView::Ray {
  uint16_t* pixel;  // colour of the lowest row still to fill
  uint32_t row;     // its number
  fixed distance;   // nominal distance: depths, thresholds, filter range and loop ends
  fixed rise;       // slope step x true distance travelled: lifts the ray by one row where it is
  uint32_t x;       // position, wrapping in the world's 16.16 units
  uint32_t z;
  fixed height;
  fixed step;
  fixed rowSlope;  // kRowSlope x step
  fixed dx;        // the move of one step along the ground
  fixed dz;
  fixed dh;  // the ray's fall or climb over one step
  uint32_t threshold;   // index of the next distance at which the step doubles
  fixed nextThreshold;  // that distance
};

TerrainView::TerrainView(const TerrainMap& map) : map_(map) {
  heightCache_ = CheckedAllocArray<CacheSlot>(kCacheSlots);
  textureCache_ = CheckedAllocArray<CacheSlot>(kCacheSlots);
  for (CacheSlot* cache : {heightCache_, textureCache_}) {
    if (cache == nullptr) continue;
    for (uint32_t i = 0; i < kCacheSlots; ++i) cache[i].tagX = cache[i].tagZ = 0xFFFF;
  }
}

TerrainView::~TerrainView() {
  Free(heightCache_);
  Free(textureCache_);
}

void TerrainView::SetCamera(const Vector3& position, Angle yaw) {
  position_ = position;
  // Yaw counts from +z; the heading counts from -x, a quarter turn earlier.
  heading_ = static_cast<uint16_t>(static_cast<uint16_t>(yaw + 16384) * kQuarterDegreesPerTurn >> 16);
}

const uint16_t* TerrainView::HeightBlockValues(uint32_t blockX, uint32_t blockZ) {
  CacheSlot& slot = heightCache_[(blockX & (kCacheSide - 1)) + kCacheSide * (blockZ & (kCacheSide - 1))];
  if (slot.tagX != blockX || slot.tagZ != blockZ) {
    DecodeHeightBlock(map_.heightBlocks() + (blockZ * kHeightBlocksPerSide + blockX) * kTerrainBlockBytes,
                      slot.values);
    slot.tagX = static_cast<uint16_t>(blockX);
    slot.tagZ = static_cast<uint16_t>(blockZ);
  }
  return slot.values;
}

const uint16_t* TerrainView::TextureBlockValues(uint32_t blockX, uint32_t blockZ) {
  CacheSlot& slot = textureCache_[(blockX & (kCacheSide - 1)) + kCacheSide * (blockZ & (kCacheSide - 1))];
  if (slot.tagX != blockX || slot.tagZ != blockZ) {
    DecodeTextureBlock(map_.textureBlocks() + (blockZ * kTextureBlocksPerSide + blockX) * kTerrainBlockBytes,
                       slot.values);
    slot.tagX = static_cast<uint16_t>(blockX);
    slot.tagZ = static_cast<uint16_t>(blockZ);
  }
  return slot.values;
}

fixed TerrainView::CachedHeight(uint32_t x, uint32_t z) {
  return HeightBlockValues(x >> 2, z >> 2)[BlockIndex(x, z)] * kHeightValueScale;
}

uint16_t TerrainView::CachedTexel(uint32_t x, uint32_t z) { return TextureBlockValues(x >> 2, z >> 2)[BlockIndex(x, z)]; }

bool TerrainView::Render(DepthSurface& surface, fixed far, fixed near, fixed filter,
                         const fixed (&thresholds)[kRayStepThresholdCount]) {
  const Surface& sky = map_.sky();
  // The sky fills two rows per picture column; the bottom row is never sky.
  if (!map_.Usable() || heightCache_ == nullptr || textureCache_ == nullptr || !surface.HasPixels() ||
      surface.BitsPerPixel() != 32 || surface.width == 0 || surface.height == 0 ||
      surface.height > 2u * sky.width) {
    return false;
  }

  FrameSetup frame;
  frame.far = std::min(far, kMaxFarDistance);
  frame.nearLimit = std::min(frame.far, near);
  frame.filter = filter;
  std::copy(thresholds, thresholds + kRayStepThresholdCount, frame.thresholds);
  frame.thresholds[kRayStepThresholdCount] = kNoMoreThresholds;
  frame.bottomSlope = -static_cast<fixed>(surface.height / 2) * kRowSlope;
  frame.bottomRow = surface.height - 1u;
  frame.rowStep = surface.pitch / 2;
  frame.depthOffset = surface.pitch / 4;
  frame.doubleRows = surface.lineDouble != 0;
  frame.maxHeights = map_.maxHeights();
  frame.sky = &sky;

  // Column x looks heading - width/2 + x quarter degrees round.
  const uint32_t halfWidth = (surface.width / 2u) % kQuarterDegreesPerTurn;
  uint32_t direction = (heading_ % kQuarterDegreesPerTurn + kQuarterDegreesPerTurn - halfWidth) % kQuarterDegreesPerTurn;
  uint16_t* const topRow = surface.Row(0);
  uint16_t* const bottomRow = surface.Row(surface.height - 1u);
  for (uint32_t x = 0; x < surface.width; ++x) {
    CastColumn(frame, bottomRow + x, topRow + x, direction);
    if (++direction == kQuarterDegreesPerTurn) direction = 0;
  }
  return true;
}

void TerrainView::CastColumn(const FrameSetup& frame, uint16_t* bottomPixel, uint16_t* topPixel, uint32_t direction) {
  Ray ray;
  ray.pixel = bottomPixel;
  ray.row = frame.bottomRow;
  ray.distance = 0;
  ray.rise = 0;
  ray.x = static_cast<uint32_t>(position_.x);
  ray.z = static_cast<uint32_t>(position_.z);
  ray.height = position_.y;
  ray.step = kStartStep;
  ray.rowSlope = kRowSlope;
  // Direction 0 is -x, 360 is +z.
  ray.dx = -Sin1440(direction + 360);
  ray.dz = Sin1440(direction);
  ray.dh = frame.bottomSlope;
  ray.threshold = 0;
  ray.nextThreshold = frame.thresholds[0];

  // One step of the march, in this order: the position moves by the old step, the step may
  // double, then the nominal distance grows by the new step. Each doubling therefore puts the
  // nominal distance one old step ahead of the true one; `rise` follows the true distance.
  const auto advance = [&frame, &ray] {
    ray.z += static_cast<uint32_t>(ray.dz);
    ray.rise += ray.rowSlope;
    ray.x += static_cast<uint32_t>(ray.dx);
    ray.height = WrapAdd(ray.height, ray.dh);
    if (ray.nextThreshold < ray.distance) {
      ray.dh *= 2;
      ray.rowSlope *= 2;
      ray.dx *= 2;
      ray.dz *= 2;
      ray.step *= 2;
      ray.nextThreshold = frame.thresholds[++ray.threshold];
    }
    ray.distance += ray.step;
  };

  // Near phase: the ground height is interpolated between the four samples around the ray, and a
  // whole block neighbourhood the ray passes above is skipped on one comparison.
  while (ray.distance < frame.nearLimit) {
    const uint32_t sampleX = (ray.x >> kSampleShift) & kSampleMask;
    const uint32_t sampleZ = (ray.z >> kSampleShift) & kSampleMask;
    const fixed highest = frame.maxHeights[(sampleZ >> 2) * kHeightBlocksPerSide + (sampleX >> 2)] * kHeightValueScale;
    if (ray.height < highest) {
      const uint16_t* const block = HeightBlockValues(sampleX >> 2, sampleZ >> 2);
      const uint32_t index = BlockIndex(sampleX, sampleZ);
      const fixed h00 = block[index] * kHeightValueScale;
      fixed h10, h01, h11;
      if (NextInSameBlock(sampleX) && NextInSameBlock(sampleZ)) {
        h10 = block[index + 1] * kHeightValueScale;
        h01 = block[index + 4] * kHeightValueScale;
        h11 = block[index + 5] * kHeightValueScale;
      } else {
        const uint32_t nextX = (sampleX + 1) & kSampleMask;
        const uint32_t nextZ = (sampleZ + 1) & kSampleMask;
        h10 = CachedHeight(nextX, sampleZ);
        h01 = CachedHeight(sampleX, nextZ);
        h11 = CachedHeight(nextX, nextZ);
      }
      const uint32_t fractionX = (ray.x >> kFractionShift) & 63;
      const uint32_t fractionZ = (ray.z >> kFractionShift) & 63;
      const fixed nearEdge = Interpolate64ths(h00, h10, fractionX);
      const fixed farEdge = Interpolate64ths(h01, h11, fractionX);
      const fixed ground = Interpolate64ths(nearEdge, farEdge, fractionZ);
      if (ray.height < ground && Hit(frame, ray, ground)) return;
    }
    advance();
  }

  // Far phase: flat 4.0 x 4.0 cells.
  while (ray.distance < frame.far) {
    const fixed ground = CachedHeight((ray.x >> kSampleShift) & kSampleMask, (ray.z >> kSampleShift) & kSampleMask);
    if (ray.height < ground && Hit(frame, ray, ground)) return;
    advance();
  }

  // Sky over the rows 0..ray.row still empty, two rows per picture column. A zero row number
  // means the column is full, except after a single-row hit that stopped just short of the top:
  // that one pixel keeps what the previous frame left.
  if (ray.row == 0) return;
  const uint32_t skyRow = direction < kQuarterDegreesPerHalfTurn ? direction : kQuarterDegreesPerTurn - 1 - direction;
  const uint16_t* const backdrop = frame.sky->Row(skyRow);
  const uint16_t depth = DepthAt(ray.distance);
  uint32_t row = 0;
  for (; row < ray.row; row += 2) {
    uint16_t* const pixel = topPixel + row * frame.rowStep;
    pixel[0] = pixel[frame.rowStep] = backdrop[row / 2];
    pixel[frame.depthOffset] = pixel[frame.rowStep + frame.depthOffset] = depth;
  }
  if (row == ray.row) {
    uint16_t* const pixel = topPixel + row * frame.rowStep;
    pixel[0] = backdrop[row / 2];
    pixel[frame.depthOffset] = depth;
  }
}

// The ray has gone under the ground: fills rows with the texel under the ray until the ray, lifted
// row by row, is above the ground again. True when the column is full.
bool TerrainView::Hit(const FrameSetup& frame, Ray& ray, fixed ground) {
  const uint32_t texelX = (ray.x >> kTexelShift) & kTexelMask;
  const uint32_t texelZ = (ray.z >> kTexelShift) & kTexelMask;
  const uint16_t* const block = TextureBlockValues(texelX >> 2, texelZ >> 2);
  const uint32_t index = BlockIndex(texelX, texelZ);
  uint16_t colour = block[index];
  if (ray.distance < frame.filter && ray.distance > kUnfilteredDistance) {
    // Bilinear, in 32nds of a texel.
    uint16_t c10, c01, c11;
    if (NextInSameBlock(texelX) && NextInSameBlock(texelZ)) {
      c10 = block[index + 1];
      c01 = block[index + 4];
      c11 = block[index + 5];
    } else {
      const uint32_t nextX = (texelX + 1) & kTexelMask;
      const uint32_t nextZ = (texelZ + 1) & kTexelMask;
      c10 = CachedTexel(nextX, texelZ);
      c01 = CachedTexel(texelX, nextZ);
      c11 = CachedTexel(nextX, nextZ);
    }
    const uint32_t fractionX = (ray.x >> kFractionShift) & 31;
    const uint32_t fractionZ = (ray.z >> kFractionShift) & 31;
    const uint16_t nearEdge = MixColours(colour, 31 - fractionX, c10, fractionX);
    const uint16_t farEdge = MixColours(c01, 31 - fractionX, c11, fractionX);
    colour = MixColours(nearEdge, 31 - fractionZ, farEdge, fractionZ);
  }
  const uint16_t depth = DepthAt(ray.distance);
  const uint32_t rowStep = frame.rowStep;
  const uint32_t depthOffset = frame.depthOffset;

  if (!frame.doubleRows) {
    do {
      ray.pixel[0] = colour;
      ray.pixel[depthOffset] = depth;
      if (ray.row == 0) return true;
      --ray.row;
      ray.pixel -= rowStep;
      ray.dh += ray.rowSlope;
      ray.height = WrapAdd(ray.height, ray.rise);
    } while (ray.height <= ground);
    return false;
  }

  // Two rows per step: the lower row of the pair, then the one above it. On a surface of odd
  // height the top row has no partner and is filled alone.
  do {
    ray.pixel[0] = colour;
    ray.pixel[depthOffset] = depth;
    if (ray.row == 0) return true;
    uint16_t* const above = ray.pixel - rowStep;
    above[0] = colour;
    above[depthOffset] = depth;
    if (ray.row == 1) return true;
    ray.row -= 2;
    ray.pixel -= 2 * rowStep;
    ray.dh += 2 * ray.rowSlope;
    ray.height = WrapAdd(ray.height, WrapAdd(ray.rise, ray.rise));
  } while (ray.height <= ground);
  return false;
}

bool TerrainView::RenderMap(Surface& surface) {
  if (!map_.Usable() || textureCache_ == nullptr || !surface.HasPixels()) return false;
  // The top row shows the texel row half a screen above the camera (+z is up on the screen).
  const uint32_t cameraTexelX = static_cast<uint32_t>(position_.x) >> kTexelShift;
  const uint32_t cameraTexelZ = static_cast<uint32_t>(position_.z) >> kTexelShift;
  const uint32_t leftTexel = (cameraTexelX - surface.width / 2u) & kTexelMask;
  uint32_t texelZ = (cameraTexelZ + surface.height / 2u) & kTexelMask;
  for (uint32_t y = 0; y < surface.height; ++y) {
    uint16_t* const row = surface.Row(y);
    for (uint32_t x = 0; x < surface.width; ++x) row[x] = CachedTexel((leftTexel + x) & kTexelMask, texelZ);
    texelZ = (texelZ - 1) & kTexelMask;
  }
  return true;
}
