// The introduction: a pair of helicopters sweeps in low over the camera and heads out across
// the sea toward the islands. The game shows each frame for at least 100 ms, so the 36 frames
// last about four seconds. Files "intro\000.jpg" onward, 240 x 320.
#include <cmath>
#include <cstdio>

#include "object_models.h"
#include "picture_common.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFrames = 36;
constexpr int kSupersample = 2;
constexpr int kQuality = 85;

double Ease(double t) { return t * t * (3 - 2 * t); }

struct Flight {
  ChopperModel model;
  int delay;                    // frames before it starts its pass
  Vec3 from, to;                // camera frame: x right, y up, z ahead; metres
  double bankFrom, bankTo;      // roll, degrees
};

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

  const Flight flights[] = {
      {ChopperModel::kScout, 0, {2, 4.5, 9}, {-25, 9, 300}, 25, -8},
      {ChopperModel::kGunship, 5, {14, 7, 6}, {18, 14, 280}, 18, -4},
  };
  std::vector<std::pair<std::string, Image>> previews;
  for (int frame = 0; frame < kFrames; ++frame) {
    const double t = static_cast<double>(frame) / (kFrames - 1);
    Camera camera;
    camera.position = start + forward * (frame * 6.0);
    camera.position.y = terrain.HeightAt(camera.position.x, camera.position.z) + 24 + 10 * t;
    camera.heading = heading;
    camera.tilt = 4;
    std::vector<Model> models;
    std::vector<Pose> poses;
    for (const Flight& flight : flights) {
      const double progress = std::clamp((frame - flight.delay) / static_cast<double>(kFrames - 1 - flight.delay), 0.0, 1.0);
      const double e = Ease(progress);
      const Vec3 local = flight.from + (flight.to - flight.from) * e;
      const Vec3 at = camera.position + right * local.x + Vec3{0, local.y, 0} + forward * local.z;
      // Nose down as it speeds away, banking out of the turn.
      const Placement place{at, heading, 8, flight.bankFrom + (flight.bankTo - flight.bankFrom) * e};
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
    if (frame % 3 == 0) previews.push_back({name, picture});
  }
  return g.sheet.AddSheet("intro", previews, kScreenWidth / 2, kScreenHeight / 2, 6);
}
