#include "content/mesh_library.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "content/mesh_format.h"
#include "gfx/test_pictures.h"
#include "mesh_shapes.h"
#include "render_test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;
using mesh_shapes::AppendVertexRecord;
using mesh_shapes::PackFile;
using render_test::ParseIni;
using render_test::TestPack;

// A mesh file with the given header counts and records: vertices (u, file v) at (i, 0, 0), then
// faces, then `extra` bytes; `cut` bytes are taken off the end.
Bytes MeshFile(uint8_t vertexCount, uint8_t faceCount, const std::vector<std::pair<uint8_t, uint8_t>>& uvs,
               const std::vector<std::array<uint8_t, 3>>& faces, size_t cut = 0) {
  Bytes file = {'M', 'E', 'S', 'H', vertexCount, faceCount, 0x40, 0x00};  // radius 2.0
  for (size_t i = 0; i < uvs.size(); ++i)
    AppendVertexRecord(file, static_cast<double>(i), 0, 0, uvs[i].first, uvs[i].second);
  for (const auto& face : faces) file.insert(file.end(), {face[0], face[1], face[2], 0});
  file.resize(file.size() - cut);
  return file;
}

// A well-formed triangle whose vertices carry the u, file-v pairs (255, 0), (0, 255), (128, 200).
Bytes Triangle() { return MeshFile(3, 1, {{255, 0}, {0, 255}, {128, 200}}, {{0, 1, 2}}); }

// The library of a pack of `files` after loading every section of `meshesIni`; the results of
// LoadMesh in section order.
struct LoadedLibrary {
  LoadedLibrary(const std::vector<PackFile>& files, const std::string& meshesIni) : pack(files) {
    const auto document = ParseIni(meshesIni);
    for (const IniSection* section : document->sections) results.push_back(library.LoadMesh(&pack.pack, *section));
  }
  TestPack pack;
  MeshLibrary library;
  std::vector<Mesh*> results;
};

std::vector<fixed> SwitchDistances(const Mesh* mesh) {
  std::vector<fixed> distances;
  for (uint16_t i = 0; mesh != nullptr && i < mesh->lodCount; ++i) distances.push_back(mesh->lods[i]->switchDistance);
  return distances;
}

TEST(MeshFormat, CoordinatesAreSignAndMagnitudeInThirtySecondths) {
  const struct {
    uint8_t low, high;
    fixed value;
  } cases[] = {
      {0x20, 0x00, 65536}, {0x05, 0x80, -10240},   {0x01, 0x00, 2048},
      {0x00, 0x80, 0},     {0xFF, 0x7F, 67106816}, {0xFF, 0xFF, -67106816},
  };
  for (const auto& c : cases) {
    const uint8_t record[8] = {c.low, c.high, 0x20, 0x00, c.low, c.high, 17, 230};
    const MeshVertex vertex = DecodeVertex(record);
    EXPECT_EQ(vertex.position.x, c.value) << int(c.low) << " " << int(c.high);
    EXPECT_EQ(vertex.position.y, kFixedOne);
    EXPECT_EQ(vertex.position.z, c.value);
    EXPECT_EQ(vertex.u, 17);
    EXPECT_EQ(vertex.v, 230);
  }
}

TEST(MeshLibrary, LevelsAreReadUntilTheFirstMissingKey) {
  const struct {
    const char* section;
    std::vector<fixed> switchDistances;  // empty: no mesh
  } cases[] = {
      {"[M]\nMesh 0 = 4 tri.msh\nMesh 2 = 9 tri.msh\n", {IntToFixed(4)}},
      {"[M]\nMesh 0 = 4 missing.msh\nMesh 1 = 9 tri.msh\n", {IntToFixed(9)}},
      {"[M]\nMesh 0 = 4\nMesh 1 = 5 tri.msh\n", {IntToFixed(5)}},
      {"[M]\nmesh 0 = 1 tri.msh\nMESH 1 = 2 TRI.MSH\n", {IntToFixed(1), IntToFixed(2)}},
      // Four slots: a fifth level has no room.
      {"[M]\nMesh 0 = 1 tri.msh\nMesh 1 = 2 tri.msh\nMesh 2 = 3 tri.msh\nMesh 3 = 4 tri.msh\nMesh 4 = 5 tri.msh\n",
       {IntToFixed(1), IntToFixed(2), IntToFixed(3), IntToFixed(4)}},
      {"[M]\nMesh 0 = 4 missing.msh\n", {}},
      {"[M]\nMesh 1 = 4 tri.msh\n", {}},
      {"[M]\n", {}},
  };
  for (const auto& c : cases) {
    LoadedLibrary loaded({{"tri.msh", Triangle()}}, c.section);
    EXPECT_EQ(SwitchDistances(loaded.results[0]), c.switchDistances) << c.section;
    EXPECT_EQ(loaded.library.meshes.Count(), c.switchDistances.empty() ? 0 : 1) << c.section;
  }
}

TEST(MeshLibrary, ALevelKeepsTheFileRecordsInOneBlock) {
  const Bytes file = Triangle();
  LoadedLibrary loaded({{"tri.msh", file}}, "[A rather long mesh name, cut]\nMesh 0 = 16 tri.msh\n");
  const Mesh* mesh = loaded.results[0];
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(std::u16string(mesh->name), u"A rather long mesh name,");
  const MeshLod& lod = *mesh->lods[0];
  EXPECT_EQ(lod.vertexCount, 3);
  EXPECT_EQ(lod.faceCount, 1);
  EXPECT_EQ(lod.radius, IntToFixed(2));
  EXPECT_EQ(lod.texture, nullptr);
  EXPECT_EQ(lod.faces, lod.vertices + 3 * mesh_format::kVertexSize);
  EXPECT_EQ(Bytes(lod.vertices, lod.vertices + file.size() - mesh_format::kHeaderSize),
            Bytes(file.begin() + mesh_format::kHeaderSize, file.end()));
}

TEST(MeshLibrary, MalformedMeshFilesAreRefused) {
  const struct {
    const char* what;
    Bytes file;
    bool accepted;
  } cases[] = {
      {"well formed", Triangle(), true},
      {"with bytes after the faces",
       [] {
         Bytes b = Triangle();
         b.push_back(9);
         return b;
       }(),
       true},
      {"no vertices or faces", MeshFile(0, 0, {}, {}), true},
      {"empty file", {}, false},
      {"header cut short", Bytes{'M', 'E', 'S', 'H', 0, 0, 0}, false},
      {"last face byte missing", MeshFile(3, 1, {{0, 0}, {0, 0}, {0, 0}}, {{0, 1, 2}}, 1), false},
      {"faces missing", MeshFile(3, 2, {{0, 0}, {0, 0}, {0, 0}}, {{0, 1, 2}}), false},
      {"vertices missing", MeshFile(200, 0, {{0, 0}}, {}), false},
      {"face names the vertex past the last", MeshFile(3, 1, {{0, 0}, {0, 0}, {0, 0}}, {{0, 3, 2}}), false},
      {"face names vertex 255 of 3", MeshFile(3, 1, {{0, 0}, {0, 0}, {0, 0}}, {{255, 1, 2}}), false},
  };
  for (const auto& c : cases) {
    LoadedLibrary loaded({{"bad.msh", c.file}}, "[M]\nMesh 0 = 4 bad.msh\n");
    EXPECT_EQ(loaded.results[0] != nullptr, c.accepted) << c.what;
  }
}

TEST(MeshLibrary, TexelCoordinatesAreRescaledForTheTextureWidth) {
  const struct {
    uint32_t width;
    uint8_t u[3], v[3];  // after loading, for the file pairs (255, 0), (0, 255), (128, 200)
  } cases[] = {
      {256, {255, 0, 128}, {255, 0, 55}}, {128, {127, 0, 64}, {127, 0, 27}}, {64, {63, 0, 32}, {63, 0, 13}},
      {32, {31, 0, 16}, {31, 0, 6}},      {16, {15, 0, 8}, {15, 0, 3}},      {8, {7, 0, 4}, {7, 0, 1}},
      {100, {255, 0, 128}, {255, 0, 55}},  // other widths are taken as 256
  };
  for (const auto& c : cases) {
    LoadedLibrary loaded({{"tri.msh", Triangle()}, {"tex.jpg", EncodeFlatJpeg(c.width, 8, 3, 128)}},
                         "[M]\nMesh 0 = 4 tri.msh tex.jpg\n");
    ASSERT_NE(loaded.results[0], nullptr) << c.width;
    const MeshLod& lod = *loaded.results[0]->lods[0];
    ASSERT_NE(lod.texture, nullptr);
    EXPECT_EQ(lod.texture->width, c.width);
    for (uint32_t i = 0; i < 3; ++i) {
      const MeshVertex vertex = DecodeVertex(lod.vertices + i * mesh_format::kVertexSize);
      EXPECT_EQ(vertex.u, c.u[i]) << c.width << " vertex " << i;
      EXPECT_EQ(vertex.v, c.v[i]) << c.width << " vertex " << i;
    }
  }
}

TEST(MeshLibrary, ASecondTextureRescalesTheScaledValuesAgain) {
  LoadedLibrary loaded({{"tri.msh", Triangle()}, {"tex.jpg", EncodeFlatJpeg(64, 8, 3, 128)}},
                       "[M]\nMesh 0 = 4 tri.msh tex.jpg\n");
  ASSERT_NE(loaded.results[0], nullptr);
  MeshLod& lod = *loaded.results[0]->lods[0];
  lod.ApplyTexture(lod.texture);
  const MeshVertex first = DecodeVertex(lod.vertices);
  EXPECT_EQ(first.u, 15);               // 63 >> 2
  EXPECT_EQ(first.v, (255 - 63) >> 2);  // turned over again
}

TEST(MeshLibrary, TexturesAreLoadedOnceAndShared) {
  LoadedLibrary loaded({{"tri.msh", Triangle()}, {"shared.jpg", EncodeFlatJpeg(32, 32, 3, 200)}},
                       "[A]\nMesh 0 = 4 tri.msh shared.jpg\nMesh 1 = 9 tri.msh SHARED.JPG\n"
                       "[B]\nMesh 0 = 4 tri.msh Shared.jpg\n");
  ASSERT_NE(loaded.results[0], nullptr);
  ASSERT_NE(loaded.results[1], nullptr);
  EXPECT_EQ(loaded.library.textures.Count(), 1);
  const Surface* texture = loaded.library.FindTexture(u"sHaReD.jpg");
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->width, 32);
  EXPECT_EQ(loaded.results[0]->lods[0]->texture, texture);
  EXPECT_EQ(loaded.results[0]->lods[1]->texture, texture);
  EXPECT_EQ(loaded.results[1]->lods[0]->texture, texture);
}

TEST(MeshLibrary, AMissingTextureLeavesTheLevelUntexturedAndABrokenOneIsCachedEmpty) {
  LoadedLibrary loaded({{"tri.msh", Triangle()}, {"broken.jpg", Bytes{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3}}},
                       "[Missing]\nMesh 0 = 4 tri.msh nothere.jpg\n[Broken]\nMesh 0 = 4 tri.msh broken.jpg\n");
  ASSERT_NE(loaded.results[0], nullptr);
  ASSERT_NE(loaded.results[1], nullptr);
  const MeshLod& missing = *loaded.results[0]->lods[0];
  EXPECT_EQ(missing.texture, nullptr);
  EXPECT_EQ(DecodeVertex(missing.vertices).v, 0);  // no texture, no rescaling
  EXPECT_EQ(loaded.library.FindTexture(u"nothere.jpg"), nullptr);

  const MeshLod& broken = *loaded.results[1]->lods[0];
  ASSERT_NE(broken.texture, nullptr);
  EXPECT_FALSE(broken.texture->HasPixels());
  EXPECT_EQ(loaded.library.FindTexture(u"broken.jpg"), broken.texture);
}

TEST(MeshLibrary, SelectLodNeedsASwitchDistanceStrictlyGreater) {
  LoadedLibrary loaded({{"tri.msh", Triangle()}},
                       "[M]\nMesh 0 = 4 tri.msh\nMesh 1 = 9 tri.msh\n"
                       "[Far]\nMesh 0 = 40000 tri.msh\n");
  const Mesh& mesh = *loaded.results[0];
  EXPECT_EQ(mesh.SelectLod(0), mesh.lods[0]);
  EXPECT_EQ(mesh.SelectLod(IntToFixed(4) - 1), mesh.lods[0]);
  EXPECT_EQ(mesh.SelectLod(IntToFixed(4)), mesh.lods[1]);
  EXPECT_EQ(mesh.SelectLod(IntToFixed(9) - 1), mesh.lods[1]);
  EXPECT_EQ(mesh.SelectLod(IntToFixed(9)), nullptr);
  // 40000 << 16 does not fit a signed 16.16 value; it is compared as the unsigned number it is.
  const Mesh& far = *loaded.results[1];
  EXPECT_EQ(far.SelectLod(2048u * 2048u), far.lods[0]);
}

TEST(MeshLibrary, FindMeshIgnoresCaseAndTakesTheFirst) {
  LoadedLibrary loaded({{"tri.msh", Triangle()}}, "[Tower]\nMesh 0 = 4 tri.msh\n[TOWER]\nMesh 0 = 9 tri.msh\n");
  EXPECT_EQ(loaded.library.meshes.Count(), 2);
  EXPECT_EQ(loaded.library.FindMesh(u"tower"), loaded.results[0]);
  EXPECT_EQ(loaded.library.FindMesh(u"Towers"), nullptr);
}

}  // namespace
