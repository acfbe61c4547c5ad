// The wave format record of WAV files, and the one sample format the mixer plays.
#pragma once

#include <cstdint>

// The 18-byte format record of a WAV file's "fmt " chunk, field for field.
struct WaveFormat {
  uint16_t formatTag = 0;  // 1 = PCM; anything else is compressed
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t averageBytesPerSecond = 0;
  uint16_t blockAlign = 0;  // bytes per frame
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;  // bytes of format-specific data after the record
};

constexpr uint16_t kWaveFormatPcm = 1;

// Every loaded sound is turned into this: PCM, 8-bit unsigned samples (128 is silence),
// 22050 frames a second, mono or stereo as recorded.
constexpr uint32_t kMixerSamplesPerSecond = 22050;
constexpr uint16_t kMixerBitsPerSample = 8;

// A PCM record with the given rate, bits and channels and the fields that follow from them.
inline WaveFormat PcmFormat(uint32_t samplesPerSecond, uint16_t bitsPerSample, uint16_t channels) {
  WaveFormat format;
  format.formatTag = kWaveFormatPcm;
  format.channels = channels;
  format.samplesPerSecond = samplesPerSecond;
  format.averageBytesPerSecond = bitsPerSample / 8u * channels * samplesPerSecond;
  format.blockAlign = static_cast<uint16_t>((bitsPerSample == 8 ? 1 : 2) * channels);
  format.bitsPerSample = bitsPerSample;
  format.extraSize = 0;
  return format;
}

inline bool IsMixerFormat(const WaveFormat& format) {
  return format.formatTag == kWaveFormatPcm && format.bitsPerSample == kMixerBitsPerSample &&
         format.samplesPerSecond == kMixerSamplesPerSecond;
}
