// The landscapes of the core pack: a height field and a colour texture that wrap around at
// their edges (2048 m on each side), and the sky backdrop seen above them.
//
// The places that missions use (helipads, bases, vehicles) are handed in as sites: the ground
// there is levelled so that a helicopter lands flat and objects stand upright, and helipads get
// their painted landing square.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"
#include "terrain_encoder.h"

constexpr float kWorldSize = 2048.0f;  // metres per side; the world repeats beyond it
constexpr float kMetresPerSample = 4.0f;
constexpr float kMetresPerTexel = 2.0f;

enum class LandscapeStyle { kIslands, kCanyons };

enum class SiteGround {
  kHelipad,   // dark square with a white border and an "H"
  kConcrete,  // light apron under buildings and parked helicopters
  kDirt,      // trodden ground under vehicles
  kUnchanged  // levelled, colour left alone
};

struct Site {
  float x = 0;  // world metres
  float z = 0;
  float radius = 0;  // levelled completely within this, blended out over as much again
  SiteGround ground = SiteGround::kUnchanged;
};

struct Landscape {
  std::vector<float> heights;  // 1024 x 1024 metres, one per texel (the file takes every second)
  std::vector<Rgb8> texels;    // 1024 x 1024
  Image sky;                   // 160 columns x 720 rows, as stored (transposed)
  float waterLevel = 0;        // metres; 0 where there is no water
};

Landscape GenerateLandscape(LandscapeStyle style, const std::vector<Site>& sites, uint32_t seed);

// The height file's samples (every second texel's height) in 1/64 m.
std::vector<uint16_t> HeightSamples(const Landscape& landscape);

// The sky of a style: 160 columns (elevation; column c is screen rows 2c and 2c + 1 with the
// horizon at column 80) by 720 rows (direction, in quarter degrees). The game shows rows
// 1439 - r for directions r >= 720, so the picture is mirrored there; the noise is built so
// that it has no slope at rows 0 and 719, and the mirror joins without a crease.
Image GenerateSky(LandscapeStyle style, uint32_t seed);

// Colour of the sky near the horizon, used as haze in pictures of the landscape.
Colour HorizonHaze(LandscapeStyle style);

// Unit vector toward the sun that lights the ground texture and stands in the sky backdrop:
// over +x, 30 degrees up, on the islands; over -x, 28 degrees up, in the canyons. Both lie on
// the backdrop's mirror lines (directions 720 and 0), so the sun is drawn whole.
struct SunDirection {
  float x, y, z;
};
SunDirection SunOf(LandscapeStyle style);
