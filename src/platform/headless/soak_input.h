// A soak: the game played at random for a stretch of simulated time, watching for the faults
// that only show in long runs (leaks above all).
//
// The gestures go through the script runner, so they reach the game exactly as a script's keys
// and taps do. Each pass the soak reads the game's state line (the script's `state`) to count the
// screens visited, the missions started and the popups opened, and it samples the resident
// memory once the first simulated minute is over and at the end: by then every kind of screen
// and mission has usually been through its allocations once, so what is resident should stay
// flat from there on.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "platform/headless/headless_input.h"
#include "platform/headless/headless_script.h"
#include "platform/headless/process_memory.h"
#include "platform/headless/soak_gestures.h"

class SoakInput : public HeadlessInput {
 public:
  static constexpr uint32_t kFirstMinuteMs = 60000;
  // How much the resident memory may grow after the first minute. A mission on screen holds
  // about 2 MiB more than a menu does (its landscape, meshes and sounds), so two samples may
  // differ by that much with nothing leaking; four times that, two thirds of all the program
  // holds (about 12 MiB), still shows a leak of a mission's worth within a few missions.
  static constexpr int64_t kGrowthBoundKiB = 8 * 1024;

  SoakInput(uint32_t seconds, uint64_t seed);

  void BeginPass(HeadlessPlatform& platform) override;
  // Takes one state line of the game (as the script's `state` prints it), `elapsedMs` into the
  // soak.
  void Observe(const std::string& state, uint32_t elapsedMs);
  // The game ended on its own before the time was up and has been started again.
  void NoteRestart() { ++restarts_; }

  // The time is up and the game has been asked to close.
  bool finished() const { return finished_; }
  // Prints what the run did and the memory figures; false when the memory grew past the bound
  // after the first minute (not checked under AddressSanitizer, whose quarantine grows).
  bool Report(std::FILE* output) const;

 private:
  uint32_t durationMs_;
  uint64_t seed_;
  HeadlessScript runner_;
  SoakGestures gestures_;
  bool started_ = false;
  bool finished_ = false;
  uint32_t startMs_ = 0;
  uint32_t elapsedMs_ = 0;
  uint64_t frames_ = 0;
  uint32_t restarts_ = 0;

  struct ScreenVisits {
    uint32_t count = 0;
    uint32_t milliseconds = 0;
  };

  std::string screen_;
  uint32_t screenSinceMs_ = 0;
  int popupDepth_ = 0;
  std::map<std::string, ScreenVisits> visits_;
  uint32_t missionsStarted_ = 0;
  uint32_t missionsWon_ = 0;
  uint32_t missionsLost_ = 0;
  uint32_t popupsOpened_ = 0;
  uint32_t popupsInMissions_ = 0;

  std::optional<ResidentMemory> afterFirstMinute_;
  ResidentMemory atEnd_;
};
