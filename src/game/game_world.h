// One running mission: the landscape, the placed objects, the shots in flight, the effects, the
// goals, the player's chopper and the sounds.
//
// The game screen builds the world when it is entered and updates it once per frame; the world
// advances the chopper, resolves touches and hits, keeps the objects on the ground, judges the
// goals, and turns every event into a message on the message line and usually a sound. It needs
// no window and no clock: tests run a whole mission on a world of their own.
//
// The rules are spread over files by subject: game_world.cpp (set-up, the tick, landing and
// crash), game_world_objects.cpp (touches and the terrain rule), game_world_projectiles.cpp
// (launching, flight and hits).
#pragma once

#include <cstdint>
#include <vector>

#include "core/fixed.h"
#include "core/ptr_array.h"

class Chopper;
class EffectList;
class FlightRecorder;
class GameSounds;
class MessageQueue;
class MissionInstance;
class MissionScene;
class Projectile;
class SceneObject;
class TerrainMap;

// An object's half size for touches and hits: its mesh's bounding radius (1.0 without a mesh)
// times 0.75 for helicopters, vehicles and structures, times 3 for fuel and people.
fixed HitRadius(const SceneObject& object);

class GameWorld {
 public:
  // The world owns the mission and the chopper until they are released; the sounds stay the
  // screen's (null: silent). The chopper reports its landings and crashes to this world.
  GameWorld(MissionInstance* mission, Chopper* chopper, GameSounds* sounds);
  // Deletes the shots, the landscape, the effects, the scene, and the mission and chopper
  // still held.
  ~GameWorld();
  GameWorld(const GameWorld&) = delete;
  GameWorld& operator=(const GameWorld&) = delete;

  // Loads the landscape, the meshes and the objects, finds the goals' objects and puts the
  // chopper on its helipad. Messages go to `queue` (null: they are dropped). Always true.
  bool SetUp(MessageQueue* queue);
  // One tick of `elapsedMs` (dt seconds). The blink flags are bits 9 and 8 of the tick time.
  bool Update(uint32_t elapsedMs, fixed dt, bool slowBlink, bool fastBlink);
  // Before the hand-over to the debriefing: the world stops owning them.
  void ReleaseMissionAndChopper();

  // The message's text on the message line, with the message sound. Ids out of range do nothing.
  void PostMessage(uint32_t id);
  // A shot the chopper fired: the world owns it from now on (and has deleted it when false:
  // no memory to keep it).
  bool AddProjectile(Projectile* projectile);
  void MissionEnded() { missionOver = 1; }
  // A soft touchdown: near the helipad the passengers get out, and a complete mission ends.
  void ChopperLanded();
  void ChopperCrashed();
  // The terrain height (16.16 metres) at (x, z); 0 without a usable landscape.
  fixed GroundHeight(fixed x, fixed z) const;

  // From now on a line of the flight recorder after every update (null: none). Not owned.
  void SetRecorder(FlightRecorder* recorder) { recorder_ = recorder; }
  // The message ids posted since the last update ended (by the controls, then by the update).
  const std::vector<uint8_t>& postedMessages() const { return postedMessages_; }
  // What the chopper's flight step read this update: forward, strafe, turn, altitude.
  const fixed* flightCommands() const { return flightCommands_; }

  PtrArray<Projectile*> projectiles;  // owned
  MissionScene* objects = nullptr;    // owned
  EffectList* effects = nullptr;      // owned
  GameSounds* sounds;
  MissionInstance* mission;  // owned until released
  Chopper* chopper;          // owned until released
  TerrainMap* terrain = nullptr;  // owned
  MessageQueue* messageQueue = nullptr;
  uint8_t missionOver = 0;

 private:
  void PlaySound(uint32_t slot);
  // Update steps (game_world_objects.cpp and game_world_projectiles.cpp).
  void TouchObjects();
  void KeepObjectsOnGround();
  void MoveProjectiles(fixed dt);
  // True when the shot hit something and is gone.
  bool TestHit(Projectile* projectile, fixed step);
  void Hit(SceneObject& object, const Projectile& projectile);
  void RemoveProjectile(uint16_t index);

  FlightRecorder* recorder_ = nullptr;
  std::vector<uint8_t> postedMessages_;
  fixed flightCommands_[4] = {};
};
