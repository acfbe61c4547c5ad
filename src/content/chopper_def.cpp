#include "content/chopper_def.h"

#include "content/definition_reading.h"
#include "core/wide_string.h"

ChopperDef::~ChopperDef() {
  FreeString(&splashPicture);
  FreeString(&titlePicture);
  FreeString(&titleMask);
  FreeString(&weaponPicture);
}

void ChopperDef::ReadSection(const IniSection& section) {
  CopyName(name, section.name);
  const auto pair = [&section](const char16_t* key, auto convert, auto& field) {
    if (const IniKey* k = KeyWithValues(section, key, 2)) {
      field[0] = convert(ValueInt(*k, 0));
      field[1] = convert(ValueInt(*k, 1));
    }
  };
  const auto kmh = [](uint32_t v) { return SpeedFromKmh(v); };
  const auto whole = [](uint32_t v) { return static_cast<fixed>(v << 16); };
  pair(u"Forward", kmh, forwardSpeed);
  pair(u"Reverse", kmh, reverseSpeed);
  pair(u"Strafe", kmh, strafeSpeed);
  pair(u"ClimbRate", whole, climbRate);
  pair(u"TurnRate", [](uint32_t v) { return AngleFromDegrees(v); }, turnRate);
  pair(u"Acceleration", whole, acceleration);
  pair(u"Range", [](uint32_t v) { return static_cast<uint16_t>(v); }, range);

  const auto single = [&section](const char16_t* key, uint16_t& field) {
    if (const IniKey* k = KeyWithValues(section, key, 1)) field = static_cast<uint16_t>(ValueInt(*k, 0));
  };
  single(u"Payload", payload);
  single(u"Damage", damage);
  single(u"Passengers", passengers);
  single(u"Pylons", pylons);
  if (const IniKey* k = KeyWithValues(section, u"MachineGun", 1)) hasMachineGun = k->values[0]->ToBool();
  if (const IniKey* k = KeyWithValues(section, u"Radar", 1)) hasRadar = k->values[0]->ToBool();

  if (const IniKey* k = KeyWithValues(section, u"Resource Splash", 1)) ReplaceText(&splashPicture, ValueText(*k, 0));
  if (const IniKey* k = KeyWithValues(section, u"Resource Title", 2)) {
    ReplaceText(&titlePicture, ValueText(*k, 0));
    ReplaceText(&titleMask, ValueText(*k, 1));
  }
  if (const IniKey* k = KeyWithValues(section, u"Resource Weapon", 1)) ReplaceText(&weaponPicture, ValueText(*k, 0));

  // A range of 0 would divide by zero below: it counts as 1.
  for (uint16_t& r : range) {
    if (r == 0) r = 1;
  }
  // Fuel: the tank holds the empty range; a loaded machine burns range[0] / range[1] as fast.
  fuelCapacity = IntToFixed(range[0]);
  for (int i = 0; i < 2; ++i) {
    fuelUse[i] = static_cast<fixed>((static_cast<int64_t>(range[0]) << 32) / (static_cast<int64_t>(range[i]) << 16));
  }
}
