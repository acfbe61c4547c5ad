#include "render/terrain_map.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "archive_writer.h"
#include "content/content_pack.h"
#include "render/terrain_blocks.h"
#include "render/terrain_view.h"
#include "render/terrain_landscapes.h"

namespace {

constexpr fixed kMetre = kFixedOne;

class TerrainMapTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { landscape_ = new Landscape(RandomLandscape(7, 12800)); }
  static void TearDownTestSuite() { delete landscape_; }
  static Landscape* landscape_;
  TempFolder folder_;
};
Landscape* TerrainMapTest::landscape_ = nullptr;

TEST_F(TerrainMapTest, GroundHeightIsTheSampleOfItsFourMetreCell) {
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, *landscape_, folder_));
  ASSERT_TRUE(map.Usable());
  struct Point {
    fixed x, z;
    uint32_t sampleX, sampleZ;
  };
  const Point points[] = {
      {0, 0, 0, 0},
      {4 * kMetre - 1, 4 * kMetre - 1, 0, 0},  // the far corner of the first cell
      {4 * kMetre, 0, 1, 0},
      {1000 * kMetre + kMetre / 2, 30 * kMetre, 250, 7},
      {-kMetre, 6 * kMetre, 511, 1},                      // wraps: 2047.0
      {2047 * kMetre, 6 * kMetre, 511, 1},
      {2048 * kMetre + 9 * kMetre, -2048 * kMetre, 2, 0},  // a whole world further on
      {INT32_MIN, INT32_MAX, 0, 511},                       // world bits only: 0 and 2047.99
  };
  for (const Point& p : points) {
    SCOPED_TRACE(testing::Message() << p.x << ", " << p.z);
    const fixed expected = HeightValueAt(*landscape_, p.sampleX, p.sampleZ) * 1024;
    EXPECT_EQ(map.GroundHeight(p.x, p.z), expected);
    // The same everywhere in the cell.
    const fixed cellX = p.x & ~(4 * kMetre - 1);
    const fixed cellZ = p.z & ~(4 * kMetre - 1);
    for (const fixed dx : {0, 1, 2 * kMetre, 4 * kMetre - 1}) {
      for (const fixed dz : {0, 3 * kMetre / 2, 4 * kMetre - 1}) EXPECT_EQ(map.GroundHeight(cellX + dx, cellZ + dz), expected);
    }
  }
  EXPECT_EQ(map.GroundHeight(-kMetre, 100 * kMetre), map.GroundHeight(2047 * kMetre, 100 * kMetre));
}

TEST_F(TerrainMapTest, MaxHeightsBoundTheBlockAndItsNeighboursTowardPlusXAndZ) {
  Landscape landscape = FlatLandscape(10, 0);
  const auto setHigh = [&](uint32_t bx, uint32_t bz, uint16_t high) {
    PutBlock(landscape.heights, kHeightBlocksPerSide, bx, bz, 0, high, 0);
  };
  setHigh(5, 5, 500);
  setHigh(0, 0, 700);      // neighbour of the last row and column across the wrap
  setHigh(64, 100, 900);
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  const auto maxAt = [&](uint32_t bx, uint32_t bz) { return map.maxHeights()[bz * kHeightBlocksPerSide + bx]; };
  EXPECT_EQ(maxAt(5, 5), 500);
  EXPECT_EQ(maxAt(4, 5), 500);
  EXPECT_EQ(maxAt(5, 4), 500);
  EXPECT_EQ(maxAt(4, 4), 500);
  EXPECT_EQ(maxAt(6, 5), 10);  // only +x and +z neighbours count
  EXPECT_EQ(maxAt(5, 6), 10);
  EXPECT_EQ(maxAt(127, 127), 700);
  EXPECT_EQ(maxAt(127, 0), 700);
  EXPECT_EQ(maxAt(0, 127), 700);
  EXPECT_EQ(maxAt(63, 99), 900);
  EXPECT_EQ(maxAt(20, 20), 10);
}

TEST_F(TerrainMapTest, LoadsFromAPack) {
  const std::vector<PackSource> files = {
      {"land\\height.bin", landscape_->heights, 0},
      {"land\\texture.bin", landscape_->texture, 0},
      {"land\\sky.jpg", landscape_->sky, 0},
      {"land\\short.bin", std::vector<uint8_t>(landscape_->heights.begin(), landscape_->heights.end() - 1), 0},
  };
  ArchiveOptions options;
  options.store = true;
  const std::vector<uint8_t> archive = BuildArchive(files, options);
  std::ofstream(folder_.path() / "test.bin", std::ios::binary)
      .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  ContentPack pack;
  ASSERT_TRUE(pack.Open(folder_.WidePath("test.bin").c_str(), nullptr));

  TerrainMap map;
  EXPECT_TRUE(map.Load(&pack, u"land/height.bin", u"land/texture.bin", u"land/sky.jpg"));
  EXPECT_EQ(map.GroundHeight(1000 * kMetre, 30 * kMetre), HeightValueAt(*landscape_, 250, 7) * 1024);
  EXPECT_EQ(map.sky().height, TerrainMap::kSkyRows);

  // Refused inside a pack as on disk: a file cut short, a missing file.
  EXPECT_FALSE(map.Load(&pack, u"land/short.bin", u"land/texture.bin", u"land/sky.jpg"));
  EXPECT_FALSE(map.Usable());
  EXPECT_FALSE(map.Load(&pack, u"land/height.bin", u"land/none.bin", u"land/sky.jpg"));
  EXPECT_FALSE(map.Load(&pack, u"land/height.bin", u"land/texture.bin", nullptr));
}

// A landscape that cannot be drawn safely is refused as a whole, and what was loaded before goes.
TEST_F(TerrainMapTest, RefusesLandscapesThatAreMissingOrTheWrongSize) {
  struct RefusedCase {
    const char* name;
    std::function<void(Landscape&)> spoil;
  };
  const RefusedCase cases[] = {
      {"height file one byte short", [](Landscape& l) { l.heights.pop_back(); }},
      {"height file one byte long", [](Landscape& l) { l.heights.push_back(0); }},
      {"height file empty", [](Landscape& l) { l.heights.clear(); }},
      {"texture file one byte short", [](Landscape& l) { l.texture.pop_back(); }},
      {"texture file the height file's size", [](Landscape& l) { l.texture.resize(kHeightFileSize); }},
      {"sky missing", [](Landscape& l) { l.sky.clear(); }},
      {"sky not a picture", [](Landscape& l) { l.sky.assign(5000, 0x55); }},
      {"sky cut short", [](Landscape& l) { l.sky.resize(l.sky.size() / 3); }},
      {"sky of 719 rows", [](Landscape& l) { l.sky = SkyJpeg(TerrainMap::kMinSkyColumns, 719); }},
      {"sky of 159 columns", [](Landscape& l) { l.sky = SkyJpeg(159, TerrainMap::kSkyRows); }},
      {"grey sky", [](Landscape& l) { l.sky = EncodeFlatJpeg(TerrainMap::kMinSkyColumns, TerrainMap::kSkyRows, 1, 90); }},
  };
  DepthSurface frame;
  ASSERT_TRUE(frame.Create(32, 32));
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    Landscape landscape = *landscape_;
    c.spoil(landscape);
    TerrainMap map;
    ASSERT_TRUE(LoadFromDisk(map, *landscape_, folder_));
    EXPECT_FALSE(LoadFromDisk(map, landscape, folder_));
    EXPECT_FALSE(map.Usable());
    EXPECT_EQ(map.maxHeights(), nullptr);
    EXPECT_EQ(map.GroundHeight(1000 * kMetre, 30 * kMetre), 0);

    TerrainView view(map);
    frame.Clear(0x1234);
    frame.ClearDepth();
    EXPECT_FALSE(view.Render(frame, 800 * kMetre, 300 * kMetre, 200 * kMetre, {0, 0, 0, 0, 0}));
    EXPECT_FALSE(view.RenderMap(frame));
    EXPECT_EQ(frame.Row(31)[31], 0x1234);
    EXPECT_EQ(frame.DepthRow(31)[31], DepthSurface::kEmptyDepth);
  }
}

TEST_F(TerrainMapTest, RefusesMissingFiles) {
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, *landscape_, folder_));
  const std::u16string height = folder_.WidePath("height.bin");
  const std::u16string texture = folder_.WidePath("texture.bin");
  const std::u16string sky = folder_.WidePath("sky.jpg");
  const std::u16string none = folder_.WidePath("none.bin");
  EXPECT_FALSE(map.Load(nullptr, none.c_str(), texture.c_str(), sky.c_str()));
  EXPECT_FALSE(map.Load(nullptr, height.c_str(), none.c_str(), sky.c_str()));
  EXPECT_FALSE(map.Load(nullptr, height.c_str(), texture.c_str(), none.c_str()));
  EXPECT_FALSE(map.Load(nullptr, nullptr, nullptr, nullptr));
  EXPECT_FALSE(map.Usable());
  EXPECT_TRUE(map.Load(nullptr, height.c_str(), texture.c_str(), sky.c_str()));
}

}  // namespace
