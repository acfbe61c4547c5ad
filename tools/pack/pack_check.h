// `kestrel-pack check PACK|FOLDER`: loads everything of a content pack the way the game does
// (the manifest, the list files, every mission, helicopter and weapon, their pictures,
// landscapes, skies, meshes, textures and objects) and reports, one line each, what the game
// would refuse, skip or show wrongly. A folder is checked as the pack that `create` would make
// of it.
#pragma once

#include <string>
#include <vector>

// The problems found, "FILE:LINE: [Section] Key: problem" each (FILE the INI file inside the
// pack, with "/" separators; LINE that of the key, or of the section when the key is missing,
// and left out with its colon when there is no such line), in the order found; empty when the
// game loads everything. False, with
// `error`, only when `path` cannot be read as a pack or packed as a folder.
bool CheckContent(const std::string& path, std::vector<std::string>& problems, std::string& error);
