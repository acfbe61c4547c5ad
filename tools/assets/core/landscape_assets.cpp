// The landscapes: for each, the missions that fly over it (found by its height file) tell where
// the helipads and the placed objects are; the ground is shaped and levelled around them, then
// written as the height, texture and sky files, and read back for the pictures that follow.
#include <algorithm>
#include <cmath>

#include "generator.h"
#include "landscape.h"
#include "terrain_encoder.h"

namespace {

struct LandscapeRecipe {
  const char* name;  // files terrain\<name>.hgt, .tex and _sky.jpg
  LandscapeStyle style;
  uint32_t seed;
};

const LandscapeRecipe kLandscapes[] = {
    {"islands", LandscapeStyle::kIslands, 1207},
    {"canyons", LandscapeStyle::kCanyons, 3311},
};

std::string HeightFile(const LandscapeRecipe& r) { return std::string("terrain\\") + r.name + ".hgt"; }
std::string TextureFile(const LandscapeRecipe& r) { return std::string("terrain\\") + r.name + ".tex"; }
std::string SkyFile(const LandscapeRecipe& r) { return std::string("terrain\\") + r.name + "_sky.jpg"; }

// The helipads and objects of the missions on a landscape. Objects on the ground get levelled
// ground as wide as their model; helicopters in the air and objects with a parent need none.
bool CollectSites(Generator& g, const LandscapeRecipe& recipe, std::vector<Site>& sites) {
  for (const MissionSource& mission : g.sources.missions) {
    const MissionDef& def = *mission.definition;
    const std::string name = Narrow(def.name);
    if (Lower(PathOfPackName(def.voxelHeight)) != Lower(PathOfPackName(HeightFile(recipe)))) continue;
    if (Lower(PathOfPackName(def.voxelTexture)) != Lower(PathOfPackName(TextureFile(recipe))) ||
        Lower(PathOfPackName(def.skyBackdrop)) != Lower(PathOfPackName(SkyFile(recipe)))) {
      return g.Fail("mission " + name + " mixes the files of different landscapes");
    }
    // Level 40 m round: every 16 m height block within 12 m of the pad comes out wholly flat.
    sites.push_back({def.helipad.x / 65536.0f, def.helipad.z / 65536.0f, 40, SiteGround::kHelipad});
    for (const PlacedObject& object : mission.objects) {
      if (!object.parent.empty() || Lower(object.objectClass) == "helicopter") continue;
      const auto model = g.objectModels.find(object.mesh);
      if (model == g.objectModels.end()) return g.Fail("mission " + name + ": no mesh " + object.mesh);
      const float footprint = static_cast<float>(model->second.FootprintRadius());
      const std::string kind = Lower(object.objectClass);
      const SiteGround ground = kind == "structure" ? SiteGround::kConcrete
                                : kind == "vehicle" ? SiteGround::kDirt
                                                    : SiteGround::kUnchanged;
      sites.push_back({object.x, object.z, footprint + 2, ground});
    }
  }
  return true;
}

// Helicopters placed in the air keep their height above the sea; they must clear the ground.
bool CheckAirborne(Generator& g, const LandscapeRecipe& recipe, const TerrainData& terrain) {
  for (const MissionSource& mission : g.sources.missions) {
    if (Lower(PathOfPackName(mission.definition->voxelHeight)) != Lower(PathOfPackName(HeightFile(recipe)))) continue;
    for (const PlacedObject& object : mission.objects) {
      if (!object.parent.empty() || Lower(object.objectClass) != "helicopter") continue;
      const float ground = terrain.HeightAt(object.x, object.z);
      if (object.y < ground + 10) {
        return g.Fail(object.name + " hangs at " + std::to_string(object.y) + " m, but the ground there is at " +
                      std::to_string(ground) + " m");
      }
    }
  }
  return true;
}

// Shaded relief of the decoded heights: brighter with height (up to the highest point), lit
// from the north west.
Image ShadedHeights(const std::vector<uint16_t>& heights) {
  Image image(kHeightSamples, kHeightSamples);
  const auto h = [&heights](int x, int z) {
    return heights[size_t(z & (kHeightSamples - 1)) * kHeightSamples + (x & (kHeightSamples - 1))] /
           kHeightUnitsPerMetre;
  };
  const float highest = std::max(1.0f, *std::max_element(heights.begin(), heights.end()) / kHeightUnitsPerMetre);
  for (int z = 0; z < kHeightSamples; ++z) {
    for (int x = 0; x < kHeightSamples; ++x) {
      const float dx = (h(x + 1, z) - h(x - 1, z)) / 8, dz = (h(x, z + 1) - h(x, z - 1)) / 8;
      const float light = std::clamp(0.75f + (dx - dz) * 0.6f, 0.2f, 1.2f);
      const float level = 0.2f + 0.8f * h(x, z) / highest;
      // North (+z) at the top, as on the game's map.
      image.Set(x, kHeightSamples - 1 - z, Scale(Rgb(235, 230, 215), level * light));
    }
  }
  return image;
}

Image TexturePreview(const std::vector<uint16_t>& texels) {
  Image image(kTexels, kTexels);
  for (int z = 0; z < kTexels; ++z) {
    for (int x = 0; x < kTexels; ++x) {
      const Rgb8 c = Rgb8FromRgb565(texels[size_t(z) * kTexels + x]);
      image.Set(x, kTexels - 1 - z, Rgb(c.r, c.g, c.b));
    }
  }
  return image;
}

// The sky as it appears around the helicopter: 1440 directions across, screen rows down.
Image SkyPanorama(const Image& sky) {
  Image image(1440, sky.width() * 2);
  for (int direction = 0; direction < 1440; ++direction) {
    const int row = direction < 720 ? direction : 1439 - direction;
    for (int y = 0; y < image.height(); ++y) image.Set(direction, y, sky.Get(y / 2, std::min(row, sky.height() - 1)));
  }
  return image;
}

}  // namespace

bool GenerateLandscapes(Generator& g) {
  for (const LandscapeRecipe& recipe : kLandscapes) {
    std::vector<Site> sites;
    if (!CollectSites(g, recipe, sites)) return false;
    const Landscape landscape = GenerateLandscape(recipe.style, sites, recipe.seed);
    const std::vector<uint8_t> heightFile = EncodeHeightFile(HeightSamples(landscape));
    const std::vector<uint8_t> textureFile = EncodeTextureFile(landscape.texels);
    const std::vector<uint8_t> skyFile = EncodeJpegPicture(landscape.sky.ToColourPicture(), kJpegQuality);
    if (!g.WriteFile(HeightFile(recipe), heightFile) || !g.WriteFile(TextureFile(recipe), textureFile) ||
        !g.WriteFile(SkyFile(recipe), skyFile)) {
      return false;
    }
    const SunDirection sun = SunOf(recipe.style);
    TerrainData terrain =
        ReadTerrain(heightFile, textureFile, landscape.sky, HorizonHaze(recipe.style), {sun.x, sun.y, sun.z});
    if (!CheckAirborne(g, recipe, terrain)) return false;
    g.sheet.Add(std::string(recipe.name) + "_texture", TexturePreview(terrain.texels).ToColourPicture());
    g.sheet.Add(std::string(recipe.name) + "_height", ShadedHeights(terrain.heights).ToColourPicture());
    g.sheet.Add(std::string(recipe.name) + "_sky", SkyPanorama(landscape.sky).ToColourPicture());
    g.terrains[Lower(PathOfPackName(HeightFile(recipe)))] = std::move(terrain);
  }
  return true;
}
