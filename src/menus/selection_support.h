// Pieces the mission, helicopter and loadout screens share: figures shown as bars that move to
// new values over the menus' cross-fade time, pictures from a definition's pack, and the notice
// of an empty list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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

// A bar three pixels high from (x, top): `value` of `largest` is 100 pixels. The second colours
// mark the laden figure of a pair, or a load over the limit.
void DrawFigureBar(Surface& surface, int32_t x, int32_t top, fixed value, fixed largest, bool secondColours);

// A picture drawn with its own soft edge (ARGB4444).
void DrawMaskedPicture(Surface& surface, const Surface& picture, int32_t x, int32_t y);

// The JPEG `fileName` of `pack` as a background; a missing or broken picture gives a black one.
std::unique_ptr<Surface> PackBackground(const ContentPack* pack, const char16_t* fileName);
// A picture of `pack` with its mask picture, as a soft-edged sprite; empty when either is missing.
void LoadPackSprite(Surface& target, const ContentPack* pack, const char16_t* colour, const char16_t* mask);

// `text` as a JSON string, quotes included (null: an empty string), for the state line.
std::string JsonText(const char16_t* text);

// A line of text in the middle of the screen, on a panel: what a list with nothing in it shows.
void DrawEmptyListNotice(Surface& surface, const char16_t* text);
