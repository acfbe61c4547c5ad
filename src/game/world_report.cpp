#include "game/world_report.h"

#include <cstdio>

#include "content/mission_def.h"
#include "content/weapon_def.h"
#include "core/wide_string.h"
#include "game/chopper.h"
#include "game/game_world.h"
#include "game/messages.h"
#include "game/mission_instance.h"
#include "game/weapons.h"

namespace {

// A 16.16 value with two decimals.
std::string Decimal(fixed value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value / 65536.0);
  return text;
}

constexpr const char* kGoalTypes[] = {"Destroy", "KeepAlive", "Rescue"};
constexpr const char* kGoalStatus[] = {"pending", "achieved", "failed"};

}  // namespace

std::string DescribeWorld(const GameWorld& world, const MessageQueue* queue) {
  std::string json;
  if (const Chopper* c = world.chopper) {
    const Vector3 p = c->GetPosition();
    const WeaponSlot* slot = c->CurrentSlot();
    json += "\"chopper\":{\"pos\":[" + Decimal(p.x) + "," + Decimal(p.y) + "," + Decimal(p.z) + "]";
    json += ",\"heading\":" + std::to_string(c->heading * 360 / 65536);
    json += ",\"speed\":" + std::to_string(FixedMul(c->velocity.z, 235929) >> 16);  // km/h, as the HUD shows it
    json += ",\"fuel\":" + Decimal(c->fuel);
    json += ",\"onGround\":" + std::to_string(c->onGround);
    json += ",\"engineRunning\":" + std::to_string(c->engineRunning);
    json += ",\"crashed\":" + std::to_string(c->crashed);
    json += ",\"passengers\":" + std::to_string(c->passengers);
    json += ",\"weapon\":" + (slot != nullptr ? JsonString(slot->definition->name) : std::string("null"));
    json += ",\"shots\":" + std::to_string(slot != nullptr ? slot->ShotsLeft() : 0) + "},";
  }
  json += "\"goals\":[";
  if (const MissionInstance* mission = world.mission) {
    for (uint16_t i = 0; i < mission->goals.Count(); ++i) {
      const GoalState& goal = *mission->goals[i];
      const uint32_t type = goal.definition->goalType;
      if (i != 0) json += ",";
      json += "{\"type\":\"" + std::string(type < 3 ? kGoalTypes[type] : "Other") + "\"";
      json += ",\"object\":" + JsonString(goal.definition->objectName);
      json += ",\"status\":\"" + std::string(goal.status < 3 ? kGoalStatus[goal.status] : "?") + "\"";
      json += ",\"timeLeft\":" + std::to_string(goal.timeLeft) + "}";
    }
  }
  json += "],\"messages\":[";
  if (queue != nullptr) {
    for (uint16_t i = 0; i < queue->entries.Count(); ++i) {
      if (i != 0) json += ",";
      json += JsonString(queue->entries[i]->text);
    }
  }
  json += "],\"missionOver\":" + std::to_string(world.missionOver);
  return json;
}
