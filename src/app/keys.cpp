#include "app/keys.h"

#include "platform/platform.h"

namespace {

constexpr uint16_t kPortraitKeys[KeyCount] = {DeviceKey::Up,   DeviceKey::Down, DeviceKey::Left, DeviceKey::Right,
                                              DeviceKey::Action, DeviceKey::App1, DeviceKey::App2, DeviceKey::App3,
                                              DeviceKey::App4, DeviceKey::App5};
constexpr uint16_t kLandscapeKeys[KeyCount] = {DeviceKey::Left, DeviceKey::Right, DeviceKey::Down, DeviceKey::Up,
                                               DeviceKey::Action, DeviceKey::App1, DeviceKey::App2, DeviceKey::App3,
                                               DeviceKey::App4, DeviceKey::App5};

}  // namespace

uint8_t KeyIndexForDeviceKey(uint32_t screenMode, uint16_t virtualKey) {
  const uint16_t* table = nullptr;
  if (screenMode == ScreenModePortrait) table = kPortraitKeys;
  if (screenMode == ScreenModeLandscape) table = kLandscapeKeys;
  if (table == nullptr) return KeyCount;
  for (uint8_t i = 0; i < KeyCount; ++i) {
    if (table[i] == virtualKey) return i;
  }
  return KeyCount;
}
