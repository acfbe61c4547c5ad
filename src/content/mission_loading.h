// Populating a mission's scene from its pack: the meshes it names, then its placed objects.
#pragma once

class MissionDef;
class MissionScene;

// Adds every mesh the mission names to the scene's library, from the pack's "meshes.ini"; a name
// without a section is skipped. Returns how many meshes were loaded.
int LoadMissionMeshes(const MissionDef& mission, MissionScene& scene);
// Creates one object per name of the mission from its list file, in order (a parent must come
// before its children); a name without a section, or whose mesh is missing, is skipped.
// Returns how many objects were made.
int LoadMissionObjects(const MissionDef& mission, MissionScene& scene);
