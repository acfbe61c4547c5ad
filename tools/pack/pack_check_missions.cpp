// `kestrel-pack check`: a mission loaded the way it starts (GameWorld::SetUp): its landscape
// through TerrainMap, its meshes and objects through LoadMissionMeshes and LoadMissionObjects,
// and its goals resolved as MissionInstance resolves them; each part that does not load is
// traced to the key that names it.
#include "content/data_buffer.h"
#include "content/definition_reading.h"
#include "content/mission_def.h"
#include "content/mission_loading.h"
#include "content/pictures.h"
#include "content/scene_object.h"
#include "core/wide_string.h"
#include "pack_check_internal.h"
#include "render/terrain_blocks.h"
#include "render/terrain_map.h"

namespace pack_check {
namespace {

// The map the helicopter flies over: 2048 m a side (terrain_map.h); the world repeats beyond it.
constexpr uint64_t kMapMetres = 2048;

void CheckHelipad(Context& context, const Where& where, const IniSection& section) {
  const IniKey* key = section.FindKey(u"Helipad");
  if (key == nullptr || key->values.Count() < 2) {
    context.report.Add(where, key == nullptr ? "missing: the helicopter would start at 0, 0"
                                             : "needs two whole numbers, x and z in metres");
    return;
  }
  const char* axes[2] = {"x", "z"};
  for (uint16_t i = 0; i < 2; ++i) {
    uint64_t metres = 0;
    const std::string shown = std::string(axes[i]) + " = " + Show(key->values[i]->text);
    if (!WholeNumber(*key->values[i], metres)) {
      context.report.Add(where, shown + " is not a whole number of metres (the game reads " +
                                    std::to_string(key->values[i]->ToInt()) + ")");
    } else if (metres >= kMapMetres) {
      context.report.Add(where, shown + " is off the map (0 to 2047 m)");
    }
  }
}

// A height or texture file: present and exactly its size.
bool CheckBlockFile(Context& context, const Where& where, const char16_t* name, uint32_t size, const char* layout) {
  if (name == nullptr) {
    context.report.Add(where, "missing: the mission has no landscape");
    return false;
  }
  const DataBuffer file(context.pack, name);
  if (file.Empty()) {
    context.report.Add(where, "names " + QuoteFile(name) + ", which is " + context.WhyMissing(name));
    return false;
  }
  if (file.size != size) {
    context.report.Add(where, QuoteFile(name) + " is " + std::to_string(file.size) + " bytes; it must be " +
                                  std::to_string(size) + " (" + layout + ")");
    return false;
  }
  return true;
}

bool CheckSky(Context& context, const Where& where, const char16_t* name) {
  if (name == nullptr) {
    context.report.Add(where, "missing: the mission has no sky, and the landscape does not load without one");
    return false;
  }
  const DataBuffer file(context.pack, name);
  Surface sky;
  if (file.Empty()) {
    context.report.Add(where, "names " + QuoteFile(name) + ", which is " + context.WhyMissing(name));
  } else if (!DecodeJpeg(sky, file)) {
    context.report.Add(where, QuoteFile(name) + " is not a colour JPEG the game can decode");
  } else if (sky.height < TerrainMap::kSkyRows || sky.width < TerrainMap::kMinSkyColumns) {
    context.report.Add(where, QuoteFile(name) + " is " + std::to_string(sky.width) + " x " +
                                  std::to_string(sky.height) + "; the terrain view needs a sky of at least " +
                                  std::to_string(TerrainMap::kMinSkyColumns) + " x " +
                                  std::to_string(TerrainMap::kSkyRows) +
                                  " (a row per quarter degree of half a turn, a column per two screen rows)");
  } else {
    return true;
  }
  return false;
}

void CheckLandscape(Context& context, const IniSection& section, const MissionDef& mission) {
  const Where height{mission.listFile, KeyOf(section, u"Resource VoxelHeight")};
  bool parts = CheckBlockFile(context, height, mission.voxelHeight, kHeightFileSize, "128 x 128 blocks of 8 bytes");
  parts &= CheckBlockFile(context, {mission.listFile, KeyOf(section, u"Resource VoxelTexture")}, mission.voxelTexture,
                          kTextureFileSize, "256 x 256 blocks of 8 bytes");
  parts &= CheckSky(context, {mission.listFile, KeyOf(section, u"Resource SkyBackdrop")}, mission.skyBackdrop);
  TerrainMap map;
  if (parts && !map.Load(mission.pack, mission.voxelHeight, mission.voxelTexture, mission.skyBackdrop)) {
    context.report.Add(height, "the landscape does not load");
  }
}

// Every name of the mission's "Mesh" keys has a section in meshes.ini, checked once per pack.
void CheckMeshNames(Context& context, const IniSection& section, const MissionDef& mission) {
  const Where where{mission.listFile, KeyOf(section, u"Mesh")};
  if (!mission.meshNames.Empty() && !context.ReadMeshList()) {
    context.report.Add(where, "names meshes, but the pack has no meshes.ini");
    return;
  }
  for (const char16_t* name : mission.meshNames) {
    const IniSection* mesh = context.meshList.FindSection(name);
    if (mesh == nullptr) {
      context.report.Add(where, "names no section " + Quote(name) + " of meshes.ini");
    } else {
      CheckMeshSection(context, *mesh);
    }
  }
}

bool Names(const PtrArray<char16_t*>& names, const char16_t* name, uint16_t from = 0) {
  for (uint16_t i = from; i < names.Count(); ++i) {
    if (EqualsNoCase(names[i], name)) return true;
  }
  return false;
}

// A word the game did not know, seen by the code it gave: the last of its key, unless the
// content wrote that word itself.
void CheckWord(Context& context, const Where& where, const IniSection& section, const char16_t* key, uint32_t code,
               uint32_t other, const char* known) {
  const IniKey* found = KeyWithValues(section, key, 1);
  if (found == nullptr || code != other || found->values[0]->Equals(u"Other")) return;
  context.report.Add(where,
                     "unknown word " + Quote(found->values[0]->text) + ": the game reads it as Other (" + known + ")");
}

// The objects as LoadMissionObjects made them into `scene`, in order, each traced to its
// section: those left out and why, parents that are not made before their children, and words
// the game does not know.
void CheckObjects(Context& context, const IniDocument& list, const IniSection& section, const MissionDef& mission,
                  const MissionScene& scene) {
  const char16_t* file = mission.listFile;
  uint16_t made = 0;  // scene.nodes[made] is the next object LoadMissionObjects made
  for (uint16_t i = 0; i < mission.objectNames.Count(); ++i) {
    const char16_t* name = mission.objectNames[i];
    const IniSection* object = list.FindSection(name);
    if (object == nullptr) {
      context.report.Add({file, KeyOf(section, u"Object")}, "names no section " + Quote(name) + " of this file");
      continue;
    }
    const Where meshWhere{file, KeyOf(*object, u"Mesh")};
    const IniKey* meshKey = KeyWithValues(*object, u"Mesh", 1);
    if (meshKey == nullptr) {
      context.report.Add(meshWhere, "missing: the object is left out");
      continue;
    }
    const char16_t* mesh = ValueText(*meshKey, 0);
    if (scene.meshes.FindMesh(mesh) == nullptr) {
      context.report.Add(meshWhere,
                         "names " + Quote(mesh) + ", " +
                             (Names(mission.meshNames, mesh)
                                  ? "a mesh that does not load: the object is left out"
                                  : "which mission " + Quote(mission.name) +
                                        " does not load (it is not among its Mesh keys): the object is left out"));
      continue;
    }
    if (made >= scene.nodes.Count()) return;  // the game made fewer than traced: memory ran out
    const auto* node = static_cast<const SceneObject*>(scene.nodes[made++]);
    if (const IniKey* parent = KeyWithValues(*object, u"Parent", 1)) {
      // CreateSceneObject finds the parent among the objects made before this one.
      bool found = false;
      for (uint16_t k = 0; k + 1 < made && !found; ++k)
        found = EqualsNoCase(scene.nodes[k]->name, ValueText(*parent, 0));
      if (!found) {
        const char16_t* parentName = ValueText(*parent, 0);
        context.report.Add({file, KeyOf(*object, u"Parent")},
                           Names(mission.objectNames, parentName, static_cast<uint16_t>(i + 1))
                               ? "names " + Quote(parentName) +
                                     ", which is made after this object: a parent must come first among the mission's "
                                     "Object names"
                               : "names no object " + Quote(parentName) + " of mission " + Quote(mission.name));
      }
    }
    const auto at = [&](const char16_t* key) { return Where{file, KeyOf(*object, key)}; };
    CheckWord(context, at(u"Class"), *object, u"Class", node->objectClass, ClassOther,
              "Helicopter, Vehicle, Structure, Fuel, Human");
    CheckWord(context, at(u"Role"), *object, u"Role", node->role, RoleOther, "Enemy, Friend");
    CheckWord(context, at(u"Target"), *object, u"Target", node->target, ObjectTargetOther, "Air, Ground, All");
    CheckWord(context, at(u"Weapon"), *object, u"Weapon", node->weapon, ObjectWeaponOther,
              "Machinegun, Cannon, Rocket, GuidedRocket, Radar");
    CheckWord(context, at(u"Attitude"), *object, u"Attitude", node->attitude, AttitudeOther,
              "Aggresive (sic), Defensive");
  }
}

// Each "Goal" key as MissionDef reads it and MissionInstance::ResolveObjects resolves it: a goal
// whose object is not a top-level object of the mission counts as achieved from the start.
void CheckGoals(Context& context, const IniSection& section, const MissionDef& mission, const MissionScene& scene) {
  int number = 0;
  for (const IniKey* key : section.keys) {
    if (!EqualsNoCase(key->name, u"Goal")) continue;
    const Where where{mission.listFile, KeyOf(section, "Goal #" + std::to_string(++number))};
    if (key->values.Count() < 2) {
      context.report.Add(where, "needs a type and an object (Goal = Destroy Tank1): the goal is ignored");
      continue;
    }
    const IniValue& type = *key->values[0];
    if (!type.Equals(u"Destroy") && !type.Equals(u"KeepAlive") && !type.Equals(u"Rescue")) {
      context.report.Add(where,
                         "unknown type " + Quote(type.text) + " (Destroy, KeepAlive, Rescue): the goal is ignored");
      continue;
    }
    uint64_t seconds = 0;
    if (key->values.Count() >= 3 && !WholeNumber(*key->values[2], seconds)) {
      context.report.Add(where, "the time limit " + Quote(key->values[2]->text) + " is not a whole number of seconds");
    }
    const char16_t* object = ValueText(*key, 1);
    if (scene.FindRoot(object) != nullptr) continue;
    context.report.Add(where,
                       scene.FindNode(object) != nullptr
                           ? "names " + Quote(object) +
                                 ", an object with a parent: goals name top-level objects (the goal counts as achieved)"
                           : "names no object " + Quote(object) + " (the goal counts as achieved)");
  }
}

}  // namespace

void CheckMission(Context& context, const IniDocument& list, const IniSection& section, const MissionDef& mission) {
  const auto where = [&](const char16_t* key) { return Where{mission.listFile, KeyOf(section, key)}; };
  if (section.FindKey(u"Resource SplashScreen") == nullptr) {
    context.report.Add(where(u"Resource SplashScreen"), "missing: the mission screen has no picture to show");
  } else {
    CheckPicture(context, where(u"Resource SplashScreen"), mission.splashScreen,
                 {"the mission screen", kScreenWidth, kScreenHeight});
  }
  CheckHelipad(context, where(u"Helipad"), section);
  CheckLandscape(context, section, mission);

  MissionScene scene;
  LoadMissionMeshes(mission, scene);
  CheckMeshNames(context, section, mission);
  LoadMissionObjects(mission, scene);
  CheckObjects(context, list, section, mission, scene);
  CheckGoals(context, section, mission, scene);
}

}  // namespace pack_check
