#include "sound/sound.h"

#include <cstring>

#include "core/memory.h"
#include "platform/resources.h"
#include "sound/pcm_convert.h"
#include "sound/sound_mixer.h"
#include "sound/wav_file.h"

Sound::Sound() { SoundMixer::Instance().SoundMade(); }

Sound::~Sound() { Release(); }

bool Sound::LoadFromResource(uint32_t id) {
  const ResourceBytes wav = FindResource(ResourceKind::Sound, id);
  if (wav.data == nullptr) {
    Empty();
    return false;
  }
  return LoadFromMemory(wav.data, wav.size);
}

bool Sound::LoadFromMemory(const uint8_t* image, uint32_t size) {
  WavContents contents;
  if (!ReadWavImage(image, size, &contents)) {
    Empty();
    return false;
  }
  return LoadFromData(contents.format, contents.samples, contents.size);
}

bool Sound::LoadFromData(const WaveFormat& format, const uint8_t* samples, uint32_t size) {
  Empty();
  // The mixer plays mono or stereo only; a record with any other channel count would pass the
  // steps below untouched when it already claims 22050 Hz 8-bit.
  if (samples == nullptr || size == 0 || (format.channels != 1 && format.channels != 2)) return false;

  // Three steps, each skipped when the samples already have its form: decode to PCM, resample
  // to 22050 Hz, reduce to 8 bits. Each converted block replaces the one before.
  struct Step {
    uint32_t samplesPerSecond;
    uint16_t bitsPerSample;
  };
  const Step steps[] = {{format.samplesPerSecond, format.bitsPerSample},
                        {kMixerSamplesPerSecond, format.bitsPerSample},
                        {kMixerSamplesPerSecond, kMixerBitsPerSample}};
  WaveFormat current = format;
  const uint8_t* input = samples;
  uint32_t inputSize = size;
  uint8_t* converted = nullptr;
  for (const Step& step : steps) {
    if (current.formatTag == kWaveFormatPcm && current.samplesPerSecond == step.samplesPerSecond &&
        current.bitsPerSample == step.bitsPerSample) {
      continue;
    }
    const WaveFormat target = PcmFormat(step.samplesPerSecond, step.bitsPerSample, current.channels);
    uint32_t outputSize = 0;
    uint8_t* block = nullptr;
    uint32_t produced = 0;
    if (PcmConversionSize(current, target, inputSize, &outputSize) && outputSize > 0) {
      block = static_cast<uint8_t*>(CheckedAlloc(outputSize));
    }
    if (block != nullptr) produced = ConvertPcm(current, target, input, inputSize, block, outputSize);
    if (produced == 0) {
      Free(block);
      Free(converted);
      return false;
    }
    Free(converted);
    converted = block;
    input = block;
    inputSize = produced;
    current = target;
  }

  // Whole frames only: a stray byte after the last stereo frame would keep the mixer from ever
  // reaching the end of the sound.
  const uint32_t length = inputSize - inputSize % current.channels;
  if (length == 0) {
    Free(converted);
    return false;
  }
  if (converted == nullptr) {
    // Already in the mixer's form: the sound keeps its own copy.
    converted = static_cast<uint8_t*>(CheckedAlloc(length));
    if (converted == nullptr) return false;
    std::memcpy(converted, samples, length);
  }
  data_ = converted;
  dataLength_ = length;
  format_ = current;
  return true;
}

void Sound::Play(bool loop) {
  if (!HasData()) return;
  SoundMixer::Instance().Play(*this, loop);
}

void Sound::Stop() { SoundMixer::Instance().Stop(*this); }

bool Sound::IsPlaying() const { return SoundMixer::Instance().IsPlaying(*this); }

void Sound::Release() {
  Empty();
  SoundMixer::Instance().SoundReleased(counted_);
  counted_ = false;
}

void Sound::SetVolume(uint8_t level) { SoundMixer::Instance().SetVolume(level); }

void Sound::Empty() {
  Stop();
  Free(data_);
  data_ = nullptr;
  dataLength_ = 0;
  format_ = WaveFormat{};
}
