#include "content/weapon_def.h"

#include "content/data_buffer.h"
#include "content/definition_reading.h"
#include "content/pictures.h"
#include "core/wide_string.h"

WeaponDef::~WeaponDef() {
  FreeString(&splashPicture);
  FreeString(&titlePicture);
  FreeString(&titleMask);
  FreeString(&pylonPicture1);
  FreeString(&pylonPicture2);
}

void WeaponDef::ReadSection(const IniSection& section) {
  CopyName(name, section.name);
  if (const IniKey* k = KeyWithValues(section, u"Type", 1)) {
    const IniValue& v = *k->values[0];
    weaponType = v.Equals(u"MachineGun") ? WeaponMachineGun : v.Equals(u"Rocket") ? WeaponRocket : WeaponOther;
  }
  if (const IniKey* k = KeyWithValues(section, u"Target", 1)) {
    const IniValue& v = *k->values[0];
    targetKind = v.Equals(u"Air") ? TargetAir : v.Equals(u"Ground") ? TargetGround : TargetAny;
  }
  if (const IniKey* k = KeyWithValues(section, u"Guidance", 1)) {
    const IniValue& v = *k->values[0];
    guidance = v.Equals(u"Radar") ? GuidanceRadar : v.Equals(u"Heat") ? GuidanceHeat : GuidanceNone;
  }
  const auto number = [&section](const char16_t* key, uint16_t& field) {
    if (const IniKey* k = KeyWithValues(section, key, 1)) field = static_cast<uint16_t>(ValueInt(*k, 0));
  };
  number(u"Weight", weight);
  number(u"Payload", payload);
  number(u"Accuracy", accuracy);
  number(u"NoOfItems", noOfItems);
  if (const IniKey* k = KeyWithValues(section, u"Range", 1)) range = static_cast<fixed>(ValueInt(*k, 0) << 16);
  if (const IniKey* k = KeyWithValues(section, u"Speed", 1)) speed = SpeedFromKmh(ValueInt(*k, 0));

  if (const IniKey* k = KeyWithValues(section, u"Resource Splash", 1)) ReplaceText(&splashPicture, ValueText(*k, 0));
  if (const IniKey* k = KeyWithValues(section, u"Resource Title", 2)) {
    ReplaceText(&titlePicture, ValueText(*k, 0));
    ReplaceText(&titleMask, ValueText(*k, 1));
  }
  if (const IniKey* k = KeyWithValues(section, u"Resource Pylon", 2)) {
    ReplaceText(&pylonPicture1, ValueText(*k, 0));
    ReplaceText(&pylonPicture2, ValueText(*k, 1));
  }
}

void WeaponDef::SetMachineGun(const char16_t* gunName, uint16_t gunPayload, fixed gunRange, fixed gunSpeed,
                              uint16_t items) {
  CopyName(name, gunName);
  weaponType = WeaponMachineGun;
  targetKind = TargetAny;
  guidance = GuidanceNone;
  weight = 0;
  payload = gunPayload;
  range = gunRange;
  speed = gunSpeed;
  accuracy = 0;
  noOfItems = items;
  FreeString(&splashPicture);
  FreeString(&titlePicture);
  FreeString(&titleMask);
  FreeString(&pylonPicture1);
  FreeString(&pylonPicture2);
}

std::unique_ptr<Surface> WeaponDef::LoadSplash() const {
  auto surface = std::make_unique<Surface>();
  const DataBuffer picture(pack, splashPicture);
  if (!DecodeJpeg(*surface, picture)) return nullptr;
  return surface;
}

std::unique_ptr<Surface> WeaponDef::LoadTitle() const {
  auto surface = std::make_unique<Surface>();
  const DataBuffer colour(pack, titlePicture);
  const DataBuffer mask(pack, titleMask);
  if (colour.Empty() || mask.Empty() || !DecodeJpegWithMask(*surface, colour, mask)) return nullptr;
  return surface;
}

std::unique_ptr<Surface> WeaponDef::LoadPylon(const char16_t* picture) const {
  auto surface = std::make_unique<Surface>();
  const DataBuffer colour(pack, picture);
  const DataBuffer mask(kPylonMaskPicture);
  if (colour.Empty() || mask.Empty() || !DecodeJpegWithMask(*surface, colour, mask)) return nullptr;
  return surface;
}

std::unique_ptr<Surface> WeaponDef::LoadPylon1() const { return LoadPylon(pylonPicture1); }
std::unique_ptr<Surface> WeaponDef::LoadPylon2() const { return LoadPylon(pylonPicture2); }
