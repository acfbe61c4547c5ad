// One mission as a pack describes it: the texts of the selection screen, the start point, the
// landscape and sky files, the goals, and the names of its meshes and objects.
//
// The mission's objects are sections of the same list file and its meshes are sections of the
// pack's "meshes.ini", so the record remembers both the pack and the list file.
#pragma once

#include <cstdint>

#include "content/ini.h"
#include "core/ptr_array.h"
#include "core/vector3.h"

class ContentPack;

enum GoalType : uint32_t { GoalDestroy = 0, GoalKeepAlive = 1, GoalRescue = 2 };

class GoalDef {
 public:
  GoalDef() = default;
  ~GoalDef();
  GoalDef(const GoalDef&) = delete;
  GoalDef& operator=(const GoalDef&) = delete;

  char16_t* objectName = nullptr;  // owned: a placed object of the mission
  uint32_t goalType = GoalDestroy;
  uint32_t timeLimit = 0;  // milliseconds; 0: none
};

class MissionDef {
 public:
  MissionDef(const ContentPack* pack, const char16_t* listFileName);
  ~MissionDef();
  MissionDef(const MissionDef&) = delete;
  MissionDef& operator=(const MissionDef&) = delete;

  // Fills the record from its section. "Goal", "Mesh" and "Object" keys may repeat: each adds.
  void ReadSection(const IniSection& section);

  char16_t name[kIniNameSize] = u"Unknown";
  char16_t* description = nullptr;
  char16_t* hint = nullptr;
  Vector3 helipad;  // start point on the ground (x, 0, z), metres
  const ContentPack* pack;
  char16_t* listFile = nullptr;
  // File names in `pack`, or null.
  char16_t* splashScreen = nullptr;
  char16_t* voxelHeight = nullptr;
  char16_t* voxelTexture = nullptr;
  char16_t* skyBackdrop = nullptr;
  PtrArray<GoalDef*> goals;
  PtrArray<char16_t*> meshNames;    // sections of the pack's meshes.ini
  PtrArray<char16_t*> objectNames;  // sections of the list file
};
