#include "game/screen/quick_start.h"

#include "app/application.h"
#include "content/chopper_def.h"
#include "content/mission_def.h"
#include "content/weapon_def.h"
#include "core/wide_string.h"
#include "game/chopper.h"
#include "game/mission_instance.h"
#include "game/screen/game_screen.h"

namespace {

// The first definition whose name matches `name` ignoring case, or null.
template <typename Def>
Def* FindByName(const PtrArray<Def*>& definitions, const std::string& name) {
  const std::u16string wide = WideFromUtf8(name);
  for (Def* definition : definitions) {
    if (EqualsNoCase(definition->name, wide.c_str())) return definition;
  }
  return nullptr;
}

}  // namespace

GameScreen* CreateQuickStartScreen(Application* application, const QuickStartChoice& choice, std::string* error) {
  const ContentRegistry& registry = application->registry;
  const MissionDef* mission = FindByName(registry.missions, choice.mission);
  if (mission == nullptr) {
    *error = "no mission called \"" + choice.mission + "\"";
    return nullptr;
  }
  const ChopperDef* chopperDef = choice.chopper.empty() ? (registry.choppers.Empty() ? nullptr : registry.choppers[0])
                                                        : FindByName(registry.choppers, choice.chopper);
  if (chopperDef == nullptr) {
    *error = choice.chopper.empty() ? "no helicopters installed" : "no helicopter called \"" + choice.chopper + "\"";
    return nullptr;
  }
  std::vector<const WeaponDef*> weapons;
  for (const std::string& name : choice.weapons) {
    const WeaponDef* weapon = FindByName(registry.weapons, name);
    if (weapon == nullptr) {
      *error = "no weapon called \"" + name + "\"";
      return nullptr;
    }
    weapons.push_back(weapon);
  }

  auto* chopper = new Chopper(chopperDef);
  chopper->Reset();
  // As the loadout screen arms it: the built-in gun first, then the pylons in order.
  if (chopperDef->hasMachineGun && registry.machineGun != nullptr) chopper->AddWeapon(registry.machineGun);
  for (const WeaponDef* weapon : weapons) chopper->AddWeapon(weapon);
  auto* screen = new GameScreen(application, new MissionInstance(mission), chopper);
  screen->SetQuickStart(true);
  return screen;
}
