// A kind of weapon a helicopter carries on its pylons: type and guidance, the weight of one
// load, damage per hit, range, projectile speed, accuracy, projectiles per load, and the
// pictures of the loadout screen. The machine gun is built in and always present.
#pragma once

#include <cstdint>
#include <memory>

#include "content/ini.h"
#include "core/fixed.h"
#include "gfx/surface.h"

class ContentPack;

enum WeaponType : uint32_t { WeaponOther = 0, WeaponMachineGun = 1, WeaponRocket = 2 };
enum TargetKind : uint32_t { TargetAny = 0, TargetAir = 1, TargetGround = 2 };
enum Guidance : uint32_t { GuidanceNone = 0, GuidanceRadar = 1, GuidanceHeat = 2 };

// The program's picture that masks every pylon picture.
constexpr uint32_t kPylonMaskPicture = 271;

class WeaponDef {
 public:
  explicit WeaponDef(const ContentPack* pack) : pack(pack) {}
  ~WeaponDef();
  WeaponDef(const WeaponDef&) = delete;
  WeaponDef& operator=(const WeaponDef&) = delete;

  void ReadSection(const IniSection& section);
  // Makes this the built-in machine gun: no pack pictures, the given figures.
  void SetMachineGun(const char16_t* gunName, uint16_t gunPayload, fixed gunRange, fixed gunSpeed, uint16_t items);

  // New surfaces for the loadout screen, owned by the caller; null when a file is missing.
  std::unique_ptr<Surface> LoadSplash() const;
  std::unique_ptr<Surface> LoadTitle() const;
  std::unique_ptr<Surface> LoadPylon1() const;
  std::unique_ptr<Surface> LoadPylon2() const;

  char16_t name[kIniNameSize] = u"Unknown";
  uint32_t weaponType = WeaponOther;
  uint32_t targetKind = TargetAny;
  uint32_t guidance = GuidanceNone;
  uint16_t weight = 0;   // kg of one load
  uint16_t payload = 20;  // damage of one hit
  fixed range = IntToFixed(500);  // metres
  fixed speed = IntToFixed(1000);  // m/s (the file gives km/h)
  uint16_t accuracy = 0;
  uint16_t noOfItems = 1;  // projectiles per load
  const ContentPack* pack;
  // File names in `pack`, or null.
  char16_t* splashPicture = nullptr;
  char16_t* titlePicture = nullptr;
  char16_t* titleMask = nullptr;
  char16_t* pylonPicture1 = nullptr;
  char16_t* pylonPicture2 = nullptr;

 private:
  std::unique_ptr<Surface> LoadPylon(const char16_t* picture) const;
};
