// The flight recorder: one JSON line per world update, written after it, with everything that
// decides what happens next (commands, position, velocity, throttle states, fuel, flags, shots,
// goals, messages). Fixed-point values are written as their raw integers, so two runs can be
// compared exactly and a bug report carries the whole flight.
//
// Recording only reads the world: a run with the recorder flies exactly as one without it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/fixed.h"

class GameWorld;

// The line for the update that just ran (without the newline). `clockMs` is the tick time.
std::string FlightTraceLine(const GameWorld& world, uint32_t clockMs, uint32_t elapsedMs, fixed dt);

class FlightRecorder {
 public:
  // Lines go to `output` (not owned); `clock` is read for each line's time (not owned).
  FlightRecorder(std::FILE* output, const uint32_t* clock) : output_(output), clock_(clock) {}

  // Where the next lines go (null: nowhere); a trace may start in the middle of a mission.
  void SetOutput(std::FILE* output) { output_ = output; }
  // Writes and flushes one line, so a trace survives a crash up to its last frame.
  void Record(const GameWorld& world, uint32_t elapsedMs, fixed dt);

 private:
  std::FILE* output_;
  const uint32_t* clock_;
};
