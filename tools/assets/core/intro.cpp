// The introduction: a pair of helicopters sweeps in low over the camera and heads out across
// the sea toward the islands. The game shows each frame for at least 100 ms, so the 36 frames
// last about four seconds. Files "intro\000.jpg" onward, 240 x 320.
#include <cmath>
#include <cstdio>
#include <vector>

#include "object_models.h"
#include "picture_common.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFrames = 36;
constexpr int kSupersample = 2;
constexpr int kQuality = 85;

double Ease(double t) { return t * t * (3 - 2 * t); }

// Where a helicopter is at a frame, relative to the camera (x right, y up, z ahead; metres),
// and how far it banks.
struct Key {
  int frame;
  Vec3 at;
  double roll;
};

struct Flight {
  ChopperModel model;
  std::vector<Key> keys;  // in frame order; before the first and after the last it holds still
};

Key Interpolate(const std::vector<Key>& keys, int frame) {
  if (frame <= keys.front().frame) return keys.front();
  for (size_t i = 1; i < keys.size(); ++i) {
    if (frame <= keys[i].frame) {
      const Key& a = keys[i - 1];
      const Key& b = keys[i];
      const double t = Ease(static_cast<double>(frame - a.frame) / (b.frame - a.frame));
      return {frame, a.at + (b.at - a.at) * t, a.roll + (b.roll - a.roll) * t};
    }
  }
  return keys.back();
}

}  // namespace

bool GenerateIntro(Generator& g) {
  const auto islands = g.terrains.find("terrain/islands.hgt");
  if (islands == g.terrains.end()) return g.Fail("the introduction needs the islands landscape");
  const TerrainData& terrain = islands->second;
  // Toward the home base across open water.
  const Vec3 base{760, 0, 1320};
  const double heading = 205;
  const double h = heading * kPi / 180;
  const Vec3 forward{std::sin(h), 0, std::cos(h)};
  const Vec3 right{std::cos(h), 0, -std::sin(h)};
  const Vec3 start = base - forward * 900;

  // The scout sweeps over the camera and banks away to the left; the gunship follows on the
  // right and crosses ahead of it.
  const Flight flights[] = {
      {ChopperModel::kScout, {{0, {2, 4.5, 9}, 25}, {12, {-6, 7, 48}, 10}, {35, {-34, 11, 120}, 22}}},
      {ChopperModel::kGunship, {{4, {16, 8, -6}, 15}, {18, {10, 8, 36}, 5}, {35, {18, 13, 95}, -12}}},
  };
  std::vector<std::pair<std::string, Image>> previews;
  for (int frame = 0; frame < kFrames; ++frame) {
    const double t = static_cast<double>(frame) / (kFrames - 1);  // 0..1 through the flight
    Camera camera;
    camera.position = start + forward * (frame * 6.0);
    camera.position.y = terrain.HeightAt(camera.position.x, camera.position.z) + 24 + 10 * t;
    camera.heading = heading;
    camera.tilt = 4;
    std::vector<Model> models;
    std::vector<Pose> poses;
    for (const Flight& flight : flights) {
      const Key key = Interpolate(flight.keys, frame);
      const Vec3 at = camera.position + right * key.at.x + Vec3{0, key.at.y, 0} + forward * key.at.z;
      // Nose down as it speeds along, turned a little into its bank.
      const Placement place{at, heading - key.roll * 0.4, 8, key.roll};
      models.push_back(BuildChopperModel(flight.model, frame * 47.0));
      poses.push_back(Pose::FromPlacement(place));
    }
    Renderer renderer(kScreenWidth, kScreenHeight, kSupersample);
    renderer.SetCamera(camera);
    renderer.Clear(terrain.haze, terrain.haze);
    renderer.DrawTerrain(terrain, 1800, 2600);
    for (size_t i = 0; i < models.size(); ++i) renderer.DrawModel(models[i], poses[i], terrain.sun);
    const Image picture = renderer.Resolve();
    char name[32];
    std::snprintf(name, sizeof(name), "intro\\%03d.jpg", frame);
    if (!g.WriteJpeg(name, picture.ToColourPicture(), kQuality)) return false;
    previews.push_back({name, picture});
  }
  return g.sheet.AddSheet("intro", previews, kScreenWidth / 2, kScreenHeight / 2, 6);
}
