// The landscape files in the game's 4 x 4 block layout, written and read back: by the core
// pack's generator and by kestrel-pack terrain, which turns an author's pictures into them.
//
// Height file: 128 x 128 blocks of 8 bytes (512 x 512 samples, 4 m apart), block (bx, bz) at
// byte (bz x 128 + bx) x 8: e0 and e1 (little-endian 16-bit heights in 1/64 m, e0 <= e1 so that
// e1 is the block's highest value), then a 32-bit index word whose bits 2i..2i+1 pick the value
// of sample i = (x mod 4) + 4 (z mod 4): e0, e1, or one of two heights between them.
// Texture file: 256 x 256 blocks (1024 x 1024 RGB565 texels, 2 m apart) of the same layout with
// two colours c0 <= c1 and two colours mixed 21:11 and 11:21 from them.
//
// The encoders pick, for every block, the two ends and the indices that keep the squared error
// against the wanted values smallest (within a search over the likely ends; see the .cpp).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/terrain_blocks.h"

// The game's sizes (render/terrain_blocks.h), as the signed counts the encoders loop over.
constexpr int kHeightSamples = kHeightSamplesPerSide;  // 512
constexpr int kTexels = kTexelsPerSide;                // 1024
constexpr int kHeightBlocks = kHeightBlocksPerSide;    // 128
constexpr int kTextureBlocks = kTextureBlocksPerSide;  // 256
constexpr float kHeightUnitsPerMetre = 64.0f;

struct Rgb8 {
  uint8_t r = 0, g = 0, b = 0;
};

// The four values a block's ends give, in index order.
std::array<uint16_t, 4> HeightPalette(uint16_t e0, uint16_t e1);
std::array<uint16_t, 4> ColourPalette(uint16_t c0, uint16_t c1);

uint16_t Rgb565FromRgb8(const Rgb8& c);
Rgb8 Rgb8FromRgb565(uint16_t c);  // bit replication: 0x1F -> 255

// `heights` holds 512 x 512 samples, row by row (z, then x), in height units (1/64 m).
std::vector<uint8_t> EncodeHeightFile(const std::vector<uint16_t>& heights);
// `texels` holds 1024 x 1024 colours, row by row.
std::vector<uint8_t> EncodeTextureFile(const std::vector<Rgb8>& texels);

// The values a file holds, decoded as the game decodes them (for previews and pictures).
std::vector<uint16_t> DecodeHeightFile(const std::vector<uint8_t>& file);
std::vector<uint16_t> DecodeTextureFile(const std::vector<uint8_t>& file);
