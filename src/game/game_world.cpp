#include "game/game_world.h"

#include <cstdio>

#include "content/mission_def.h"
#include "content/mission_loading.h"
#include "content/scene_object.h"
#include "content/weapon_def.h"
#include "core/wide_string.h"
#include "game/chopper.h"
#include "game/effects.h"
#include "game/flight_recorder.h"
#include "game/game_sounds.h"
#include "game/messages.h"
#include "game/mission_instance.h"
#include "game/weapons.h"
#include "render/terrain_map.h"

namespace {

constexpr Angle kHalfTurn = 32768;
// A landing counts as at the helipad when strictly within 20.0 m of it on both x and z.
constexpr fixed kHelipadReach = IntToFixed(20);

fixed Distance(fixed a, fixed b) {
  const int64_t d = static_cast<int64_t>(a) - b;
  return static_cast<fixed>(d < 0 ? (-d > INT32_MAX ? INT32_MAX : -d) : (d > INT32_MAX ? INT32_MAX : d));
}

}  // namespace

GameWorld::GameWorld(MissionInstance* missionInstance, Chopper* player, GameSounds* gameSounds)
    : sounds(gameSounds), mission(missionInstance), chopper(player) {
  if (chopper != nullptr) chopper->world = this;
}

GameWorld::~GameWorld() {
  // Shots first: their smoke trails live in the effect list and follow their transforms.
  for (Projectile* projectile : projectiles) delete projectile;
  projectiles.Release();
  delete terrain;
  delete effects;
  delete objects;
  delete mission;
  delete chopper;
}

bool GameWorld::SetUp(MessageQueue* queue) {
  messageQueue = queue;
  if (mission == nullptr || chopper == nullptr) return true;
  const MissionDef& definition = *mission->definition;

  terrain = new TerrainMap;
  terrain->Load(definition.pack, definition.voxelHeight, definition.voxelTexture, definition.skyBackdrop);

  objects = new MissionScene;
  effects = new EffectList;
  LoadMissionMeshes(definition, *objects);
  LoadMissionObjects(definition, *objects);

  if (mission->ResolveObjects(*objects) != 0) {
    for (const GoalState* goal : mission->goals) {
      if (goal->object != nullptr) continue;
      const char16_t* name = goal->definition->objectName;
      std::fprintf(stderr, "kestrel-run: mission \"%s\": goal object \"%s\" is not among its objects; the goal counts as achieved\n",
                   Utf8FromWide(definition.name).c_str(), Utf8FromWide(name != nullptr ? name : u"").c_str());
    }
  }

  // The chopper stands on its helipad facing the other way round; it was reset on the ground,
  // so this only sets it down there, without a landing.
  chopper->SetHeading(static_cast<Angle>(chopper->heading + kHalfTurn));
  const fixed height = GroundHeight(definition.helipad.x, definition.helipad.z);
  chopper->SetPosition(Vector3(definition.helipad.x, height, definition.helipad.z));
  chopper->GroundContact(height, kFixedOne);

  PostMessage(MessageClearedForTakeoff);
  return true;
}

bool GameWorld::Update(uint32_t elapsedMs, fixed dt, bool slowBlink, bool fastBlink) {
  if (mission == nullptr || chopper == nullptr) return true;  // handed over: nothing left to play
  TouchObjects();

  flightCommands_[0] = chopper->forwardCommand;
  flightCommands_[1] = chopper->strafeCommand;
  flightCommands_[2] = chopper->turnCommand;
  flightCommands_[3] = chopper->altitudeCommand;
  chopper->Update(elapsedMs, dt);

  if (sounds != nullptr) {
    sounds->SetEngine(chopper->engineRunning != 0);
    if (fastBlink) {
      const WarningLevel fuelLevel = chopper->GetWarningLevel(WarningFuel);
      if (fuelLevel == WarningDanger) {
        sounds->PlayOnce(SoundFuelCritical);
      } else if (fuelLevel == WarningCaution) {
        sounds->PlayOnce(SoundFuelLow);
      }
      if (chopper->GetWarningLevel(WarningAltitude) != WarningNormal) sounds->PlayOnce(SoundAltitude);
    }
  }

  MoveProjectiles(dt);
  KeepObjectsOnGround();
  if (effects != nullptr) effects->Update(elapsedMs, dt);
  mission->Update(elapsedMs);

  if (mission->IsFailed()) {
    MissionEnded();
  } else if (mission->IsComplete() && slowBlink) {
    PostMessage(MessageMissionComplete);
  }

  if (recorder_ != nullptr) recorder_->Record(*this, elapsedMs, dt);
  postedMessages_.clear();
  return true;
}

void GameWorld::ReleaseMissionAndChopper() {
  if (chopper != nullptr) chopper->world = nullptr;
  mission = nullptr;
  chopper = nullptr;
}

void GameWorld::PostMessage(uint32_t id) {
  const char16_t* text = MessageText(id);
  if (text == nullptr) return;
  postedMessages_.push_back(static_cast<uint8_t>(id));
  if (messageQueue == nullptr) return;
  char16_t formatted[MessageEntry::kMaxLength + 1];
  if (id == MessageWeaponSelected) {
    const WeaponSlot* slot = chopper != nullptr ? chopper->CurrentSlot() : nullptr;
    FormatWeaponSelected(slot != nullptr ? slot->definition->name : u"", formatted, MessageEntry::kMaxLength + 1);
    text = formatted;
  }
  messageQueue->Add(text);
  PlaySound(SoundMessage);
}

void GameWorld::ChopperLanded() {
  const Vector3 position = chopper->GetPosition();
  const Vector3& helipad = mission->definition->helipad;
  if (Distance(position.x, helipad.x) >= kHelipadReach || Distance(position.z, helipad.z) >= kHelipadReach) return;
  if (chopper->passengers != 0) {
    chopper->UnloadPassengers();
    PostMessage(MessagePassengersOut);
  }
  if (mission->IsComplete()) MissionEnded();
}

void GameWorld::ChopperCrashed() {
  MissionEnded();
  PlaySound(SoundExplosion);
}

fixed GameWorld::GroundHeight(fixed x, fixed z) const { return terrain != nullptr ? terrain->GroundHeight(x, z) : 0; }

void GameWorld::PlaySound(uint32_t slot) {
  if (sounds != nullptr) sounds->PlayOnce(static_cast<GameSoundSlot>(slot));
}
