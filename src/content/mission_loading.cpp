#include "content/mission_loading.h"

#include "content/data_buffer.h"
#include "content/ini.h"
#include "content/mission_def.h"
#include "content/scene_object.h"

namespace {

// Calls `make` with the section of every name of `names` found in the file.
template <typename Make>
int ForEachNamedSection(const ContentPack* pack, const char16_t* fileName, const PtrArray<char16_t*>& names,
                        Make make) {
  const DataBuffer file(pack, fileName);
  if (file.Empty()) return 0;
  IniDocument document;
  document.LoadFromBuffer(file.data, file.size);
  int made = 0;
  for (const char16_t* name : names) {
    const IniSection* section = document.FindSection(name);
    if (section != nullptr && make(*section)) ++made;
  }
  return made;
}

}  // namespace

int LoadMissionMeshes(const MissionDef& mission, MissionScene& scene) {
  return ForEachNamedSection(mission.pack, u"meshes.ini", mission.meshNames, [&](const IniSection& section) {
    return scene.meshes.LoadMesh(mission.pack, section) != nullptr;
  });
}

int LoadMissionObjects(const MissionDef& mission, MissionScene& scene) {
  return ForEachNamedSection(mission.pack, mission.listFile, mission.objectNames,
                             [&](const IniSection& section) { return CreateSceneObject(scene, section) != nullptr; });
}
