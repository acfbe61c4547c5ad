// kestrel-pack mesh: models written as OBJ and glTF come out as mesh files that the game's mesh
// renderer draws with the model's own silhouette, facing the right way; and the models, textures
// and command lines it refuses, with nothing written.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "content/mesh_library.h"
#include "mesh_encoding.h"
#include "model_files.h"
#include "pack_test_util.h"
#include "render/mesh_renderer.h"
#include "render/scene_view.h"
#include "render_test_support.h"

using namespace pack_test;

namespace {

constexpr uint16_t kBackground = 0x0000;

// A level's mesh file drawn alone (untextured) as the game draws objects: standing 12 m ahead of
// a camera 4 m up that looks down 12 degrees, turned 30 degrees.
DepthSurface DrawMesh(const Bytes& meshFile) {
  render_test::TestPack pack({{"m.msh", meshFile}});
  MissionScene scene;
  const auto meshes = render_test::ParseIni("[M]\nMesh 0 = 16 m.msh\n");
  EXPECT_NE(scene.meshes.LoadMesh(&pack.pack, *meshes->sections[0]), nullptr);
  const auto objects = render_test::ParseIni("[Thing]\nMesh = M\nYawPitchRoll = 30\n");
  SceneObject* object = CreateSceneObject(scene, *objects->sections[0]);
  EXPECT_NE(object, nullptr);
  DepthSurface surface;
  surface.Create(240, 320);
  for (uint32_t y = 0; y < 320; ++y) {
    for (uint32_t x = 0; x < 240; ++x) {
      surface.Row(y)[x] = kBackground;
      surface.DepthRow(y)[x] = 0xFFFF;
    }
  }
  if (object == nullptr) return surface;
  Matrix34 placement = object->local;
  placement.SetTranslation(Vector3(0, 0, IntToFixed(12)));
  object->SetLocal(placement);
  Matrix34 camera;
  camera.FromYawPitchRoll(0, AngleFromDegrees(12), 0);
  camera.SetTranslation(Vector3(0, IntToFixed(4), 0));
  SceneView view(&scene);
  view.SetCamera(camera);
  view.Prepare(240, 320, IntToFixed(800));
  DrawObjects(view, surface);
  return surface;
}

struct Comparison {
  int covered = 0;     // pixels the reference covers
  int different = 0;   // pixels covered by one frame and not the other
  uint16_t referenceDepth = 0, depth = 0;  // at the middle of the reference's covered rows
};

Comparison Compare(const DepthSurface& reference, const DepthSurface& drawn) {
  Comparison result;
  int top = 320, bottom = 0;
  for (uint32_t y = 0; y < 320; ++y) {
    for (uint32_t x = 0; x < 240; ++x) {
      const bool inReference = reference.Row(y)[x] != kBackground, inDrawn = drawn.Row(y)[x] != kBackground;
      result.covered += inReference;
      result.different += inReference != inDrawn;
      if (inReference) {
        top = std::min(top, static_cast<int>(y));
        bottom = std::max(bottom, static_cast<int>(y));
      }
    }
  }
  const uint32_t middle = static_cast<uint32_t>((top + bottom) / 2);
  result.referenceDepth = reference.DepthRow(middle)[120];
  result.depth = drawn.DepthRow(middle)[120];
  return result;
}

// Runs kestrel-pack mesh in a fresh folder holding `files`; the mesh goes to out/<name>.
struct MeshRun {
  TempDir dir;
  Result result;
  Bytes Level(int level) const { return ReadFile(dir.Path() / "out" / ("thing" + std::to_string(level) + ".msh")); }
};

void RunMesh(MeshRun& run, const std::map<std::string, Bytes>& files, const std::string& arguments) {
  for (const auto& [name, bytes] : files) WriteFile(run.dir.Path() / name, bytes);
  fs::create_directories(run.dir.Path() / "out");
  run.result = RunPack(run.dir.Path(), "mesh " + arguments + " -o out/thing");
}

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(MeshTool, CubesAndPyramidsKeepTheirSilhouetteAndShowTheirFrontFaces) {
  struct Case {
    const char* name;
    mesh_shapes::Shape shape;
  };
  const Case shapes[] = {{"cube", mesh_shapes::Cube(1.5)}, {"pyramid", mesh_shapes::Pyramid(2.0, 3.0)}};
  for (const Case& c : shapes) {
    const DepthSurface reference = DrawMesh(mesh_shapes::MeshFileBytes(c.shape));
    for (const char* format : {"obj", "gltf"}) {
      SCOPED_TRACE(std::string(c.name) + "." + format);
      const std::string model = std::string(format) == "obj" ? model_files::Obj(c.shape) : model_files::Gltf(c.shape);
      MeshRun run;
      RunMesh(run, {{std::string("model.") + format, BytesOf(model)}}, std::string("model.") + format);
      ASSERT_EQ(run.result.status, 0) << run.result.err;
      const Comparison comparison = Compare(reference, DrawMesh(run.Level(0)));
      ASSERT_GT(comparison.covered, 1500);
      EXPECT_LE(comparison.different, comparison.covered / 100);
      // The faces toward the camera are the ones drawn: the depth is that of the near side (to
      // a 1/32 m step: the mirrored faces are split along the other diagonal); the far side
      // lies metres behind.
      EXPECT_NEAR(comparison.depth, comparison.referenceDepth, 1);
    }
  }
}

TEST(MeshTool, EveryFaceLooksOutOfTheSolid) {
  for (const char* format : {"obj", "gltf"}) {
    SCOPED_TRACE(format);
    const mesh_shapes::Shape cube = mesh_shapes::Cube(1.0);
    MeshRun run;
    RunMesh(run, {{std::string("cube.") + format, BytesOf(format == std::string("obj") ? model_files::Obj(cube)
                                                                                        : model_files::Gltf(cube))}},
            std::string("cube.") + format);
    ASSERT_EQ(run.result.status, 0) << run.result.err;
    DecodedMesh mesh;
    ASSERT_TRUE(DecodeMeshFile(run.Level(0), mesh));
    ASSERT_EQ(mesh.faces.size(), 12u);
    for (const auto& face : mesh.faces) {
      const auto& a = mesh.vertices[face[0]];
      const auto& b = mesh.vertices[face[1]];
      const auto& c = mesh.vertices[face[2]];
      const float e[3] = {b.x - a.x, b.y - a.y, b.z - a.z}, f[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
      const float normal[3] = {e[1] * f[2] - e[2] * f[1], e[2] * f[0] - e[0] * f[2], e[0] * f[1] - e[1] * f[0]};
      // From the cube's middle (0, 1, 0) out to the face.
      const float out[3] = {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3 - 1, (a.z + b.z + c.z) / 3};
      EXPECT_GT(normal[0] * out[0] + normal[1] * out[1] + normal[2] * out[2], 0);
    }
  }
}

// A model's front is +z and its right -x (glTF's axes); texture coordinates count v from the
// bottom in OBJ and from the top in glTF. A model made of one triangle shows where each lands.
TEST(MeshTool, AxesAndTextureCoordinatesFollowTheFormats) {
  mesh_shapes::Shape triangle;
  // The nose ahead (+z), a point on the model's right (-x), one above; u, v bytes as texel
  // positions counted from the top of the picture.
  triangle.vertices = {{0, 0, 2, 0, 0}, {-1, 0, 0, 255, 0}, {0, 1, 0, 64, 191}};
  triangle.faces = {{0, 1, 2}};
  Bytes previous;
  for (const char* format : {"obj", "gltf"}) {
    SCOPED_TRACE(format);
    MeshRun run;
    RunMesh(run,
            {{std::string("t.") + format,
              BytesOf(format == std::string("obj") ? model_files::Obj(triangle) : model_files::Gltf(triangle))},
             {"tex.jpg", mesh_shapes::CheckerTexture()}},
            std::string("t.") + format + " --texture tex.jpg");
    ASSERT_EQ(run.result.status, 0) << run.result.err;
    DecodedMesh mesh;
    ASSERT_TRUE(DecodeMeshFile(run.Level(0), mesh));
    ASSERT_EQ(mesh.vertices.size(), 3u);
    // Vertices in the order of first use; the corners are taken in the other order.
    struct Expected {
      float x, y, z;
      uint8_t u, v;  // the file's bytes: v from the bottom
    };
    const Expected expected[] = {{0, 0, 2, 0, 255}, {0, 1, 0, 64, 64}, {1, 0, 0, 255, 255}};
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(mesh.vertices[i].x, expected[i].x) << i;
      EXPECT_EQ(mesh.vertices[i].y, expected[i].y) << i;
      EXPECT_EQ(mesh.vertices[i].z, expected[i].z) << i;
      EXPECT_EQ(mesh.vertices[i].u, expected[i].u) << i;
      EXPECT_EQ(mesh.vertices[i].v, expected[i].v) << i;
    }
    if (!previous.empty()) {
      EXPECT_TRUE(previous == run.Level(0)) << "OBJ and glTF give the same file";
    }
    previous = run.Level(0);
  }
}

TEST(MeshTool, LevelsTextureAndTheMeshesIniSection) {
  MeshRun run;
  RunMesh(run,
          {{"near.obj", BytesOf(model_files::Obj(mesh_shapes::Helicopter()))},
           {"far.obj", BytesOf(model_files::Obj(mesh_shapes::Cube(2)))},
           {"tex.jpg", mesh_shapes::CheckerTexture()}},
          "near.obj --lod far.obj --texture tex.jpg --distances 2,20");
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_NE(run.result.out.find("In meshes.ini:\n[thing]\nMesh 0 = 2 out\\thing0.msh out\\thing.jpg\n"
                                "Mesh 1 = 20 out\\thing1.msh out\\thing.jpg\n"),
            std::string::npos)
      << run.result.out;
  // The game loads both levels with the texture.
  render_test::TestPack pack({{"out\\thing0.msh", run.Level(0)},
                              {"out\\thing1.msh", run.Level(1)},
                              {"out\\thing.jpg", ReadFile(run.dir.Path() / "out/thing.jpg")}});
  MeshLibrary library;
  const auto meshes = render_test::ParseIni(run.result.out.substr(run.result.out.find('[')));
  const Mesh* mesh = library.LoadMesh(&pack.pack, *meshes->sections[0]);
  ASSERT_NE(mesh, nullptr);
  ASSERT_EQ(mesh->lodCount, 2);
  for (int level = 0; level < 2; ++level) {
    ASSERT_NE(mesh->lods[level]->texture, nullptr);
    EXPECT_EQ(mesh->lods[level]->texture->width, 64u);
  }
  EXPECT_EQ(mesh->lods[1]->faceCount, 12);
}

TEST(MeshTool, ModelsAndTexturesItCannotUseAreRefusedAndNothingIsWritten) {
  // 100 separate triangles: 300 vertices.
  std::string scattered;
  for (int i = 0; i < 100; ++i) {
    scattered += "v " + std::to_string(i) + " 0 0\nv " + std::to_string(i) + " 1 0\nv " + std::to_string(i) + " 0 1\n";
    scattered += "f " + std::to_string(3 * i + 1) + " " + std::to_string(3 * i + 2) + " " + std::to_string(3 * i + 3) + "\n";
  }
  // A 15 x 15 grid of vertices made into 2 x 14 x 14 = 392 triangles.
  std::string grid;
  for (int z = 0; z < 15; ++z) {
    for (int x = 0; x < 15; ++x) grid += "v " + std::to_string(x) + " 0 " + std::to_string(z) + "\n";
  }
  for (int z = 0; z < 14; ++z) {
    for (int x = 0; x < 14; ++x) {
      const int a = z * 15 + x + 1, b = a + 1, c = a + 15, d = c + 1;
      grid += "f " + std::to_string(a) + " " + std::to_string(c) + " " + std::to_string(b) + "\nf " + std::to_string(b) +
              " " + std::to_string(c) + " " + std::to_string(d) + "\n";
    }
  }
  const std::string cube = model_files::Obj(mesh_shapes::Cube(1));
  std::string gltf = model_files::Gltf(mesh_shapes::Cube(1));
  const Bytes texture = mesh_shapes::CheckerTexture();
  std::string plainGrey48 = "P3\n48 48\n255\n";
  for (int i = 0; i < 48 * 48 * 3; ++i) plainGrey48 += "128\n";
  struct Case {
    const char* name;
    std::map<std::string, std::string> files;
    std::string arguments;
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"no faces", {{"m.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\n"}}, "m.obj", 1, "m.obj: "},
      {"texture index out of range", {{"m.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/7 3/1\n"}},
       "m.obj --texture tex.jpg", 1, "m.obj: "},
      {"vertex index out of range", {{"m.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 9\n"}}, "m.obj", 1, "m.obj: "},
      {"too many vertices", {{"m.obj", scattered}}, "m.obj", 1, "m.obj: level 0 has 300 vertices; at most 255"},
      {"too many faces", {{"m.obj", grid}}, "m.obj", 1, "m.obj: level 0 has 392 faces; at most 255"},
      {"too many faces in a coarser level", {{"m.obj", cube}, {"far.obj", grid}}, "m.obj --lod far.obj", 1,
       "far.obj: level 1 has 392 faces; at most 255"},
      {"texture coordinates outside the texture",
       {{"m.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1.5 0\nvt 0 1\nf 1/1 2/2 3/3\n"}}, "m.obj --texture tex.jpg",
       1, "m.obj: a corner's texture coordinates (1.500, 0.000) lie outside the texture"},
      {"no texture coordinates for a texture", {{"m.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"}},
       "m.obj --texture tex.jpg", 1, "has no texture coordinates"},
      {"a truncated glTF", {{"m.gltf", gltf.substr(0, gltf.size() / 2)}}, "m.gltf", 1, "m.gltf: "},
      {"a missing model", {}, "m.obj", 1, "m.obj: "},
      {"a texture of a width the game cannot scale", {{"m.obj", cube}, {"t.ppm", plainGrey48}},
       "m.obj --texture t.ppm", 1, "t.ppm is 48 x 48; a mesh texture is square, 8, 16, 32, 64, 128 or 256"},
      {"five levels", {{"m.obj", cube}}, "m.obj --lod m.obj --lod m.obj --lod m.obj --lod m.obj", 2,
       "5 levels of detail; at most 4"},
      {"distances that do not grow", {{"m.obj", cube}}, "m.obj --lod m.obj --distances 9,4", 2,
       "--distances needs whole numbers from 1 to 65535, growing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MeshRun run;
    std::map<std::string, Bytes> files = {{"tex.jpg", texture}};
    for (const auto& [name, text] : c.files) files[name] = BytesOf(text);
    RunMesh(run, files, c.arguments);
    EXPECT_EQ(run.result.status, c.status);
    EXPECT_NE(run.result.err.find(c.message), std::string::npos) << run.result.err;
    EXPECT_TRUE(fs::is_empty(run.dir.Path() / "out"));
  }
}

}  // namespace
