// Loading sounds: the WAV chunk walk, the three conversion steps and refusals of broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "sound/sound.h"
#include "sound_test_support.h"

namespace {

using SoundLoading = MixerTest;

TEST_F(SoundLoading, Mono16Bit11025HzBecomesTwiceAsMany8BitSamplesAt22050Hz) {
  // A rising ramp of 2 steps (of 8 bits) per input sample: the in-between output samples fall
  // half-way, and the last one repeats the final input sample.
  std::vector<int16_t> ramp;
  for (int i = 0; i < 8; ++i) ramp.push_back(static_cast<int16_t>(i * 512));
  const auto wav = WavBuilder().Format(1, 1, 11025, 16).Data(Samples16(ramp)).Build();

  Sound sound;
  ASSERT_TRUE(sound.LoadFromMemory(wav.data(), static_cast<uint32_t>(wav.size())));
  const WaveFormat& format = sound.format();
  EXPECT_EQ(format.formatTag, kWaveFormatPcm);
  EXPECT_EQ(format.channels, 1);
  EXPECT_EQ(format.samplesPerSecond, 22050u);
  EXPECT_EQ(format.bitsPerSample, 8);
  EXPECT_EQ(format.blockAlign, 1);
  EXPECT_EQ(format.averageBytesPerSecond, 22050u);
  EXPECT_EQ(format.extraSize, 0);
  ASSERT_EQ(sound.dataLength(), 16u);  // 8 samples of 2 bytes -> 16 samples of 1 byte
  const std::vector<uint8_t> expected = {128, 129, 130, 131, 132, 133, 134, 135,
                                         136, 137, 138, 139, 140, 141, 142, 142};
  EXPECT_EQ(std::vector<uint8_t>(sound.data(), sound.data() + sound.dataLength()), expected);
}

TEST_F(SoundLoading, MixerFormatIsCopiedUnchanged) {
  std::vector<uint8_t> samples = {0, 1, 127, 128, 129, 254, 255, 77};
  const auto wav = WavBuilder().Format(1, 2, 22050, 8).Data(samples).Build();
  Sound sound;
  ASSERT_TRUE(sound.LoadFromMemory(wav.data(), static_cast<uint32_t>(wav.size())));
  EXPECT_EQ(sound.format().channels, 2);
  ASSERT_EQ(sound.dataLength(), samples.size());
  EXPECT_TRUE(std::equal(samples.begin(), samples.end(), sound.data()));
  // The sound owns its samples: the file image may go away.
  EXPECT_TRUE(sound.data() < wav.data() || sound.data() >= wav.data() + wav.size());
}

TEST_F(SoundLoading, ConversionStepsKeepTheChannels) {
  const struct {
    const char* name;
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    std::vector<uint8_t> samples;
    std::vector<uint8_t> expected;
  } cases[] = {
      // Only the reduction to 8 bits: rounding to the nearest 8-bit step, both ends clipped.
      {"16-bit 22050 mono", 1, 22050, 16, Samples16({0, 127, 128, -128, -129, 32767, -32768, 0x4000}),
       {128, 128, 129, 128, 127, 255, 0, 192}},
      // Only the resampling: 8-bit 11025 Hz stereo, each side interpolated on its own.
      {"8-bit 11025 stereo", 2, 11025, 8, {100, 200, 110, 190}, {100, 200, 105, 195, 110, 190, 110, 190}},
      // Both: 44100 Hz takes every other frame.
      {"16-bit 44100 stereo", 2, 44100, 16, Samples16({256, -256, 512, -512, 768, -768, 1024, -1024}),
       {129, 127, 131, 125}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto wav = WavBuilder().Format(1, c.channels, c.rate, c.bits).Data(c.samples).Build();
    Sound sound;
    ASSERT_TRUE(sound.LoadFromMemory(wav.data(), static_cast<uint32_t>(wav.size())));
    EXPECT_EQ(sound.format().channels, c.channels);
    EXPECT_EQ(sound.format().samplesPerSecond, 22050u);
    EXPECT_EQ(sound.format().bitsPerSample, 8);
    EXPECT_EQ(sound.format().blockAlign, c.channels);
    EXPECT_EQ(std::vector<uint8_t>(sound.data(), sound.data() + sound.dataLength()), c.expected);
  }
}

TEST_F(SoundLoading, ChunkWalk) {
  const std::vector<uint8_t> samples = {1, 2, 3, 4};
  const struct {
    const char* name;
    std::vector<uint8_t> image;
    bool loads;
  } cases[] = {
      {"fmt of 16 bytes", WavBuilder().Format(1, 1, 22050, 8, 16).Data(samples).Build(), true},
      {"fmt of 18 bytes", WavBuilder().Format(1, 1, 22050, 8, 18).Data(samples).Build(), true},
      {"fmt of 20 bytes", WavBuilder().Format(1, 1, 22050, 8, 20).Data(samples).Build(), true},
      {"fmt of 14 bytes is ignored", WavBuilder().Format(1, 1, 22050, 8, 14).Data(samples).Build(), false},
      {"fmt of 17 bytes is ignored", WavBuilder().Format(1, 1, 22050, 8, 17).Data(samples).Build(), false},
      {"a later fmt of 14 keeps the earlier one",
       WavBuilder().Format(1, 1, 22050, 8, 16).Format(2, 1, 22050, 8, 14).Data(samples).Build(), true},
      {"other chunks are skipped",
       WavBuilder().Chunk("LIST", {'I', 'N', 'F', 'O'}).Format(1, 1, 22050, 8).Chunk("fact", {0, 0, 0, 0}).Data(samples).Build(),
       true},
      {"an odd-sized chunk is followed directly", WavBuilder().Chunk("LIST", {1, 2, 3}).Format(1, 1, 22050, 8).Data(samples).Build(),
       true},
      {"no fmt", WavBuilder().Data(samples).Build(), false},
      {"fmt after data", WavBuilder().Data(samples).Format(1, 1, 22050, 8).Build(), false},
      {"no data", WavBuilder().Format(1, 1, 22050, 8).Build(), false},
      {"empty data", WavBuilder().Format(1, 1, 22050, 8).Data({}).Chunk("pad!", {0}).Build(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Sound sound;
    EXPECT_EQ(sound.LoadFromMemory(c.image.data(), static_cast<uint32_t>(c.image.size())), c.loads);
    EXPECT_EQ(sound.HasData(), c.loads);
    if (c.loads) {
      EXPECT_EQ(std::vector<uint8_t>(sound.data(), sound.data() + sound.dataLength()), samples);
    }
  }
}

// Each image is copied into a block of exactly its size, so that a read past its end is caught
// by the address sanitizer.
bool LoadsExactly(Sound& sound, const std::vector<uint8_t>& image) {
  std::unique_ptr<uint8_t[]> exact(new uint8_t[image.size() + 1]);
  std::copy(image.begin(), image.end(), exact.get());
  return sound.LoadFromMemory(image.empty() ? nullptr : exact.get(), static_cast<uint32_t>(image.size()));
}

TEST_F(SoundLoading, BrokenFilesGiveAnEmptySound) {
  const std::vector<uint8_t> samples = {1, 2, 3, 4};
  auto notWave = WavBuilder().Format(1, 1, 22050, 8).Data(samples).Build();
  notWave[8] = 'X';
  auto notRiff = WavBuilder().Format(1, 1, 22050, 8).Data(samples).Build();
  notRiff[0] = 'r';
  const struct {
    const char* name;
    std::vector<uint8_t> image;
  } cases[] = {
      {"nothing", {}},
      {"shorter than the RIFF header", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'}},
      {"RIFF header only", WavBuilder().Build()},
      {"not WAVE", notWave},
      {"not RIFF", notRiff},
      {"data chunk larger than the file", WavBuilder().Format(1, 1, 22050, 8).ChunkClaiming("data", 5, samples).Build()},
      {"data chunk size near 4 GiB", WavBuilder().Format(1, 1, 22050, 8).ChunkClaiming("data", 0xFFFFFFF8u, samples).Build()},
      {"fmt chunk larger than the file", WavBuilder().ChunkClaiming("fmt ", 100, {1, 0, 1, 0}).Build()},
      {"chunk header cut short", WavBuilder().Format(1, 1, 22050, 8).ChunkClaiming("data", 4, {}).Build()},
      // Chunks are walked without pad bytes: a padded odd-sized chunk puts the walk off the
      // chunk headers, and it stops at the nonsense size it reads.
      {"odd-sized chunk with its pad byte before data",
       WavBuilder().ChunkClaiming("LIST", 3, {1, 2, 3, 0}).Format(1, 1, 22050, 8).Data(samples).Build()},
      {"zero channels", WavBuilder().Format(1, 0, 22050, 8).Data(samples).Build()},
      {"three channels", WavBuilder().Format(1, 3, 22050, 8).Data({1, 2, 3, 4, 5, 6}).Build()},
      {"zero rate", WavBuilder().Format(1, 1, 0, 16).Data(samples).Build()},
      {"rate of 1 Hz", WavBuilder().Format(1, 1, 1, 16).Data(samples).Build()},
      {"24-bit", WavBuilder().Format(1, 1, 44100, 24).Data({1, 2, 3, 4, 5, 6}).Build()},
      {"24-bit at 22050 Hz", WavBuilder().Format(1, 1, 22050, 24).Data({1, 2, 3, 4, 5, 6}).Build()},
      {"32-bit at 22050 Hz", WavBuilder().Format(1, 1, 22050, 32).Data({1, 2, 3, 4, 5, 6, 7, 8}).Build()},
      {"0-bit", WavBuilder().Format(1, 1, 11025, 0).Data(samples).Build()},
      {"compressed (ADPCM)", WavBuilder().Format(2, 1, 22050, 4, 20).Data(samples).Build()},
      {"16-bit with less than one sample", WavBuilder().Format(1, 1, 44100, 16).Data({7}).Build()},
      {"stereo with less than one frame", WavBuilder().Format(1, 2, 22050, 8).Data({7}).Build()},
      {"too short to resample into a frame", WavBuilder().Format(1, 1, 44100, 16).Data({7, 0}).Build()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Sound sound;
    EXPECT_FALSE(LoadsExactly(sound, c.image));
    EXPECT_FALSE(sound.HasData());
    EXPECT_EQ(sound.dataLength(), 0u);
    sound.Play(false);  // an empty sound plays nothing
    EXPECT_FALSE(sound.IsPlaying());
  }
  EXPECT_TRUE(output.openRequests.empty());
}

TEST_F(SoundLoading, EveryTruncationOfAGoodFileIsSafe) {
  const auto wav =
      WavBuilder().Chunk("LIST", {'I', 'N', 'F', 'O'}).Format(1, 2, 44100, 16, 18).Data(Samples16({1, 2, 3, 4, 5, 6, 7, 8})).Build();
  for (size_t size = 0; size < wav.size(); ++size) {
    Sound sound;
    EXPECT_FALSE(LoadsExactly(sound, std::vector<uint8_t>(wav.begin(), wav.begin() + size))) << size;
  }
  Sound whole;
  EXPECT_TRUE(LoadsExactly(whole, wav));
}

TEST_F(SoundLoading, StrayByteAfterTheLastStereoFrameIsDropped) {
  const auto wav = WavBuilder().Format(1, 2, 22050, 8).Data({10, 20, 30, 40, 50}).Build();
  Sound sound;
  ASSERT_TRUE(sound.LoadFromMemory(wav.data(), static_cast<uint32_t>(wav.size())));
  EXPECT_EQ(sound.dataLength(), 4u);
}

TEST_F(SoundLoading, RealRecordingWithAListChunk) {
  std::ifstream file(std::string(KESTREL_FIXTURES) + "/rar20/BoatModernEnglish.wav", std::ios::binary);
  ASSERT_TRUE(file) << "fixture missing";
  const std::vector<uint8_t> wav((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_EQ(wav.size(), 56464u);

  Sound sound;
  ASSERT_TRUE(sound.LoadFromMemory(wav.data(), static_cast<uint32_t>(wav.size())));
  EXPECT_EQ(sound.format().samplesPerSecond, 22050u);
  EXPECT_EQ(sound.format().bitsPerSample, 8);
  EXPECT_EQ(sound.format().channels, 1);
  // 56386 bytes of 16-bit samples at 44100 Hz: 28193 frames, 14096 of them at 22050 Hz.
  EXPECT_EQ(sound.dataLength(), 14096u);
  // It is speech, not silence: the samples move well away from 128 and are not clipped flat.
  const auto [low, high] = std::minmax_element(sound.data(), sound.data() + sound.dataLength());
  EXPECT_LT(*low, 128 - 20);
  EXPECT_GT(*high, 128 + 20);
  EXPECT_LT(std::count(sound.data(), sound.data() + sound.dataLength(), 255), 50);
}

TEST_F(SoundLoading, ResourcesByNumber) {
  Sound tone;
  ASSERT_TRUE(tone.LoadFromResource(140));  // 0.1 s, 16-bit mono 11025 Hz
  EXPECT_EQ(tone.dataLength(), 2 * 1102u);
  Sound missing;
  EXPECT_FALSE(missing.LoadFromResource(999));
  EXPECT_FALSE(missing.HasData());
}

TEST_F(SoundLoading, LoadingAgainReplacesTheSamples) {
  const auto first = WavBuilder().Format(1, 1, 22050, 8).Data({1, 2, 3}).Build();
  Sound sound;
  ASSERT_TRUE(sound.LoadFromMemory(first.data(), static_cast<uint32_t>(first.size())));
  sound.Play(true);
  ASSERT_EQ(SoundMixer::Instance().ChannelsInUse(), 1u);
  // The playing channel must not go on reading the old samples once they are freed.
  EXPECT_FALSE(sound.LoadFromMemory(first.data(), 5));
  EXPECT_FALSE(sound.HasData());
  EXPECT_FALSE(sound.IsPlaying());
  EXPECT_EQ(SoundMixer::Instance().ChannelsInUse(), 0u);
}

}  // namespace
