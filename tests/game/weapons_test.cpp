// The chopper's weapons: loading slots, which slot is selected and whether it can fire, stepping
// to the next armed slot, and firing, alone (the shot is discarded) and in a world (the shot is
// the world's and the message line hears of it).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "content/chopper_def.h"
#include "content/mission_def.h"
#include "content/weapon_def.h"
#include "game/chopper.h"
#include "game/game_world.h"
#include "game/messages.h"
#include "game/mission_instance.h"
#include "game/weapons.h"

namespace {

std::unique_ptr<WeaponDef> MakeWeapon(uint32_t type, uint16_t items, uint32_t guidance = GuidanceNone,
                                      std::u16string_view name = u"Rockets") {
  auto weapon = std::make_unique<WeaponDef>(nullptr);
  weapon->weaponType = type;
  weapon->noOfItems = items;
  weapon->guidance = guidance;
  weapon->weight = 10;
  std::fill(std::begin(weapon->name), std::end(weapon->name), u'\0');
  name.copy(weapon->name, kIniNameSize - 1);
  return weapon;
}

// A reset default chopper in a world without landscape, goals or message queue (posted message
// ids are still recorded), or on its own when `inWorld` is false.
struct Rig {
  explicit Rig(bool inWorld = true) {
    if (inWorld) world = std::make_unique<GameWorld>(new MissionInstance(mission.get()), chopper, nullptr);
    chopper->Reset();
  }
  ~Rig() {
    if (world == nullptr) delete chopper;
  }
  Rig(const Rig&) = delete;
  Rig& operator=(const Rig&) = delete;

  // One load of a weapon in a slot of its own.
  WeaponSlot* Add(uint32_t type, uint16_t items, uint32_t guidance = GuidanceNone) {
    weapons.push_back(MakeWeapon(type, items, guidance));
    chopper->AddWeapon(weapons.back().get());
    return chopper->weaponSlots[static_cast<uint16_t>(chopper->weaponSlots.Count() - 1)];
  }
  std::vector<uint8_t> Messages() const { return world->postedMessages(); }

  ChopperDef def{nullptr};
  std::vector<std::unique_ptr<WeaponDef>> weapons;
  std::unique_ptr<MissionDef> mission = std::make_unique<MissionDef>(nullptr, u"list.ini");
  Chopper* chopper = new Chopper(&def);  // the world's when there is one
  std::unique_ptr<GameWorld> world;
};

// --- Slots -------------------------------------------------------------------------------------

TEST(WeaponSlots, NothingToFireWithoutSlots) {
  Rig rig;
  Chopper& c = *rig.chopper;
  EXPECT_EQ(c.CurrentSlot(), nullptr);
  EXPECT_FALSE(c.CanFire());
  EXPECT_FALSE(c.GuidedReady());
  EXPECT_EQ(c.Fire(), nullptr);
  EXPECT_EQ(rig.world->projectiles.Count(), 0);
  EXPECT_TRUE(rig.Messages().empty());
}

TEST(WeaponSlots, EachKindHasOneSlotThatGainsALoadOfShots) {
  Rig rig(false);
  Chopper& c = *rig.chopper;
  auto rockets = MakeWeapon(WeaponRocket, 4);
  auto gun = MakeWeapon(WeaponMachineGun, 100);

  EXPECT_TRUE(c.AddWeapon(rockets.get()));
  ASSERT_EQ(c.weaponSlots.Count(), 1);
  WeaponSlot* rocketSlot = c.weaponSlots[0];
  EXPECT_EQ(rocketSlot->definition, rockets.get());
  EXPECT_EQ(rocketSlot->ShotsLeft(), 4);
  for (const Projectile* shot : rocketSlot->shots) EXPECT_EQ(shot->definition, rockets.get());

  EXPECT_TRUE(c.AddWeapon(gun.get()));
  EXPECT_TRUE(c.AddWeapon(rockets.get()));
  ASSERT_EQ(c.weaponSlots.Count(), 2);
  EXPECT_EQ(c.weaponSlots[0], rocketSlot);
  EXPECT_EQ(rocketSlot->ShotsLeft(), 8);
  EXPECT_EQ(c.weaponSlots[1]->definition, gun.get());
  EXPECT_EQ(c.weaponSlots[1]->ShotsLeft(), 100);

  EXPECT_EQ(c.CurrentSlot(), rocketSlot);
  c.selectedWeapon = 2;  // past the last slot
  EXPECT_EQ(c.CurrentSlot(), nullptr);
  EXPECT_FALSE(c.CanFire());
}

TEST(WeaponSlots, CanFireAndGuidedReady) {
  const struct {
    const char* what;
    uint32_t type;
    uint16_t items;
    uint32_t guidance;
    bool canFire;
    bool guidedReady;
  } cases[] = {
      {"rockets", WeaponRocket, 2, GuidanceNone, true, false},
      {"heat seekers", WeaponRocket, 2, GuidanceHeat, true, true},
      {"radar guided", WeaponRocket, 2, GuidanceRadar, true, true},
      {"heat seekers all gone", WeaponRocket, 0, GuidanceHeat, false, false},
      {"the gun fires without stock", WeaponMachineGun, 0, GuidanceNone, true, false},
      {"another kind with a shot", WeaponOther, 1, GuidanceNone, true, false},
      {"another kind without", WeaponOther, 0, GuidanceNone, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig(false);
    rig.Add(c.type, c.items, c.guidance);
    EXPECT_EQ(rig.chopper->CanFire(), c.canFire);
    EXPECT_EQ(rig.chopper->GuidedReady(), c.guidedReady);
  }
}

// --- Choosing a weapon -------------------------------------------------------------------------

TEST(WeaponSelect, SelectsAnnouncesAndTellsWhetherTheSlotHasShots) {
  // Slots: 0 gun (100 shots), 1 rockets (2), 2 an empty pod.
  const struct {
    const char* what;
    uint16_t from;
    uint16_t index;
    bool result;
    uint16_t selected;
  } cases[] = {
      {"another armed slot", 0, 1, true, 1},
      {"an empty slot is selected but reported", 0, 2, false, 2},
      {"back to the first slot", 2, 0, true, 0},
      {"the selected slot again", 1, 1, false, 1},
      {"no such slot", 1, 3, false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    rig.Add(WeaponMachineGun, 100);
    rig.Add(WeaponRocket, 2);
    rig.Add(WeaponRocket, 0);
    rig.chopper->selectedWeapon = c.from;
    EXPECT_EQ(rig.chopper->SelectWeapon(c.index), c.result);
    EXPECT_EQ(rig.chopper->selectedWeapon, c.selected);
    const bool changed = c.selected != c.from;
    EXPECT_EQ(rig.Messages(), changed ? std::vector<uint8_t>{MessageWeaponSelected} : std::vector<uint8_t>{});
  }
}

TEST(WeaponSelect, WorksWithoutAWorld) {
  Rig rig(false);
  rig.Add(WeaponMachineGun, 100);
  rig.Add(WeaponRocket, 2);
  EXPECT_TRUE(rig.chopper->SelectWeapon(1));
  EXPECT_EQ(rig.chopper->selectedWeapon, 1);
}

struct Load {
  uint32_t type;
  uint16_t items;
  bool firedEmpty = false;  // bought, then every shot fired
};

TEST(WeaponSelect, NextWeaponFindsTheNextSlotWithShots) {
  const Load gun{WeaponMachineGun, 100};
  const Load rockets{WeaponRocket, 2};
  const Load none{WeaponRocket, 0};
  const Load spent{WeaponRocket, 2, true};
  const struct {
    const char* what;
    std::vector<Load> slots;
    uint16_t from;
    uint16_t selected;
    bool result;
  } cases[] = {
      {"skips a fired-out pod", {gun, spent, rockets}, 0, 2, true},
      {"skips a pod bought empty", {gun, none, rockets}, 0, 2, true},
      {"stays on the gun when the rest is empty", {gun, spent}, 0, 0, false},
      {"wraps to the first slot", {gun, rockets}, 1, 0, true},
      {"skips an empty last slot when wrapping", {gun, rockets, none}, 1, 0, true},
      {"steps just one slot on", {rockets, rockets, rockets}, 0, 1, true},
      {"leaves an empty selected slot", {gun, none}, 1, 0, true},
      {"only the selected slot has shots", {none, rockets, none}, 1, 1, false},
      {"no shots anywhere", {none, none}, 0, 0, false},
      {"a single slot", {gun}, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    Chopper& ch = *rig.chopper;
    for (uint16_t i = 0; i < c.slots.size(); ++i) {
      WeaponSlot* slot = rig.Add(c.slots[i].type, c.slots[i].items);
      if (!c.slots[i].firedEmpty) continue;
      ch.selectedWeapon = i;
      while (ch.Fire() != nullptr) {
      }
      ASSERT_EQ(slot->ShotsLeft(), 0);
    }
    ch.selectedWeapon = c.from;
    const size_t before = rig.Messages().size();
    EXPECT_EQ(ch.NextWeapon(), c.result);
    EXPECT_EQ(ch.selectedWeapon, c.selected);
    const std::vector<uint8_t> after = rig.Messages();
    const std::vector<uint8_t> posted(after.begin() + static_cast<std::ptrdiff_t>(before), after.end());
    const bool changed = c.selected != c.from;
    EXPECT_EQ(posted, changed ? std::vector<uint8_t>{MessageWeaponSelected} : std::vector<uint8_t>{});
  }
}

// --- Firing ------------------------------------------------------------------------------------

TEST(WeaponFire, AloneTheShotIsDiscarded) {
  const struct {
    const char* what;
    uint32_t type;
    uint16_t items;
    uint16_t shotsAfter;
  } cases[] = {
      {"the gun keeps its stock", WeaponMachineGun, 50, 50},
      {"a rocket leaves its slot", WeaponRocket, 3, 2},
      {"an empty pod fires nothing", WeaponRocket, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig(false);
    const WeaponSlot* slot = rig.Add(c.type, c.items);
    EXPECT_EQ(rig.chopper->Fire(), nullptr);
    EXPECT_EQ(slot->ShotsLeft(), c.shotsAfter);
  }
}

TEST(WeaponFire, MachineGunMakesANewShotForTheWorld) {
  Rig rig;
  const WeaponSlot* slot = rig.Add(WeaponMachineGun, 50);
  const Projectile* stock = slot->shots[0];
  for (uint16_t n = 1; n <= 2; ++n) {
    const Projectile* shot = rig.chopper->Fire();
    ASSERT_NE(shot, nullptr);
    EXPECT_NE(shot, stock);
    EXPECT_EQ(shot->definition, rig.weapons[0].get());
    ASSERT_EQ(rig.world->projectiles.Count(), n);
    EXPECT_EQ(rig.world->projectiles[static_cast<uint16_t>(n - 1)], shot);
    EXPECT_EQ(slot->ShotsLeft(), 50);
  }
  EXPECT_EQ(rig.Messages(), (std::vector<uint8_t>{MessageMachineGunFired, MessageMachineGunFired}));
}

TEST(WeaponFire, RocketsLeaveTheirSlotLastFirstUntilItIsEmpty) {
  Rig rig;
  WeaponSlot* slot = rig.Add(WeaponRocket, 2);
  Projectile* first = slot->shots[0];
  Projectile* second = slot->shots[1];

  EXPECT_EQ(rig.chopper->Fire(), second);
  EXPECT_EQ(slot->ShotsLeft(), 1);
  EXPECT_EQ(rig.chopper->Fire(), first);
  EXPECT_EQ(slot->ShotsLeft(), 0);
  ASSERT_EQ(rig.world->projectiles.Count(), 2);
  EXPECT_EQ(rig.world->projectiles[0], second);
  EXPECT_EQ(rig.world->projectiles[1], first);
  EXPECT_EQ(rig.Messages(), (std::vector<uint8_t>{MessageRocketAway, MessageRocketAway}));

  EXPECT_FALSE(rig.chopper->CanFire());
  EXPECT_EQ(rig.chopper->Fire(), nullptr);
  EXPECT_EQ(rig.world->projectiles.Count(), 2);
  EXPECT_EQ(rig.Messages().size(), 2u);
}

}  // namespace
