// The ten logical keys and the device keys that produce them in each display mode.
#pragma once

#include <cstdint>

enum KeyIndex : uint8_t {
  KeyUp = 0,
  KeyDown = 1,
  KeyLeft = 2,
  KeyRight = 3,
  KeyAction = 4,
  KeyApp1 = 5,
  KeyApp2 = 6,
  KeyApp3 = 7,
  KeyApp4 = 8,
  KeyApp5 = 9,  // the screenshot key
  KeyCount = 10,
};

// A KeyState word: bit 31 set while the key is held, bits 0..30 the milliseconds it has been held
// since its last key-down message (automatic repeats restart the count). 0: not held.
constexpr uint32_t kKeyHeld = 0x80000000u;

enum ScreenMode : uint32_t {
  ScreenModePortrait = 0,
  ScreenModeLandscape = 1,
  ScreenModeNone = 2,
};

// The logical key of a device key in a display mode, or KeyCount when it has none (and in mode
// ScreenModeNone, where no key counts). In landscape the device is held turned a quarter
// clockwise, so its physical left key points up, its down key left, and so on.
uint8_t KeyIndexForDeviceKey(uint32_t screenMode, uint16_t virtualKey);
