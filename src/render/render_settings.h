// What the "DrawDistance" and "ImageQuality" settings (0..3 each) mean to the 3D view: the far
// distance shared by the terrain and the objects, and the terrain's detail ranges. All values
// are 16.16 metres.
#pragma once

#include <cstdint>

#include "core/fixed.h"

// Distances at which the terrain ray doubles its step, nearest first. 32000.0 is never reached
// by any ray and ends the doubling.
constexpr uint32_t kRayStepThresholdCount = 5;

struct ImageQuality {
  fixed nearDistance;    // rays interpolate the ground height between samples up to here
  fixed filterDistance;  // the ground texture is filtered bilinearly up to here
  fixed stepThresholds[kRayStepThresholdCount];
};

constexpr uint32_t kSettingLevels = 4;

// Indexed by "DrawDistance".
constexpr fixed kDrawDistances[kSettingLevels] = {IntToFixed(300), IntToFixed(500), IntToFixed(800),
                                                  IntToFixed(1200)};

// Indexed by "ImageQuality".
constexpr ImageQuality kImageQualities[kSettingLevels] = {
    {0, 0, {0, IntToFixed(150), IntToFixed(300), IntToFixed(500), IntToFixed(32000)}},
    {IntToFixed(200), 0, {0, IntToFixed(150), IntToFixed(300), IntToFixed(500), IntToFixed(32000)}},
    {IntToFixed(300), IntToFixed(200), {0, IntToFixed(150), IntToFixed(300), IntToFixed(500), IntToFixed(32000)}},
    {IntToFixed(500), IntToFixed(250),
     {IntToFixed(150), IntToFixed(300), IntToFixed(500), IntToFixed(32000), IntToFixed(32000)}},
};

// A stored setting outside 0..3 is taken as the highest level.
constexpr fixed FarDistanceFor(uint32_t drawDistance) {
  return kDrawDistances[drawDistance < kSettingLevels ? drawDistance : kSettingLevels - 1];
}
constexpr const ImageQuality& ImageQualityFor(uint32_t imageQuality) {
  return kImageQualities[imageQuality < kSettingLevels ? imageQuality : kSettingLevels - 1];
}
