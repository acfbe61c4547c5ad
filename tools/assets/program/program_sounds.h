// The program's own sound effects (WAV resources 100, 110, ..., 200), synthesised.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ProgramSound {
  uint32_t id;
  std::string title;
  bool loops;  // played looped: its end must run into its start without a click
  std::vector<int16_t> samples;  // PCM 16-bit mono at kSynthRate
};

// Every sound, in id order.
std::vector<ProgramSound> MakeProgramSounds();
