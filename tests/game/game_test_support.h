// Small worlds for the game tests: a content pack written on the spot with a landscape (flat
// ground 10 m high with a stepped ridge), a few meshes of known sizes and a missions file the
// test supplies, and the definitions a world needs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "content/chopper_def.h"
#include "content/content_pack.h"
#include "content/mission_def.h"
#include "content/weapon_def.h"
#include "core/fixed.h"
#include "render_test_support.h"

namespace game_test {

// The frame time of a 33 ms tick, as the application derives it.
constexpr fixed kDt33 = 2162;
// Ground height everywhere but on the ridge: 10.0 m.
constexpr fixed kGround = IntToFixed(10);
// The ridge: for 1200 <= x < 1264 the ground rises in 16 m steps to 12, 14, 16 and 18 m.
fixed RidgeHeight(double x);

// Mesh sections of the pack (bounding radius in metres): "Drum" 2, "House" 10, "Tank" 4,
// "Person" 1.
std::string MeshList();

// The mission section's lines that every test mission shares: landscape files and meshes.
std::string LandscapeLines();

// A pack holding the landscape, the meshes and "missions.ini" with the given text.
class TestMissionPack {
 public:
  explicit TestMissionPack(const std::string& missionsIni);
  bool opened() const { return files_->opened(); }
  // The definition of the mission section `name`, reading from this pack; null when absent.
  std::unique_ptr<MissionDef> Mission(const char16_t* name) const;

 private:
  std::unique_ptr<render_test::TestPack> files_;
  std::string missionsIni_;
};

// A helicopter whose payload is 0, so it always flies with its empty figures (the defaults:
// 200 km/h forward, 10 m/s climb, 40 degrees a second, 20 % a second, 180 s of fuel).
std::unique_ptr<ChopperDef> PlainChopper();
// A weapon with the given type, speed (km/h), range (m), payload and shots per load.
std::unique_ptr<WeaponDef> MakeWeapon(const char16_t* name, uint32_t type, uint32_t speedKmh, uint32_t range,
                                      uint16_t payload, uint16_t items);

// Every line of a file.
std::vector<std::string> ReadLines(std::FILE* file);

}  // namespace game_test
