// A landscape and its sky made from an author's pictures (kestrel-pack terrain and sky).
//
// Heights: a 512 x 512 greyscale picture, one pixel per height sample (4 m apart), its top row
// the north edge of the map (+z) and its left column the west edge; a grey level times the
// metres per level is the height above the sea floor. Texture: a 1024 x 1024 colour picture laid
// the same way, one pixel per 2 m. Both wrap around: the east edge meets the west one.
//
// Sky: a panorama whose width spans the half circle from west through north to east, which the
// game shows for the southern half as well, mirrored; its height spans what the screen shows
// (80 degrees, horizon in the middle). It is laid out as the game stores skies: transposed, one
// row per quarter degree of direction and one column per two screen rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "asset_writer.h"
#include "picture_files.h"

// 8-bit pictures: a metre a level (0 to 255 m); 16-bit ones: the file's own 1/64 m a level.
double DefaultMetresPerLevel(int bits);

struct LandscapeFiles {
  std::vector<uint8_t> heightFile;
  std::vector<uint8_t> textureFile;
  // The largest difference between a picture's height and the one the game reads from the
  // file (block encoding and 1/64 m steps together), and the pixel where it is.
  double largestHeightError = 0;
  uint32_t errorX = 0, errorY = 0;
};

// False with a sentence naming the picture (and the pixel, where one is at fault).
bool MakeLandscapeFiles(const GreyPicture& heights, const std::string& heightsName, const Picture& texture,
                        const std::string& textureName, double metresPerLevel, LandscapeFiles& files,
                        std::string& error);

// The panorama sizes a sky is made from: at least kSkyPanoramaWidth x kSkyPanoramaHeight, in the
// proportion 9 : 4 (within 2 %); larger pictures are averaged down.
constexpr uint32_t kSkyPanoramaWidth = 720;
constexpr uint32_t kSkyPanoramaHeight = 320;

bool LayOutSky(const Picture& panorama, const std::string& panoramaName, Picture& sky, std::string& error);
