// Shots in flight: launching them from the chopper, moving them in a straight line, and what
// they hit. Machine-gun bullets fly at full speed from the muzzle; rockets start at rest and
// gain 200 km/h every second up to their weapon's speed.
#include "content/scene_object.h"
#include "content/weapon_def.h"
#include "game/chopper.h"
#include "game/effects.h"
#include "game/game_sounds.h"
#include "game/game_world.h"
#include "game/messages.h"
#include "game/weapons.h"

namespace {

constexpr fixed kRocketAcceleration = 3640800;  // 55.554 m/s^2: 200 km/h gained per second
constexpr Angle kLaunchDip = 910;               // 5 degrees below the horizon

// Rockets leave from the right and the left pylon in turn. The turn belongs to the program, not
// to a mission: the first rocket after start goes right, and a new mission carries on the
// alternation where the last one left it.
bool nextRocketGoesLeft = false;

}  // namespace

bool GameWorld::AddProjectile(Projectile* projectile) {
  if (!projectiles.Append(projectile)) {
    delete projectile;
    return false;
  }
  const WeaponDef& weapon = *projectile->definition;
  Vector3 launch = chopper->GetPosition();
  const bool rocket = weapon.weaponType == WeaponRocket;
  if (weapon.weaponType == WeaponMachineGun) {
    PlaySound(SoundMachineGun);
    PostMessage(MessageMachineGunFired);
  } else if (rocket) {
    PlaySound(weapon.guidance != GuidanceNone ? SoundGuidedRocket : SoundRocket);
    // Two metres to the side along the chopper's right axis.
    const fixed* right = chopper->transform.m;
    const fixed sign = nextRocketGoesLeft ? -2 : 2;
    nextRocketGoesLeft = !nextRocketGoesLeft;
    launch = Sum(launch, Vector3(right[0] * sign, right[1] * sign, right[2] * sign));
    PostMessage(MessageRocketAway);
  }

  // Straight ahead of the chopper, dipped 5 degrees whatever its attitude.
  const fixed* forward = chopper->transform.m + 6;
  projectile->transform.FromDirection(Vector3(forward[0], WrapNeg(FixedSin(kLaunchDip)), forward[2]));
  projectile->transform.SetTranslation(launch);
  projectile->distance = 0;
  projectile->target = nullptr;
  projectile->speed = weapon.weaponType == WeaponMachineGun ? weapon.speed : 0;
  // The trail starts where the rocket does.
  if (rocket && effects != nullptr) projectile->smoke = effects->Add(EffectSmoke, &projectile->transform);
  return true;
}

void GameWorld::MoveProjectiles(fixed dt) {
  for (uint16_t i = 0; i < projectiles.Count();) {
    Projectile* projectile = projectiles[i];
    const WeaponDef& weapon = *projectile->definition;
    if (projectile->speed < weapon.speed) {
      const fixed faster = WrapAdd(projectile->speed, FixedMul(kRocketAcceleration, dt));
      projectile->speed = faster < weapon.speed ? faster : weapon.speed;
    }
    const fixed step = FixedMul(projectile->speed, dt);

    // The hit test looks along this tick's path from where the shot is now.
    if (TestHit(projectile, step)) {
      RemoveProjectile(i);
      continue;
    }

    const fixed* forward = projectile->transform.m + 6;
    const Vector3 movement(FixedMul(forward[0], step), FixedMul(forward[1], step), FixedMul(forward[2], step));
    if (movement.x != 0 || movement.y != 0 || movement.z != 0) projectile->transform.FromDirection(movement);
    projectile->transform.Translate(movement);
    projectile->distance = WrapAdd(projectile->distance, step);

    const Vector3 at = projectile->transform.GetTranslation();
    if (projectile->distance > weapon.range || at.y < GroundHeight(at.x, at.z)) {
      RemoveProjectile(i);  // out of range or into the ground: it just vanishes
      continue;
    }
    ++i;
  }
}

bool GameWorld::TestHit(Projectile* projectile, fixed step) {
  if (objects == nullptr) return false;
  // Object positions in the shot's frame: x right, y up, z ahead.
  Matrix34 toShot = projectile->transform;
  toShot.Inverse();
  // The nearest object ahead within this tick's step whose box the path crosses; on equal
  // distances the earlier object in the list.
  SceneObject* nearest = nullptr;
  fixed nearestZ = 0;
  for (SceneNode* node : objects->roots) {
    auto* object = static_cast<SceneObject*>(node);
    if (!object->alive || !object->active) continue;
    if (object->objectClass == ClassHuman || object->objectClass == ClassFuel) continue;
    const Vector3 at = toShot.TransformPoint(object->world.GetTranslation());
    if (at.z < 0 || at.z > step) continue;
    const fixed r = HitRadius(*object);
    if (!(WrapNeg(r) < at.x && at.x < r && WrapNeg(r) < at.y && at.y < r)) continue;
    if (nearest == nullptr || at.z < nearestZ) {
      nearest = object;
      nearestZ = at.z;
    }
  }
  if (nearest == nullptr) return false;
  Hit(*nearest, *projectile);
  return true;
}

void GameWorld::Hit(SceneObject& object, const Projectile& projectile) {
  object.damage = static_cast<uint16_t>(object.damage + projectile.definition->payload);
  if (object.damage > object.maxDamage) object.damage = object.maxDamage;
  if (object.damage >= object.maxDamage) {
    object.alive = 0;
    if (effects != nullptr) effects->Add(EffectExplosion, &object.world);  // it smokes from now on
    PlaySound(SoundExplosion);
    PostMessage(MessageTargetDestroyed);
  } else {
    PlaySound(SoundHit);
    PostMessage(MessageTargetHit);
  }
}

void GameWorld::RemoveProjectile(uint16_t index) {
  Projectile* projectile = projectiles.RemoveAt(index);
  if (projectile->smoke != nullptr && effects != nullptr) effects->Remove(projectile->smoke);
  delete projectile;
}
