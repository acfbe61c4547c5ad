// Landscapes: height and texture blocks with any bytes, read by the ground-height lookup and the
// voxel renderer that walks them, with the camera anywhere above (or below) the ground.
//
// Input: two bytes each of camera x, z, height and yaw, one byte of flags (bit 0: doubled rows,
// bits 4-5: draw distance, bits 6-7: image quality), then block bytes.
//
// Loading a whole landscape (640 kB of blocks, a sky picture, the coarse bounds of every block)
// costs milliseconds, so one landscape is loaded per process, flat and empty, and each input
// writes its blocks into a square of it around the camera, tiled. Afterwards the square is
// emptied again, so every input meets the same landscape and a crash replays from its input.
// (Refusing block files of the wrong size is a test of the loader's own.)
//
// Checked: the ground height is one a block can decode to, and the renderer draws a narrow frame.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/wide_string.h"
#include "fuzz_support.h"
#include "gfx/jpeg.h"
#include "render/render_settings.h"
#include "render/terrain_blocks.h"
#include "render/terrain_map.h"
#include "render/terrain_view.h"

namespace {

constexpr size_t kHeaderBytes = 9;
constexpr size_t kMaxBlockBytes = 4096;
// The square the input fills: 32 height blocks of 16 m, so 256 m each way from the camera: the
// near and filtered parts of every view lie inside it, and the far rays cross its edge onto the
// flat ground beyond.
constexpr uint32_t kSquareHeightBlocks = 32;
constexpr uint32_t kHeightMask = kHeightBlocksPerSide - 1;

// The empty landscape every input starts from, loaded once.
TerrainMap& Landscape() {
  static TerrainMap* map = [] {
    const std::string sky = fuzz::ScratchPath("sky.jpg");
    Surface picture;
    picture.Create(TerrainMap::kMinSkyColumns, TerrainMap::kSkyRows);
    for (uint32_t y = 0; y < picture.height; ++y) {
      for (uint32_t x = 0; x < picture.width; ++x) picture.Row(y)[x] = static_cast<uint16_t>(0x001F + (x << 6));
    }
    FUZZ_CHECK(SaveJpeg(picture, WideFromUtf8(sky).c_str()));
    const std::vector<uint8_t> heights(kHeightFileSize, 0), texture(kTextureFileSize, 0);
    fuzz::ScratchFile heightFile("heights.bin", heights.data(), heights.size());
    fuzz::ScratchFile textureFile("texture.bin", texture.data(), texture.size());
    auto* loaded = new TerrainMap;
    FUZZ_CHECK(loaded->Load(nullptr, WideFromUtf8(heightFile.path()).c_str(), WideFromUtf8(textureFile.path()).c_str(),
                            WideFromUtf8(sky).c_str()));
    std::remove(sky.c_str());
    return loaded;
  }();
  return *map;
}

// The loaded landscape's blocks and bounds, written in place: the map hands them out read-only
// because the game never changes a landscape once loaded.
uint8_t* HeightBlocks() { return const_cast<uint8_t*>(Landscape().heightBlocks()); }
uint8_t* TextureBlocks() { return const_cast<uint8_t*>(Landscape().textureBlocks()); }

// `count` bytes repeated to fill `size` (zeros when there are none): the first copy, then the
// buffer doubles itself, since a byte loop would cost more than the render.
const std::vector<uint8_t>& Tiled(const uint8_t* bytes, size_t count, size_t size) {
  static std::vector<uint8_t> tiled;
  tiled.assign(size, 0);
  if (count == 0) return tiled;
  size_t filled = std::min(count, size);
  std::memcpy(tiled.data(), bytes, filled);
  while (filled < size) {
    const size_t chunk = std::min(filled, size - filled);
    std::memcpy(tiled.data() + filled, tiled.data(), chunk);
    filled += chunk;
  }
  return tiled;
}

// Copies a square of `side` x `side` blocks, row by row from `source`, into a file of
// `perSide` x `perSide` blocks with its corner at block (bx, bz); the file wraps at its edges.
void CopySquare(uint8_t* file, uint32_t perSide, uint32_t bx, uint32_t bz, uint32_t side, const uint8_t* source) {
  const uint32_t mask = perSide - 1;
  for (uint32_t z = 0; z < side; ++z) {
    for (uint32_t x = 0; x < side;) {
      const uint32_t fileX = (bx + x) & mask;
      const uint32_t run = std::min(side - x, perSide - fileX);  // up to the file's right edge
      std::memcpy(file + (((bz + z) & mask) * perSide + fileX) * kTerrainBlockBytes,
                  source + (z * side + x) * kTerrainBlockBytes, run * kTerrainBlockBytes);
      x += run;
    }
  }
}

// Writes `blocks` (count bytes, repeated; zeros when empty) over the square of height blocks
// whose corner is (bx, bz), and over the texture blocks under the same ground (four of them
// under each height block).
void FillSquare(uint32_t bx, uint32_t bz, const uint8_t* blocks, size_t count) {
  constexpr uint32_t kTextureSide = 2 * kSquareHeightBlocks;
  CopySquare(HeightBlocks(), kHeightBlocksPerSide, bx, bz, kSquareHeightBlocks,
             Tiled(blocks, count, kSquareHeightBlocks * kSquareHeightBlocks * kTerrainBlockBytes).data());
  CopySquare(TextureBlocks(), kTextureBlocksPerSide, 2 * bx, 2 * bz, kTextureSide,
             Tiled(blocks, count, kTextureSide * kTextureSide * kTerrainBlockBytes).data());
}

// The renderer's coarse bounds for the square and the blocks bordering it, by the loader's rule:
// a block's bound is the highest high end among it and its neighbours at +x, +z and both. Outside
// the square the landscape is flat at 0.
void UpdateBounds(uint32_t bx, uint32_t bz) {
  // High ends of the square with a border of zeros around it: entry (x + 1, z + 1) is block
  // (bx + x, bz + z).
  constexpr uint32_t kSide = kSquareHeightBlocks + 2;
  uint16_t high[kSide * kSide] = {};
  for (uint32_t z = 0; z < kSquareHeightBlocks; ++z) {
    for (uint32_t x = 0; x < kSquareHeightBlocks; ++x) {
      const uint32_t block = ((bz + z) & kHeightMask) * kHeightBlocksPerSide + ((bx + x) & kHeightMask);
      high[(z + 1) * kSide + x + 1] = BlockHighEnd(HeightBlocks() + block * kTerrainBlockBytes);
    }
  }
  uint16_t* bounds = const_cast<uint16_t*>(Landscape().maxHeights());
  for (uint32_t z = 0; z + 1 < kSide; ++z) {
    for (uint32_t x = 0; x + 1 < kSide; ++x) {
      const uint16_t* at = high + z * kSide + x;
      const uint32_t block = ((bz + z - 1) & kHeightMask) * kHeightBlocksPerSide + ((bx + x - 1) & kHeightMask);
      bounds[block] = std::max(std::max(at[0], at[1]), std::max(at[kSide], at[kSide + 1]));
    }
  }
}

uint16_t Read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderBytes || size > kHeaderBytes + kMaxBlockBytes) return 0;
  const TerrainMap& map = Landscape();
  const uint8_t flags = data[8];
  const fixed x = static_cast<fixed>(Read16(data) << 15);
  const fixed z = static_cast<fixed>(Read16(data + 2) << 15);
  const fixed height = static_cast<fixed>(Read16(data + 4) << 10);

  // The square centred on the camera's height block (16 m a block, 2^20 in 16.16).
  const uint32_t cornerX = (static_cast<uint32_t>(x) >> 20) - kSquareHeightBlocks / 2;
  const uint32_t cornerZ = (static_cast<uint32_t>(z) >> 20) - kSquareHeightBlocks / 2;
  // The ground lookup keeps the last block it decoded: point it at a block outside the square
  // first, so that it decodes the camera's block from this input's bytes.
  constexpr uint32_t kHalfTheWorld = 1024u << 16;  // 64 height blocks away
  map.GroundHeight(static_cast<fixed>(static_cast<uint32_t>(x) + kHalfTheWorld),
                   static_cast<fixed>(static_cast<uint32_t>(z) + kHalfTheWorld));
  FillSquare(cornerX, cornerZ, data + kHeaderBytes, size - kHeaderBytes);
  UpdateBounds(cornerX, cornerZ);

  // Every ground height comes from some block's decoded values, so it lies in the 16-bit range.
  const fixed ground = map.GroundHeight(x, z);
  FUZZ_CHECK(ground >= 0 && ground <= 0xFFFF * kHeightValueScale);

  // A view of its own for each input: a view keeps the blocks it decoded, and this input's
  // blocks were written where the last input's were.
  TerrainView view(map);
  view.SetCamera(Vector3(x, height, z), static_cast<Angle>(Read16(data + 6)));
  DepthSurface frame;
  FUZZ_CHECK(frame.Create(24, 80));
  frame.lineDouble = flags & 1;
  const ImageQuality& quality = kImageQualities[flags >> 6];
  FUZZ_CHECK(view.Render(frame, kDrawDistances[(flags >> 4) & 3], quality.nearDistance, quality.filterDistance,
                         quality.stepThresholds));

  FillSquare(cornerX, cornerZ, nullptr, 0);
  UpdateBounds(cornerX, cornerZ);
  return 0;
}
