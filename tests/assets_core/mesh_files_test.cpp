// The meshes of core.bin, read with the binary mesh layout: every level's file is exactly as long
// as its header says, its faces name vertices it has, its radius holds every vertex, its texture
// is a square JPEG that every u, v reaches into, and its faces are wound clockwise seen from
// outside (the side the game's rasteriser draws).
#include <cmath>
#include <set>

#include "core_pack_support.h"
#include "gfx/jpeg.h"

using namespace core_pack;

namespace {

float Coordinate(const std::vector<uint8_t>& file, size_t at) {
  const uint16_t raw = static_cast<uint16_t>(file[at] | file[at + 1] << 8);
  const float magnitude = (raw & 0x7FFF) / 32.0f;  // 1/32 m steps
  return (raw & 0x8000) ? -magnitude : magnitude;
}

struct Vertex {
  float x, y, z;
  uint8_t u, v;
};

struct Level {
  std::string mesh;
  int number;
  uint32_t switchDistance;
  std::u16string file, texture;
};

std::vector<Level> Levels() {
  IniDocument meshes;
  ReadIni(CorePack(), u"meshes.ini", meshes);
  std::vector<Level> levels;
  for (const IniSection* section : meshes.sections) {
    for (int i = 0;; ++i) {
      const std::u16string key = WideFromUtf8("Mesh " + std::to_string(i));
      const IniKey* k = section->FindKey(key.c_str());
      if (k == nullptr) break;
      if (k->values.Count() < 3) {
        ADD_FAILURE() << Text(section->name) << " " << i << " lacks its file or texture";
        continue;
      }
      levels.push_back({Text(section->name), i, k->values[0]->ToInt(), k->values[1]->text, k->values[2]->text});
    }
  }
  return levels;
}

}  // namespace

TEST(CoreMeshes, EveryMeshAMissionNamesHasLevels) {
  std::set<std::string> defined;
  for (const Level& level : Levels()) defined.insert(level.mesh);
  EXPECT_GE(defined.size(), 8u);
  for (const MissionDef* mission : Registry().missions) {
    for (const char16_t* name : mission->meshNames) {
      EXPECT_EQ(defined.count(Text(name)), 1u) << Text(mission->name) << " names " << Text(name);
    }
  }
}

TEST(CoreMeshes, LevelsGrowCoarserWithDistance) {
  const std::vector<Level> levels = Levels();
  for (size_t i = 1; i < levels.size(); ++i) {
    if (levels[i].mesh != levels[i - 1].mesh) continue;
    // The game takes the first level whose switch distance exceeds the depth: later levels must
    // reach farther or they are never drawn.
    EXPECT_GT(levels[i].switchDistance, levels[i - 1].switchDistance) << levels[i].mesh;
    const std::vector<uint8_t> finer = ReadEntry(CorePack(), levels[i - 1].file.c_str());
    const std::vector<uint8_t> coarser = ReadEntry(CorePack(), levels[i].file.c_str());
    ASSERT_GE(finer.size(), 8u);
    ASSERT_GE(coarser.size(), 8u);
    EXPECT_LT(coarser[5], finer[5]) << levels[i].mesh << ": fewer faces farther out";
  }
}

TEST(CoreMeshes, EveryLevelIsConsistent) {
  for (const Level& level : Levels()) {
    SCOPED_TRACE(level.mesh + " level " + std::to_string(level.number));
    const std::vector<uint8_t> file = ReadEntry(CorePack(), level.file.c_str());
    ASSERT_GE(file.size(), 8u);
    const size_t v = file[4], f = file[5];
    EXPECT_GE(v, 3u);
    EXPECT_GE(f, 1u);
    ASSERT_EQ(file.size(), 8 + 8 * v + 4 * f);

    std::vector<Vertex> vertices;
    float farthest = 0;
    for (size_t i = 0; i < v; ++i) {
      const size_t at = 8 + 8 * i;
      const Vertex p{Coordinate(file, at), Coordinate(file, at + 2), Coordinate(file, at + 4), file[at + 6],
                     file[at + 7]};
      farthest = std::max(farthest, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
      vertices.push_back(p);
    }
    const float radius = Coordinate(file, 6);
    EXPECT_GE(radius, farthest);
    EXPECT_LE(radius, farthest + 1 / 16.0f);

    // Signed volume: positive when every face's (b - a) x (c - a) points out of the solid.
    double volume = 0;
    for (size_t i = 0; i < f; ++i) {
      const size_t at = 8 + 8 * v + 4 * i;
      ASSERT_LT(file[at], v);
      ASSERT_LT(file[at + 1], v);
      ASSERT_LT(file[at + 2], v);
      const Vertex& a = vertices[file[at]];
      const Vertex& b = vertices[file[at + 1]];
      const Vertex& c = vertices[file[at + 2]];
      volume += (a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x)) / 6;
    }
    EXPECT_GT(volume, 0.0) << "faces wound inside out";

    const std::vector<uint8_t> jpeg = ReadEntry(CorePack(), level.texture.c_str());
    Surface texture;
    ASSERT_TRUE(DecodeJpeg(texture, jpeg.data(), static_cast<uint32_t>(jpeg.size()))) << Text(level.texture.c_str());
    EXPECT_EQ(texture.width, texture.height);
    // The game scales u, v (0..255 over the texture) by the width: 128 -> >> 1 ... 8 -> >> 5,
    // any other width unscaled.
    int shift = 0;
    for (int s = 1, w = 128; s <= 5; ++s, w /= 2) {
      if (texture.width == w) shift = s;
    }
    for (const Vertex& p : vertices) {
      EXPECT_LT(p.u >> shift, texture.width);
      EXPECT_LT((255 - p.v) >> shift, texture.height);
    }
  }
}
