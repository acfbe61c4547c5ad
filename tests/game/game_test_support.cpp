#include "game_test_support.h"

#include <cstring>

#include "content/ini.h"
#include "core/wide_string.h"
#include "mesh_shapes.h"
#include "terrain_landscapes.h"

namespace game_test {

namespace {

constexpr uint16_t kGroundValue = 640;  // height values are 1/64 m

uint16_t HeightValue(uint32_t sampleX, uint32_t /*sampleZ*/) {
  const uint32_t metresX = sampleX * 4;
  if (metresX >= 1200 && metresX < 1264) return static_cast<uint16_t>(kGroundValue + 128 * ((metresX - 1200) / 16 + 1));
  return kGroundValue;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

}  // namespace

fixed RidgeHeight(double x) { return static_cast<fixed>(HeightValue(static_cast<uint32_t>(x / 4), 0)) * 1024; }

std::string MeshList() { return "Mesh = Drum House Tank Person\n"; }

std::string LandscapeLines() {
  return "Resource VoxelHeight = height.bin\nResource VoxelTexture = texture.bin\nResource SkyBackdrop = sky.jpg\n" +
         MeshList();
}

TestMissionPack::TestMissionPack(const std::string& missionsIni) : missionsIni_(missionsIni) {
  Landscape landscape = FlatLandscape(kGroundValue, 0x07E0);
  SetHeights(landscape, HeightValue);
  landscape.sky = SkyJpeg(160, 720);
  using mesh_shapes::Cube;
  using mesh_shapes::MeshFileBytes;
  files_ = std::make_unique<render_test::TestPack>(std::vector<mesh_shapes::PackFile>{
      {"height.bin", landscape.heights},
      {"texture.bin", landscape.texture},
      {"sky.jpg", landscape.sky},
      {"drum.msh", MeshFileBytes(Cube(1.0), 2.0)},
      {"house.msh", MeshFileBytes(Cube(5.0), 10.0)},
      {"tank.msh", MeshFileBytes(Cube(2.0), 4.0)},
      {"person.msh", MeshFileBytes(Cube(0.5), 1.0)},
      {"checker.jpg", mesh_shapes::CheckerTexture()},
      {"meshes.ini", Bytes("[Drum]\nMesh 0 = 16 drum.msh checker.jpg\n[House]\nMesh 0 = 16 house.msh checker.jpg\n"
                           "[Tank]\nMesh 0 = 16 tank.msh checker.jpg\n[Person]\nMesh 0 = 16 person.msh checker.jpg\n")},
      {"missions.ini", Bytes(missionsIni)},
  });
}

std::unique_ptr<MissionDef> TestMissionPack::Mission(const char16_t* name) const {
  IniDocument document;
  document.LoadFromBuffer(reinterpret_cast<const uint8_t*>(missionsIni_.data()),
                          static_cast<uint32_t>(missionsIni_.size()));
  const IniSection* section = document.FindSection(name);
  if (section == nullptr) return nullptr;
  auto mission = std::make_unique<MissionDef>(&files_->pack, u"missions.ini");
  mission->ReadSection(*section);
  return mission;
}

std::unique_ptr<ChopperDef> PlainChopper() {
  auto chopper = std::make_unique<ChopperDef>(nullptr);
  chopper->payload = 0;
  return chopper;
}

std::unique_ptr<WeaponDef> MakeWeapon(const char16_t* name, uint32_t type, uint32_t speedKmh, uint32_t range,
                                      uint16_t payload, uint16_t items) {
  auto weapon = std::make_unique<WeaponDef>(nullptr);
  std::memset(weapon->name, 0, sizeof weapon->name);
  for (size_t i = 0; name[i] != 0 && i + 1 < kIniNameSize; ++i) weapon->name[i] = name[i];
  weapon->weaponType = type;
  weapon->speed = SpeedFromKmh(speedKmh);
  weapon->range = IntToFixed(static_cast<int32_t>(range));
  weapon->payload = payload;
  weapon->noOfItems = items;
  return weapon;
}

std::vector<std::string> ReadLines(std::FILE* file) {
  std::vector<std::string> lines;
  std::rewind(file);
  std::string line;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  return lines;
}

}  // namespace game_test
