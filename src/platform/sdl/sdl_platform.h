// The desktop back-end: an SDL2 window showing the handheld's frame memory scaled by a whole
// factor, the keyboard, mouse and game controllers standing in for its keys and stylus.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/platform.h"

struct SdlOptions {
  int scale = 0;  // 0: the largest whole factor that fits the desktop
  bool fullscreen = false;
  // Told the window's scale and fullscreen state whenever the player changes them (Alt+Enter or
  // F11, resizing the window), so they can be remembered for the next start.
  std::function<void(int scale, bool fullscreen)> windowChanged;
};

// Null when SDL cannot start (no video driver at all).
std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options);
