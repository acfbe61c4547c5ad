#include "render/terrain_landscapes.h"

#include <fstream>
#include <random>

#include "gfx/jpeg.h"
#include "render/terrain_blocks.h"

namespace {

const uint8_t* BlockAt(const std::vector<uint8_t>& file, uint32_t blocksPerSide, uint32_t x, uint32_t z) {
  return file.data() + ((z / 4) * blocksPerSide + x / 4) * kTerrainBlockBytes;
}

// Blocks whose 16 values come from value(x, z), at most two of them different per block.
void SetBlocks(std::vector<uint8_t>& file, uint32_t blocksPerSide,
               const std::function<uint16_t(uint32_t x, uint32_t z)>& value, bool lowEndFirst) {
  for (uint32_t bz = 0; bz < blocksPerSide; ++bz) {
    for (uint32_t bx = 0; bx < blocksPerSide; ++bx) {
      uint16_t values[16];
      for (uint32_t i = 0; i < 16; ++i) values[i] = value(bx * 4 + i % 4, bz * 4 + i / 4);
      uint16_t end0 = values[0];
      uint16_t end1 = values[0];
      for (uint16_t v : values) {
        if (v != end0) end1 = v;
      }
      if (lowEndFirst && end1 < end0) std::swap(end0, end1);
      uint32_t indices = 0;
      for (uint32_t i = 0; i < 16; ++i) indices |= (values[i] == end0 ? 0u : 1u) << (2 * i);
      PutBlock(file, blocksPerSide, bx, bz, end0, end1, indices);
    }
  }
}

}  // namespace

void PutBlock(std::vector<uint8_t>& file, uint32_t blocksPerSide, uint32_t bx, uint32_t bz, uint16_t end0,
              uint16_t end1, uint32_t indices) {
  uint8_t* block = file.data() + (bz * blocksPerSide + bx) * kTerrainBlockBytes;
  const uint8_t bytes[8] = {static_cast<uint8_t>(end0),           static_cast<uint8_t>(end0 >> 8),
                            static_cast<uint8_t>(end1),           static_cast<uint8_t>(end1 >> 8),
                            static_cast<uint8_t>(indices),        static_cast<uint8_t>(indices >> 8),
                            static_cast<uint8_t>(indices >> 16), static_cast<uint8_t>(indices >> 24)};
  std::copy(bytes, bytes + 8, block);
}

Landscape FlatLandscape(uint16_t height, uint16_t colour) {
  Landscape landscape;
  landscape.heights.resize(kHeightFileSize);
  landscape.texture.resize(kTextureFileSize);
  for (uint32_t bz = 0; bz < kHeightBlocksPerSide; ++bz) {
    for (uint32_t bx = 0; bx < kHeightBlocksPerSide; ++bx) PutBlock(landscape.heights, kHeightBlocksPerSide, bx, bz, height, height, 0);
  }
  for (uint32_t bz = 0; bz < kTextureBlocksPerSide; ++bz) {
    for (uint32_t bx = 0; bx < kTextureBlocksPerSide; ++bx) PutBlock(landscape.texture, kTextureBlocksPerSide, bx, bz, colour, colour, 0);
  }
  landscape.sky = SkyJpeg(TerrainMap::kMinSkyColumns, TerrainMap::kSkyRows);
  return landscape;
}

Landscape RandomLandscape(uint32_t seed, uint16_t maxHeight) {
  Landscape landscape = FlatLandscape(0, 0);
  std::mt19937 random(seed);
  std::uniform_int_distribution<uint32_t> height(0, maxHeight);
  for (uint32_t bz = 0; bz < kHeightBlocksPerSide; ++bz) {
    for (uint32_t bx = 0; bx < kHeightBlocksPerSide; ++bx) {
      uint16_t end0 = static_cast<uint16_t>(height(random));
      uint16_t end1 = static_cast<uint16_t>(height(random));
      if (end1 < end0) std::swap(end0, end1);
      PutBlock(landscape.heights, kHeightBlocksPerSide, bx, bz, end0, end1, static_cast<uint32_t>(random()));
    }
  }
  for (uint32_t bz = 0; bz < kTextureBlocksPerSide; ++bz) {
    for (uint32_t bx = 0; bx < kTextureBlocksPerSide; ++bx) {
      PutBlock(landscape.texture, kTextureBlocksPerSide, bx, bz, static_cast<uint16_t>(random()),
               static_cast<uint16_t>(random()), static_cast<uint32_t>(random()));
    }
  }
  return landscape;
}

void SetHeights(Landscape& landscape, const std::function<uint16_t(uint32_t x, uint32_t z)>& height) {
  SetBlocks(landscape.heights, kHeightBlocksPerSide, height, true);
}

void SetTexels(Landscape& landscape, const std::function<uint16_t(uint32_t x, uint32_t z)>& colour) {
  SetBlocks(landscape.texture, kTextureBlocksPerSide, colour, false);
}

uint16_t HeightValueAt(const Landscape& landscape, uint32_t x, uint32_t z) {
  uint16_t values[16];
  DecodeHeightBlock(BlockAt(landscape.heights, kHeightBlocksPerSide, x, z), values);
  return values[x % 4 + 4 * (z % 4)];
}

uint16_t TexelAt(const Landscape& landscape, uint32_t x, uint32_t z) {
  uint16_t values[16];
  DecodeTextureBlock(BlockAt(landscape.texture, kTextureBlocksPerSide, x, z), values);
  return values[x % 4 + 4 * (z % 4)];
}

std::vector<uint8_t> SkyJpeg(uint32_t columns, uint32_t rows) {
  return EncodeJpeg(columns, rows, 3, [](uint32_t c, uint32_t r, uint8_t* out) {
    out[0] = static_cast<uint8_t>(r / 3);
    out[1] = static_cast<uint8_t>(255 - c);
    out[2] = 200;
  });
}

uint16_t SkyColourAt(const Landscape& landscape, uint32_t column, uint32_t row) {
  Surface sky;
  DecodeJpeg(sky, landscape.sky.data(), static_cast<uint32_t>(landscape.sky.size()));
  return sky.Row(row)[column];
}

bool LoadFromDisk(TerrainMap& map, const Landscape& landscape, const TempFolder& folder) {
  const auto write = [&](const char* name, const std::vector<uint8_t>& bytes) {
    std::ofstream(folder.path() / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  };
  write("height.bin", landscape.heights);
  write("texture.bin", landscape.texture);
  write("sky.jpg", landscape.sky);
  return map.Load(nullptr, folder.WidePath("height.bin").c_str(), folder.WidePath("texture.bin").c_str(),
                  folder.WidePath("sky.jpg").c_str());
}
