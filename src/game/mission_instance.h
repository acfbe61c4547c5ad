// One mission being played: its definition and the live state of each of its goals.
//
// Made from the chosen MissionDef before the game starts, owned by the screen that holds it and
// handed on with the chopper: selection, game, debriefing. A goal watches one placed object's
// alive flag: destroy it, keep it alive, or take the person aboard, optionally within a time.
#pragma once

#include <cstdint>

#include "core/ptr_array.h"

class GoalDef;
class MissionDef;
class MissionScene;
class SceneObject;

enum GoalStatus : uint32_t { GoalPending = 0, GoalAchieved = 1, GoalFailed = 2 };

struct GoalState {
  const GoalDef* definition = nullptr;
  uint32_t status = GoalPending;
  uint32_t timeLeft = 0;  // milliseconds; 0 when untimed or run out
  SceneObject* object = nullptr;
};

class MissionInstance {
 public:
  // One pending goal per goal of the definition, in its order, with its full time.
  explicit MissionInstance(const MissionDef* mission);
  ~MissionInstance();
  MissionInstance(const MissionInstance&) = delete;
  MissionInstance& operator=(const MissionInstance&) = delete;

  // Finds every goal's object among the scene's roots. A goal whose object is not there has
  // nothing to watch and counts as achieved, so that a slip in the content cannot make the
  // mission impossible to finish. Returns how many goals found no object.
  uint16_t ResolveObjects(const MissionScene& scene);
  // The goal rules for `elapsedMs` more of play.
  void Update(uint32_t elapsedMs);
  // Every goal achieved, or an untimed (or timed-out) KeepAlive goal still pending. True
  // without goals.
  bool IsComplete() const;
  bool IsFailed() const;

  const MissionDef* definition;
  PtrArray<GoalState*> goals;  // owned
};
