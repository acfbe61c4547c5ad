// The game meshes named by meshes.ini: one mesh file per level of detail and one texture atlas
// per texture file (shared by every mesh that names it), with previews drawn from the written
// files the way the game draws them.
#include <algorithm>
#include <cmath>
#include <map>

#include "core/wide_string.h"
#include "generator.h"
#include "gfx/jpeg.h"
#include "mesh_file.h"
#include "object_models.h"

namespace {

struct LevelSource {
  std::string meshName;
  int level;
  std::string meshFile;
  std::string textureFile;
};

// Every "Mesh N" key of every section, in file order, as the game's loader walks them.
std::vector<LevelSource> ListLevels(const IniDocument& meshes) {
  std::vector<LevelSource> levels;
  for (const IniSection* section : meshes.sections) {
    for (int i = 0;; ++i) {
      const std::u16string key = WideFromUtf8("Mesh " + std::to_string(i));
      const IniKey* k = section->FindKey(key.c_str());
      if (k == nullptr) break;
      if (k->values.Count() < 3) continue;
      levels.push_back({Narrow(section->name), i, Narrow(k->values[1]->text), Narrow(k->values[2]->text)});
    }
  }
  return levels;
}

// A JPEG as the game decodes it (RGB565), widened back to 8 bits for drawing previews.
Picture DecodeAsGame(const std::vector<uint8_t>& jpeg) {
  Surface surface;
  DecodeJpeg(surface, jpeg.data(), static_cast<uint32_t>(jpeg.size()));
  Picture picture(surface.width, surface.height, 3);
  for (uint32_t y = 0; y < surface.height; ++y) {
    for (uint32_t x = 0; x < surface.width; ++x) {
      const Rgb8 c = Rgb8FromRgb565(surface.Row(y)[x]);
      uint8_t* p = picture.At(x, y);
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
    }
  }
  return picture;
}

// A mesh file drawn as the game draws it, seen from the front right and from behind left.
Image PreviewMesh(const DecodedMesh& mesh, const Picture& texture) {
  constexpr int kSize = 140;
  Image pair(kSize * 2, kSize);
  for (int view = 0; view < 2; ++view) {
    Renderer renderer(kSize, kSize, 2);
    const double distance = std::max(2.0, static_cast<double>(mesh.radius)) * 2.4;
    const double heading = view == 0 ? 215.0 : 35.0;  // looking back at the object's front, then its rear
    const double h = heading * 3.14159265358979 / 180;
    Camera camera;
    camera.position = {-std::sin(h) * distance, mesh.radius * 0.9, -std::cos(h) * distance};
    camera.heading = heading;
    camera.tilt = 14;
    camera.fieldOfView = 50;
    renderer.SetCamera(camera);
    renderer.Clear(Rgb(150, 176, 200), Rgb(90, 100, 86));
    renderer.DrawMesh(mesh, texture, Pose{});
    pair.Composite(renderer.Resolve(), view * kSize, 0);
  }
  return pair;
}

}  // namespace

bool GenerateMeshes(Generator& g) {
  const std::vector<LevelSource> levels = ListLevels(*g.sources.meshes);
  // Each texture holds the materials of every mesh that names it.
  std::map<std::string, std::vector<Material>> textureMaterials;
  for (const LevelSource& level : levels) {
    std::vector<Material>& materials = textureMaterials[Lower(level.textureFile)];
    for (Material m : ObjectMaterials(level.meshName)) {
      if (std::find(materials.begin(), materials.end(), m) == materials.end()) materials.push_back(m);
    }
  }
  std::map<std::string, TextureAtlas> atlases;
  std::map<std::string, Picture> decodedTextures;
  std::vector<std::pair<std::string, Image>> atlasPreviews;
  for (const LevelSource& level : levels) {
    const std::string key = Lower(level.textureFile);
    if (atlases.count(key) != 0) continue;
    TextureAtlas& atlas = atlases[key];
    if (!atlas.Build(textureMaterials[key])) return g.Fail(level.textureFile + " needs more materials than it has tiles");
    const std::vector<uint8_t> jpeg = EncodeJpegPicture(atlas.picture(), kJpegQuality);
    if (!g.WriteFile(level.textureFile, jpeg)) return false;
    decodedTextures[key] = DecodeAsGame(jpeg);
    atlasPreviews.push_back({level.textureFile, ImageFromPicture(decodedTextures[key]).Downsample(1)});
  }

  std::vector<std::pair<std::string, Image>> meshPreviews;
  for (const LevelSource& level : levels) {
    Model model;
    if (!BuildObjectModel(level.meshName, level.level, model)) {
      return g.Fail("meshes.ini names a mesh [" + level.meshName + "] that the generator cannot build");
    }
    if (level.level == 0) g.objectModels[level.meshName] = model;
    std::string problem;
    const std::vector<uint8_t> file = EncodeMesh(model, atlases[Lower(level.textureFile)], problem);
    if (file.empty()) return g.Fail(level.meshFile + ": " + problem);
    if (!g.WriteFile(level.meshFile, file)) return false;
    DecodedMesh decoded;
    DecodeMeshFile(file, decoded);
    meshPreviews.push_back({level.meshName + " " + std::to_string(level.level) + ": " +
                                std::to_string(decoded.vertices.size()) + " v, " +
                                std::to_string(decoded.faces.size()) + " f",
                            PreviewMesh(decoded, decodedTextures[Lower(level.textureFile)])});
  }
  g.sheet.AddSheet("meshes", meshPreviews, 280, 140, 3);
  for (auto& [name, image] : atlasPreviews) {
    // Textures at four times their size, so single texels can be judged.
    Image big(image.width() * 4, image.height() * 4);
    for (int y = 0; y < big.height(); ++y) {
      for (int x = 0; x < big.width(); ++x) big.Set(x, y, image.Get(x / 4, y / 4));
    }
    image = big;
  }
  g.sheet.AddSheet("mesh_textures", atlasPreviews, 512, 512, 3);
  return true;
}
