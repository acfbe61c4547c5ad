// Landscapes: the height and texture block files and the voxel renderer that walks them, with
// heights anywhere in their range and the camera anywhere above (or below) the ground.
//
// Input: two bytes each of camera x, z, height and yaw, one byte of flags (bit 0: doubled rows,
// bit 1: cut the height file one byte short), then block bytes, repeated to fill both files.
// The sky is a fixed picture written once per process.
//
// Checked: a file of the wrong size is refused; otherwise the landscape is usable, its ground
// height is one of the heights a block can decode to, and the renderer draws a narrow frame.
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

std::string SkyPath() {
  static const std::string path = [] {
    const std::string file = fuzz::ScratchPath("sky.jpg");
    Surface sky;
    sky.Create(TerrainMap::kMinSkyColumns, TerrainMap::kSkyRows);
    for (uint32_t y = 0; y < sky.height; ++y) {
      for (uint32_t x = 0; x < sky.width; ++x) sky.Row(y)[x] = static_cast<uint16_t>(0x001F + (x << 6));
    }
    FUZZ_CHECK(SaveJpeg(sky, WideFromUtf8(file).c_str()));
    return file;
  }();
  return path;
}

std::vector<uint8_t> Tiled(const uint8_t* blocks, size_t count, size_t size) {
  std::vector<uint8_t> file(size, 0);
  if (count == 0) return file;
  // The first copy, then the file doubles itself: a byte loop would cost more than the render.
  size_t filled = count < size ? count : size;
  std::memcpy(file.data(), blocks, filled);
  while (filled < size) {
    const size_t chunk = filled < size - filled ? filled : size - filled;
    std::memcpy(file.data() + filled, file.data(), chunk);
    filled += chunk;
  }
  return file;
}

uint16_t Read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderBytes || size > kHeaderBytes + kMaxBlockBytes) return 0;
  const uint8_t flags = data[8];
  const uint8_t* blocks = data + kHeaderBytes;
  const size_t blockBytes = size - kHeaderBytes;

  const bool shortHeights = (flags & 2) != 0;
  std::vector<uint8_t> heights = Tiled(blocks, blockBytes, kHeightFileSize - (shortHeights ? 1 : 0));
  std::vector<uint8_t> texture = Tiled(blocks, blockBytes, kTextureFileSize);
  fuzz::ScratchFile heightFile("heights.bin", heights.data(), heights.size());
  fuzz::ScratchFile textureFile("texture.bin", texture.data(), texture.size());
  if (!heightFile.ok() || !textureFile.ok()) return 0;

  TerrainMap map;
  const bool usable = map.Load(nullptr, WideFromUtf8(heightFile.path()).c_str(),
                               WideFromUtf8(textureFile.path()).c_str(), WideFromUtf8(SkyPath()).c_str());
  FUZZ_CHECK(usable == !shortHeights);
  if (!usable) return 0;

  const fixed x = static_cast<fixed>(Read16(data) << 15);
  const fixed z = static_cast<fixed>(Read16(data + 2) << 15);
  const fixed height = static_cast<fixed>(Read16(data + 4) << 10);
  // Every ground height comes from some block's decoded values, so it lies in the 16-bit range.
  const fixed ground = map.GroundHeight(x, z);
  FUZZ_CHECK(ground >= 0 && ground <= 0xFFFF * kHeightValueScale);

  TerrainView view(map);
  view.SetCamera(Vector3(x, height, z), static_cast<Angle>(Read16(data + 6)));
  DepthSurface frame;
  FUZZ_CHECK(frame.Create(24, 80));
  frame.lineDouble = flags & 1;
  const ImageQuality& quality = kImageQualities[flags >> 6];
  FUZZ_CHECK(view.Render(frame, kDrawDistances[(flags >> 4) & 3], quality.nearDistance, quality.filterDistance,
                         quality.stepThresholds));
  return 0;
}
