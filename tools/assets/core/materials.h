// The surface materials of the models: painted procedurally, so the same paint serves the small
// texture tiles of the game meshes and the large menu pictures at any size.
#pragma once

#include "image.h"

enum class Material {
  // Buildings
  kConcrete,
  kCorrugated,
  kHangarDoor,
  kWallWindow,
  kWallDoor,
  kWallPlain,
  kRoofTiles,
  kBrick,
  kRadarCabin,
  kWarningStripes,
  kDishFace,
  // Metal and machinery
  kMetalGrey,
  kMetalDark,
  kOliveDrab,
  kTrack,
  kTyre,
  kTruckCab,
  kWindscreen,
  kCanvas,
  // Aircraft
  kDesertCamo,
  kScoutPaint,
  kGunshipPaint,
  kTransportPaint,
  kGlass,
  kRotor,
  kRocketPod,
  kMissile,
  // Supplies and people
  kDrumRed,
  kDrumTop,
  kPallet,
  kSkin,
  kHair,
  kLifeVest,
  kTrousers,
  kBoots,
  kCount
};

// Colour of the material at (u, v) of its tile, both 0..1, v = 1 at the top; unlit.
Colour Paint(Material material, float u, float v);
