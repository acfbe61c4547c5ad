// The placed things of a mission (helicopters, vehicles, buildings, fuel drums, people) and the
// scene that holds them together with the mission's meshes.
//
// An object is read straight from one section of the mission's list file: there is no separate
// definition record. Its section names a mesh of the scene's library, optionally a "Parent"
// created earlier, its position and orientation, and the game attributes below.
#pragma once

#include <cstdint>

#include "content/ini.h"
#include "content/mesh_library.h"
#include "content/scene_graph.h"
#include "core/fixed.h"

// Word codes of the object keys; any word not listed gives the last code of its key.
enum ObjectClass : uint32_t {
  ClassHelicopter = 0,
  ClassVehicle = 1,
  ClassStructure = 2,
  ClassFuel = 3,
  ClassHuman = 4,
  ClassOther = 5
};
enum ObjectRole : uint32_t { RoleEnemy = 0, RoleFriend = 1, RoleOther = 2 };
enum ObjectTarget : uint32_t {
  ObjectTargetAir = 0,
  ObjectTargetGround = 1,
  ObjectTargetAll = 2,
  ObjectTargetOther = 3
};
enum ObjectWeapon : uint32_t {
  ObjectWeaponMachinegun = 0,
  ObjectWeaponCannon = 1,
  ObjectWeaponRocket = 2,
  ObjectWeaponGuidedRocket = 3,
  ObjectWeaponRadar = 4,
  ObjectWeaponOther = 5
};
enum ObjectAttitude : uint32_t { AttitudeAggressive = 0, AttitudeDefensive = 1, AttitudeOther = 2 };

class SceneObject : public SceneNode {
 public:
  SceneObject(SceneGraph* owner, const char16_t* objectName) : SceneNode(owner, objectName) {}
  ~SceneObject() override = default;

  // Keeps the object on the terrain whose height under it is `height` (16.16 metres): a
  // helicopter only remembers how high it flies above it; vehicles, structures, fuel and people
  // stand on it, raised by their heightAboveGround (their children follow); others stay put.
  void SetGround(fixed height);

  fixed maxSpeed = 50 * 18204;  // m/s (the file gives km/h)
  fixed range = 0;
  fixed heightAboveGround = 0;  // from the section's position
  fixed groundHeight = 0;       // terrain height under the object at the last tick
  uint16_t damage = 0;          // taken in play
  uint16_t maxDamage = 100;
  uint32_t objectClass = ClassStructure;
  uint32_t target = ObjectTargetOther;
  uint32_t role = RoleOther;
  uint32_t weapon = ObjectWeaponOther;
  uint32_t attitude = AttitudeOther;
};

// The objects of one mission with its meshes. The objects go before the meshes they point to.
class MissionScene : public SceneGraph {
 public:
  MissionScene() = default;
  ~MissionScene() override;

  MeshLibrary meshes;
};

// The object of one section of the mission's list file, added to `scene`; null (and nothing
// made) when the section has no "Mesh" or the library has no mesh of that name.
SceneObject* CreateSceneObject(MissionScene& scene, const IniSection& section);
