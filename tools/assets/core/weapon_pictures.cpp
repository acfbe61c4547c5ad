// The loadout pictures of a weapon: the background (its lower part shows below the helicopter's
// plan, behind the weapon's figures), its name plate, and the two pylon pictures: the weapon
// hanging on a pylon, and the same with a "+" for the button that adds it.
#include <cctype>
#include <cmath>

#include "object_models.h"
#include "picture_common.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct WeaponArt {
  const char* name;  // the section name in weapons.ini
  WeaponModel model;
  Colour accent;
};

const WeaponArt kWeapons[] = {
    {"Rocket Pod", WeaponModel::kRocketPod, Rgb(150, 170, 90)},
    {"Heavy Rockets", WeaponModel::kHeavyRocket, Rgb(220, 150, 60)},
    {"Heatseeker", WeaponModel::kHeatMissile, Rgb(230, 90, 60)},
    {"Radar Lance", WeaponModel::kRadarMissile, Rgb(90, 170, 230)},
};

// The store seen from its right side, nose to the right, filling `width` pixels.
Image SideView(const Model& model, int width, int height, double fill, double turn, int supersample) {
  double front = -1e9, back = 1e9;
  for (const ModelTriangle& t : model.triangles()) {
    for (const ModelVertex& c : t.corner) {
      front = std::max(front, c.position.z);
      back = std::min(back, c.position.z);
    }
  }
  const double length = front - back;
  Camera camera;
  camera.heading = 270 - turn;  // looking along -x: +z is to the right
  camera.fieldOfView = 30;
  const double focal = (width / 2.0) / std::tan(15 * kPi / 180);
  const double distance = focal * length / (width * fill);
  const double h = camera.heading * kPi / 180;
  camera.position = Vec3{-std::sin(h), 0, -std::cos(h)} * distance + Vec3{0, -0.25, (front + back) / 2};
  camera.position.y += distance * std::tan(8 * kPi / 180);
  camera.tilt = 8;
  Renderer renderer(width, height, supersample);
  renderer.SetCamera(camera);
  renderer.Clear(Rgb(0, 0, 0), Rgb(0, 0, 0));
  renderer.DrawModel(model, Pose{}, {0.4, 0.8, 0.5});
  return renderer.ResolveCoverage();
}

Image Splash(const WeaponArt& art) {
  Image picture(kScreenWidth, kScreenHeight);
  picture.VerticalGradient(Rgb(20, 24, 28), Rgb(44, 50, 54));
  // Steel floor plates with a faint stencilled grid.
  for (int y = 0; y < kScreenHeight; y += 20) picture.FillRect(0, static_cast<float>(y), kScreenWidth, 1, Rgb(0, 0, 0), 0.35f);
  for (int x = 0; x < kScreenWidth; x += 20) picture.FillRect(static_cast<float>(x), 0, 1, kScreenHeight, Rgb(0, 0, 0), 0.25f);
  picture.FillRect(0, 200, kScreenWidth, 120, art.accent, 0.08f);
  // A pool of light behind the weapon, and its name stencilled faintly on the wall.
  for (int ring = 6; ring >= 1; --ring) {
    picture.FillEllipse(130, 240, 24.0f * ring, 9.0f * ring, art.accent, 0.05f);
  }
  std::string stencilled = art.name;
  for (char& c : stencilled) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const TextStyle stencil{2, true, Mix(Rgb(38, 44, 48), art.accent, 0.3f)};
  DrawTextCentred(picture, stencilled, kScreenWidth / 2.0f, 282, stencil);
  // The weapon large and turned toward the viewer, in the open part under the figures.
  const Model model = BuildWeaponModel(art.model);
  const Image store = SideView(model, 240, 90, 0.8, 30, 3);
  picture.Composite(store, 0, 200);
  // Hazard stripes along the bottom edge of the visible part.
  for (int x = -20; x < kScreenWidth; x += 16) {
    picture.FillPolygon({{static_cast<float>(x), 304}, {x + 8.0f, 304}, {x + 16.0f, 296}, {x + 8.0f, 296}},
                        Rgb(214, 170, 40), 0.7f);
  }
  return picture;
}

Image PylonPicture(const WeaponArt& art, bool add) {
  Image picture(kPylonWidth, kPylonHeight);
  picture.VerticalGradient(add ? Rgb(30, 84, 30) : Rgb(40, 46, 40), add ? Rgb(12, 40, 12) : Rgb(20, 24, 20));
  // The pylon the store hangs from.
  picture.FillRect(14, 0, 12, 7, Rgb(120, 126, 120));
  picture.FillRect(14, 6, 12, 1, Rgb(60, 64, 60));
  const Model model = BuildWeaponModel(art.model);
  // Turned half toward the viewer, so that a long thin store still reads at this size.
  const Image store = SideView(model, kPylonWidth, 26, 0.85, 45, 4);
  picture.Composite(store, 0, 6);
  if (add) {
    // A "+" badge: this button puts the weapon on the pylon.
    picture.FillEllipse(7, 27, 6, 6, kHudText);
    picture.FillRect(4, 26, 6, 2, kHudPanel);
    picture.FillRect(6, 24, 2, 6, kHudPanel);
  }
  picture.StrokeRect(0, 0, kPylonWidth, kPylonHeight, 1, add ? kHudText : Rgb(90, 100, 90), 0.9f);
  return picture;
}

const WeaponArt* ArtOf(const std::string& name) {
  for (const WeaponArt& art : kWeapons) {
    if (name == art.name) return &art;
  }
  return nullptr;
}

}  // namespace

bool HasWeaponArt(const std::string& name) { return ArtOf(name) != nullptr; }

bool GenerateWeaponPictures(Generator& g) {
  std::vector<std::pair<std::string, Image>> previews;
  for (const auto& weapon : g.sources.weapons) {
    const std::string name = Narrow(weapon->name);
    const WeaponArt* art = ArtOf(name);
    if (art == nullptr) return g.Fail("weapons.ini names a weapon [" + name + "] the generator cannot draw");
    if (weapon->splashPicture == nullptr || weapon->titlePicture == nullptr || weapon->titleMask == nullptr ||
        weapon->pylonPicture1 == nullptr || weapon->pylonPicture2 == nullptr) {
      return g.Fail("weapon " + name + " lacks one of its pictures");
    }
    const Image splash = Splash(*art);
    const Image title = NamePlate(name, art->accent);
    const Image pylon = PylonPicture(*art, false);
    const Image add = PylonPicture(*art, true);
    if (!g.WriteJpeg(Narrow(weapon->splashPicture), splash.ToColourPicture()) ||
        !g.WriteJpeg(Narrow(weapon->titlePicture), title.ToColourPicture(), 95) ||
        !g.WriteJpeg(Narrow(weapon->titleMask), title.ToAlphaPicture(), 95) ||
        !g.WriteJpeg(Narrow(weapon->pylonPicture1), pylon.ToColourPicture(), 95) ||
        !g.WriteJpeg(Narrow(weapon->pylonPicture2), add.ToColourPicture(), 95)) {
      return false;
    }
    previews.push_back({name + " splash", splash});
    previews.push_back({name + " title", title});
    Image pylons(kPylonWidth * 2 + 4, kPylonHeight, Colour{}, 0.0f);
    pylons.Composite(pylon, 0, 0);
    pylons.Composite(add, kPylonWidth + 4, 0);
    Image big(pylons.width() * 3, pylons.height() * 3, Colour{}, 0.0f);
    for (int y = 0; y < big.height(); ++y) {
      for (int x = 0; x < big.width(); ++x) big.Set(x, y, pylons.Get(x / 3, y / 3), pylons.Alpha(x / 3, y / 3));
    }
    previews.push_back({name + " pylon, add", big});
  }
  return g.sheet.AddSheet("weapons", previews, kScreenWidth, kScreenHeight, 3);
}
