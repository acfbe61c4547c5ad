// Shared pieces for the sound tests: WAV images built byte by byte, a fake audio output that
// records what the mixer asks of it, and a fixture that gives the process-wide mixer a fresh
// start and that fake output for every case.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio_output.h"
#include "sound/sound_mixer.h"
#include "sound/wave_format.h"

// A WAV image: "RIFF", size, "WAVE", then the chunks added in order.
class WavBuilder {
 public:
  WavBuilder& Chunk(const char* id, const std::vector<uint8_t>& body) {
    chunks_.insert(chunks_.end(), id, id + 4);
    Put32(chunks_, static_cast<uint32_t>(body.size()));
    chunks_.insert(chunks_.end(), body.begin(), body.end());
    return *this;
  }
  // A chunk header claiming `size` bytes, followed by `body` (which may be shorter or longer).
  WavBuilder& ChunkClaiming(const char* id, uint32_t size, const std::vector<uint8_t>& body) {
    chunks_.insert(chunks_.end(), id, id + 4);
    Put32(chunks_, size);
    chunks_.insert(chunks_.end(), body.begin(), body.end());
    return *this;
  }
  // A "fmt " chunk of `size` bytes (16, 18, or anything else) for the given PCM-like record.
  WavBuilder& Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16) {
    std::vector<uint8_t> body;
    const uint16_t blockAlign = static_cast<uint16_t>(channels * (bits / 8));
    Put16(body, tag);
    Put16(body, channels);
    Put32(body, rate);
    Put32(body, rate * blockAlign);
    Put16(body, blockAlign);
    Put16(body, bits);
    body.resize(size, 0);
    return Chunk("fmt ", body);
  }
  WavBuilder& Data(const std::vector<uint8_t>& samples) { return Chunk("data", samples); }

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> image = {'R', 'I', 'F', 'F'};
    Put32(image, static_cast<uint32_t>(4 + chunks_.size()));
    image.insert(image.end(), {'W', 'A', 'V', 'E'});
    image.insert(image.end(), chunks_.begin(), chunks_.end());
    return image;
  }

  static void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
  }
  static void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }

 private:
  std::vector<uint8_t> chunks_;
};

// 16-bit little-endian samples.
inline std::vector<uint8_t> Samples16(const std::vector<int16_t>& values) {
  std::vector<uint8_t> bytes;
  for (int16_t value : values) WavBuilder::Put16(bytes, static_cast<uint16_t>(value));
  return bytes;
}

// Records every call; refuses to open for the channel counts it is told to.
class FakeAudioOutput : public AudioOutput {
 public:
  struct Written {
    uint32_t index;
    std::vector<uint8_t> bytes;
  };

  bool Open(const AudioFormat& format, uint32_t bufferCount, uint32_t bufferBytes, AudioBufferDone onDone,
            void* context) override {
    openRequests.push_back(format.channels);
    if ((format.channels == 2 && refuseStereo) || (format.channels == 1 && refuseMono)) return false;
    EXPECT_EQ(format.samplesPerSecond, 22050u);
    EXPECT_EQ(format.bitsPerSample, 8u);
    EXPECT_EQ(bufferCount, 10u);
    EXPECT_EQ(bufferBytes, 2048u);
    open = true;
    openedChannels = format.channels;
    onDone_ = onDone;
    context_ = context;
    return true;
  }
  bool Write(uint32_t index, const uint8_t* bytes, uint32_t size) override {
    EXPECT_TRUE(open);
    writes.push_back(Written{index, std::vector<uint8_t>(bytes, bytes + size)});
    return open;
  }
  void SetVolume(uint32_t value) override { volume = value; }
  void Close() override {
    if (open) ++closes;
    open = false;
  }

  // The device has played buffer `index`.
  void Finish(uint32_t index) {
    ASSERT_TRUE(open);
    onDone_(context_, index);
  }

  bool refuseStereo = false;
  bool refuseMono = false;
  bool open = false;
  uint16_t openedChannels = 0;
  int closes = 0;
  uint32_t volume = 0;
  std::vector<uint16_t> openRequests;
  std::vector<Written> writes;

 private:
  AudioBufferDone onDone_ = nullptr;
  void* context_ = nullptr;
};

// Every case starts with a mixer as a fresh process has it, playing through `output`.
class MixerTest : public testing::Test {
 protected:
  void SetUp() override {
    SoundMixer::Instance().Reset();
    SoundMixer::Instance().SetOutput(&output);
  }
  void TearDown() override { SoundMixer::Instance().Reset(); }

  FakeAudioOutput output;
};

// Raw samples in the mixer's own form: PCM 22050 Hz 8-bit.
inline WaveFormat MixerFormat(uint16_t channels) { return PcmFormat(22050, 8, channels); }
