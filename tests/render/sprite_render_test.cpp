#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "content/scene_graph.h"
#include "gfx/blit.h"
#include "gfx/colour.h"
#include "render/particle_group.h"
#include "render/scene_view.h"
#include "render/sprite_renderer.h"
#include "gfx/test_pictures.h"

namespace {

constexpr uint16_t kGround = 0x4208;  // dark grey
constexpr fixed kDepth10 = IntToFixed(10);
constexpr uint16_t kKey10 = 10 * 32;

DepthSurface Frame(uint32_t width, uint32_t height) {
  DepthSurface surface;
  surface.Create(width, height);
  surface.Clear(kGround);
  surface.ClearDepth();
  return surface;
}

// An ARGB4444 picture of one texel value.
Surface FlatSprite(uint32_t width, uint32_t height, uint16_t argb) {
  Surface sprite;
  sprite.Create(width, height);
  FillSurface(sprite, argb);
  return sprite;
}

// Opaque texels whose colour numbers their column (or row): 0xF000 | index, all different.
Surface NumberedSprite(uint32_t width, uint32_t height, bool byRow) {
  Surface sprite;
  sprite.Create(width, height);
  FillSurface(sprite, [byRow](uint32_t x, uint32_t y) { return static_cast<uint16_t>(0xF000 | (byRow ? y : x)); });
  return sprite;
}

TEST(DrawScaledSprite, AlphaDecidesWhatIsWritten) {
  const struct {
    uint16_t texel;
    bool colourWritten;
    bool depthWritten;
  } cases[] = {
      {0x0F00, false, false},  // alpha 0: neither colour nor depth, whatever its colour
      {0xF0F0, true, true},    // alpha 15: the colour itself
      {0x8F00, true, true},    // between: mixed as BlitAlpha mixes
      {0x1FFF, true, true},
  };
  for (const auto& c : cases) {
    const Surface sprite = FlatSprite(4, 4, c.texel);
    DepthSurface surface = Frame(8, 8);
    DrawScaledSprite(surface, 2, 2, 4, 4, sprite, 0, 0, 4, 4, kDepth10, true);

    Surface expected;
    expected.Create(8, 8);
    FillSurface(expected, kGround);
    BlitAlpha(expected, 2, 2, sprite, 0, 0, 4, 4);
    EXPECT_EQ(surface.Row(3)[3], expected.Row(3)[3]) << std::hex << c.texel;
    EXPECT_EQ(surface.Row(3)[3] != kGround, c.colourWritten) << std::hex << c.texel;
    EXPECT_EQ(surface.DepthRow(3)[3], c.depthWritten ? kKey10 : DepthSurface::kEmptyDepth) << std::hex << c.texel;
    EXPECT_EQ(surface.Row(1)[1], kGround);  // outside the rectangle
  }
}

TEST(DrawScaledSprite, DepthTestAndTheWriteDepthFlag) {
  const struct {
    uint16_t stored;
    bool writeDepth;
    bool drawn;
    uint16_t depthAfter;
  } cases[] = {
      {kKey10, true, true, kKey10},
      {kKey10 - 1, true, false, kKey10 - 1},
      {kKey10 + 5, true, true, kKey10},
      {kKey10 + 5, false, true, kKey10 + 5},
  };
  const Surface sprite = FlatSprite(2, 2, 0xFF00);
  for (const auto& c : cases) {
    DepthSurface surface = Frame(4, 4);
    for (uint32_t y = 0; y < 4; ++y) {
      for (uint32_t x = 0; x < 4; ++x) surface.DepthRow(y)[x] = c.stored;
    }
    DrawScaledSprite(surface, 0, 0, 4, 4, sprite, 0, 0, 2, 2, kDepth10, c.writeDepth);
    EXPECT_EQ(surface.Row(2)[2] == Argb4444To565(0xFF00), c.drawn) << c.stored << " " << c.writeDepth;
    EXPECT_EQ(surface.DepthRow(2)[2], c.depthAfter) << c.stored << " " << c.writeDepth;
  }
}

TEST(DrawScaledSprite, ClippingMovesTheSourceWithTheCut) {
  const struct {
    const char* what;
    int32_t x, y, w, h;
    bool byRow;
    uint32_t sourceSize;
    uint32_t firstIndex;  // texel column (or row) at the surface's first column (or row)
    uint32_t drawnCount;  // columns (or rows) drawn
  } cases[] = {
      {"x = -10, w = 40, 1:1", -10, 0, 40, 4, false, 40, 10, 30},
      {"x = -10, w = 40, half-size source", -10, 0, 40, 4, false, 20, 5, 30},
      {"y = -3, h = 10, 1:1", 0, -3, 4, 10, true, 10, 3, 7},
      {"past the right edge", 30, 0, 40, 4, false, 40, 0, 18},
  };
  for (const auto& c : cases) {
    const Surface sprite = NumberedSprite(c.byRow ? 4 : c.sourceSize, c.byRow ? c.sourceSize : 4, c.byRow);
    DepthSurface surface = Frame(48, 48);
    DrawScaledSprite(surface, c.x, c.y, c.w, c.h, sprite, 0, 0, sprite.width, sprite.height, kDepth10, true);
    const int32_t start = c.byRow ? 0 : (c.x < 0 ? 0 : c.x);
    const uint16_t first = c.byRow ? surface.Row(0)[0] : surface.Row(0)[start];
    EXPECT_EQ(first, Argb4444To565(static_cast<uint16_t>(0xF000 | c.firstIndex))) << c.what;
    uint32_t drawn = 0;
    for (uint32_t i = 0; i < 48; ++i) drawn += (c.byRow ? surface.Row(i)[0] : surface.Row(0)[i]) != kGround;
    EXPECT_EQ(drawn, c.drawnCount) << c.what;
  }
}

TEST(DrawScaledSprite, NothingForAnEmptyRectangleOrASourceOutsideThePicture) {
  const Surface sprite = FlatSprite(8, 8, 0xFFFF);
  const Surface empty;
  const struct {
    const char* what;
    int32_t x, y, w, h, sx, sy, sw, sh;
    const Surface* image;
  } cases[] = {
      {"no width", 0, 0, 0, 4, 0, 0, 8, 8, &sprite},
      {"negative height", 0, 0, 4, -4, 0, 0, 8, 8, &sprite},
      {"right of the surface", 16, 0, 4, 4, 0, 0, 8, 8, &sprite},
      {"below the surface", 0, 16, 4, 4, 0, 0, 8, 8, &sprite},
      {"wholly left of it", -8, 0, 8, 4, 0, 0, 8, 8, &sprite},
      {"source wider than the picture", 0, 0, 4, 4, 0, 0, 9, 8, &sprite},
      {"source starting outside", 0, 0, 4, 4, 6, 0, 4, 8, &sprite},
      {"negative source", 0, 0, 4, 4, -1, 0, 4, 8, &sprite},
      {"empty picture", 0, 0, 4, 4, 0, 0, 8, 8, &empty},
  };
  for (const auto& c : cases) {
    DepthSurface surface = Frame(16, 16);
    DrawScaledSprite(surface, c.x, c.y, c.w, c.h, *c.image, c.sx, c.sy, c.sw, c.sh, kDepth10, true);
    EXPECT_EQ(Picture(surface, {{kGround, '.'}}), Picture(Frame(16, 16), {{kGround, '.'}})) << c.what;
  }
}

// --- Particles through the SceneView -------------------------------------------------------------

class TestGroup : public ParticleGroup {
 public:
  explicit TestGroup(const Surface* image) : image_(image) {}
  ~TestGroup() override { particles.DeleteAll(); }
  const Surface* SpriteImage(const Particle&) const override { return image_; }

  void Add(fixed x, fixed y, fixed z, fixed halfSize = kFixedOne) {
    auto* particle = new Particle;
    particle->halfSize = halfSize;
    particle->position = Vector3(x, y, z);
    particles.Append(particle);
  }

 private:
  const Surface* image_;
};

// A camera at the origin looking along +z over a 240 x 320 frame.
class SpriteDrawing : public testing::Test {
 protected:
  SpriteDrawing() { view.Prepare(240, 320, kFar); }

  void Draw(DepthSurface& surface) { DrawSprites(view, surface, groups, kFar); }

  static constexpr fixed kFar = IntToFixed(300);
  SceneGraph scene;
  SceneView view{&scene};
  PtrArray<ParticleGroup*> groups;
  ~SpriteDrawing() override { groups.DeleteAll(); }
};

TEST_F(SpriteDrawing, AtMostFiveHundredParticlesInGroupAndListOrder) {
  const Surface red = FlatSprite(8, 8, 0xFF00);
  const Surface blue = FlatSprite(8, 8, 0xF00F);
  const struct {
    int redFirst;   // particles on the left in the first group, then
    int blueLater;  // particles on the right (in the first group when `sameGroup`)
    bool sameGroup;
    bool blueShown;
  } cases[] = {{500, 100, true, false}, {500, 100, false, false}, {499, 1, false, true}, {499, 101, true, true}};
  for (const auto& c : cases) {
    groups.DeleteAll();
    auto* first = new TestGroup(&red);
    groups.Append(first);
    TestGroup* second = first;
    if (!c.sameGroup) {
      second = new TestGroup(&blue);
      groups.Append(second);
    }
    for (int i = 0; i < c.redFirst; ++i) first->Add(IntToFixed(-3), 0, kDepth10);
    for (int i = 0; i < c.blueLater; ++i) second->Add(IntToFixed(3), 0, kDepth10);
    DepthSurface surface = Frame(240, 320);
    Draw(surface);
    // 3 m at 10 m is 73 pixels from the centre.
    EXPECT_EQ(surface.Row(160)[120 - 73], Argb4444To565(0xFF00)) << c.redFirst << " " << c.blueLater;
    const uint16_t right = surface.Row(160)[120 + 73];
    EXPECT_EQ(right != kGround, c.blueShown) << c.redFirst << " " << c.blueLater;
  }
}

TEST_F(SpriteDrawing, FarthestFirstSoThatSoftSpritesMix) {
  const Surface smoke = FlatSprite(8, 8, 0x8F80);  // half-transparent orange
  auto* group = new TestGroup(&smoke);
  groups.Append(group);
  group->Add(0, 0, kDepth10, IntToFixed(2));        // the near one is listed first
  group->Add(0, 0, IntToFixed(20), IntToFixed(4));  // the far one covers the same centre
  DepthSurface surface = Frame(240, 320);
  Draw(surface);
  const uint16_t farOverGround = DrawArgb4444Over(kGround, 0x8F80);
  EXPECT_EQ(surface.Row(160)[120], DrawArgb4444Over(farOverGround, 0x8F80));
  EXPECT_EQ(surface.DepthRow(160)[120], kKey10);
}

TEST_F(SpriteDrawing, OnlyParticlesBetweenOneMetreAndTheFarDistanceAndOnScreen) {
  const Surface white = FlatSprite(4, 4, 0xFFFF);
  const struct {
    const char* what;
    fixed x, y, z;
    bool drawn;
  } cases[] = {
      {"ahead", 0, 0, kDepth10, true},
      {"at 1.0", 0, 0, kFixedOne, false},
      {"just past 1.0", 0, 0, kFixedOne + 1, true},
      {"at the far distance", 0, 0, kFar, false},
      {"just inside it", 0, 0, kFar - 1, true},
      {"behind", 0, 0, -kDepth10, false},
      {"far to the side", IntToFixed(50), 0, kDepth10, false},
      {"high above", 0, IntToFixed(50), kDepth10, false},
  };
  for (const auto& c : cases) {
    groups.DeleteAll();
    auto* group = new TestGroup(&white);
    groups.Append(group);
    group->Add(c.x, c.y, c.z, IntToFixed(1));
    DepthSurface surface = Frame(240, 320);
    Draw(surface);
    bool any = false;
    for (uint32_t y = 0; y < 320 && !any; ++y) {
      for (uint32_t x = 0; x < 240 && !any; ++x) any = surface.Row(y)[x] != kGround;
    }
    EXPECT_EQ(any, c.drawn) << c.what;
  }
}

TEST_F(SpriteDrawing, TheHorizontalFactorSizesBothAxes) {
  const Surface white = FlatSprite(4, 4, 0xFFFF);
  auto* group = new TestGroup(&white);
  groups.Append(group);
  group->Add(0, 0, kDepth10, kFixedOne);
  DepthSurface surface = Frame(240, 320);
  Draw(surface);
  uint32_t columns = 0;
  uint32_t rows = 0;
  for (uint32_t x = 0; x < 240; ++x) columns += surface.Row(160)[x] != kGround;
  for (uint32_t y = 0; y < 320; ++y) rows += surface.Row(y)[120] != kGround;
  // Half-size 1 m at 10 m is 1 / (10 projX) of the surface each way, on both axes alike: the
  // sprite covers the same fraction of the width and of the height, so it stands taller than wide
  // on the upright screen.
  const double fraction = 2.0 / (10.0 * view.projX / 65536.0);
  EXPECT_NEAR(columns, fraction * 240, 1.5);
  EXPECT_NEAR(rows, fraction * 320, 1.5);
}

}  // namespace
