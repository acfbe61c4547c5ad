// Reading a WAV file image: the RIFF chunk walk that finds the format record and the samples.
#pragma once

#include <cstdint>

#include "sound/wave_format.h"

struct WavContents {
  WaveFormat format;  // all zero when the image has no usable "fmt " chunk
  const uint8_t* samples = nullptr;  // inside the image
  uint32_t size = 0;                 // bytes of samples
};

// False when the image is not RIFF/WAVE or holds no "data" chunk within its bounds. The walk
// reads sizes byte by byte (images need not be aligned), stops at a chunk that claims more
// bytes than remain, takes the last "fmt " chunk of 16 or at least 18 bytes before "data", and
// ends at the first "data" chunk. Chunks are not padded to even sizes.
bool ReadWavImage(const uint8_t* image, uint32_t size, WavContents* contents);
