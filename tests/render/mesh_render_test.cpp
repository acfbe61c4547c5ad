#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "content/mesh_library.h"
#include "core/wide_string.h"
#include "render/mesh_renderer.h"
#include "gfx/png.h"
#include "render/scene_view.h"
#include "gfx/test_pictures.h"
#include "mesh_shapes.h"
#include "render_test_support.h"

namespace {

using Rows = std::vector<std::string>;

constexpr uint16_t kBackground = 0x0000;
constexpr fixed kDepth10 = IntToFixed(10);
constexpr uint16_t kKey10 = 10 * 32;  // depth key of 10.0 m

DepthSurface Frame(uint32_t width, uint32_t height, uint16_t colour = kBackground) {
  DepthSurface surface;
  surface.Create(width, height);
  surface.Clear(colour);
  surface.ClearDepth();
  return surface;
}

// A vertex at whole pixel (x, y) and depth z.
ProjectedVertex At(int32_t x, int32_t y, fixed z = kDepth10, uint8_t u = 0, uint8_t v = 0) {
  return {IntToFixed(x), IntToFixed(y), z, u, v};
}

Rows Drawn(const DepthSurface& surface) { return Picture(surface, {{kBackground, '.'}, {kUntexturedColour, '#'}}); }

std::set<uint16_t> DepthsOf(const DepthSurface& surface) {
  std::set<uint16_t> depths;
  for (uint32_t y = 0; y < surface.height; ++y) {
    for (uint32_t x = 0; x < surface.width; ++x) depths.insert(surface.DepthRow(y)[x]);
  }
  return depths;
}

TEST(DrawTriangle, FillsRowsBetweenTheEdgesWithoutTheBottomRow) {
  const struct {
    const char* what;
    ProjectedVertex a, b, c;
    Rows picture;
  } cases[] = {
      {"even slope", At(0, 0), At(4, 4), At(0, 4), {"......", "#.....", "##....", "###...", "......", "......"}},
      // Right edge: 2 columns over 4 rows; the error term moves x on the first row already.
      {"right edge, half slope",
       At(0, 0),
       At(2, 4),
       At(0, 4),
       {"......", "#.....", "#.....", "##....", "......", "......"}},
      // Left edge running left: the error term starts at 1 - rows, so x moves late.
      {"left edge, half slope",
       At(4, 0),
       At(4, 4),
       At(2, 4),
       {"......", "......", "...#..", "...#..", "......", "......"}},
      {"flat top", At(1, 1), At(5, 1), At(1, 5), {"......", ".####.", ".###..", ".##...", ".#....", "......"}},
  };
  for (const auto& c : cases) {
    DepthSurface surface = Frame(6, 6);
    DrawTriangle(surface, nullptr, c.a, c.b, c.c);
    EXPECT_EQ(Drawn(surface), c.picture) << c.what;
    std::set<uint16_t> expectedDepths = {DepthSurface::kEmptyDepth, kKey10};
    EXPECT_EQ(DepthsOf(surface), expectedDepths) << c.what;
  }
}

TEST(DrawTriangle, OnlyClockwiseTrianglesAreDrawnWhicheverVertexComesFirst) {
  const ProjectedVertex p[3] = {At(1, 1), At(9, 3), At(3, 9)};  // clockwise on the screen (y down)
  const int rotations[3][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}};
  DepthSurface reference = Frame(10, 10);
  DrawTriangle(reference, nullptr, p[0], p[1], p[2]);
  ASSERT_NE(Drawn(reference), Drawn(Frame(10, 10)));
  for (const auto& r : rotations) {
    DepthSurface clockwise = Frame(10, 10);
    DrawTriangle(clockwise, nullptr, p[r[0]], p[r[1]], p[r[2]]);
    EXPECT_EQ(Drawn(clockwise), Drawn(reference)) << r[0] << r[1] << r[2];
    DepthSurface reversed = Frame(10, 10);
    DrawTriangle(reversed, nullptr, p[r[0]], p[r[2]], p[r[1]]);
    EXPECT_EQ(Drawn(reversed), Drawn(Frame(10, 10))) << r[0] << r[2] << r[1];
  }
}

TEST(DrawTriangle, AVertexNearerThanOneMetreDropsTheWholeTriangle) {
  const struct {
    fixed nearZ;
    bool drawn;
  } cases[] = {{58982 /* 0.9 */, false}, {kFixedOne - 1, false}, {kFixedOne, true}, {-kDepth10, false}};
  for (const auto& c : cases) {
    DepthSurface surface = Frame(10, 10);
    DrawTriangle(surface, nullptr, At(1, 1), At(9, 3, c.nearZ), At(3, 9));
    EXPECT_EQ(Drawn(surface) != Drawn(Frame(10, 10)), c.drawn) << c.nearZ;
  }
}

TEST(DrawTriangle, ATriangleNeedsAVertexInsideHorizontallyAndOneVertically) {
  const struct {
    const char* what;
    ProjectedVertex a, b, c;
    bool drawn;
  } cases[] = {
      // Left of, right of and below the screen: it covers the screen, but no vertex is inside it
      // horizontally.
      {"covers the screen from outside", At(-300, 2), At(600, 2), At(-50, 900), false},
      {"one vertex inside horizontally", At(-300, 2), At(600, 2), At(5, 900), true},
      {"none inside vertically", At(5, -300), At(600, 900), At(-300, 900), false},
      {"x exactly at the width is outside", At(16, 2), At(40, 10), At(-20, 10), false},
      {"x just below the width is inside",
       {IntToFixed(16) - 1, IntToFixed(2), kDepth10, 0, 0},
       At(40, 10),
       At(-20, 10),
       true},
  };
  for (const auto& c : cases) {
    DepthSurface surface = Frame(16, 16);
    DrawTriangle(surface, nullptr, c.a, c.b, c.c);
    EXPECT_EQ(Drawn(surface)[8][8] == '#', c.drawn) << c.what;
  }
}

TEST(DrawTriangle, APixelAtTheStoredDepthIsDrawnAndOneBehindItIsNot) {
  const struct {
    uint16_t stored;
    bool drawn;
  } cases[] = {{DepthSurface::kEmptyDepth, true}, {kKey10 + 1, true}, {kKey10, true}, {kKey10 - 1, false}, {0, false}};
  for (const auto& c : cases) {
    DepthSurface surface = Frame(8, 8);
    for (uint32_t y = 0; y < 8; ++y) {
      for (uint32_t x = 0; x < 8; ++x) surface.DepthRow(y)[x] = c.stored;
    }
    DrawTriangle(surface, nullptr, At(0, 0), At(8, 0), At(0, 8));
    EXPECT_EQ(surface.Row(2)[2] == kUntexturedColour, c.drawn) << c.stored;
    EXPECT_EQ(surface.DepthRow(2)[2], c.drawn ? kKey10 : c.stored) << c.stored;
  }
}

TEST(DrawTriangle, DepthIsInterpolatedAcrossTheTriangle) {
  DepthSurface surface = Frame(64, 8);
  // From 10 m on the left to 50 m on the right, the depth keys run from 320 up to 1600.
  DrawTriangle(surface, nullptr, At(0, 0), At(64, 0, IntToFixed(50)), At(0, 8));
  const uint16_t* depths = surface.DepthRow(1);
  EXPECT_EQ(depths[0], kKey10);
  for (uint32_t x = 1; x < 40; ++x) EXPECT_GT(depths[x], depths[x - 1]) << x;
  EXPECT_LT(depths[39], 50 * 32);
}

// A texture of four flat quarters, 8 x 8 texels.
Surface QuarterTexture() {
  Surface texture;
  texture.Create(8, 8);
  FillSurface(texture, [](uint32_t x, uint32_t y) -> uint16_t {
    if (y < 4) return x < 4 ? 0xF800 : 0x07E0;  // red, green
    return x < 4 ? 0x001F : 0xFFFF;             // blue, white
  });
  return texture;
}

const std::map<uint16_t, char> kQuarterLegend = {
    {kBackground, '.'}, {0xF800, 'R'}, {0x07E0, 'G'}, {0x001F, 'B'}, {0xFFFF, 'W'}};

// The whole texture (u, v 0..8) on a w x h quad at (x, y), as two triangles.
void DrawTexturedQuad(DepthSurface& surface, const Surface* texture, int32_t x, int32_t y, int32_t w, int32_t h,
                      uint8_t uMax = 8, uint8_t vMax = 8) {
  const ProjectedVertex topLeft = At(x, y, kDepth10, 0, 0);
  const ProjectedVertex topRight = At(x + w, y, kDepth10, uMax, 0);
  const ProjectedVertex bottomRight = At(x + w, y + h, kDepth10, uMax, vMax);
  const ProjectedVertex bottomLeft = At(x, y + h, kDepth10, 0, vMax);
  DrawTriangle(surface, texture, topLeft, topRight, bottomRight);
  DrawTriangle(surface, texture, topLeft, bottomRight, bottomLeft);
}

TEST(DrawTriangle, TexturesAreMappedAffinelyWithRowsFromTheTop) {
  const Surface texture = QuarterTexture();
  DepthSurface surface = Frame(16, 16);
  DrawTexturedQuad(surface, &texture, 0, 0, 16, 16);
  const Rows picture = Picture(surface, kQuarterLegend);
  // Away from the seams, each quarter of the quad shows its quarter of the picture.
  for (uint32_t y : {1u, 6u}) {
    EXPECT_EQ(picture[y].substr(1, 6), "RRRRRR") << y;
    EXPECT_EQ(picture[y].substr(9, 6), "GGGGGG") << y;
  }
  for (uint32_t y : {9u, 14u}) {
    EXPECT_EQ(picture[y].substr(1, 6), "BBBBBB") << y;
    EXPECT_EQ(picture[y].substr(9, 6), "WWWWWW") << y;
  }
}

TEST(DrawTriangle, TexelsOutsideASmallTextureAreHeldAtItsEdge) {
  // The coordinates run to 200 texels across a 2 x 2 picture: every read is held inside it.
  Surface texture;
  texture.Create(2, 2);
  FillSurface(texture, [](uint32_t x, uint32_t y) -> uint16_t {
    return y == 0 ? (x == 0 ? 0xF800 : 0x07E0) : (x == 0 ? 0x001F : 0xFFFF);
  });
  DepthSurface surface = Frame(40, 40);
  DrawTexturedQuad(surface, &texture, 0, 0, 40, 40, 200, 200);
  const Rows picture = Picture(surface, kQuarterLegend);
  EXPECT_EQ(picture[0][0], 'R');   // u and v below one texel
  EXPECT_EQ(picture[0][30], 'G');  // u far past the picture: its right column
  EXPECT_EQ(picture[30][0], 'B');  // v far past the picture: its bottom row
  EXPECT_EQ(picture[35][35], 'W');
  for (const std::string& row : picture) EXPECT_EQ(row.find_first_of(".?"), std::string::npos) << row;
}

TEST(DrawTriangle, WithoutAUsableTextureTrianglesAreFlatGrey) {
  Surface empty;
  DepthSurface surface = Frame(8, 8);
  DrawTriangle(surface, &empty, At(0, 0), At(8, 0), At(0, 8));
  EXPECT_EQ(surface.Row(1)[1], kUntexturedColour);
}

TEST(DrawTriangle, WildCoordinatesNeverTouchAnythingOutsideTheSurfaceOrTheTexture) {
  // Random triangles far larger than the surface, with vertices anywhere in the 16-bit pixel
  // range and coordinates anywhere in 0..255 on a 2 x 2 texture. Writes or reads outside either
  // buffer are what the sanitizer build catches; here every pixel must hold a texel or be left.
  Surface texture;
  texture.Create(2, 2);
  FillSurface(texture, [](uint32_t x, uint32_t y) -> uint16_t { return static_cast<uint16_t>(0x1000 + y * 2 + x); });
  std::mt19937 random(20240607);
  std::uniform_int_distribution<int32_t> coordinate(-32000, 32000);
  std::uniform_int_distribution<int32_t> nearCoordinate(-20, 30);
  std::uniform_int_distribution<int32_t> depth(kFixedOne, IntToFixed(3000));
  std::uniform_int_distribution<int32_t> texel(0, 255);
  DepthSurface surface = Frame(9, 7);
  for (int i = 0; i < 3000; ++i) {
    ProjectedVertex v[3];
    for (ProjectedVertex& vertex : v) {
      const bool near = random() % 2 == 0;
      vertex = {static_cast<fixed>((near ? nearCoordinate(random) : coordinate(random)) * 65536 + random() % 65536),
                static_cast<fixed>((near ? nearCoordinate(random) : coordinate(random)) * 65536 + random() % 65536),
                depth(random), static_cast<uint8_t>(texel(random)), static_cast<uint8_t>(texel(random))};
    }
    DrawTriangle(surface, &texture, v[0], v[1], v[2]);
  }
  std::set<uint16_t> colours;
  for (uint32_t y = 0; y < surface.height; ++y) {
    for (uint32_t x = 0; x < surface.width; ++x) colours.insert(surface.Row(y)[x]);
  }
  const std::set<uint16_t> allowed = {kBackground, 0x1000, 0x1001, 0x1002, 0x1003};
  for (uint16_t colour : colours) EXPECT_TRUE(allowed.count(colour)) << colour;
  EXPECT_NE(colours, std::set<uint16_t>{kBackground});  // and something was drawn
}

TEST(DrawTriangle, RowsAboveTheSurfaceAreSkippedExactlyAsIfWalked) {
  // A triangle reaching far above the surface is drawn as its part on the surface would be if
  // the rows above had been walked one by one: the same triangle moved down by its overhang,
  // drawn into a surface that tall (where every row is walked), shows the same lower rows,
  // texels and depths included.
  Surface texture;
  texture.Create(16, 16);
  FillSurface(texture, [](uint32_t x, uint32_t y) -> uint16_t { return static_cast<uint16_t>(0x2000 + y * 16 + x); });
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> overhang(1, 3000);
  std::uniform_int_distribution<int32_t> across(-400, 400);
  std::uniform_int_distribution<int32_t> below(0, 60);
  for (int i = 0; i < 200; ++i) {
    const int32_t lift = overhang(random);
    ProjectedVertex v[3] = {At(across(random), -lift, IntToFixed(5 + i % 7), 0, 0),
                            At(across(random), below(random) % 40, IntToFixed(40), 255, 30),
                            At(across(random), below(random), IntToFixed(20), 90, 255)};
    DepthSurface surface = Frame(30, 40);
    DrawTriangle(surface, &texture, v[0], v[1], v[2]);
    DepthSurface tall = Frame(30, 40 + lift);
    for (ProjectedVertex& vertex : v) vertex.y += lift * 65536;
    DrawTriangle(tall, &texture, v[0], v[1], v[2]);
    for (uint32_t y = 0; y < 40; ++y) {
      for (uint32_t x = 0; x < 30; ++x) {
        ASSERT_EQ(surface.Row(y)[x], tall.Row(y + lift)[x]) << i << ": " << x << "," << y;
        ASSERT_EQ(surface.DepthRow(y)[x], tall.DepthRow(y + lift)[x]) << i << ": " << x << "," << y;
      }
    }
  }
}

// --- Objects through the SceneView -------------------------------------------------------------

// A square of 2 x half metres facing the camera (-z), whole texture across it.
mesh_shapes::Shape FacingSquare(double half) {
  mesh_shapes::Shape shape;
  shape.vertices = {
      {-half, half, 0, 0, 0}, {half, half, 0, 255, 0}, {half, -half, 0, 255, 255}, {-half, -half, 0, 0, 255}};
  mesh_shapes::AddTriangle(shape, 0, 1, 2, 0, 0, -1);
  mesh_shapes::AddTriangle(shape, 0, 2, 3, 0, 0, -1);
  return shape;
}

std::vector<uint8_t> FlatColourJpeg(uint8_t r, uint8_t g, uint8_t b) {
  return EncodeJpeg(16, 16, 3, [=](uint32_t, uint32_t, uint8_t* out) {
    out[0] = r;
    out[1] = g;
    out[2] = b;
  });
}

// Objects placed in front of a camera at the origin looking along +z.
class ObjectDrawing : public testing::Test {
 protected:
  ObjectDrawing()
      : pack_({{"square.msh", mesh_shapes::MeshFileBytes(FacingSquare(2.0))},
               {"big.msh", mesh_shapes::MeshFileBytes(FacingSquare(40.0))},
               {"red.jpg", FlatColourJpeg(255, 0, 0)},
               {"blue.jpg", FlatColourJpeg(0, 0, 255)}}) {
    const auto meshes = render_test::ParseIni(
        "[Square]\nMesh 0 = 16 square.msh red.jpg\n"
        "[Levels]\nMesh 0 = 1 big.msh red.jpg\nMesh 1 = 4 big.msh blue.jpg\n");
    for (const IniSection* section : meshes->sections) scene.meshes.LoadMesh(&pack_.pack, *section);
  }

  SceneObject* Place(const char* mesh, int32_t x, int32_t y, int32_t z) {
    const auto section = render_test::ParseIni("[Object]\nMesh = " + std::string(mesh) + "\nPos = 0 0 0\n");
    SceneObject* object = CreateSceneObject(scene, *section->sections[0]);
    Matrix34 placement;
    placement.SetTranslation(Vector3(IntToFixed(x), IntToFixed(y), IntToFixed(z)));
    object->SetLocal(placement);
    return object;
  }

  void Draw(DepthSurface& surface) {
    view.Prepare(surface.width, surface.height, IntToFixed(1200));
    DrawObjects(view, surface);
  }

  // Red, blue, or '.' for the background and '?' for anything else.
  static char ColourAt(const DepthSurface& surface, uint32_t x, uint32_t y) {
    const uint16_t c = surface.Row(y)[x];
    if (c == kBackground) return '.';
    const uint32_t r = c >> 11, g = (c >> 5) & 63, b = c & 31;
    if (r > 24 && g < 8 && b < 6) return 'r';
    if (b > 24 && r < 6 && g < 8) return 'b';
    return '?';
  }

  render_test::TestPack pack_;
  MissionScene scene;
  SceneView view{&scene};
};

TEST_F(ObjectDrawing, MeshesMeetTheLandscapeThroughTheDepthTest) {
  Place("Square", 0, 0, 10);
  DepthSurface surface = Frame(240, 320);
  // Landscape 6.25 m away on the lower half of the screen, nothing on the upper half.
  for (uint32_t y = 160; y < 320; ++y) {
    for (uint32_t x = 0; x < 240; ++x) surface.DepthRow(y)[x] = 200;
  }
  Draw(surface);
  EXPECT_EQ(ColourAt(surface, 120, 150), 'r');
  EXPECT_EQ(surface.DepthRow(150)[120], kKey10);
  EXPECT_EQ(ColourAt(surface, 120, 170), '.');  // behind the landscape
  EXPECT_EQ(ColourAt(surface, 5, 150), '.');    // beside the square
  // The square spans 2 / (10 projX) of the width each way from the centre: about 49 pixels.
  EXPECT_EQ(ColourAt(surface, 120 + 46, 150), 'r');
  EXPECT_EQ(ColourAt(surface, 120 + 52, 150), '.');
}

TEST_F(ObjectDrawing, TheLevelOfDetailFollowsTheWholeDepth) {
  const struct {
    int32_t z;
    char colour;
  } cases[] = {{255, 'r'}, {256, 'b'}, {511, 'b'}, {512, '.'}};
  for (const auto& c : cases) {
    SceneObject* object = Place("Levels", 0, 0, c.z);
    DepthSurface surface = Frame(240, 320);
    Draw(surface);
    EXPECT_EQ(ColourAt(surface, 120, 160), c.colour) << c.z;
    delete object;
  }
}

TEST_F(ObjectDrawing, HiddenObjectsAreNotDrawnAndDestroyedOnesStay) {
  SceneObject* picked = Place("Square", -3, 0, 10);
  SceneObject* destroyed = Place("Square", 3, 0, 10);
  picked->alive = 0;
  picked->active = 0;
  destroyed->alive = 0;
  DepthSurface surface = Frame(240, 320);
  Draw(surface);
  const uint32_t offset = 72;  // 3 m at 10 m: 3 / (10 projX) of the width
  EXPECT_EQ(ColourAt(surface, 120 - offset, 160), '.');
  EXPECT_EQ(ColourAt(surface, 120 + offset, 160), 'r');
}

// --- A look at real shapes ------------------------------------------------------------------------

// The colours the shapes' textures use, to name what a pixel shows.
char Classify(uint16_t c, uint16_t background) {
  if (c == background) return '.';
  const int r = (c >> 11) << 3, g = ((c >> 5) & 63) << 2, b = (c & 31) << 3;
  const struct {
    char name;
    int r, g, b;
  } palette[] = {{'c', 240, 240, 240}, {'c', 30, 90, 200},                                            // checker
                 {'h', 90, 110, 40},   {'g', 120, 190, 240}, {'d', 50, 50, 50},  {'x', 210, 30, 30},  // helicopter
                 {'p', 230, 40, 20},   {'p', 230, 236, 20},  {'p', 230, 140, 20}};                    // bands
  char best = '?';
  int bestDistance = 60 * 60;
  for (const auto& p : palette) {
    const int distance = (p.r - r) * (p.r - r) + (p.g - g) * (p.g - g) + (p.b - b) * (p.b - b);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = p.name;
    }
  }
  return best;
}

std::map<char, int> Census(const DepthSurface& surface, uint16_t background) {
  std::map<char, int> counts;
  for (uint32_t y = 0; y < surface.height; ++y) {
    for (uint32_t x = 0; x < surface.width; ++x) ++counts[Classify(surface.Row(y)[x], background)];
  }
  return counts;
}

// Renders the shapes of mesh_shapes.h as the game would, for the tests below and for a person to
// look at: with KESTREL_RENDER_PREVIEW set to a folder, each frame is also saved there as a PNG.
class ShapePreview : public testing::Test {
 protected:
  static constexpr uint16_t kSky = 0xB65B;  // pale blue-grey

  SceneObject* Place(const char* mesh, double x, double y, double z, int yawDegrees) {
    const std::string ini = "[" + std::string(mesh) + std::to_string(shapes.scene.nodes.Count()) + "]\nMesh = " + mesh +
                            "\nYawPitchRoll = " + std::to_string(yawDegrees) + "\n";
    SceneObject* object = shapes.AddObjects(ini)[0];
    Matrix34 placement = object->local;
    placement.SetTranslation(
        Vector3(static_cast<fixed>(x * 65536), static_cast<fixed>(y * 65536), static_cast<fixed>(z * 65536)));
    object->SetLocal(placement);
    return object;
  }

  DepthSurface Render(const char* name, double cameraX, double cameraY, double cameraZ, int yawDegrees,
                      int pitchDegrees) {
    Matrix34 camera;
    camera.FromYawPitchRoll(AngleFromDegrees(static_cast<uint32_t>(yawDegrees)),
                            AngleFromDegrees(static_cast<uint32_t>(pitchDegrees)), 0);
    camera.SetTranslation(Vector3(static_cast<fixed>(cameraX * 65536), static_cast<fixed>(cameraY * 65536),
                                  static_cast<fixed>(cameraZ * 65536)));
    SceneView view(&shapes.scene);
    view.SetCamera(camera);
    DepthSurface surface = Frame(240, 320, kSky);
    view.Prepare(240, 320, IntToFixed(800));
    DrawObjects(view, surface);
    if (const char* folder = std::getenv("KESTREL_RENDER_PREVIEW")) {
      SavePng(surface, WideFromUtf8(std::string(folder) + "/" + name + ".png").c_str());
    }
    return surface;
  }

  render_test::ShapeScene shapes;
};

TEST_F(ShapePreview, CubePyramidAndHelicopterShowTheirTextures) {
  ASSERT_EQ(shapes.scene.meshes.meshes.Count(), 3);
  Place("Cube", -4, 0, 14, 30);
  Place("Pyramid", 4, 0, 16, 0);
  Place("Helicopter", 0, 0, 10, 150);
  const DepthSurface surface = Render("shapes_front", 0, 4, 0, 0, 12);
  const auto counts = Census(surface, kSky);
  EXPECT_GT(counts.at('.'), 240 * 320 / 2);
  for (char shown : {'c', 'p', 'h', 'g', 'd'}) EXPECT_GT(counts.count(shown) ? counts.at(shown) : 0, 20) << shown;
  EXPECT_LT(counts.count('?') ? counts.at('?') : 0, 240 * 320 / 50);  // only blends at texture seams
}

TEST_F(ShapePreview, TheNearerObjectHidesTheFartherOne) {
  Place("Helicopter", 0, 0, 12, 90);  // side on
  Place("Cube", 1.5, 0, 6, 0);
  const DepthSurface surface = Render("shapes_overlap", 0, 1, 0, 0, 0);
  // The cube's centre (1.5, 1, 6) is 1.5 / (6 projX) right of the centre: column 181, row 160.
  EXPECT_EQ(Classify(surface.Row(160)[181], kSky), 'c');
  EXPECT_EQ(surface.DepthRow(160)[181], 5 * 32);  // its front face, 5 m away
  // The fuselage's side (1 m left of the axis, 0.2 m up, 11.3 m away) beside it.
  EXPECT_EQ(Classify(surface.Row(156)[98], kSky), 'h');
  EXPECT_GT(surface.DepthRow(156)[98], 11 * 32);
}

TEST_F(ShapePreview, FromAboveTheRotorCrossesTheBody) {
  Place("Helicopter", 0, 0, 0, 0);
  const DepthSurface surface = Render("shapes_above", 0, 14, -6, 0, 60);
  const auto counts = Census(surface, kSky);
  EXPECT_GT(counts.count('d') ? counts.at('d') : 0, 100);  // the blades
  EXPECT_GT(counts.count('h') ? counts.at('h') : 0, 100);  // the body
}

}  // namespace
