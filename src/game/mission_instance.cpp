#include "game/mission_instance.h"

#include "content/mission_def.h"
#include "content/scene_object.h"

MissionInstance::MissionInstance(const MissionDef* mission) : definition(mission) {
  for (const GoalDef* goalDef : mission->goals) {
    auto* goal = new GoalState;
    goal->definition = goalDef;
    goal->timeLeft = goalDef->timeLimit;
    if (!goals.Append(goal)) delete goal;
  }
}

MissionInstance::~MissionInstance() { goals.DeleteAll(); }

uint16_t MissionInstance::ResolveObjects(const MissionScene& scene) {
  uint16_t missing = 0;
  for (GoalState* goal : goals) {
    const char16_t* name = goal->definition->objectName;
    goal->object = name != nullptr ? static_cast<SceneObject*>(scene.FindRoot(name)) : nullptr;
    if (goal->object == nullptr) {
      goal->status = GoalAchieved;
      ++missing;
    }
  }
  return missing;
}

void MissionInstance::Update(uint32_t elapsedMs) {
  for (GoalState* goal : goals) {
    if (goal->status != GoalPending || goal->object == nullptr) continue;
    const bool alive = goal->object->alive != 0;
    const uint32_t type = goal->definition->goalType;
    if (goal->timeLeft != 0) {
      goal->timeLeft = goal->timeLeft > elapsedMs ? goal->timeLeft - elapsedMs : 0;
      if (goal->timeLeft == 0) {
        // Time is up: only keeping an object alive succeeds by waiting.
        const bool achieved = type == GoalKeepAlive ? alive : !alive;
        goal->status = achieved ? GoalAchieved : GoalFailed;
      }
    }
    if (!alive) {
      if (type == GoalKeepAlive) {
        goal->status = GoalFailed;
      } else if (type == GoalDestroy || type == GoalRescue) {
        goal->status = GoalAchieved;
      }
    }
  }
}

bool MissionInstance::IsComplete() const {
  for (const GoalState* goal : goals) {
    if (goal->status == GoalAchieved) continue;
    const bool waitingKeepAlive =
        goal->status == GoalPending && goal->definition->goalType == GoalKeepAlive && goal->timeLeft == 0;
    if (!waitingKeepAlive) return false;
  }
  return true;
}

bool MissionInstance::IsFailed() const {
  for (const GoalState* goal : goals) {
    if (goal->status == GoalFailed) return true;
  }
  return false;
}
