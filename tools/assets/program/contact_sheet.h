// Contact sheets of the generated pictures, for people to look at: PNGs that show every picture
// as the game decodes it (RGB565, or ARGB4444 through its mask), its mask, and the masked
// picture over a checkerboard; and mock-ups of the screens assembled from the pieces at the
// places the screens draw them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "picture_set.h"

// The JPEG bytes of every picture by id, as written to the resource folder.
using EncodedPictures = std::map<uint32_t, std::vector<uint8_t>>;

// Writes the sheets into folder (which must exist); false when a file cannot be written.
bool WriteContactSheets(const std::string& folder, const PictureSet& set, const EncodedPictures& encoded);
