// The headless audio output: buffers played in simulated time, and recordings of what the
// mixer sends it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "platform/headless/headless_platform.h"
#include "sound/sound.h"
#include "sound/wav_file.h"
#include "sound_test_support.h"

namespace {

void RecordDone(void* context, uint32_t index) { static_cast<std::vector<uint32_t>*>(context)->push_back(index); }

TEST(HeadlessAudioOutput, PlaysBuffersAsSimulatedTimePasses) {
  HeadlessAudioOutput audio;
  std::vector<uint32_t> done;
  ASSERT_TRUE(audio.Open(AudioFormat{22050, 2, 8}, 4, 2048, &RecordDone, &done));
  const std::vector<uint8_t> bytes(2048, 128);
  for (uint32_t i = 0; i < 3; ++i) ASSERT_TRUE(audio.Write(i, bytes.data(), 2048));
  EXPECT_FALSE(audio.Write(1, bytes.data(), 2048));  // still queued
  EXPECT_FALSE(audio.Write(4, bytes.data(), 2048));  // no such buffer
  EXPECT_FALSE(audio.Write(3, bytes.data(), 2049));  // does not fit

  // 1024 stereo frames a buffer, 22050 frames a second: the first is done after 46.4 ms.
  audio.AdvanceTime(46);
  EXPECT_EQ(audio.framesPlayed(), 1014u);
  EXPECT_TRUE(done.empty());
  audio.AdvanceTime(1);
  EXPECT_EQ(done, std::vector<uint32_t>{0});
  EXPECT_TRUE(audio.Write(0, bytes.data(), 2048));  // played, so it may be queued again

  // Fractions of a frame carry over: a thousand single milliseconds are 22050 frames.
  for (int i = 0; i < 1000; ++i) audio.AdvanceTime(1);
  EXPECT_EQ(audio.framesPlayed(), 1036u + 22050u);
  EXPECT_EQ(done, (std::vector<uint32_t>{0, 1, 2, 0}));  // then silence, reporting nothing
  EXPECT_EQ(audio.queuedBuffers(), 0u);

  audio.Close();
  EXPECT_FALSE(audio.Write(0, bytes.data(), 2048));
  audio.AdvanceTime(1000);
  EXPECT_EQ(audio.framesPlayed(), 1036u + 22050u);
}

// A WAV file written by the headless output, read back.
struct Recording {
  std::vector<uint8_t> image;
  WavContents contents;
};

class HeadlessMixing : public testing::Test {
 protected:
  void SetUp() override {
    SoundMixer::Instance().Reset();
    path_ = std::filesystem::temp_directory_path() /
            ("kestrel-sound-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
             std::to_string(::getpid()) + ".wav");
  }
  void TearDown() override {
    SoundMixer::Instance().Reset();
    std::filesystem::remove(path_);
  }

  Recording Read() {
    Recording recording;
    std::ifstream file(path_, std::ios::binary);
    recording.image.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    EXPECT_TRUE(ReadWavImage(recording.image.data(), static_cast<uint32_t>(recording.image.size()), &recording.contents));
    return recording;
  }

  std::filesystem::path path_;
};

TEST_F(HeadlessMixing, RecordingIsTheWholeSoundWithoutGaps) {
  // 25 buffers' worth of mono frames, each buffer-sized stretch at its own level.
  constexpr uint32_t kChunks = 25;
  std::vector<uint8_t> samples;
  for (uint32_t chunk = 0; chunk < kChunks; ++chunk) samples.insert(samples.end(), 1024, static_cast<uint8_t>(10 + chunk * 8));
  uint64_t framesPlayed = 0;
  {
    HeadlessPlatform platform;
    ASSERT_TRUE(platform.audio().RecordTo(path_.string()));
    SoundMixer::Instance().SetOutput(platform.Audio());
    Sound sound;
    ASSERT_TRUE(sound.LoadFromData(MixerFormat(1), samples.data(), static_cast<uint32_t>(samples.size())));
    sound.Play(false);
    for (int tick = 0; tick < 60; ++tick) platform.AdvanceClock(33);  // 1980 ms
    EXPECT_FALSE(sound.IsPlaying());
    framesPlayed = platform.audio().framesPlayed();
    sound.Release();
    EXPECT_FALSE(platform.audio().isOpen());
    SoundMixer::Instance().SetOutput(nullptr);
  }
  EXPECT_EQ(framesPlayed, 1980u * 22050u / 1000u);

  const Recording recording = Read();
  const WaveFormat& format = recording.contents.format;
  EXPECT_EQ(format.formatTag, kWaveFormatPcm);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.samplesPerSecond, 22050u);
  EXPECT_EQ(format.bitsPerSample, 8);
  ASSERT_EQ(recording.contents.size, framesPlayed * 2);
  const uint8_t* played = recording.contents.samples;
  for (uint32_t frame = 0; frame < framesPlayed; ++frame) {
    const uint8_t expected = frame < kChunks * 1024 ? static_cast<uint8_t>(10 + frame / 1024 * 8) : 128;
    ASSERT_EQ(played[frame * 2], expected) << frame;
    ASSERT_EQ(played[frame * 2 + 1], expected) << frame;
  }
}

TEST_F(HeadlessMixing, TwoSoundsMixedThenScaledByTheVolume) {
  uint64_t framesPlayed = 0;
  {
    HeadlessPlatform platform;
    ASSERT_TRUE(platform.audio().RecordTo(path_.string()));
    SoundMixer::Instance().SetOutput(platform.Audio());
    Sound engine;
    Sound blip;
    const std::vector<uint8_t> engineLevel(300, 200);
    const std::vector<uint8_t> blipLevel(2205, 128);  // 0.1 s of silence-level samples
    ASSERT_TRUE(engine.LoadFromData(MixerFormat(1), engineLevel.data(), 300));
    ASSERT_TRUE(blip.LoadFromData(MixerFormat(1), blipLevel.data(), 2205));
    engine.Play(true);  // primes ten buffers with the engine alone
    blip.Play(false);   // joins from the first refill on: (200 + 128) / 2 = 164, shaped to 168
    for (int tick = 0; tick < 30; ++tick) platform.AdvanceClock(33);
    Sound::SetVolume(128);  // half: 200 -> 128 + 72 x 32896 / 65535 = 164
    for (int tick = 0; tick < 30; ++tick) platform.AdvanceClock(33);
    framesPlayed = platform.audio().framesPlayed();
  }
  const Recording recording = Read();
  ASSERT_EQ(recording.contents.size, framesPlayed * 2);
  const uint8_t* played = recording.contents.samples;
  const uint32_t firstRefill = 10 * 1024;
  const uint32_t volumeChange = 990 * 22050 / 1000;
  for (uint32_t frame = 0; frame < framesPlayed; ++frame) {
    uint8_t expected = frame >= firstRefill && frame < firstRefill + 2205 ? 168 : 200;
    if (frame >= volumeChange) expected = 164;
    ASSERT_EQ(played[frame * 2], expected) << frame;
  }
}

}  // namespace
