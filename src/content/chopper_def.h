// A flyable helicopter as a pack describes it: speeds, climb and turn rates, acceleration and
// range, each for an empty machine and for one carrying its full payload, plus its payload,
// armour, seats, pylons, equipment and the pictures the menus show.
#pragma once

#include <cstdint>

#include "content/ini.h"
#include "core/fixed.h"

class ContentPack;

class ChopperDef {
 public:
  explicit ChopperDef(const ContentPack* pack) : pack(pack) {}
  ~ChopperDef();
  ChopperDef(const ChopperDef&) = delete;
  ChopperDef& operator=(const ChopperDef&) = delete;

  // Fills the record from its section; keys that are missing or have too few values keep
  // their defaults.
  void ReadSection(const IniSection& section);

  // Pairs: [0] for an empty helicopter, [1] for one carrying its full payload.
  char16_t name[kIniNameSize] = u"Unknown";
  fixed forwardSpeed[2] = {3640800, 3094680};  // m/s (the file gives km/h)
  fixed reverseSpeed[2] = {1456320, 1092240};
  fixed strafeSpeed[2] = {1820400, 1456320};
  fixed climbRate[2] = {IntToFixed(10), IntToFixed(8)};  // m/s
  Angle turnRate[2] = {7281, 5461};                      // per second (the file gives degrees)
  fixed acceleration[2] = {IntToFixed(20), IntToFixed(15)};
  uint16_t range[2] = {180, 150};
  fixed fuelUse[2] = {65536, 78643};  // fuel per unit flown, relative to the empty machine
  fixed fuelCapacity = IntToFixed(180);
  uint16_t payload = 1000;  // kg
  uint16_t damage = 70;
  uint16_t passengers = 1;
  uint16_t pylons = 2;
  bool hasMachineGun = true;
  bool hasRadar = false;
  const ContentPack* pack;
  // File names in `pack`, or null.
  char16_t* splashPicture = nullptr;
  char16_t* titlePicture = nullptr;
  char16_t* titleMask = nullptr;
  char16_t* weaponPicture = nullptr;
};
