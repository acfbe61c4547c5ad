// What the helicopter shoots: the ready shots of each weapon it carries, and a shot in flight.
//
// A slot holds the ready shots of one kind of weapon. Rockets are made when a load is bought and
// leave their slot when fired; machine-gun shots are made at the moment of firing, so the
// gun's stock never falls. A fired shot belongs to the GameWorld, which moves it every tick in
// a straight line and tests it against the placed objects (game_world_projectiles.cpp).
#pragma once

#include "core/fixed.h"
#include "core/matrix34.h"
#include "core/ptr_array.h"

class Emitter;
class WeaponDef;

class Projectile {
 public:
  explicit Projectile(const WeaponDef* weapon) : definition(weapon) {}

  const WeaponDef* definition;
  Matrix34 transform;  // position, and the direction of flight as its z row
  fixed speed = 0;     // m/s
  fixed distance = 0;  // flown so far, metres
  const void* target = nullptr;  // nothing steers toward a target in this game
  Emitter* smoke = nullptr;      // the rocket's trail in the world's effect list, or null
};

class WeaponSlot {
 public:
  explicit WeaponSlot(const WeaponDef* weapon) : definition(weapon) {}
  ~WeaponSlot() { shots.DeleteAll(); }
  WeaponSlot(const WeaponSlot&) = delete;
  WeaponSlot& operator=(const WeaponSlot&) = delete;

  uint16_t ShotsLeft() const { return shots.Count(); }

  const WeaponDef* definition;
  PtrArray<Projectile*> shots;  // owned, ready to fire
};
