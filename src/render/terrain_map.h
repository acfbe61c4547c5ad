// The landscape of one mission: a 2048 x 2048 metre height field with a colour texture that
// repeats in both ground directions, and the sky picture drawn above it.
//
// Loaded once when the mission starts and kept until it ends. The terrain views draw it and the
// game asks it for the ground height under any point. A landscape whose files are missing, of
// the wrong size, or whose sky is too small is refused: Usable() is false, nothing is kept,
// GroundHeight gives 0 and the views draw nothing.
#pragma once

#include <cstdint>

#include "content/data_buffer.h"
#include "core/fixed.h"
#include "gfx/surface.h"

class ContentPack;

class TerrainMap {
 public:
  // The sky picture is stored transposed: row r is the view direction r quarter degrees (the
  // directions 720..1439 mirror 719..0) and column c the colour of screen rows 2c and 2c + 1.
  static constexpr uint32_t kSkyRows = 720;
  // Half the tallest surface the display makes (320 rows in portrait mode).
  static constexpr uint32_t kMinSkyColumns = 160;

  TerrainMap();
  ~TerrainMap();
  TerrainMap(const TerrainMap&) = delete;
  TerrainMap& operator=(const TerrainMap&) = delete;

  // Reads the height, texture and sky (JPEG) files from `pack`, or from disk when `pack` is
  // null. True when the landscape is usable: both block files at exactly their sizes and a
  // colour sky of at least kSkyRows rows and kMinSkyColumns columns. Replaces what was loaded.
  bool Load(const ContentPack* pack, const char16_t* heightFile, const char16_t* textureFile,
            const char16_t* skyFile);
  bool Usable() const { return maxHeights_ != nullptr; }

  // The ground height (16.16 metres) at world (x, z). No interpolation: the ground is flat
  // within each 4.0 x 4.0 cell, and the world repeats every 2048.0 metres.
  fixed GroundHeight(fixed x, fixed z) const;

  // For the views; valid while Usable().
  // The highest height value among height block (bx, bz) and its neighbours at +x, +z and both
  // (coordinates wrap), indexed bz x 128 + bx.
  const uint16_t* maxHeights() const { return maxHeights_; }
  const uint8_t* heightBlocks() const { return heightBlocks_.data; }
  const uint8_t* textureBlocks() const { return textureBlocks_.data; }
  const Surface& sky() const { return sky_; }

 private:
  void Release();
  bool BuildMaxHeights();

  uint16_t* maxHeights_ = nullptr;  // from CheckedAlloc; null while the landscape is not usable
  DataBuffer heightBlocks_;
  DataBuffer textureBlocks_;
  Surface sky_;

  // The one height block GroundHeight decoded last: the game asks about the same few places
  // many times a frame.
  mutable uint16_t groundBlockX_ = 0xFFFF;
  mutable uint16_t groundBlockZ_ = 0xFFFF;
  mutable uint16_t groundHeights_[16] = {};
};
