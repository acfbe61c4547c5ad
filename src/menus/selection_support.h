// Pieces the mission, helicopter and loadout screens share: figures shown as bars that move to
// new values over the menus' cross-fade time, pictures from a definition's pack, and the notice
// of an empty list.
#pragma once

#include <cstdint>
#include <memory>

#include "core/fixed.h"
#include "core/linear_map.h"
#include "gfx/surface.h"

class ContentPack;

// A figure as shown: it moves from whatever it shows to a new value in 800 ms.
class ShownValue {
 public:
  void MoveTo(fixed target);
  void Advance(uint32_t elapsedMs) { map_.Advance(elapsedMs); }
  fixed value() const { return map_.y; }

 private:
  LinearMap map_;
};

// The place after `index` (forward) or before it in a list of `count` (> 0), wrapping around:
// what the frame's next and previous buttons show.
uint16_t NeighbourIndex(uint16_t index, uint16_t count, bool forward);

// A bar three pixels high from (x, top): `value` of `largest` is 100 pixels. The second colours
// mark the laden figure of a pair, or a load over the limit.
void DrawFigureBar(Surface& surface, int32_t x, int32_t top, fixed value, fixed largest, bool secondColours);

// A picture drawn with its own soft edge (ARGB4444).
void DrawMaskedPicture(Surface& surface, const Surface& picture, int32_t x, int32_t y);

// The JPEG `fileName` of `pack` as a background; empty when it is missing or broken (which the
// menu screen shows as black).
std::unique_ptr<Surface> PackBackground(const ContentPack* pack, const char16_t* fileName);
// A picture of `pack` with its mask picture, as a soft-edged sprite; empty when either is missing.
void LoadPackSprite(Surface& target, const ContentPack* pack, const char16_t* colour, const char16_t* mask);

// A line of text in the middle of the screen, on a panel: what a list with nothing in it shows.
void DrawEmptyListNotice(Surface& surface, const char16_t* text);
