#include "game/flight_recorder.h"

#include "content/scene_object.h"
#include "game/chopper.h"
#include "game/game_world.h"
#include "game/mission_instance.h"
#include "game/weapons.h"

namespace {

// Appends `"key": [a, b, ...]` with its separator.
template <typename T, size_t N>
void AppendArray(std::string& out, const char* key, const T (&values)[N]) {
  out += ", \"";
  out += key;
  out += "\": [";
  for (size_t i = 0; i < N; ++i) {
    if (i != 0) out += ", ";
    out += std::to_string(values[i]);
  }
  out += ']';
}

void AppendNumber(std::string& out, const char* key, int64_t value) {
  out += ", \"";
  out += key;
  out += "\": ";
  out += std::to_string(value);
}

}  // namespace

std::string FlightTraceLine(const GameWorld& world, uint32_t clockMs, uint32_t elapsedMs, fixed dt) {
  std::string line = "{\"t\": " + std::to_string(clockMs);
  AppendNumber(line, "ms", elapsedMs);
  AppendNumber(line, "dt", dt);
  const fixed* commands = world.flightCommands();
  const fixed cmd[4] = {commands[0], commands[1], commands[2], commands[3]};
  AppendArray(line, "cmd", cmd);

  if (const Chopper* c = world.chopper) {
    const Vector3 p = c->GetPosition();
    const fixed pos[3] = {p.x, p.y, p.z};
    const fixed vel[3] = {c->velocity.x, c->velocity.y, c->velocity.z};
    const fixed state[3] = {c->forwardState, c->strafeState, c->turnState};
    const int flags[3] = {c->onGround, c->engineRunning, c->crashed};
    AppendArray(line, "pos", pos);
    AppendArray(line, "vel", vel);
    AppendNumber(line, "heading", c->heading);
    AppendNumber(line, "turnSpeed", c->turnSpeed);
    AppendArray(line, "state", state);
    AppendNumber(line, "fuel", c->fuel);
    AppendNumber(line, "ground", c->groundHeight);
    AppendNumber(line, "load", c->CurrentLoad());
    AppendArray(line, "flags", flags);
    AppendNumber(line, "passengers", c->passengers);
    AppendNumber(line, "weapon", c->selectedWeapon);
    line += ", \"shots\": [";
    for (uint16_t i = 0; i < c->weaponSlots.Count(); ++i) {
      if (i != 0) line += ", ";
      line += std::to_string(c->weaponSlots[i]->ShotsLeft());
    }
    line += ']';
  }

  line += ", \"goals\": [";
  if (const MissionInstance* mission = world.mission) {
    for (uint16_t i = 0; i < mission->goals.Count(); ++i) {
      const GoalState& goal = *mission->goals[i];
      if (i != 0) line += ", ";
      line += '[' + std::to_string(goal.status) + ", " + std::to_string(goal.timeLeft) + ']';
    }
  }
  line += "], \"messages\": [";
  for (size_t i = 0; i < world.postedMessages().size(); ++i) {
    if (i != 0) line += ", ";
    line += std::to_string(world.postedMessages()[i]);
  }
  line += ']';

  AppendNumber(line, "projectiles", world.projectiles.Count());
  uint32_t alive = 0;
  if (world.objects != nullptr) {
    for (const SceneNode* node : world.objects->nodes) alive += node->alive;
  }
  AppendNumber(line, "alive", alive);
  AppendNumber(line, "missionOver", world.missionOver);
  line += '}';
  return line;
}

void FlightRecorder::Record(const GameWorld& world, uint32_t elapsedMs, fixed dt) {
  if (output_ == nullptr) return;
  const std::string line = FlightTraceLine(world, clock_ != nullptr ? *clock_ : 0, elapsedMs, dt);
  std::fputs(line.c_str(), output_);
  std::fputc('\n', output_);
  std::fflush(output_);
}
