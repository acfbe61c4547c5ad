#include "render/terrain_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gfx/jpeg.h"
#include "render/render_settings.h"
#include "render/terrain_blocks.h"
#include "render/terrain_landscapes.h"
#include "render/terrain_reference.h"

namespace {

constexpr fixed kMetre = kFixedOne;
constexpr Angle kYawMinusX = 49152;  // heading 0
constexpr uint16_t kUnwritten = 0x1234;
// Thresholds no ray reaches: the step stays 1.0.
constexpr fixed kNoDoubling[kRayStepThresholdCount] = {IntToFixed(32000), IntToFixed(32000), IntToFixed(32000),
                                                      IntToFixed(32000), IntToFixed(32000)};

// Depth of a pixel at a ray distance in whole metres: distance x 32.
constexpr uint16_t DepthOf(int32_t metres) { return static_cast<uint16_t>(metres * 32); }

struct Frame {
  std::vector<uint16_t> colours;
  std::vector<uint16_t> depths;
  bool operator==(const Frame&) const = default;
};

Frame Capture(const DepthSurface& surface) {
  Frame frame;
  for (uint32_t y = 0; y < surface.height; ++y) {
    frame.colours.insert(frame.colours.end(), surface.Row(y), surface.Row(y) + surface.width);
    frame.depths.insert(frame.depths.end(), surface.DepthRow(y), surface.DepthRow(y) + surface.width);
  }
  return frame;
}

DepthSurface BlankSurface(uint32_t width, uint32_t height, bool doubleRows) {
  DepthSurface surface;
  EXPECT_TRUE(surface.Create(width, height));
  surface.Clear(kUnwritten);
  surface.ClearDepth();
  surface.lineDouble = doubleRows ? 1 : 0;
  return surface;
}

Frame RenderFrame(TerrainView& view, uint32_t width, uint32_t height, bool doubleRows, fixed far, const ImageQuality& quality) {
  DepthSurface surface = BlankSurface(width, height, doubleRows);
  EXPECT_TRUE(view.Render(surface, far, quality.nearDistance, quality.filterDistance, quality.stepThresholds));
  return Capture(surface);
}

class TerrainViewTest : public ::testing::Test {
 protected:
  TempFolder folder_;
};

TEST_F(TerrainViewTest, HeadingCountsQuarterDegreesFromMinusX) {
  TerrainMap map;
  TerrainView view(map);
  const struct {
    Angle yaw;
    uint16_t heading;
  } cases[] = {{49152, 0}, {0, 360}, {16384, 720}, {32768, 1080}, {65535, 359}, {49151, 1439}};
  for (const auto& c : cases) {
    view.SetCamera(Vector3(kMetre, 2 * kMetre, 3 * kMetre), c.yaw);
    EXPECT_EQ(view.heading(), c.heading) << "yaw " << c.yaw;
  }
  EXPECT_EQ(view.position(), Vector3(kMetre, 2 * kMetre, 3 * kMetre));
}

// Flat ground with a coloured strip in each ground direction from the camera at texel (500, 500):
// the middle column sees the strip the heading points at.
TEST_F(TerrainViewTest, MiddleColumnLooksAlongTheHeading) {
  constexpr uint16_t kRed = 0xF800, kBlue = 0x001F, kGreen = 0x07E0, kYellow = 0xFFE0, kGrey = 0x8410;
  Landscape landscape = FlatLandscape(0, kGrey);
  SetTexels(landscape, [](uint32_t x, uint32_t z) -> uint16_t {
    const bool alongX = z >= 496 && z < 504;
    const bool alongZ = x >= 496 && x < 504;
    if (alongX && x >= 400 && x < 496) return kRed;     // -x
    if (alongX && x >= 504 && x < 600) return kBlue;    // +x
    if (alongZ && z >= 504 && z < 600) return kGreen;   // +z
    if (alongZ && z >= 400 && z < 496) return kYellow;  // -z
    return kGrey;
  });
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  const struct {
    Angle yaw;
    uint16_t colour;
  } cases[] = {{49152, kRed}, {0, kGreen}, {16384, kBlue}, {32768, kYellow}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.yaw);
    view.SetCamera(Vector3(1000 * kMetre + kMetre / 2, 10 * kMetre, 1000 * kMetre + kMetre / 2), c.yaw);
    DepthSurface surface = BlankSurface(128, 64, false);
    ASSERT_TRUE(view.Render(surface, 300 * kMetre, 0, 0, kNoDoubling));
    EXPECT_EQ(surface.Row(63)[64], c.colour);
    EXPECT_EQ(surface.Row(63)[0], kGrey);  // 16 degrees off to the side misses the 16-metre strip
  }
}

// A tiny frame whose pixels follow from the formulas by hand. Flat ground at 0, camera 1.0 high
// at x = 300.5 looking along -x (heading 0), a frame 2 wide and 8 high: column 1 looks exactly
// along -x. Row 7 is 4 rows below the horizon, so its ray falls 4 x 286 per metre (16.16) and is
// first under the ground after 65536 / 1144 = 57.3, at distance 58; each hit raises the ray to
// the next row (3, 2, 1 rows below: distances 77, 115, 230); rows 3..0 look level or up and get
// the sky. The texture gives each pair of texel columns its own colour, so the colour tells where
// the ray met the ground: x = 300.5 - distance, texel x / 2.
TEST_F(TerrainViewTest, HandComputedPixels) {
  Landscape landscape = FlatLandscape(0, 0);
  SetTexels(landscape, [](uint32_t x, uint32_t) { return static_cast<uint16_t>(0x1000 + x / 2); });
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  view.SetCamera(Vector3(300 * kMetre + kMetre / 2, kMetre, 600 * kMetre), kYawMinusX);

  struct Expected {
    uint32_t row;
    uint16_t colour;
    uint16_t depth;
  };
  const auto texelColour = [](uint32_t texelX) { return static_cast<uint16_t>(0x1000 + texelX / 2); };
  const uint16_t skyNear = SkyColourAt(landscape, 0, 0);  // sky picture row 0: direction 0
  const uint16_t skyFar = SkyColourAt(landscape, 1, 0);
  const Expected expected[] = {
      {7, texelColour(121), DepthOf(58)},   // x = 242.5
      {6, texelColour(111), DepthOf(77)},   // x = 223.5
      {5, texelColour(92), DepthOf(115)},   // x = 185.5
      {4, texelColour(35), DepthOf(230)},   // x = 70.5
      {3, skyFar, DepthOf(300)},            // the sky lies at the far distance
      {2, skyFar, DepthOf(300)},
      {1, skyNear, DepthOf(300)},
      {0, skyNear, DepthOf(300)},
  };
  DepthSurface surface = BlankSurface(2, 8, false);
  ASSERT_TRUE(view.Render(surface, 300 * kMetre, 0, 0, kNoDoubling));
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.row);
    EXPECT_EQ(surface.Row(e.row)[1], e.colour);
    EXPECT_EQ(surface.DepthRow(e.row)[1], e.depth);
  }
  // The near phase interpolates between samples that are all 0: the same frame.
  DepthSurface smooth = BlankSurface(2, 8, false);
  ASSERT_TRUE(view.Render(smooth, 300 * kMetre, 300 * kMetre, 0, kNoDoubling));
  EXPECT_TRUE(Capture(smooth) == Capture(surface));
}

// The same camera with the step doubling after 40.0. The ray moves by the old step before the
// doubling is decided, so from then on the nominal distance runs one metre ahead of the true one:
// row 7 meets the ground at true distance 58 (x = 242.5, as before) but is drawn at depth 59;
// row 6 then needs true distance 77, reached only at 78 in steps of 2 (depth 79, x = 222.5).
TEST_F(TerrainViewTest, DoubledStepRunsOneOldStepAhead) {
  Landscape landscape = FlatLandscape(0, 0);
  SetTexels(landscape, [](uint32_t x, uint32_t) { return static_cast<uint16_t>(0x1000 + x / 2); });
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  view.SetCamera(Vector3(300 * kMetre + kMetre / 2, kMetre, 600 * kMetre), kYawMinusX);
  DepthSurface surface = BlankSurface(2, 8, false);
  const fixed thresholds[kRayStepThresholdCount] = {40 * kMetre, IntToFixed(32000), IntToFixed(32000),
                                                   IntToFixed(32000), IntToFixed(32000)};
  ASSERT_TRUE(view.Render(surface, 300 * kMetre, 0, 0, thresholds));
  EXPECT_EQ(surface.DepthRow(7)[1], DepthOf(59));
  EXPECT_EQ(surface.Row(7)[1], 0x1000 + 121 / 2);
  EXPECT_EQ(surface.DepthRow(6)[1], DepthOf(79));
  EXPECT_EQ(surface.Row(6)[1], 0x1000 + 111 / 2);
}

// The texture filter by hand, on the camera of HandComputedPixels with z = 600.75 (texel row 300,
// 12/32 of the way to row 301) and a filter distance of 100. Row 7 meets the ground at
// x = 242.5: texel 121, 8/32 toward 122, all four texels inside one block. Row 6 meets it at
// x = 223.5: texel 111, 24/32 toward 112 in the next block. ScaleColour(c, w) is c x (w + 1) / 32
// per channel.
TEST_F(TerrainViewTest, FilteredPixelsByHand) {
  constexpr uint16_t kBlue = 0x001F, kRed = 0xF800;
  Landscape landscape = FlatLandscape(0, 0);
  SetTexels(landscape, [](uint32_t x, uint32_t z) -> uint16_t {
    if (x == 121 && z == 300) return kBlue;
    if (x == 112 && z == 300) return kBlue;
    if (x == 111 && z == 301) return kRed;
    return 0;
  });
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  view.SetCamera(Vector3(300 * kMetre + kMetre / 2, kMetre, 600 * kMetre + 3 * kMetre / 4), kYawMinusX);
  DepthSurface surface = BlankSurface(2, 8, false);
  ASSERT_TRUE(view.Render(surface, 300 * kMetre, 0, 100 * kMetre, kNoDoubling));
  // Row 7: upper = blue 31 x 24/32 = 23 (the neighbour is black); lower = 0; 23 x 20/32 = 14.
  EXPECT_EQ(surface.Row(7)[1], 0x000E);
  // Row 6: upper = blue 31 x 25/32 = 24 from texel 112; lower = red 31 x 8/32 = 7 from texel
  // (111, 301); blue 24 x 20/32 = 15, red 7 x 13/32 = 2.
  EXPECT_EQ(surface.Row(6)[1], 0x100F);
  EXPECT_EQ(surface.Row(5)[1], 0x0000);  // distance 115: beyond the filter, the texel as it is
}

// Random landscapes against the reference caster: every quality and draw distance, both row
// modes, cameras low, high and crossing the world's edge.
TEST_F(TerrainViewTest, MatchesTheReferenceCaster) {
  // Rough ground up to 150 m, where rays end early, and low ground up to 20 m, where they run to
  // the far distance through every step doubling.
  for (const uint16_t maxHeight : {9600, 1280}) {
    const Landscape landscape = RandomLandscape(maxHeight, maxHeight);
    TerrainMap map;
    ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
    Surface sky;
    ASSERT_TRUE(DecodeJpeg(sky, landscape.sky.data(), static_cast<uint32_t>(landscape.sky.size())));
    TerrainView view(map);
    const struct {
      Vector3 position;
      Angle yaw;
    } cameras[] = {
        {Vector3(1000 * kMetre + 12345, 160 * kMetre, 300 * kMetre + 999), 5000},
        {Vector3(-3 * kMetre, 30 * kMetre + 777, 2040 * kMetre), 40000},
        {Vector3(512 * kMetre, 130 * kMetre, 7 * kMetre + 54321), 23456},
    };
    uint32_t level = 0;
    for (const auto& camera : cameras) {
      for (uint32_t quality = 0; quality < kSettingLevels; ++quality, ++level) {
        const bool doubleRows = level % 2 == 0;
        const fixed far = FarDistanceFor(level % kSettingLevels);
        SCOPED_TRACE(testing::Message() << "ground " << maxHeight << " camera " << &camera - cameras << " quality "
                                        << quality);
        view.SetCamera(camera.position, camera.yaw);
        const ImageQuality& q = ImageQualityFor(quality);
        DepthSurface expected = BlankSurface(240, 320, doubleRows);
        ReferenceRender(landscape, sky, expected, camera.position, view.heading(), far, q.nearDistance,
                        q.filterDistance, q.stepThresholds);
        EXPECT_TRUE(RenderFrame(view, 240, 320, doubleRows, far, q) == Capture(expected));
      }
    }
  }
}

TEST_F(TerrainViewTest, SameFrameOneWorldAwayAndFromAWarmCache) {
  const Landscape landscape = RandomLandscape(11, 6400);
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView warm(map);
  for (const Angle yaw : {0, 10000, 40000, 60000}) {
    for (const bool doubleRows : {false, true}) {
      SCOPED_TRACE(testing::Message() << "yaw " << yaw << (doubleRows ? " double" : " single"));
      const fixed height = 120 * kMetre;
      TerrainView atOrigin(map);
      atOrigin.SetCamera(Vector3(0, height, 0), yaw);
      const Frame expected = RenderFrame(atOrigin, 240, 320, doubleRows, FarDistanceFor(3), ImageQualityFor(3));
      TerrainView oneWorldOn(map);
      oneWorldOn.SetCamera(Vector3(2048 * kMetre, height, 2048 * kMetre), yaw);
      EXPECT_TRUE(RenderFrame(oneWorldOn, 240, 320, doubleRows, FarDistanceFor(3), ImageQualityFor(3)) == expected);
      // A view whose caches hold blocks from elsewhere draws the same.
      warm.SetCamera(Vector3(700 * kMetre, 300 * kMetre, 1500 * kMetre), yaw + 20000);
      RenderFrame(warm, 240, 320, doubleRows, FarDistanceFor(3), ImageQualityFor(3));
      warm.SetCamera(Vector3(-2048 * kMetre, height, 0), yaw);
      EXPECT_TRUE(RenderFrame(warm, 240, 320, doubleRows, FarDistanceFor(3), ImageQualityFor(3)) == expected);
    }
  }
}

// One raised sample (50 m) at x 380..384 on flat ground, the camera 10 m up at x = 400.5 looking
// along -x at it. Without the near phase the ground is flat in each 4-metre cell: the ray meets
// the whole 50-metre cell as soon as it enters it at x = 383.5, distance 17, and the column is
// filled at that one depth. With the near phase the height slopes down from the sample toward
// the next one, so the ray passes over the first part of the cell and meets it one metre later.
TEST_F(TerrainViewTest, WithoutNearPhaseCellsAreFlat) {
  Landscape landscape = FlatLandscape(0, 0x4208);
  SetHeights(landscape, [](uint32_t x, uint32_t z) -> uint16_t { return x == 95 && z == 100 ? 3200 : 0; });
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  view.SetCamera(Vector3(400 * kMetre + kMetre / 2, 10 * kMetre, 402 * kMetre), kYawMinusX);

  DepthSurface flat = BlankSurface(64, 64, false);
  ASSERT_TRUE(view.Render(flat, 300 * kMetre, 0, 0, kNoDoubling));
  for (uint32_t y = 0; y < 64; ++y) EXPECT_EQ(flat.DepthRow(y)[32], DepthOf(17)) << "row " << y;

  DepthSurface smooth = BlankSurface(64, 64, false);
  ASSERT_TRUE(view.Render(smooth, 300 * kMetre, 300 * kMetre, 0, kNoDoubling));
  EXPECT_EQ(smooth.DepthRow(63)[32], DepthOf(18));
}

// A checkerboard of black and white texels seen from 2 m up: the texture filter mixes them only
// between 15.0 and the filter distance (the sky, at the far distance, is left out).
TEST_F(TerrainViewTest, FilterLeavesNearAndFarTexelsAlone) {
  Landscape landscape = FlatLandscape(0, 0);
  SetTexels(landscape, [](uint32_t x, uint32_t z) -> uint16_t { return (x + z) % 2 ? 0xFFFF : 0x0000; });
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  view.SetCamera(Vector3(123 * kMetre + 12345, 2 * kMetre, 456 * kMetre + 5432), 12345);
  const uint16_t kNearest = DepthOf(15);
  const uint16_t kFilterEnd = DepthOf(60);
  const uint16_t kSky = DepthOf(300);
  for (const fixed filter : {0, 60 * kMetre}) {
    SCOPED_TRACE(filter);
    DepthSurface surface = BlankSurface(240, 320, false);
    ASSERT_TRUE(view.Render(surface, 300 * kMetre, 200 * kMetre, filter, kNoDoubling));
    uint32_t nearPure = 0, middlePure = 0, middleMixed = 0, farPure = 0;
    for (uint32_t y = 160; y < 320; ++y) {  // below the horizon: all ground
      for (uint32_t x = 0; x < 240; ++x) {
        const uint16_t depth = surface.DepthRow(y)[x];
        if (depth >= kSky) continue;
        const bool pure = surface.Row(y)[x] == 0xFFFF || surface.Row(y)[x] == 0x0000;
        if (depth <= kNearest) {
          ASSERT_TRUE(pure) << x << ", " << y;
          ++nearPure;
        } else if (depth < kFilterEnd) {
          (pure ? middlePure : middleMixed) += 1;
        } else {
          ASSERT_TRUE(pure) << x << ", " << y;
          ++farPure;
        }
      }
    }
    EXPECT_GT(nearPure, 1000u);
    EXPECT_GT(farPure, 500u);
    if (filter == 0) {
      EXPECT_EQ(middleMixed, 0u);
    } else {
      EXPECT_GT(middleMixed, 20 * middlePure);  // pure only where the texel fractions are 0
    }
  }
}

TEST_F(TerrainViewTest, DoubleRowsComeInEqualPairs) {
  const Landscape landscape = RandomLandscape(3, 6400);
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  for (const Angle yaw : {0, 30000}) {
    for (const fixed height : {3 * kMetre, 90 * kMetre, 400 * kMetre}) {
      SCOPED_TRACE(testing::Message() << "yaw " << yaw << " height " << height);
      view.SetCamera(Vector3(500 * kMetre, height, 700 * kMetre), yaw);
      DepthSurface surface = BlankSurface(240, 320, true);
      ASSERT_TRUE(view.Render(surface, FarDistanceFor(2), 300 * kMetre, 200 * kMetre, kImageQualities[2].stepThresholds));
      uint32_t unwritten = 0, unequal = 0;
      for (uint32_t y = 0; y < 320; y += 2) {
        for (uint32_t x = 0; x < 240; ++x) {
          unwritten += surface.DepthRow(y)[x] == DepthSurface::kEmptyDepth;
          unequal += surface.Row(y)[x] != surface.Row(y + 1)[x] || surface.DepthRow(y)[x] != surface.DepthRow(y + 1)[x];
        }
      }
      EXPECT_EQ(unwritten, 0u);
      EXPECT_EQ(unequal, 0u);
    }
  }
}

// Under the ground the first sample, at distance 0, already hits: the whole column is ground at
// depth 0, in either row mode and on a surface of odd height too (whose top row has no partner
// in double-row mode).
TEST_F(TerrainViewTest, CameraUnderTheGroundFillsColumnsAtDepthZero) {
  Landscape landscape = FlatLandscape(6400, 0x7BEF);
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  view.SetCamera(Vector3(50 * kMetre, 50 * kMetre, 50 * kMetre), 1234);
  for (const uint32_t height : {320u, 319u}) {
    for (const bool doubleRows : {false, true}) {
      for (const fixed near : {0, 300 * kMetre}) {
        SCOPED_TRACE(testing::Message() << height << " rows" << (doubleRows ? " double" : " single") << " near " << near);
        DepthSurface surface = BlankSurface(240, height, doubleRows);
        ASSERT_TRUE(view.Render(surface, 300 * kMetre, near, 0, kNoDoubling));
        const Frame frame = Capture(surface);
        EXPECT_TRUE(std::all_of(frame.depths.begin(), frame.depths.end(), [](uint16_t d) { return d == 0; }));
        EXPECT_TRUE(std::all_of(frame.colours.begin(), frame.colours.end(), [](uint16_t c) { return c == 0x7BEF; }));
      }
    }
  }
}

// Nothing outside the buffers is touched, whatever the camera and the distances (the sanitizer
// build watches the memory); every column is filled, apart from a top row that single-row mode
// leaves as it was when the ground reaches just below it.
TEST_F(TerrainViewTest, AnyCameraStaysInsideTheBuffers) {
  const Landscape landscape = RandomLandscape(5, 65535);
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  const fixed values[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, 0x7FFF0000, INT32_MAX};
  const fixed thresholdSets[][kRayStepThresholdCount] = {
      {0, 0, 0, 0, 0}, {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN}, {1, 2, 3, 4, INT32_MAX}};
  for (const fixed x : values) {
    for (const fixed y : values) {
      for (const fixed z : {INT32_MIN, 0, INT32_MAX}) {
        for (const Angle yaw : {0, 1, 16383, 65535}) {
          view.SetCamera(Vector3(x, y, z), yaw);
          for (const auto& thresholds : thresholdSets) {
            for (const bool doubleRows : {false, true}) {
              DepthSurface surface = BlankSurface(17, doubleRows ? 32 : 31, doubleRows);
              ASSERT_TRUE(view.Render(surface, INT32_MAX, INT32_MAX, INT32_MAX, thresholds));
              for (uint32_t row = 1; row < surface.height; ++row) {
                for (uint32_t column = 0; column < surface.width; ++column) {
                  ASSERT_NE(surface.DepthRow(row)[column], DepthSurface::kEmptyDepth) << x << " " << y << " " << z;
                }
              }
              ASSERT_TRUE(view.Render(surface, INT32_MIN, INT32_MIN, INT32_MIN, thresholds));
            }
          }
        }
      }
    }
  }
}

TEST_F(TerrainViewTest, RefusesSurfacesItCannotFill) {
  const Landscape landscape = RandomLandscape(5, 6400);
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  // The sky has 160 columns for two rows each: 320 rows at most.
  DepthSurface tall = BlankSurface(8, 321, false);
  EXPECT_FALSE(view.Render(tall, FarDistanceFor(1), 0, 0, kNoDoubling));
  EXPECT_EQ(tall.Row(320)[0], kUnwritten);
  DepthSurface empty;
  EXPECT_FALSE(view.Render(empty, FarDistanceFor(1), 0, 0, kNoDoubling));
  Surface emptyMap;
  EXPECT_FALSE(view.RenderMap(emptyMap));
}

// The map view: one texel per pixel, the camera's texel half a screen in from the left and half a
// screen down from the top, +x to the right and +z up.
TEST_F(TerrainViewTest, MapShowsTexelsAroundTheCamera) {
  const Landscape landscape = RandomLandscape(9, 6400);
  TerrainMap map;
  ASSERT_TRUE(LoadFromDisk(map, landscape, folder_));
  TerrainView view(map);
  const struct {
    fixed x, z;
  } cameras[] = {{1000 * kMetre + 3 * kMetre / 2, 1000 * kMetre}, {kMetre, 2046 * kMetre}, {-3 * kMetre, -5 * kMetre}};
  for (const auto& camera : cameras) {
    SCOPED_TRACE(testing::Message() << camera.x << ", " << camera.z);
    view.SetCamera(Vector3(camera.x, 5 * kMetre, camera.z), 1000);
    DepthSurface surface = BlankSurface(24, 16, true);
    ASSERT_TRUE(view.RenderMap(surface));
    const uint32_t cameraX = static_cast<uint32_t>(camera.x) >> 17;
    const uint32_t cameraZ = static_cast<uint32_t>(camera.z) >> 17;
    for (uint32_t y = 0; y < 16; ++y) {
      for (uint32_t x = 0; x < 24; ++x) {
        ASSERT_EQ(surface.Row(y)[x], TexelAt(landscape, (cameraX - 12 + x) & 1023, (cameraZ + 8 - y) & 1023))
            << x << ", " << y;
        ASSERT_EQ(surface.DepthRow(y)[x], DepthSurface::kEmptyDepth);
      }
    }
  }
}

}  // namespace
