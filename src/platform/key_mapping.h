// How the direction keys reach the game when the player holds the device in landscape mode.
//
// In landscape the device is turned a quarter clockwise, so its physical keys point another way
// than their names. A desktop player means the arrow as seen on screen; the desktop back-end and
// the script runner turn the arrow into the device key that points that way when held turned.
#pragma once

#include <cstdint>

#include "platform/platform.h"

inline uint16_t TurnArrowKeyForLandscape(uint16_t deviceKey) {
  switch (deviceKey) {
    case DeviceKey::Up:
      return DeviceKey::Left;
    case DeviceKey::Down:
      return DeviceKey::Right;
    case DeviceKey::Left:
      return DeviceKey::Down;
    case DeviceKey::Right:
      return DeviceKey::Up;
    default:
      return deviceKey;
  }
}

// A point of the picture as the player sees it (back-surface coordinates in the current
// orientation) to the display pixel under it. `displayHeight` is the portrait height (320).
inline void PictureToDisplay(bool landscape, int32_t displayHeight, int32_t x, int32_t y, int32_t* displayX,
                             int32_t* displayY) {
  if (landscape) {
    *displayX = y;
    *displayY = displayHeight - 1 - x;
  } else {
    *displayX = x;
    *displayY = y;
  }
}
