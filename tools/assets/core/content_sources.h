// The hand-written INI sources of the core pack (data/core), read with the game's own INI and
// definition readers, so the generator makes exactly the files the game will ask for: the
// pictures named by the helicopters, weapons and missions, the mesh files named by meshes.ini,
// and landscapes shaped around the places where the missions put things.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "content/chopper_def.h"
#include "content/ini.h"
#include "content/mission_def.h"
#include "content/weapon_def.h"

// One object section of a mission file, as far as the generator needs it.
struct PlacedObject {
  std::string name;
  std::string mesh;
  std::string parent;       // empty for an object without a parent
  std::string objectClass;  // the "Class" word, "Structure" when missing
  float x = 0, y = 0, z = 0;  // "Pos" (x, z, y) or "PosX2", metres; relative to the parent if any
  float yaw = 0, pitch = 0, roll = 0;  // degrees
};

struct MissionSource {
  std::unique_ptr<MissionDef> definition;
  std::vector<PlacedObject> objects;  // in the order of the mission's "Object" list
};

struct ContentSources {
  std::vector<MissionSource> missions;
  std::vector<std::unique_ptr<ChopperDef>> choppers;
  std::vector<std::unique_ptr<WeaponDef>> weapons;
  std::unique_ptr<IniDocument> meshes;  // meshes.ini
};

// Reads content.ini of `folder` and everything it names. False with a message when a file is
// missing or names something that does not exist.
bool ReadContentSources(const std::string& folder, ContentSources& sources, std::string& error);

// A pack name ("terrain\islands.hgt") as a relative path with '/' ("terrain/islands.hgt").
std::string PathOfPackName(const char16_t* name);
std::string PathOfPackName(const std::string& name);
std::string Narrow(const char16_t* text);
