// Synthetic landscapes for the terrain tests, written block by block by the tests themselves:
// height and texture files in the block layout, and a sky picture as JPEG bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "render/terrain_map.h"
#include "gfx/test_pictures.h"

struct Landscape {
  std::vector<uint8_t> heights;  // the height file
  std::vector<uint8_t> texture;  // the texture file
  std::vector<uint8_t> sky;      // the sky JPEG
};

// Writes one 8-byte block: two end values and the 2-bit index of each of the 16 positions.
void PutBlock(std::vector<uint8_t>& file, uint32_t blocksPerSide, uint32_t bx, uint32_t bz, uint16_t end0,
              uint16_t end1, uint32_t indices);

// Every block of both files holding one value.
Landscape FlatLandscape(uint16_t height, uint16_t colour);
// Random end values (end0 <= end1 for heights up to maxHeight) and random indices.
Landscape RandomLandscape(uint32_t seed, uint16_t maxHeight);

// Height samples and texels given per position, with at most two different values in any block
// (those are stored exactly as the block's two ends).
void SetHeights(Landscape& landscape, const std::function<uint16_t(uint32_t x, uint32_t z)>& height);
void SetTexels(Landscape& landscape, const std::function<uint16_t(uint32_t x, uint32_t z)>& colour);

// The values as the block decoders give them.
uint16_t HeightValueAt(const Landscape& landscape, uint32_t x, uint32_t z);
uint16_t TexelAt(const Landscape& landscape, uint32_t x, uint32_t z);

// A colour sky picture, columns x rows (stored transposed: a row per view direction); pixel
// (c, r) has red r / 3, green 255 - c and blue 200.
std::vector<uint8_t> SkyJpeg(uint32_t columns, uint32_t rows);
// The 16-bit colour the JPEG decoder gives for sky picture pixel (column, row), read from a
// decoded copy.
uint16_t SkyColourAt(const Landscape& landscape, uint32_t column, uint32_t row);

// Writes the three files into `folder` ("height.bin", "texture.bin", "sky.jpg") and loads them
// from disk into `map`.
bool LoadFromDisk(TerrainMap& map, const Landscape& landscape, const TempFolder& folder);
