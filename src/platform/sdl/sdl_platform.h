// The desktop back-end: an SDL2 window showing the handheld's frame memory scaled by a whole
// factor, the keyboard, mouse and game controllers standing in for its keys and stylus.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"

struct SdlOptions {
  int scale = 0;  // 0: the largest whole factor that fits the desktop
  bool fullscreen = false;
};

// Null when SDL cannot start (no video driver at all).
std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options);
