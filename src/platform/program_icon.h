// The window icon: a 64 x 64 program picture and its own mask, drawn by kestrel-program-assets.
#pragma once

#include <cstdint>

constexpr uint32_t kProgramIconPicture = 1500;
constexpr uint32_t kProgramIconMask = 1501;
