#include "picture_common.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSupersample = 3;

// The ground height the game gives an object: the height sample of the 4 m cell it stands in.
double GroundOfCell(const TerrainData& terrain, double x, double z) {
  const int sx = static_cast<int>(std::floor(x / kMetresPerSample)) & (kHeightSamples - 1);
  const int sz = static_cast<int>(std::floor(z / kMetresPerSample)) & (kHeightSamples - 1);
  return terrain.heights[size_t(sz) * kHeightSamples + sx] / kHeightUnitsPerMetre;
}

}  // namespace

Image NamePlate(const std::string& name, const Colour& accent) {
  Image plate(kTitleWidth, kTitleHeight, Colour{}, 0.0f);
  // A dark plate with a bright rim, its corners cut.
  const float cut = 5;
  const std::vector<Point2> outline = {{cut, 0.5f},
                                       {kTitleWidth - cut, 0.5f},
                                       {kTitleWidth - 0.5f, cut},
                                       {kTitleWidth - 0.5f, kTitleHeight - cut},
                                       {kTitleWidth - cut, kTitleHeight - 0.5f},
                                       {cut, kTitleHeight - 0.5f},
                                       {0.5f, kTitleHeight - cut},
                                       {0.5f, cut}};
  plate.FillPolygon(outline, accent);
  std::vector<Point2> inner;
  for (const Point2& p : outline) {
    inner.push_back({kTitleWidth / 2.0f + (p.x - kTitleWidth / 2.0f) * (kTitleWidth - 4.0f) / kTitleWidth,
                     kTitleHeight / 2.0f + (p.y - kTitleHeight / 2.0f) * (kTitleHeight - 4.0f) / kTitleHeight});
  }
  plate.FillPolygon(inner, kHudPanel);
  // The name as large as fits, in steps that keep the font's pixels whole or halved.
  TextStyle style{2, true, kHudTitle, 0, 0.5f, Rgb(0, 40, 0)};
  for (float scale : {1.5f, 1.0f}) {
    style.scale = scale;
    if (TextWidth(name, style) <= kTitleWidth - 10) break;
  }
  const float textHeight = 7 * style.scale;  // rows above the baseline
  DrawTextCentred(plate, name, kTitleWidth / 2.0f, (kTitleHeight - textHeight) / 2.0f, style);
  return plate;
}

const TerrainData* TerrainOf(const Generator& g, const MissionDef& mission) {
  const auto found = g.terrains.find(Lower(PathOfPackName(mission.voxelHeight)));
  return found != g.terrains.end() ? &found->second : nullptr;
}

std::vector<SceneItem> MissionScene(const Generator& g, const MissionSource& mission, const TerrainData& terrain) {
  std::vector<SceneItem> items;
  std::vector<std::pair<std::string, Pose>> placed;  // by object name, for children
  for (const PlacedObject& object : mission.objects) {
    const auto model = g.objectModels.find(object.mesh);
    if (model == g.objectModels.end()) continue;
    Pose pose = Pose::FromGameAngles(object.yaw, object.pitch, object.roll, {object.x, object.y, object.z});
    if (!object.parent.empty()) {
      const auto parent = std::find_if(placed.begin(), placed.end(),
                                       [&object](const auto& entry) { return entry.first == object.parent; });
      if (parent == placed.end()) continue;
      // The child's frame follows its parent's: world = local, then the parent's world.
      const Pose& p = parent->second;
      Pose world;
      for (int r = 0; r < 3; ++r) world.row[r] = p.Rotate(pose.row[r]);
      world.translation = p.Apply(pose.translation);
      pose = world;
    } else if (Lower(object.objectClass) != "helicopter") {
      pose.translation.y = GroundOfCell(terrain, object.x, object.z) + object.y;
    }
    placed.push_back({object.name, pose});
    items.push_back({&model->second, pose});
  }
  return items;
}

Image RenderScene(const TerrainData& terrain, const Camera& camera, const std::vector<SceneItem>& items,
                  const Vec3& sun, int width, int height, double farDistance, double fogDistance) {
  Renderer renderer(width, height, kSupersample);
  renderer.SetCamera(camera);
  renderer.Clear(terrain.haze, terrain.haze);
  renderer.DrawTerrain(terrain, farDistance, fogDistance);
  for (const SceneItem& item : items) renderer.DrawModel(*item.model, item.pose, sun);
  return renderer.Resolve();
}

void ShadeRows(Image& image, int top, int bottom, float fromAmount, float toAmount) {
  for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y) {
    const float t = bottom > top + 1 ? static_cast<float>(y - top) / (bottom - top - 1) : 0;
    const float amount = fromAmount + (toAmount - fromAmount) * t;
    for (int x = 0; x < image.width(); ++x) image.Set(x, y, Scale(image.Get(x, y), 1 - amount), image.Alpha(x, y));
  }
}
