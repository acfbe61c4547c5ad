#include "render/terrain_map.h"

#include <initializer_list>

#include "content/pictures.h"
#include "core/memory.h"
#include "render/terrain_blocks.h"

TerrainMap::TerrainMap() = default;

TerrainMap::~TerrainMap() { Free(maxHeights_); }

void TerrainMap::Release() {
  Free(maxHeights_);
  maxHeights_ = nullptr;
  heightBlocks_.Release();
  textureBlocks_.Release();
  sky_.Release();
  groundBlockX_ = groundBlockZ_ = 0xFFFF;
}

bool TerrainMap::Load(const ContentPack* pack, const char16_t* heightFile, const char16_t* textureFile,
                      const char16_t* skyFile) {
  Release();
  {
    const DataBuffer skyBytes(pack, skyFile);
    if (!skyBytes.Empty()) DecodeJpeg(sky_, skyBytes);
  }
  // The texture first: it is the larger block, easier to place while memory is still in one piece.
  // A failed allocation has already asked the platform for room and tried again (CheckedAlloc).
  const bool usable = textureBlocks_.LoadFile(pack, textureFile) == kTextureFileSize &&
                      heightBlocks_.LoadFile(pack, heightFile) == kHeightFileSize &&
                      sky_.height >= kSkyRows && sky_.width >= kMinSkyColumns && BuildMaxHeights();
  if (!usable) Release();
  return usable;
}

bool TerrainMap::BuildMaxHeights() {
  maxHeights_ = CheckedAllocArray<uint16_t>(kHeightBlocksPerSide * kHeightBlocksPerSide);
  if (maxHeights_ == nullptr) return false;
  // A ray interpolates up to one sample into the next block in +x and +z, so a block's bound
  // covers those neighbours as well.
  constexpr uint32_t kMask = kHeightBlocksPerSide - 1;
  const auto highEnd = [&](uint32_t bx, uint32_t bz) {
    return BlockHighEnd(heightBlocks_.data + ((bz & kMask) * kHeightBlocksPerSide + (bx & kMask)) * kTerrainBlockBytes);
  };
  for (uint32_t bz = 0; bz < kHeightBlocksPerSide; ++bz) {
    for (uint32_t bx = 0; bx < kHeightBlocksPerSide; ++bx) {
      uint16_t highest = highEnd(bx, bz);
      for (const uint16_t h : {highEnd(bx + 1, bz), highEnd(bx, bz + 1), highEnd(bx + 1, bz + 1)}) {
        if (h > highest) highest = h;
      }
      maxHeights_[bz * kHeightBlocksPerSide + bx] = highest;
    }
  }
  return true;
}

fixed TerrainMap::GroundHeight(fixed x, fixed z) const {
  if (!Usable()) return 0;
  // One sample every 4.0 metres (16.16 raw 2^18); 512 samples wrap the world.
  const uint32_t sampleX = (static_cast<uint32_t>(x) >> 18) & (kHeightSamplesPerSide - 1);
  const uint32_t sampleZ = (static_cast<uint32_t>(z) >> 18) & (kHeightSamplesPerSide - 1);
  const uint16_t blockX = static_cast<uint16_t>(sampleX / kTerrainBlockSide);
  const uint16_t blockZ = static_cast<uint16_t>(sampleZ / kTerrainBlockSide);
  if (blockX != groundBlockX_ || blockZ != groundBlockZ_) {
    DecodeHeightBlock(heightBlocks_.data + (blockZ * kHeightBlocksPerSide + blockX) * kTerrainBlockBytes,
                      groundHeights_);
    groundBlockX_ = blockX;
    groundBlockZ_ = blockZ;
  }
  return groundHeights_[(sampleX % kTerrainBlockSide) + kTerrainBlockSide * (sampleZ % kTerrainBlockSide)] *
         kHeightValueScale;
}
