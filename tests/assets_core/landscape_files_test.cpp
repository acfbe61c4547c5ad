// The landscapes of core.bin, read with the block layout of the terrain files: exact sizes, the
// ordered ends the renderer's coarse test relies on, a sky large enough for the screen that
// joins its mirror image smoothly, and a level, painted helipad under every mission's start.
#include <cmath>
#include <map>

#include "core_pack_support.h"
#include "gfx/colour.h"
#include "gfx/jpeg.h"

using namespace core_pack;

namespace {

constexpr size_t kHeightFileSize = 131072;   // 128 x 128 blocks of 8 bytes
constexpr size_t kTextureFileSize = 524288;  // 256 x 256 blocks

uint32_t Get(const std::vector<uint8_t>& file, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= uint32_t{file[at + i]} << (8 * i);
  return value;
}

// Sample (x, z) of a block file with `blocks` blocks per side, through the four-entry palette.
template <typename Palette>
uint16_t Sample(const std::vector<uint8_t>& file, int blocks, int x, int z, Palette palette) {
  const int side = blocks * 4;
  x = ((x % side) + side) % side;
  z = ((z % side) + side) % side;
  const size_t at = (size_t(z / 4) * blocks + x / 4) * 8;
  const uint16_t e0 = static_cast<uint16_t>(Get(file, at, 2)), e1 = static_cast<uint16_t>(Get(file, at + 2, 2));
  const int i = (x % 4) + 4 * (z % 4);
  return palette(e0, e1, (Get(file, at + 4, 4) >> (2 * i)) & 3);
}

uint16_t HeightEntry(uint16_t e0, uint16_t e1, uint32_t index) {
  switch (index) {
    case 0:
      return e0;
    case 1:
      return e1;
    case 2:
      return static_cast<uint16_t>(e1 + (21 * e0 >> 5) - (21 * e1 >> 5));
    default:
      return static_cast<uint16_t>(e0 + (21 * e1 >> 5) - (21 * e0 >> 5));
  }
}

uint16_t ColourEntry(uint16_t c0, uint16_t c1, uint32_t index) {
  if (index < 2) return index == 0 ? c0 : c1;
  const uint32_t a = SpreadColour(c0), b = SpreadColour(c1);
  return index == 2 ? PackSpreadColour(21 * a + 11 * b) : PackSpreadColour(11 * a + 21 * b);
}

struct Rgb {
  int r, g, b;
};

Rgb Expand(uint16_t c) { return {(c >> 11) * 255 / 31, ((c >> 5) & 63) * 255 / 63, (c & 31) * 255 / 31}; }

struct Landscape {
  std::string name;
  std::vector<uint8_t> heights, texture, sky;
  std::vector<const MissionDef*> missions;
};

// Every landscape the missions use, once, with the missions that use it.
const std::vector<Landscape>& Landscapes() {
  static const std::vector<Landscape> landscapes = [] {
    std::map<std::string, Landscape> byHeightFile;
    for (const MissionDef* mission : Registry().missions) {
      Landscape& l = byHeightFile[Text(mission->voxelHeight)];
      if (l.missions.empty()) {
        l.name = Text(mission->voxelHeight);
        l.heights = ReadEntry(mission->pack, mission->voxelHeight);
        l.texture = ReadEntry(mission->pack, mission->voxelTexture);
        l.sky = ReadEntry(mission->pack, mission->skyBackdrop);
      }
      l.missions.push_back(mission);
    }
    std::vector<Landscape> list;
    for (auto& [name, l] : byHeightFile) list.push_back(std::move(l));
    return list;
  }();
  return landscapes;
}

// Mean difference (0..255 a channel) between two rows of the sky picture.
double RowDifference(const Surface& sky, int a, int b) {
  double sum = 0;
  for (int x = 0; x < sky.width; ++x) {
    const Rgb p = Expand(sky.Row(a)[x]), q = Expand(sky.Row(b)[x]);
    sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
  }
  return sum / (3.0 * sky.width);
}

}  // namespace

TEST(CoreLandscapes, AtLeastTwoAreUsed) { EXPECT_GE(Landscapes().size(), 2u); }

TEST(CoreLandscapes, FilesHaveTheirExactSizes) {
  for (const Landscape& l : Landscapes()) {
    EXPECT_EQ(l.heights.size(), kHeightFileSize) << l.name;
    EXPECT_EQ(l.texture.size(), kTextureFileSize) << l.name;
  }
}

TEST(CoreLandscapes, EveryHeightBlockHasItsHighestEndSecond) {
  for (const Landscape& l : Landscapes()) {
    ASSERT_EQ(l.heights.size(), kHeightFileSize) << l.name;
    int disordered = 0;
    for (size_t at = 0; at < kHeightFileSize; at += 8) {
      if (Get(l.heights, at, 2) > Get(l.heights, at + 2, 2)) ++disordered;
    }
    EXPECT_EQ(disordered, 0) << l.name;
  }
}

TEST(CoreLandscapes, SkyCoversTheScreenAndJoinsItsMirrorSmoothly) {
  for (const Landscape& l : Landscapes()) {
    SCOPED_TRACE(l.name);
    Surface sky;
    ASSERT_TRUE(DecodeJpeg(sky, l.sky.data(), static_cast<uint32_t>(l.sky.size())));
    // 720 directions (quarter degrees), two screen rows per column for the 320 rows.
    EXPECT_GE(sky.height, 720);
    EXPECT_GE(sky.width, 160);
    // Directions 719 and 720 both show row 719, 718 and 721 row 718 (and 0 and 1439 row 0):
    // the join is smooth when the rows next to a mirror line hardly differ.
    EXPECT_LT(RowDifference(sky, 718, 719), 2.0);
    EXPECT_LT(RowDifference(sky, 0, 1), 2.0);
  }
}

TEST(CoreLandscapes, EveryHelipadIsLevelAndPainted) {
  for (const Landscape& l : Landscapes()) {
    ASSERT_EQ(l.heights.size(), kHeightFileSize);
    ASSERT_EQ(l.texture.size(), kTextureFileSize);
    for (const MissionDef* mission : l.missions) {
      SCOPED_TRACE(Text(mission->name));
      const int sx = mission->helipad.x >> 18, sz = mission->helipad.z >> 18;  // 4 m samples
      const uint16_t level = Sample(l.heights, 128, sx, sz, HeightEntry);
      // Level for 12 m around: the helicopter stands flat wherever it sets down on the pad.
      for (int dz = -3; dz <= 3; ++dz) {
        for (int dx = -3; dx <= 3; ++dx) {
          EXPECT_EQ(Sample(l.heights, 128, sx + dx, sz + dz, HeightEntry), level) << dx << ", " << dz;
        }
      }
      // Painted grey and white (no ground colour) for 6 m around, with both paints present.
      const int tx = mission->helipad.x >> 17, tz = mission->helipad.z >> 17;  // 2 m texels
      int dark = 0, bright = 0;
      for (int dz = -3; dz <= 3; ++dz) {
        for (int dx = -3; dx <= 3; ++dx) {
          const Rgb c = Expand(Sample(l.texture, 256, tx + dx, tz + dz, ColourEntry));
          EXPECT_LT(std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}), 40) << dx << ", " << dz;
          const int light = (c.r + c.g + c.b) / 3;
          if (light < 100) ++dark;
          if (light > 200) ++bright;
        }
      }
      EXPECT_GT(dark, 0);
      EXPECT_GT(bright, 0);
    }
  }
}
