// The helicopter selection pictures: a full-screen view of the helicopter in flight (its
// figures are drawn over the upper part), its name plate, and the loadout screen's plan of it
// with a leader line from every pylon to the button the loadout screen puts there.
#include <cmath>

#include "object_models.h"
#include "picture_common.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSupersample = 3;

struct ChopperArt {
  const char* name;  // the section name in choppers.ini
  ChopperModel model;
  Colour accent;
  double distance;  // metres from the camera in the splash
};

const ChopperArt kChoppers[] = {
    {"Sparrowhawk", ChopperModel::kScout, Rgb(236, 200, 60), 11},
    {"Thunderhead", ChopperModel::kGunship, Rgb(150, 170, 90), 14.5},
    {"Pelican", ChopperModel::kTransport, Rgb(210, 70, 56), 17},
};

// Top-left corners of the pylon buttons of the loadout screen, by pylon count.
std::vector<Point2> PylonButtons(int pylons) {
  switch (pylons) {
    case 2:
      return {{40, 75}, {170, 75}};
    case 4:
      return {{20, 60}, {190, 60}, {60, 95}, {150, 95}};
    case 6:
      return {{40, 55}, {170, 55}, {15, 100}, {195, 100}, {60, 100}, {150, 100}};
    case 8:
      return {{15, 30}, {195, 30}, {38, 67}, {172, 67}, {15, 104}, {195, 104}, {60, 104}, {150, 104}};
    default:
      return {};
  }
}

Image Splash(const Generator& g, const ChopperArt& art) {
  // Over the sea by the islands, the helicopter turning toward the viewer.
  const auto islands = g.terrains.find("terrain/islands.hgt");
  const Camera camera{{1140, 62, 1210}, 300, 8, 60};
  const double heading = camera.heading * kPi / 180;
  const Vec3 forward{std::sin(heading), 0, std::cos(heading)};
  const Vec3 right{std::cos(heading), 0, -std::sin(heading)};
  // Below the figures: about 200 rows down.
  const Vec3 at = camera.position + forward * art.distance + right * 0.5 - Vec3{0, art.distance * 0.36, 0};
  const Placement place{at, camera.heading + 180 + 38, 6, -10};
  const Model model = BuildChopperModel(art.model, 20);
  const std::vector<SceneItem> items = {{&model, Pose::FromPlacement(place)}};
  Image picture;
  if (islands != g.terrains.end()) {
    picture = RenderScene(islands->second, camera, items, islands->second.sun, kScreenWidth, kScreenHeight);
  } else {
    Renderer renderer(kScreenWidth, kScreenHeight, kSupersample);
    renderer.SetCamera(camera);
    renderer.Clear(Rgb(70, 120, 190), Rgb(200, 220, 235));
    renderer.DrawModel(model, items[0].pose, {0.87, 0.5, 0});
    picture = renderer.Resolve();
  }
  // The figures' labels and bars cover the upper part: darken it so they read.
  ShadeRows(picture, 0, 130, 0.45f, 0.0f);
  return picture;
}

// The plan, in blueprint colours, on a grid.
Image Loadout(const ChopperDef& def, const ChopperArt& art) {
  Image plan(kLoadoutWidth, kLoadoutHeight, Rgb(14, 32, 54));
  const Colour line = Rgb(120, 200, 230);
  for (int x = 0; x < kLoadoutWidth; x += 10) plan.FillRect(x, 0, 1, kLoadoutHeight, line, x % 50 == 0 ? 0.22f : 0.09f);
  for (int y = 0; y < kLoadoutHeight; y += 10) plan.FillRect(0, y, kLoadoutWidth, 1, line, y % 50 == 0 ? 0.22f : 0.09f);

  // Seen from straight above, nose up: the model turned so its top faces a far, narrow camera.
  const Model model = BuildChopperModel(art.model, 0, false);
  double front = -1e9, back = 1e9;
  for (const ModelTriangle& t : model.triangles()) {
    for (const ModelVertex& c : t.corner) {
      front = std::max(front, c.position.z);
      back = std::min(back, c.position.z);
    }
  }
  const double pixelsPerMetre = std::min(112 / (front - back), 14.0);
  const double centreZ = (front + back) / 2;
  const Camera camera{{0, 0, 0}, 0, 0, 10};
  const double focal = (kLoadoutWidth / 2.0) / std::tan(5 * kPi / 180);
  const double distance = focal / pixelsPerMetre;
  Pose above;
  above.row[0] = {1, 0, 0};
  above.row[1] = {0, 0, -1};
  above.row[2] = {0, 1, 0};
  above.translation = {0, -centreZ + (kLoadoutHeight / 2.0 - 82) / pixelsPerMetre, distance};
  Renderer renderer(kLoadoutWidth, kLoadoutHeight, kSupersample);
  renderer.SetCamera(camera);
  renderer.Clear(Rgb(0, 0, 0), Rgb(0, 0, 0));
  renderer.DrawModel(model, above, {0.3, 0.5, -0.8});
  Image shape = renderer.ResolveCoverage();
  for (int y = 0; y < shape.height(); ++y) {
    for (int x = 0; x < shape.width(); ++x) {
      const Colour c = shape.Get(x, y);
      const float light = std::clamp(0.3f * c.r + 0.59f * c.g + 0.11f * c.b, 0.0f, 1.0f);
      shape.Set(x, y, Mix(Rgb(40, 96, 140), Rgb(220, 244, 255), std::pow(light, 0.7f)), shape.Alpha(x, y));
    }
  }
  plan.Composite(shape, 0, 0);
  const auto screenOf = [&](const Vec3& p, double* x, double* y) { return renderer.Project(above.Apply(p), x, y); };
  // The rotor discs as dashed circles.
  for (const Vec3& hub : ChopperRotorHubs(art.model)) {
    double cx, cy;
    if (!screenOf(hub, &cx, &cy)) continue;
    const double r = ChopperRotorRadius(art.model) * pixelsPerMetre;
    for (int dash = 0; dash < 48; dash += 2) {
      const double a0 = dash * 2 * kPi / 48, a1 = (dash + 1) * 2 * kPi / 48;
      plan.DrawLine(static_cast<float>(cx + r * std::cos(a0)), static_cast<float>(cy + r * std::sin(a0)),
                    static_cast<float>(cx + r * std::cos(a1)), static_cast<float>(cy + r * std::sin(a1)), 1, line, 0.55f);
    }
  }
  // Leader lines from each pylon to its button, and the button's outline.
  const std::vector<Vec3> pylons = ChopperPylons(art.model);
  const std::vector<Point2> buttons = PylonButtons(def.pylons);
  for (size_t k = 0; k < buttons.size() && k < pylons.size(); ++k) {
    double px, py;
    if (!screenOf(pylons[k], &px, &py)) continue;
    const Point2 b = buttons[k];
    const float bx = b.x + kPylonWidth / 2.0f, by = b.y + kPylonHeight / 2.0f;
    plan.DrawLine(static_cast<float>(px), static_cast<float>(py), bx, by, 1, Rgb(255, 220, 120), 0.8f);
    plan.FillEllipse(static_cast<float>(px), static_cast<float>(py), 2, 2, Rgb(255, 220, 120));
    plan.FillRect(b.x, b.y, kPylonWidth, kPylonHeight, Rgb(14, 32, 54), 0.85f);
    plan.StrokeRect(b.x, b.y, kPylonWidth, kPylonHeight, 1, line, 0.8f);
  }
  const TextStyle caption{1, true, Rgb(170, 226, 246)};
  // Clear of the menu frame's rail down the left edge (12 pixels wide).
  DrawText(plan, Narrow(def.name), 16, kLoadoutHeight - 11, caption);
  const std::string count = std::to_string(def.pylons) + " PYLONS";
  DrawText(plan, count, kLoadoutWidth - 6 - TextWidth(count, caption), kLoadoutHeight - 11, caption);
  return plan;
}

const ChopperArt* ArtOf(const std::string& name) {
  for (const ChopperArt& art : kChoppers) {
    if (name == art.name) return &art;
  }
  return nullptr;
}

}  // namespace

bool HasChopperArt(const std::string& name) { return ArtOf(name) != nullptr; }

bool GenerateChopperPictures(Generator& g) {
  std::vector<std::pair<std::string, Image>> previews;
  for (const auto& chopper : g.sources.choppers) {
    const std::string name = Narrow(chopper->name);
    const ChopperArt* art = ArtOf(name);
    if (art == nullptr) return g.Fail("choppers.ini names a helicopter [" + name + "] the generator cannot draw");
    if (chopper->splashPicture == nullptr || chopper->titlePicture == nullptr || chopper->titleMask == nullptr ||
        chopper->weaponPicture == nullptr) {
      return g.Fail("helicopter " + name + " lacks one of its pictures");
    }
    const Image splash = Splash(g, *art);
    const Image title = NamePlate(name, art->accent);
    const Image loadout = Loadout(*chopper, *art);
    if (!g.WriteJpeg(Narrow(chopper->splashPicture), splash.ToColourPicture()) ||
        !g.WriteJpeg(Narrow(chopper->titlePicture), title.ToColourPicture(), 95) ||
        !g.WriteJpeg(Narrow(chopper->titleMask), title.ToAlphaPicture(), 95) ||
        !g.WriteJpeg(Narrow(chopper->weaponPicture), loadout.ToColourPicture())) {
      return false;
    }
    previews.push_back({name + " splash", splash});
    previews.push_back({name + " loadout", loadout});
    previews.push_back({name + " title", title});
  }
  return g.sheet.AddSheet("choppers", previews, kScreenWidth, kScreenHeight, 3);
}
