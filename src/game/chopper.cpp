#include "game/chopper.h"

#include "content/chopper_def.h"
#include "content/weapon_def.h"
#include "core/linear_map.h"
#include "game/game_world.h"
#include "game/weapons.h"

namespace {

constexpr fixed kOnePercent = 655;                 // 0.01: percent to a fraction
constexpr fixed kTurnDeadZone = 6553;              // |turnState| below 0.1 percent stops the turn
constexpr fixed kAirborneClearance = 6553;         // 0.1 m above the ground counts as flying
constexpr fixed kHardThrottle = IntToFixed(10);    // a throttle above 10 percent at touchdown crashes
constexpr fixed kHardSinkRate = IntToFixed(5);     // so does sinking faster than 5 m/s
constexpr int32_t kGravity = 10;                   // m/s^2, applied as dt x 10

fixed Clamp(fixed value, fixed limit) {
  if (value < WrapNeg(limit)) return WrapNeg(limit);
  if (value > limit) return limit;
  return value;
}

// The value between the empty and the laden figure for `load` kilograms out of `payload`;
// loads above the payload go on past the laden value. A payload of 0 keeps the empty value.
fixed ByLoad(fixed empty, fixed laden, uint16_t load, uint16_t payload) {
  LinearMap map;
  map.Init(0, payload, empty, laden);
  map.SetInput(load);
  return map.y;
}

// A throttle state moved toward its command by at most `rate` percent per second.
fixed Chase(fixed state, fixed command, fixed rate, fixed dt) {
  return WrapAdd(state, FixedMul(Clamp(WrapSub(command, state), rate), dt));
}

// Into [0, 2048.0]: the map repeats, and 2048.0 itself is kept.
fixed WrapToWorld(fixed value) {
  if (value < 0) {
    const int64_t turns = (-static_cast<int64_t>(value) + kWorldSize - 1) / kWorldSize;
    return static_cast<fixed>(value + turns * kWorldSize);
  }
  if (value > kWorldSize) {
    const int64_t turns = (static_cast<int64_t>(value) - 1) / kWorldSize;
    return static_cast<fixed>(value - turns * kWorldSize);
  }
  return value;
}

}  // namespace

Chopper::Chopper(const ChopperDef* chopperDefinition) : definition(chopperDefinition) {}

Chopper::~Chopper() { weaponSlots.DeleteAll(); }

bool Chopper::Reset() {
  velocity = Vector3();
  forwardState = strafeState = turnState = 0;
  SetHeading(0);  // the rotation follows, so a reused chopper does not fly its old course
  turnSpeed = 0;
  groundHeight = 0;
  engineRunning = 1;
  onGround = 1;
  crashed = 0;
  damage = 0;
  fuel = definition->fuelCapacity;
  passengers = 0;
  selectedWeapon = 0;
  forwardCommand = strafeCommand = turnCommand = altitudeCommand = 0;
  return true;
}

uint16_t Chopper::CurrentLoad() const {
  uint16_t load = 0;
  for (const WeaponSlot* slot : weaponSlots) {
    const WeaponDef* weapon = slot->definition;
    // A weapon without shots per load can hold none; it weighs nothing rather than dividing by 0.
    if (weapon->noOfItems == 0) continue;
    const uint32_t term = static_cast<uint32_t>(weapon->weight) * slot->ShotsLeft() / weapon->noOfItems;
    load = static_cast<uint16_t>(load + static_cast<uint16_t>(term));
  }
  return load;
}

Chopper::Figures Chopper::CurrentFigures() const {
  const ChopperDef& d = *definition;
  const uint16_t load = CurrentLoad();
  Figures figures;
  figures.maxForward = ByLoad(d.forwardSpeed[0], d.forwardSpeed[1], load, d.payload);
  figures.maxReverse = ByLoad(d.reverseSpeed[0], d.reverseSpeed[1], load, d.payload);
  figures.maxStrafe = ByLoad(d.strafeSpeed[0], d.strafeSpeed[1], load, d.payload);
  figures.climbRate = ByLoad(d.climbRate[0], d.climbRate[1], load, d.payload);
  figures.turnRate = static_cast<Angle>(ByLoad(d.turnRate[0], d.turnRate[1], load, d.payload));
  figures.acceleration = ByLoad(d.acceleration[0], d.acceleration[1], load, d.payload);
  figures.burnFactor = ByLoad(d.fuelUse[0], d.fuelUse[1], load, d.payload);
  return figures;
}

void Chopper::Update(uint32_t /*elapsedMs*/, fixed dt) {
  const Figures f = CurrentFigures();
  if (engineRunning) {
    // Height: the error itself is the climb speed (a gain of 1 per second), up to the climb rate.
    const fixed wantedHeight = WrapAdd(altitudeCommand, groundHeight);
    velocity.y = Clamp(WrapSub(wantedHeight, transform.m[10]), f.climbRate);

    forwardState = Chase(forwardState, forwardCommand, f.acceleration, dt);
    velocity.z = FixedMul(FixedMul(forwardState, kOnePercent), forwardState < 0 ? f.maxReverse : f.maxForward);

    const fixed sideRate = static_cast<fixed>(static_cast<uint32_t>(f.acceleration) * 4u);
    strafeState = Chase(strafeState, strafeCommand, sideRate, dt);
    velocity.x = FixedMul(FixedMul(strafeState, kOnePercent), f.maxStrafe);

    if (turnState > -kTurnDeadZone && turnState < kTurnDeadZone) turnState = 0;
    turnState = Chase(turnState, turnCommand, sideRate, dt);
    if (turnState == 0) {
      turnSpeed = 0;
    } else {
      const fixed magnitude = turnState < 0 ? WrapNeg(turnState) : turnState;
      const uint32_t fraction = static_cast<uint32_t>(FixedMul(magnitude, kOnePercent));
      const int32_t speed = static_cast<int32_t>((fraction * f.turnRate) >> 16);
      turnSpeed = static_cast<int16_t>(turnState < 0 ? -speed : speed);
    }

    if (fuel != 0) {
      fuel = WrapSub(fuel, FixedMul(f.burnFactor, dt));
      if (fuel <= 0) {
        fuel = 0;
        EngineStop();
      }
    }
  } else {
    // A dead engine: the chopper falls, still drifting and spinning as it was.
    velocity.y = WrapSub(velocity.y, static_cast<fixed>(static_cast<uint32_t>(dt) * kGravity));
  }

  const Vector3 step(FixedMul(velocity.x, dt), FixedMul(velocity.y, dt), FixedMul(velocity.z, dt));
  const Vector3 moved = transform.RotateVector(step);
  Vector3 position = GetPosition();
  position.x = WrapToWorld(WrapAdd(position.x, moved.x));
  position.y = WrapAdd(position.y, moved.y);
  position.z = WrapToWorld(WrapAdd(position.z, moved.z));
  SetPosition(position);

  if (turnState != 0) {
    const uint32_t magnitude = static_cast<uint32_t>(turnSpeed < 0 ? -turnSpeed : turnSpeed);
    const uint16_t turned = static_cast<uint16_t>((magnitude * static_cast<uint32_t>(dt)) >> 16);
    SetHeading(static_cast<Angle>(turnState > 0 ? heading + turned : heading - turned));
  }

  if (world != nullptr) GroundContact(world->GroundHeight(position.x, position.z), dt);
}

void Chopper::SetHeading(Angle newHeading) {
  heading = newHeading;
  transform.FromYawPitchRoll(heading, 0, 0);
}

void Chopper::GroundContact(fixed height, fixed dt) {
  groundHeight = height;
  const fixed clearance = WrapSub(transform.m[10], height);
  if (clearance > kAirborneClearance) {
    onGround = 0;
    crashed = 0;
    return;
  }
  if (!onGround) {
    // Throttles compare signed: flying backwards or sideways to the left never makes it hard.
    const bool hard = clearance <= WrapNeg(FixedMul(kHardSinkRate, dt)) || forwardState > kHardThrottle ||
                      strafeState > kHardThrottle || turnState > kHardThrottle;
    if (hard && !crashed) {
      Crash();
    } else {
      Land();
    }
  }
  // Standing on the ground: no sinking in, no drift, and the pilot starts from neutral. The
  // altitude command stays, so the chopper lifts off as soon as it asks for height.
  Vector3 position = GetPosition();
  position.y = height;
  SetPosition(position);
  velocity = Vector3();
  turnSpeed = 0;
  forwardState = strafeState = turnState = 0;
  forwardCommand = strafeCommand = turnCommand = 0;
}

void Chopper::Refuel() { fuel = definition->fuelCapacity; }

bool Chopper::BoardPassenger() {
  if (passengers >= definition->passengers) return false;
  ++passengers;
  return true;
}

WarningLevel Chopper::GetWarningLevel(uint32_t kind) const {
  switch (kind) {
    case WarningAltitude: {
      const fixed above = WrapSub(transform.m[10], groundHeight);
      if (above < IntToFixed(5)) return WarningDanger;  // a negative height is below 5 too
      return above < IntToFixed(20) ? WarningCaution : WarningNormal;
    }
    case WarningFuel:
      if (fuel < IntToFixed(15)) return WarningDanger;
      return fuel < IntToFixed(60) ? WarningCaution : WarningNormal;
    case WarningDamage:
      if (damage > 90) return WarningDanger;
      return damage > 70 ? WarningCaution : WarningNormal;
    default:
      return WarningNormal;
  }
}

void Chopper::EngineStop() {
  engineRunning = 0;
  if (onGround && world != nullptr) world->MissionEnded();
}

void Chopper::Land() {
  onGround = 1;
  if (world != nullptr) world->ChopperLanded();
}

void Chopper::Crash() {
  crashed = 1;
  onGround = 1;
  engineRunning = 0;
  if (world != nullptr) world->ChopperCrashed();
}
