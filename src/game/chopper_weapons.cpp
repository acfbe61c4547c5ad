// The chopper's weapon operations: buying loads, choosing a weapon, firing.
#include "content/weapon_def.h"
#include "game/chopper.h"
#include "game/game_world.h"
#include "game/messages.h"
#include "game/weapons.h"

bool Chopper::AddWeapon(const WeaponDef* weapon) {
  WeaponSlot* slot = nullptr;
  for (WeaponSlot* existing : weaponSlots) {
    if (existing->definition == weapon) {
      slot = existing;
      break;
    }
  }
  if (slot == nullptr) {
    slot = new WeaponSlot(weapon);
    if (!weaponSlots.Append(slot)) {
      delete slot;
      return false;
    }
  }
  for (uint16_t i = 0; i < weapon->noOfItems; ++i) {
    auto* shot = new Projectile(weapon);
    if (!slot->shots.Append(shot)) {
      delete shot;
      break;
    }
  }
  return true;
}

WeaponSlot* Chopper::CurrentSlot() const {
  if (selectedWeapon >= weaponSlots.Count()) return nullptr;
  return weaponSlots[selectedWeapon];
}

bool Chopper::CanFire() const {
  const WeaponSlot* slot = CurrentSlot();
  if (slot == nullptr) return false;
  return slot->ShotsLeft() > 0 || slot->definition->weaponType == WeaponMachineGun;
}

bool Chopper::GuidedReady() const {
  const WeaponSlot* slot = CurrentSlot();
  return slot != nullptr && slot->definition->guidance != GuidanceNone && CanFire();
}

bool Chopper::SelectWeapon(uint16_t index) {
  if (index == selectedWeapon || index >= weaponSlots.Count()) return false;
  selectedWeapon = index;
  if (world != nullptr) world->PostMessage(MessageWeaponSelected);
  return weaponSlots[index]->ShotsLeft() > 0;
}

bool Chopper::NextWeapon() {
  const uint16_t count = weaponSlots.Count();
  if (count < 2) return false;
  // At most one lap: it ends on the current slot when no other has shots left.
  uint16_t index = selectedWeapon;
  for (uint16_t steps = 0; steps < count; ++steps) {
    index = static_cast<uint16_t>(index + 1 >= count ? 0 : index + 1);
    if (index == selectedWeapon || weaponSlots[index]->ShotsLeft() > 0) break;
  }
  return SelectWeapon(index);
}

Projectile* Chopper::Fire() {
  if (!CanFire()) return nullptr;
  WeaponSlot* slot = CurrentSlot();
  Projectile* shot = nullptr;
  if (slot->definition->weaponType == WeaponMachineGun) {
    shot = new Projectile(slot->definition);
  } else {
    shot = slot->shots.RemoveAt(static_cast<uint16_t>(slot->shots.Count() - 1));
  }
  if (world == nullptr) {
    delete shot;
    return nullptr;
  }
  return world->AddProjectile(shot) ? shot : nullptr;
}
