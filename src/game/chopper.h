// The player's helicopter: its flight state, its consumables and its weapons.
//
// The flight model is not a force simulation. Each control axis (forward, strafe, turn) is a
// throttle state in percent that chases its command at a bounded rate, and a velocity is that
// state times a top speed of the ChopperDef; height follows the altitude command directly,
// limited by the climb rate. Every top speed and rate lies between an empty and a fully laden
// value according to the weapon load. All numbers are 16.16 fixed point: metres, seconds,
// metres per second; angles are binary (65536 a turn). The arithmetic is exact to the last bit,
// so a recorded flight replays identically.
#pragma once

#include <cstdint>

#include "core/fixed.h"
#include "core/matrix34.h"
#include "core/ptr_array.h"
#include "core/vector3.h"

class ChopperDef;
class GameWorld;
class Projectile;
class WeaponDef;
class WeaponSlot;

enum WarningLevel : uint32_t { WarningNormal = 0, WarningCaution = 1, WarningDanger = 2 };
enum WarningKind : uint32_t { WarningAltitude = 0, WarningFuel = 1, WarningDamage = 2 };

// The side of the map, which repeats in x and z: 2048.0 metres.
constexpr fixed kWorldSize = 1 << 27;

class Chopper {
 public:
  // The seven figures of one tick, between the definition's empty and laden values.
  struct Figures {
    fixed maxForward = 0;
    fixed maxReverse = 0;
    fixed maxStrafe = 0;
    fixed climbRate = 0;
    Angle turnRate = 0;
    fixed acceleration = 0;
    fixed burnFactor = 0;
  };

  explicit Chopper(const ChopperDef* definition);
  ~Chopper();
  Chopper(const Chopper&) = delete;
  Chopper& operator=(const Chopper&) = delete;

  // Start of a mission: at rest on the ground with a full tank, engine running. Keeps the weapons.
  bool Reset();
  // One tick of dt seconds (at most 0.2): controls, fuel, movement, then the ground under it.
  void Update(uint32_t elapsedMs, fixed dt);

  void SetPosition(const Vector3& position) { transform.SetTranslation(position); }
  Vector3 GetPosition() const { return transform.GetTranslation(); }
  // Stores the heading and rebuilds the rotation from it (no pitch, no roll).
  void SetHeading(Angle newHeading);
  // The landing and crash rules for ground of height `height` under the chopper.
  void GroundContact(fixed height, fixed dt);

  // Kilograms of weapons on board: each slot weighs its weapon's load weight in proportion to
  // the shots left. Passengers weigh nothing.
  uint16_t CurrentLoad() const;
  Figures CurrentFigures() const;
  void Refuel();
  // Takes one person aboard when a seat is free.
  bool BoardPassenger();
  void UnloadPassengers() { passengers = 0; }
  WarningLevel GetWarningLevel(uint32_t kind) const;

  void EngineStop();
  void Land();
  void Crash();

  // --- Weapons ----------------------------------------------------------------------------------
  // One more load of `weapon`: its slot (made on first use) gains noOfItems ready shots.
  bool AddWeapon(const WeaponDef* weapon);
  WeaponSlot* CurrentSlot() const;
  bool CanFire() const;
  // The selected weapon steers itself and can fire.
  bool GuidedReady() const;
  // False when `index` is already selected or there is no such slot. Otherwise selects it,
  // announces it and tells whether it has shots left.
  bool SelectWeapon(uint16_t index);
  // Selects the next slot after the current one that has shots left, wrapping around.
  bool NextWeapon();
  // Fires the selected weapon. The shot goes to the world, which owns it from then on; without
  // a world it is discarded. Null when nothing was launched.
  Projectile* Fire();

  const ChopperDef* definition;
  fixed groundHeight = 0;  // under the chopper at the end of the last tick
  Vector3 velocity;        // in the chopper's axes: x right, y up, z ahead (m/s)
  fixed forwardState = 0;  // throttle states, percent -100..+100
  fixed strafeState = 0;
  fixed turnState = 0;
  Matrix34 transform;  // rotation from the heading, then the position (y is height)
  Angle heading = 0;
  int16_t turnSpeed = 0;  // binary angle per second
  fixed fuel = 0;         // seconds of burn left (at the empty burn rate)
  uint16_t damage = 0;    // percent; nothing in the game raises it
  uint16_t passengers = 0;
  uint16_t selectedWeapon = 0;
  PtrArray<WeaponSlot*> weaponSlots;  // owned
  uint8_t onGround = 0;
  uint8_t engineRunning = 0;
  uint8_t crashed = 0;
  // Written by the controls: percent, and metres above the ground for the altitude.
  fixed forwardCommand = 0;
  fixed strafeCommand = 0;
  fixed turnCommand = 0;
  fixed altitudeCommand = 0;
  GameWorld* world = nullptr;  // not owned; null outside a mission
};
