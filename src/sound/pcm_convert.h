// The PCM converter that stands in for the handheld's audio compression manager: plain PCM of
// 8 or 16 bits, mono or stereo, from one rate and sample size to another, keeping the channel
// count. Rates change by linear interpolation between neighbouring frames; 16-bit samples
// become 8-bit ones by rounding to the nearest step. Compressed formats are not decoded.
//
// Written here rather than borrowed from SDL so that loading is the same, byte for byte, in
// every build (headless, desktop, tests) and the sound library needs no platform library.
#pragma once

#include <cstdint>

#include "sound/wave_format.h"

// Rates outside these bounds are not sound a WAV file carries; refusing them also keeps a
// damaged header from asking for gigabytes of resampled output.
constexpr uint32_t kLowestConvertibleRate = 1000;
constexpr uint32_t kHighestConvertibleRate = 384000;

// Whether `from` can be turned into `to`; if so, `*outputBytes` is the size of what the whole
// input of `inputBytes` converts to (whole frames only; a partial last frame is dropped).
bool PcmConversionSize(const WaveFormat& from, const WaveFormat& to, uint32_t inputBytes, uint32_t* outputBytes);

// Converts the whole input into `output`; the number of bytes produced, 0 when the pair cannot
// be converted or the output does not fit in `outputCapacity`.
uint32_t ConvertPcm(const WaveFormat& from, const WaveFormat& to, const uint8_t* input, uint32_t inputBytes,
                    uint8_t* output, uint32_t outputCapacity);
