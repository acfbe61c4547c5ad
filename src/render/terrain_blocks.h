// The landscape's two block-compressed files and their decoders.
//
// Both files are square grids of 8-byte blocks, each describing 4 x 4 values: two end values
// (little-endian 16-bit) and a little-endian 32-bit word of 2-bit indices, bits 2i..2i+1 for
// the value at (i mod 4, i / 4). Index 0 and 1 pick the end values; 2 and 3 pick points about
// two thirds of the way from one end toward the other.
//
// The height file holds 128 x 128 blocks: 512 x 512 samples, one every 4.0 metres. A height
// value h means h / 64 metres (h x 1024 as a 16.16 value), so at most about 1024 metres; the
// second end value is the block's highest, which the renderer's coarse test relies on.
// The texture file holds 256 x 256 blocks: 1024 x 1024 RGB565 texels, one every 2.0 metres.
// Block (bx, bz) of either file starts at byte (bz x blocks per side + bx) x 8.
#pragma once

#include <cstdint>

constexpr uint32_t kTerrainBlockBytes = 8;
constexpr uint32_t kTerrainBlockSide = 4;      // values per block side
constexpr uint32_t kTerrainBlockValues = 16;   // values per block

constexpr uint32_t kHeightBlocksPerSide = 128;
constexpr uint32_t kHeightSamplesPerSide = kHeightBlocksPerSide * kTerrainBlockSide;  // 512
constexpr uint32_t kHeightFileSize = kHeightBlocksPerSide * kHeightBlocksPerSide * kTerrainBlockBytes;  // 131072

constexpr uint32_t kTextureBlocksPerSide = 256;
constexpr uint32_t kTexelsPerSide = kTextureBlocksPerSide * kTerrainBlockSide;  // 1024
constexpr uint32_t kTextureFileSize = kTextureBlocksPerSide * kTextureBlocksPerSide * kTerrainBlockBytes;  // 524288

// A height value as a 16.16 height in metres.
constexpr int32_t kHeightValueScale = 1024;

// The block's second end value: the highest height of a height block.
inline uint16_t BlockHighEnd(const uint8_t* block) { return static_cast<uint16_t>(block[2] | (block[3] << 8)); }

// The 16 heights of a height block, row by row.
void DecodeHeightBlock(const uint8_t* block, uint16_t* heights);
// The 16 RGB565 colours of a texture block, row by row.
void DecodeTextureBlock(const uint8_t* block, uint16_t* colours);
