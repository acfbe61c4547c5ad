#include "sound/pcm_convert.h"

#include <algorithm>

namespace {

bool IsConvertible(const WaveFormat& format) {
  return format.formatTag == kWaveFormatPcm && (format.channels == 1 || format.channels == 2) &&
         (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.samplesPerSecond >= kLowestConvertibleRate &&
         format.samplesPerSecond <= kHighestConvertibleRate;
}

uint32_t BytesPerFrame(const WaveFormat& format) { return format.bitsPerSample / 8u * format.channels; }

// One sample on the 16-bit signed scale: 8-bit samples are unsigned with 128 as silence.
int32_t ReadSample(const uint8_t* frame, uint32_t channel, uint16_t bits) {
  if (bits == 8) return (static_cast<int32_t>(frame[channel]) - 128) * 256;
  const uint8_t* bytes = frame + channel * 2;
  return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | bytes[1] << 8));
}

void WriteSample(uint8_t* frame, uint32_t channel, uint16_t bits, int32_t value) {
  if (bits == 8) {
    frame[channel] = static_cast<uint8_t>(std::clamp((value + 128) >> 8, -128, 127) + 128);
    return;
  }
  const uint16_t raw = static_cast<uint16_t>(static_cast<int16_t>(value));
  frame[channel * 2] = static_cast<uint8_t>(raw);
  frame[channel * 2 + 1] = static_cast<uint8_t>(raw >> 8);
}

}  // namespace

bool PcmConversionSize(const WaveFormat& from, const WaveFormat& to, uint32_t inputBytes, uint32_t* outputBytes) {
  if (!IsConvertible(from) || !IsConvertible(to) || from.channels != to.channels) return false;
  const uint64_t inputFrames = inputBytes / BytesPerFrame(from);
  const uint64_t outputFrames = inputFrames * to.samplesPerSecond / from.samplesPerSecond;
  const uint64_t bytes = outputFrames * BytesPerFrame(to);
  if (bytes > UINT32_MAX) return false;
  *outputBytes = static_cast<uint32_t>(bytes);
  return true;
}

uint32_t ConvertPcm(const WaveFormat& from, const WaveFormat& to, const uint8_t* input, uint32_t inputBytes,
                    uint8_t* output, uint32_t outputCapacity) {
  uint32_t outputBytes = 0;
  if (!PcmConversionSize(from, to, inputBytes, &outputBytes) || outputBytes > outputCapacity) return 0;
  const uint32_t inFrameBytes = BytesPerFrame(from);
  const uint32_t outFrameBytes = BytesPerFrame(to);
  const uint64_t inputFrames = inputBytes / inFrameBytes;
  const uint64_t outputFrames = outputBytes / outFrameBytes;
  const uint64_t fromRate = from.samplesPerSecond;
  const uint64_t toRate = to.samplesPerSecond;
  for (uint64_t j = 0; j < outputFrames; ++j) {
    // Output frame j lies at input position j x from / to: frame `index` plus `fraction` / to.
    const uint64_t position = j * fromRate;
    const uint64_t index = position / toRate;
    const int64_t fraction = static_cast<int64_t>(position % toRate);
    const uint64_t nextIndex = std::min(index + 1, inputFrames - 1);
    const uint8_t* frame = input + index * inFrameBytes;
    const uint8_t* next = input + nextIndex * inFrameBytes;
    uint8_t* out = output + j * outFrameBytes;
    for (uint32_t channel = 0; channel < to.channels; ++channel) {
      const int64_t a = ReadSample(frame, channel, from.bitsPerSample);
      const int64_t b = ReadSample(next, channel, from.bitsPerSample);
      WriteSample(out, channel, to.bitsPerSample, static_cast<int32_t>(a + (b - a) * fraction / static_cast<int64_t>(toRate)));
    }
  }
  return outputBytes;
}
