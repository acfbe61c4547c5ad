// kestrel-core-content: makes every binary file of the core content pack from the INI sources.
//
//   kestrel-core-content SOURCE_FOLDER PACK_FOLDER CONTACT_SHEET_FOLDER
//
// SOURCE_FOLDER holds the hand-written INI files (data/core); the landscapes, meshes, textures
// and pictures they name are written into PACK_FOLDER under their pack names, and previews of
// all of them into CONTACT_SHEET_FOLDER. Nothing depends on the time, the machine or the order
// in which a folder lists its files, so every run writes the same bytes.
#include <cstdio>

#include "generator.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kestrel-core-content SOURCE_FOLDER PACK_FOLDER CONTACT_SHEET_FOLDER\n");
    return 2;
  }
  ContentSources sources;
  std::string error;
  if (!ReadContentSources(argv[1], sources, error)) {
    std::fprintf(stderr, "kestrel-core-content: %s\n", error.c_str());
    return 1;
  }
  Generator g{sources, argv[2], ContactSheet(argv[3]), {}, {}, {}};
  const bool done = CheckSources(g) && GenerateMeshes(g) && GenerateLandscapes(g) && GenerateMissionPictures(g) &&
                    GenerateChopperPictures(g) && GenerateWeaponPictures(g) && GenerateIntro(g);
  if (!done) {
    std::fprintf(stderr, "kestrel-core-content: %s\n", g.error.c_str());
    return 1;
  }
  return 0;
}
