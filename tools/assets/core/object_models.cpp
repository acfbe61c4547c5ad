#include "object_models.h"

#include <algorithm>

namespace {

using M = Material;

// An elliptical section of a body along z at height yc; rx = 0 makes a tip.
Model::Ring Section(double z, double rx, double ry, double yc, int segments) {
  if (rx <= 0) return {{0, yc, z}, {{0, yc, z}}};
  return Model::Ellipse({0, yc, z}, 'z', rx, ry, segments, 0.5);
}

struct BodySection {
  double z, rx, ry, yc;
};

void AddBody(Model& model, const std::vector<BodySection>& sections, int segments, const std::vector<Material>& sides,
             Material ends, const Placement& place = {}) {
  std::vector<Model::Ring> rings;
  for (const BodySection& s : sections) rings.push_back(Section(s.z, s.rx, s.ry, s.yc, segments));
  model.AddSweep(rings, sides, ends, place);
}

// A solid of a convex outline (points (a, b) in the plane across `axis`) run from `from` to `to`
// along that axis.
void AddProfile(Model& model, char axis, const std::vector<Point2>& outline, double from, double to, Material side,
                Material ends, const Placement& place = {}) {
  std::vector<Model::Ring> rings;
  for (double at : {from, to}) {
    Model::Ring ring;
    Vec3 centre;
    for (const Point2& p : outline) {
      Vec3 point;
      if (axis == 'x') point = {at, p.y, p.x};  // outline in (z, y)
      if (axis == 'y') point = {p.x, at, p.y};  // outline in (x, z)
      if (axis == 'z') point = {p.x, p.y, at};  // outline in (x, y)
      ring.points.push_back(point);
      centre = centre + point;
    }
    ring.centre = centre * (1.0 / static_cast<double>(outline.size()));
    rings.push_back(ring);
  }
  model.AddSweep(rings, side, ends, place);
}

// A cylinder lying along `axis` ('x' or 'z') through `centre`.
void AddRod(Model& model, char axis, const Vec3& centre, double radius, double length, int segments, Material side,
            Material ends, const Placement& place = {}) {
  const Vec3 half = axis == 'x' ? Vec3{length / 2, 0, 0} : Vec3{0, 0, length / 2};
  model.AddSweep({Model::Ellipse(centre - half, axis, radius, radius, segments, 0.5),
                  Model::Ellipse(centre + half, axis, radius, radius, segments, 0.5)},
                 side, ends, place);
}

// Rotor blades: `blades` thin plates round the hub, turning about y (main rotors) or about x
// (tail rotors, `vertical`).
void AddRotor(Model& model, const Vec3& hub, double radius, double chord, int blades, double turn, Material material,
              bool vertical = false) {
  for (int b = 0; b < blades; ++b) {
    const double angle = turn + 360.0 * b / blades;
    if (vertical) {
      model.AddPlate({{0, 0.05, -chord / 2}, {0, 0.05, chord / 2}, {0, radius, chord / 2}, {0, radius, -chord / 2}},
                     material, {hub, 0, angle, 0});
    } else {
      model.AddPlate({{-chord / 2, 0, 0.05}, {chord / 2, 0, 0.05}, {chord / 2, 0, radius}, {-chord / 2, 0, radius}},
                     material, {hub, angle, 0, 0});
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Mission objects. Each level stays within 255 corners and 255 triangles.

void Hangar(Model& m, int level) {
  if (level == 0) {
    AddProfile(m, 'z',
               {{-12, 0}, {-12, 5.5f}, {-9.5f, 8.5f}, {-5, 10.3f}, {0, 10.8f}, {5, 10.3f}, {9.5f, 8.5f}, {12, 5.5f},
                {12, 0}},
               -14, 14, M::kCorrugated, M::kCorrugated);
    m.AddBox({0, 0, 14.15}, {16, 7.5, 0.3}, {M::kMetalDark, M::kMetalDark, M::kHangarDoor, M::kMetalDark,
                                            M::kMetalDark, M::kMetalDark});
    m.AddBox({14, 0, 6}, {4, 3.2, 8},
             {M::kConcrete, M::kConcrete, M::kWallDoor, M::kWallWindow, M::kWallWindow, M::kWallWindow});
    return;
  }
  AddProfile(m, 'z', {{-12, 0}, {-12, 6}, {0, 10.8f}, {12, 6}, {12, 0}}, -14, 14, M::kCorrugated, M::kHangarDoor);
}

void House(Model& m, int level) {
  if (level == 2) {
    // The far level: a block with a red top.
    m.AddBox({0, 0, 0}, {8, 4.2, 6},
             {M::kRoofTiles, M::kWallPlain, M::kWallDoor, M::kWallWindow, M::kWallWindow, M::kWallWindow});
    return;
  }
  m.AddBox({0, 0, 0}, {8, 3.2, 6},
           {M::kWallPlain, M::kWallPlain, M::kWallDoor, M::kWallWindow, M::kWallWindow, M::kWallWindow});
  AddProfile(m, 'x', {{-3.5f, 3.0f}, {3.5f, 3.0f}, {0, 5.6f}}, -4.4, 4.4, M::kRoofTiles, M::kWallPlain);
  if (level == 0) m.AddBox({2.2, 3.6, -1.0}, {0.6, 2.4, 0.6}, M::kBrick);
}

void RadarStation(Model& m, int level) {
  if (level < 2) m.AddBox({0, 0, 0}, {7, 0.6, 7}, M::kConcrete);
  const double base = level < 2 ? 0.6 : 0.0;
  m.AddBox({0, base, 0}, {4, 2.6, 4.5}, {M::kMetalGrey, M::kMetalGrey, M::kRadarCabin, M::kRadarCabin,
                                        M::kRadarCabin, M::kRadarCabin});
  // The mast carries the dish (a child object placed 9 m up).
  AddProfile(m, 'y', {{-0.7f, -0.7f}, {0.7f, -0.7f}, {0.7f, 0.7f}, {-0.7f, 0.7f}}, 3.2, 9.0, M::kWarningStripes,
             M::kMetalGrey);
  if (level == 0) m.AddBox({1.6, 3.2, 1.8}, {0.15, 2.5, 0.15}, M::kMetalGrey);
}

void RadarDish(Model& m, int level) {
  const int segments = level == 0 ? 8 : 6;
  m.AddCylinder({0, 0, 0}, 0.35, 0.3, 0.9, level == 0 ? 6 : 4, M::kMetalGrey, M::kMetalGrey);
  // The bowl looks forward and 20 degrees up.
  const Placement tilt{{0, 1.6, 0}, 0, -20, 0};
  AddBody(m, {{-0.5, 0.5, 0.5, 0}, {0.35, 2.4, 2.4, 0}}, segments, {M::kMetalGrey}, M::kDishFace, tilt);
  if (level == 0) m.AddBox({0, -0.06, 0.3}, {0.12, 0.12, 1.7}, M::kMetalDark, tilt);
}

void Tank(Model& m, int level) {
  if (level == 2) {
    m.AddBox({0, 0, 0}, {3.6, 1.7, 7.2}, M::kOliveDrab);
    m.AddBox({0, 1.7, -0.2}, {2.6, 0.75, 3.0}, M::kOliveDrab);
    m.AddBox({0, 1.95, 2.9}, {0.25, 0.25, 3.8}, M::kMetalDark);
    return;
  }
  const bool fine = level == 0;
  AddProfile(m, 'x', {{-3.3f, 0.45f}, {3.0f, 0.45f}, {3.6f, 1.1f}, {3.3f, 1.65f}, {-3.2f, 1.75f}, {-3.6f, 1.2f}},
             -1.55, 1.55, M::kOliveDrab, M::kOliveDrab);
  const std::vector<Point2> track =
      fine ? std::vector<Point2>{{-3.2f, 0}, {3.2f, 0}, {3.75f, 0.55f}, {3.5f, 1.05f}, {-3.5f, 1.05f}, {-3.75f, 0.55f}}
           : std::vector<Point2>{{-3.5f, 0}, {3.5f, 0}, {3.7f, 1.05f}, {-3.7f, 1.05f}};
  AddProfile(m, 'x', track, 1.25, 1.85, M::kTrack, M::kTrack);
  AddProfile(m, 'x', track, -1.85, -1.25, M::kTrack, M::kTrack);
  std::vector<Model::Ring> turret(2);
  const std::vector<Point2> outline = {{-1.3f, -1.6f}, {1.3f, -1.6f}, {1.5f, 0.3f},
                                       {0.9f, 1.4f},   {-0.9f, 1.4f}, {-1.5f, 0.3f}};
  for (int r = 0; r < 2; ++r) {
    const double y = r == 0 ? 1.7 : 2.45;
    const double scale = r == 0 ? 1.0 : 0.85;
    turret[r].centre = {0, y, -0.1};
    for (const Point2& p : outline) turret[r].points.push_back({p.x * scale, y, p.y * scale - 0.1 * (1 - scale)});
  }
  m.AddSweep(turret, M::kOliveDrab, M::kOliveDrab);
  AddRod(m, 'z', {0, 2.05, 3.1}, fine ? 0.13 : 0.15, 3.8, fine ? 6 : 4, M::kMetalDark, M::kMetalDark);
  if (fine) m.AddCylinder({0.5, 2.45, -0.6}, 0.4, 0.35, 0.35, 6, M::kOliveDrab, M::kMetalDark);
}

void Truck(Model& m, int level) {
  m.AddBox({0, 0.55, 0}, {2.0, 0.35, 6.2}, M::kMetalDark);
  m.AddBox({0, 0.9, 2.3}, {2.3, 1.7, 1.6},
           {M::kOliveDrab, M::kMetalDark, M::kWindscreen, M::kTruckCab, M::kTruckCab, M::kTruckCab});
  if (level == 2) {
    m.AddBox({0, 0.9, -0.9}, {2.4, 2.0, 4.4}, M::kCanvas);
    return;
  }
  AddProfile(m, 'z', {{-1.2f, 0.9f}, {1.2f, 0.9f}, {1.2f, 2.3f}, {0.8f, 2.9f}, {-0.8f, 2.9f}, {-1.2f, 2.3f}}, -3.1,
             1.3, M::kCanvas, M::kCanvas);
  const int segments = level == 0 ? 6 : 4;
  for (double side : {-1.0, 1.0}) {
    AddRod(m, 'x', {side * 1.0, 0.5, 2.3}, 0.5, 0.4, segments, M::kTyre, M::kMetalDark);
    AddRod(m, 'x', {side * 0.95, 0.5, -1.9}, 0.5, 0.6, segments, M::kTyre, M::kMetalDark);
  }
}

void EnemyHeli(Model& m, int level) {
  if (level == 2) {
    m.AddBox({0, 0.6, 0.4}, {2.2, 2.2, 5.6}, M::kDesertCamo);
    m.AddBox({0, 1.7, -4.6}, {0.5, 0.6, 5.0}, M::kDesertCamo);
    AddRotor(m, {0, 3.3, 0}, 6.0, 0.4, 2, 30, M::kRotor);
    return;
  }
  const bool fine = level == 0;
  const int segments = fine ? 6 : 4;
  AddBody(m, {{-2.2, 0.45, 0.5, 1.9}, {-1.0, 1.1, 1.15, 1.7}, {1.4, 1.0, 1.05, 1.55}, {3.2, 0, 0, 1.3}}, segments,
          {M::kDesertCamo, M::kDesertCamo, M::kGlass}, M::kDesertCamo);
  if (fine) {
    AddBody(m, {{-2.2, 0.4, 0.45, 1.95}, {-7.5, 0.18, 0.22, 2.25}}, 4, {M::kDesertCamo}, M::kDesertCamo);
    m.AddPlate({{0, 2.2, -7.0}, {0, 2.2, -7.8}, {0, 3.6, -8.0}, {0, 3.5, -7.5}}, M::kDesertCamo);
    m.AddPlate({{-1.0, 2.2, -6.2}, {1.0, 2.2, -6.2}, {1.0, 2.2, -6.7}, {-1.0, 2.2, -6.7}}, M::kDesertCamo);
    AddRotor(m, {0.25, 2.6, -7.6}, 1.1, 0.2, 2, 20, M::kRotor, true);
    m.AddCylinder({0, 2.7, 0}, 0.22, 0.18, 0.6, 4, M::kMetalDark, M::kMetalDark);
    for (double side : {-1.0, 1.0}) {
      m.AddPlate({{side * 1.1, 0, -1.6}, {side * 1.1, 0, 2.2}, {side * 1.1, 0.12, 2.4}, {side * 1.1, 0.12, -1.6}},
                 M::kMetalDark);
    }
    m.AddBox({0, 1.25, -0.1}, {3.6, 0.15, 0.9}, M::kDesertCamo);
    for (double side : {-1.0, 1.0}) AddRod(m, 'z', {side * 1.6, 1.0, 0.1}, 0.2, 1.6, 3, M::kRocketPod, M::kMetalDark);
  } else {
    m.AddBox({0, 1.7, -4.6}, {0.5, 0.6, 5.0}, M::kDesertCamo);
    m.AddPlate({{0, 2.2, -7.0}, {0, 2.2, -7.8}, {0, 3.6, -8.0}, {0, 3.5, -7.5}}, M::kDesertCamo);
  }
  AddRotor(m, {0, 3.3, 0}, 6.0, 0.35, 2, 30, M::kRotor);
  AddRotor(m, {0, 3.32, 0}, 6.0, 0.35, 2, 120, M::kRotor);
}

void FuelDrums(Model& m, int level) {
  m.AddBox({0, 0, 0}, {2.2, 0.15, 2.2}, M::kPallet);
  const int segments = level == 0 ? 8 : 4;
  for (const Vec3& spot : {Vec3{-0.45, 0.15, -0.4}, Vec3{0.45, 0.15, -0.4}, Vec3{0, 0.15, 0.45}}) {
    m.AddCylinder(spot, 0.32, 0.32, 0.95, segments, M::kDrumRed, M::kDrumTop);
  }
}

void Person(Model& m, int level) {
  const Model::BoxMaterials head{M::kHair, M::kSkin, M::kSkin, M::kHair, M::kSkin, M::kSkin};
  if (level > 0) {
    m.AddBox({0, 0, 0}, {0.48, 0.85, 0.26}, {M::kTrousers, M::kBoots, M::kTrousers, M::kTrousers, M::kTrousers,
                                            M::kTrousers});
    m.AddBox({0, 0.85, 0}, {0.66, 0.62, 0.3}, M::kLifeVest);
    m.AddBox({0, 1.5, 0}, {0.26, 0.28, 0.26}, head);
    return;
  }
  for (double side : {-1.0, 1.0}) {
    m.AddBox({side * 0.13, 0, 0}, {0.22, 0.85, 0.26}, {M::kTrousers, M::kBoots, M::kTrousers, M::kTrousers,
                                                      M::kTrousers, M::kTrousers});
  }
  m.AddBox({0, 0.85, 0}, {0.5, 0.62, 0.3}, M::kLifeVest);
  // One arm hangs, the other waves for help.
  m.AddBox({0, 0, 0}, {0.14, 0.62, 0.16}, M::kLifeVest, {{0.32, 1.44, 0}, 0, 0, 180});
  m.AddBox({0, 0, 0}, {0.14, 0.62, 0.16}, M::kLifeVest, {{-0.3, 1.38, 0}, 0, 0, 24});
  m.AddBox({0, 1.5, 0}, {0.26, 0.28, 0.26}, head);
}

struct ObjectRecipe {
  const char* name;
  void (*build)(Model&, int);
  int levels;
  std::vector<Material> materials;
};

const std::vector<ObjectRecipe>& Recipes() {
  static const std::vector<ObjectRecipe> recipes = {
      {"Hangar", Hangar, 2, {M::kCorrugated, M::kHangarDoor, M::kMetalDark, M::kConcrete, M::kWallDoor, M::kWallWindow}},
      {"House", House, 3, {M::kWallPlain, M::kWallDoor, M::kWallWindow, M::kRoofTiles, M::kBrick}},
      {"RadarStation",
       RadarStation,
       3,
       {M::kConcrete, M::kMetalGrey, M::kRadarCabin, M::kWarningStripes, M::kMetalDark, M::kDishFace}},
      {"RadarDish",
       RadarDish,
       2,
       {M::kConcrete, M::kMetalGrey, M::kRadarCabin, M::kWarningStripes, M::kMetalDark, M::kDishFace}},
      {"Tank", Tank, 3, {M::kOliveDrab, M::kTrack, M::kMetalDark}},
      {"Truck", Truck, 3, {M::kMetalDark, M::kOliveDrab, M::kWindscreen, M::kTruckCab, M::kCanvas, M::kTyre}},
      {"EnemyHeli", EnemyHeli, 3, {M::kDesertCamo, M::kGlass, M::kRotor, M::kMetalDark, M::kRocketPod}},
      {"FuelDrums", FuelDrums, 2, {M::kPallet, M::kDrumRed, M::kDrumTop}},
      {"Person", Person, 2, {M::kTrousers, M::kBoots, M::kLifeVest, M::kSkin, M::kHair}},
  };
  return recipes;
}

const ObjectRecipe* FindRecipe(const std::string& name) {
  for (const ObjectRecipe& recipe : Recipes()) {
    if (name == recipe.name) return &recipe;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// The player's helicopters and their stores (pictures only: no corner limit).

void Skids(Model& m, double halfWidth, double front, double back, double height) {
  for (double side : {-1.0, 1.0}) {
    AddRod(m, 'z', {side * halfWidth, 0.08, (front + back) / 2}, 0.07, front - back, 6, M::kMetalDark, M::kMetalDark);
    for (double z : {back + 0.5, front - 0.7}) {
      m.AddBox({0, 0, 0}, {0.08, height, 0.08}, M::kMetalDark, {{side * halfWidth * 0.8, 0.08, z}, 0, 0, side * 18});
    }
  }
}

Model Scout(double turn, bool rotors) {
  Model m;
  AddBody(m, {{-1.6, 0.5, 0.55, 1.45}, {-0.8, 0.85, 0.95, 1.35}, {0.6, 0.9, 1.0, 1.3}, {1.5, 0.7, 0.8, 1.2},
              {2.2, 0, 0, 1.1}},
          12, {M::kScoutPaint, M::kScoutPaint, M::kGlass, M::kGlass}, M::kScoutPaint);
  AddBody(m, {{-1.5, 0.22, 0.25, 1.6}, {-5.8, 0.11, 0.13, 1.78}}, 8, {M::kScoutPaint}, M::kScoutPaint);
  m.AddPlate({{0, 1.75, -5.2}, {0, 1.75, -5.9}, {0, 2.9, -6.1}, {0, 2.8, -5.6}}, M::kScoutPaint);
  m.AddPlate({{-0.8, 1.72, -4.6}, {0.8, 1.72, -4.6}, {0.8, 1.72, -5.0}, {-0.8, 1.72, -5.0}}, M::kScoutPaint);
  AddRotor(m, {0.16, 2.1, -5.8}, 0.75, 0.12, 2, turn * 3, M::kRotor, true);
  m.AddCylinder({0, 2.3, -0.2}, 0.18, 0.14, 0.5, 8, M::kMetalDark, M::kMetalDark);
  const ChopperModel kind = ChopperModel::kScout;
  if (rotors) AddRotor(m, ChopperRotorHubs(kind)[0], ChopperRotorRadius(kind), 0.26, 4, turn, M::kRotor);
  Skids(m, 0.95, 1.6, -1.4, 0.5);
  for (double side : {-1.0, 1.0}) {
    m.AddBox({side * 0.9, 1.05, -0.2}, {0.9, 0.1, 0.45}, M::kScoutPaint);
  }
  return m;
}

Model Gunship(double turn, bool rotors) {
  Model m;
  AddBody(m, {{-2.5, 0.5, 0.6, 1.7}, {-1.2, 0.75, 1.0, 1.55}, {1.5, 0.7, 1.0, 1.5}, {3.0, 0.45, 0.6, 1.3},
              {3.8, 0, 0, 1.2}},
          12, {M::kGunshipPaint, M::kGunshipPaint, M::kGunshipPaint, M::kGunshipPaint}, M::kGunshipPaint);
  AddBody(m, {{-0.9, 0.42, 0.3, 2.3}, {0.6, 0.46, 0.42, 2.35}, {2.0, 0.4, 0.36, 2.2}, {2.9, 0, 0, 1.95}}, 10,
          {M::kGlass, M::kGlass, M::kGlass}, M::kGlass);
  AddBody(m, {{-2.4, 0.35, 0.4, 1.9}, {-8.6, 0.16, 0.2, 2.2}}, 8, {M::kGunshipPaint}, M::kGunshipPaint);
  m.AddPlate({{0, 2.1, -7.8}, {0, 2.1, -8.8}, {0, 3.8, -9.2}, {0, 3.7, -8.5}}, M::kGunshipPaint);
  m.AddPlate({{-1.2, 2.05, -7.2}, {1.2, 2.05, -7.2}, {1.2, 2.05, -7.7}, {-1.2, 2.05, -7.7}}, M::kGunshipPaint);
  AddRotor(m, {0.28, 3.2, -8.9}, 1.0, 0.16, 4, turn * 3, M::kRotor, true);
  m.AddCylinder({0, 2.5, -0.4}, 0.3, 0.22, 0.7, 8, M::kMetalDark, M::kMetalDark);
  const ChopperModel kind = ChopperModel::kGunship;
  if (rotors) AddRotor(m, ChopperRotorHubs(kind)[0], ChopperRotorRadius(kind), 0.36, 4, turn, M::kRotor);
  // Stub wings with four pylons each side.
  m.AddBox({0, 1.35, -0.6}, {5.6, 0.16, 1.3}, M::kGunshipPaint);
  for (const Vec3& pylon : ChopperPylons(kind)) {
    m.AddBox({pylon.x, 1.1, pylon.z}, {0.12, 0.25, 0.7}, M::kMetalDark);
    const bool missile = std::fabs(pylon.x) > 2.2;
    Model store = BuildWeaponModel(missile ? WeaponModel::kHeatMissile : WeaponModel::kRocketPod);
    m.Append(store, {{pylon.x, 1.1, pylon.z}});
  }
  // Chin gun.
  m.AddCylinder({0, 0.45, 2.6}, 0.25, 0.25, 0.35, 8, M::kMetalDark, M::kMetalDark);
  AddRod(m, 'z', {0, 0.6, 3.4}, 0.05, 1.6, 6, M::kMetalDark, M::kMetalDark);
  for (const Vec3& wheel : {Vec3{-0.9, 0.3, 1.4}, Vec3{0.9, 0.3, 1.4}, Vec3{0, 0.25, -6.8}}) {
    AddRod(m, 'x', wheel, wheel.z < 0 ? 0.2 : 0.3, 0.18, 10, M::kTyre, M::kMetalDark);
  }
  return m;
}

Model Transport(double turn, bool rotors) {
  Model m;
  AddBody(m, {{-7.2, 0.9, 0.9, 2.4}, {-5.6, 1.4, 1.5, 1.85}, {4.6, 1.4, 1.5, 1.8}, {6.1, 1.1, 1.2, 1.65},
              {6.9, 0, 0, 1.45}},
          12, {M::kTransportPaint, M::kTransportPaint, M::kTransportPaint, M::kGlass}, M::kTransportPaint);
  // Rotor towers: the rear one tall, so its blades clear the front rotor.
  m.AddBox({0, 3.0, -5.6}, {1.0, 1.9, 2.4}, M::kTransportPaint);
  m.AddBox({0, 3.0, 4.6}, {0.9, 0.9, 1.6}, M::kTransportPaint);
  m.AddCylinder({0, 4.9, -5.6}, 0.24, 0.2, 0.4, 8, M::kMetalDark, M::kMetalDark);
  m.AddCylinder({0, 3.9, 4.6}, 0.24, 0.2, 0.4, 8, M::kMetalDark, M::kMetalDark);
  const ChopperModel kind = ChopperModel::kTransport;
  if (rotors) {
    AddRotor(m, ChopperRotorHubs(kind)[0], ChopperRotorRadius(kind), 0.4, 3, turn, M::kRotor);
    AddRotor(m, ChopperRotorHubs(kind)[1], ChopperRotorRadius(kind), 0.4, 3, -turn + 60, M::kRotor);
  }
  // Side fuel pods and wheels.
  for (double side : {-1.0, 1.0}) {
    AddBody(m, {{-3.5, 0.45, 0.5, 0.9}, {-3.0, 0.6, 0.6, 0.9}, {2.5, 0.6, 0.6, 0.9}, {3.0, 0.45, 0.5, 0.9}}, 10,
            {M::kTransportPaint, M::kTransportPaint, M::kTransportPaint}, M::kTransportPaint,
            {{side * 1.45, 0, 0}});
    AddRod(m, 'x', {side * 1.5, 0.35, 3.6}, 0.35, 0.3, 10, M::kTyre, M::kMetalDark);
    AddRod(m, 'x', {side * 1.6, 0.35, -3.9}, 0.35, 0.3, 10, M::kTyre, M::kMetalDark);
  }
  for (const Vec3& pylon : ChopperPylons(kind)) {
    m.AddBox({pylon.x, 1.2, pylon.z}, {0.6, 0.12, 0.5}, M::kMetalDark);
    m.Append(BuildWeaponModel(WeaponModel::kRocketPod), {{pylon.x, 1.2, pylon.z}});
  }
  return m;
}

}  // namespace

bool BuildObjectModel(const std::string& meshName, int level, Model& model) {
  const ObjectRecipe* recipe = FindRecipe(meshName);
  if (recipe == nullptr) return false;
  model = Model();
  recipe->build(model, std::min(level, recipe->levels - 1));
  return true;
}

std::vector<Material> ObjectMaterials(const std::string& meshName) {
  const ObjectRecipe* recipe = FindRecipe(meshName);
  return recipe != nullptr ? recipe->materials : std::vector<Material>{};
}

Model BuildChopperModel(ChopperModel kind, double rotorTurn, bool mainRotors) {
  switch (kind) {
    case ChopperModel::kScout: {
      Model m = Scout(rotorTurn, mainRotors);
      for (const Vec3& pylon : ChopperPylons(kind)) m.Append(BuildWeaponModel(WeaponModel::kRocketPod), {pylon});
      return m;
    }
    case ChopperModel::kGunship:
      return Gunship(rotorTurn, mainRotors);
    case ChopperModel::kTransport:
      return Transport(rotorTurn, mainRotors);
  }
  return Model();
}

std::vector<Vec3> ChopperRotorHubs(ChopperModel kind) {
  switch (kind) {
    case ChopperModel::kScout:
      return {{0, 2.8, -0.2}};
    case ChopperModel::kGunship:
      return {{0, 3.25, -0.4}};
    case ChopperModel::kTransport:
      return {{0, 5.3, -5.6}, {0, 4.3, 4.6}};
  }
  return {};
}

double ChopperRotorRadius(ChopperModel kind) {
  return kind == ChopperModel::kScout ? 4.6 : kind == ChopperModel::kGunship ? 6.2 : 6.0;
}

std::vector<Vec3> ChopperPylons(ChopperModel kind) {
  switch (kind) {
    case ChopperModel::kScout:
      return {{-1.2, 1.0, -0.2}, {1.2, 1.0, -0.2}};
    case ChopperModel::kGunship:
      return {{-2.6, 1.3, -0.6}, {2.6, 1.3, -0.6}, {-2.0, 1.3, -0.6}, {2.0, 1.3, -0.6},
              {-1.4, 1.3, -0.6}, {1.4, 1.3, -0.6}, {-0.9, 1.3, -0.6}, {0.9, 1.3, -0.6}};
    case ChopperModel::kTransport:
      return {{-2.1, 1.2, 0.5}, {2.1, 1.2, 0.5}};
  }
  return {};
}

Model BuildWeaponModel(WeaponModel kind) {
  Model m;
  switch (kind) {
    case WeaponModel::kRocketPod:
      AddBody(m, {{-0.8, 0.17, 0.17, -0.32}, {-0.7, 0.22, 0.22, -0.32}, {0.7, 0.22, 0.22, -0.32},
                  {0.8, 0.18, 0.18, -0.32}},
              12, {M::kRocketPod, M::kRocketPod, M::kRocketPod}, M::kMetalDark);
      break;
    case WeaponModel::kHeavyRocket:
      AddBody(m, {{-1.3, 0.13, 0.13, -0.25}, {0.9, 0.15, 0.15, -0.25}, {1.4, 0, 0, -0.25}}, 10,
              {M::kRocketPod, M::kMissile}, M::kMetalDark);
      for (int fin = 0; fin < 4; ++fin) {
        m.AddPlate({{0, 0, -1.3}, {0, 0, -0.8}, {0, 0.32, -1.3}}, M::kMetalDark, {{0, -0.25, 0}, 0, 0, 45 + fin * 90.0});
      }
      break;
    case WeaponModel::kHeatMissile:
      AddBody(m, {{-1.0, 0.08, 0.08, -0.2}, {0.8, 0.08, 0.08, -0.2}, {1.0, 0, 0, -0.2}}, 10, {M::kMissile, M::kGlass},
              M::kMetalDark);
      for (int fin = 0; fin < 4; ++fin) {
        m.AddPlate({{0, 0, -1.0}, {0, 0, -0.6}, {0, 0.22, -1.0}}, M::kMissile, {{0, -0.2, 0}, 0, 0, 45 + fin * 90.0});
        m.AddPlate({{0, 0, 0.5}, {0, 0, 0.7}, {0, 0.12, 0.55}}, M::kMissile, {{0, -0.2, 0}, 0, 0, 45 + fin * 90.0});
      }
      break;
    case WeaponModel::kRadarMissile:
      AddBody(m, {{-1.3, 0.13, 0.13, -0.28}, {0.9, 0.13, 0.13, -0.28}, {1.3, 0, 0, -0.28}}, 10,
              {M::kMissile, M::kMetalGrey}, M::kMetalDark);
      for (int fin = 0; fin < 4; ++fin) {
        m.AddPlate({{0, 0, -1.3}, {0, 0, -0.9}, {0, 0.3, -1.3}}, M::kMissile, {{0, -0.28, 0}, 0, 0, 45 + fin * 90.0});
        m.AddPlate({{0, 0, -0.2}, {0, 0, 0.4}, {0, 0.25, 0.0}}, M::kMissile, {{0, -0.28, 0}, 0, 0, 45 + fin * 90.0});
      }
      break;
  }
  return m;
}
