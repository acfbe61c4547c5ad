// The mixer: channels, the ring of output buffers, mixing, and the device's life.
#include <gtest/gtest.h>

#include <memory>

#include "sound/sound.h"
#include "sound_test_support.h"

namespace {

constexpr uint32_t kBufferBytes = SoundMixer::kBufferBytes;

void Load(Sound& sound, uint16_t channels, const std::vector<uint8_t>& samples) {
  ASSERT_TRUE(sound.LoadFromData(MixerFormat(channels), samples.data(), static_cast<uint32_t>(samples.size())));
}

std::vector<uint8_t> Constant(uint8_t value, size_t count) { return std::vector<uint8_t>(count, value); }

SoundMixer& Mixer() { return SoundMixer::Instance(); }

TEST_F(MixerTest, FirstPlayOpensStereoAndPrimesAllTenBuffers) {
  Sound sound;
  Load(sound, 1, Constant(200, 100));
  sound.Play(false);

  ASSERT_TRUE(output.open);
  EXPECT_EQ(output.openRequests, std::vector<uint16_t>{2});
  EXPECT_TRUE(Mixer().DeviceStereo());
  ASSERT_EQ(output.writes.size(), 10u);
  for (uint32_t i = 0; i < 10; ++i) {
    EXPECT_EQ(output.writes[i].index, i);
    ASSERT_EQ(output.writes[i].bytes.size(), kBufferBytes);
  }
  // 100 mono frames fill 200 bytes of the stereo buffer; the rest, and the other buffers, are
  // silence.
  std::vector<uint8_t> first = Constant(200, 200);
  first.resize(kBufferBytes, 128);
  EXPECT_EQ(output.writes[0].bytes, first);
  for (uint32_t i = 1; i < 10; ++i) EXPECT_EQ(output.writes[i].bytes, Constant(128, kBufferBytes)) << i;

  // The priming pass frees nothing: the ended channel waits for the next mixing pass.
  EXPECT_TRUE(sound.IsPlaying());
  EXPECT_EQ(Mixer().ChannelsInUse(), 1u);
  output.writes.clear();
  output.Finish(0);  // buffer 9 is still queued: nothing is mixed yet
  EXPECT_TRUE(output.writes.empty());
  EXPECT_TRUE(sound.IsPlaying());
  output.Finish(1);  // buffer 0 is mixed again, and the ended channel is freed on the way
  ASSERT_EQ(output.writes.size(), 1u);
  EXPECT_EQ(output.writes[0].index, 0u);
  EXPECT_FALSE(sound.IsPlaying());
  EXPECT_EQ(Mixer().ChannelsInUse(), 0u);
}

TEST_F(MixerTest, EachPlayedBufferRefillsTheOneBeforeIt) {
  Sound sound;
  Load(sound, 1, Constant(90, 10));
  sound.Play(true);
  // The device reports the buffers in the order they were written: 0..9, then round again.
  // The first report's buffer 9 was primed and is still queued, so it is left alone; after
  // that, nine buffers stay queued while the one just played waits for the next report.
  for (uint32_t report = 0; report < 25; ++report) {
    const uint32_t finished = report % 10;
    output.writes.clear();
    output.Finish(finished);
    if (report == 0) {
      EXPECT_TRUE(output.writes.empty());
      continue;
    }
    ASSERT_EQ(output.writes.size(), 1u) << report;
    EXPECT_EQ(output.writes[0].index, (finished + 9) % 10) << report;
    EXPECT_EQ(output.writes[0].bytes, Constant(90, kBufferBytes));  // the loop fills it all
  }
}

TEST_F(MixerTest, LoopShorterThanABufferRepeatsAcrossIt) {
  Sound sound;
  Load(sound, 1, {10, 20, 30});
  sound.Play(true);
  ASSERT_EQ(output.writes.size(), 10u);
  const std::vector<uint8_t>& first = output.writes[0].bytes;
  const uint8_t cycle[3] = {10, 20, 30};
  for (uint32_t frame = 0; frame < kBufferBytes / 2; ++frame) {
    ASSERT_EQ(first[frame * 2], cycle[frame % 3]) << frame;
    ASSERT_EQ(first[frame * 2 + 1], cycle[frame % 3]) << frame;
  }
  // 1024 frames a buffer: the next one goes on where this one stopped.
  EXPECT_EQ(output.writes[1].bytes[0], cycle[1024 % 3]);
  EXPECT_TRUE(sound.IsPlaying());
}

TEST_F(MixerTest, SourceAndDeviceChannels) {
  const struct {
    const char* name;
    bool refuseStereo;
    uint16_t sourceChannels;
    std::vector<uint8_t> samples;
    std::vector<uint8_t> expectedStart;
  } cases[] = {
      {"mono on stereo: both sides", false, 1, {40, 50}, {40, 40, 50, 50, 128, 128}},
      {"stereo on stereo", false, 2, {40, 200, 50, 210}, {40, 200, 50, 210, 128, 128}},
      {"stereo on mono: the average", true, 2, {40, 200, 51, 210}, {120, 130, 128, 128}},
      {"mono on mono", true, 1, {40, 50}, {40, 50, 128, 128}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Mixer().Reset();
    FakeAudioOutput device;
    device.refuseStereo = c.refuseStereo;
    Mixer().SetOutput(&device);
    {
      Sound sound;
      Load(sound, c.sourceChannels, c.samples);
      sound.Play(false);
      ASSERT_EQ(device.writes.size(), 10u);
      EXPECT_EQ(device.openRequests.size(), c.refuseStereo ? 2u : 1u);
      EXPECT_EQ(Mixer().DeviceStereo(), !c.refuseStereo);
      const std::vector<uint8_t>& first = device.writes[0].bytes;
      EXPECT_EQ(std::vector<uint8_t>(first.begin(), first.begin() + c.expectedStart.size()), c.expectedStart);
    }
    Mixer().Reset();
  }
}

TEST_F(MixerTest, MixingAveragesAndExpands) {
  const struct {
    std::vector<uint8_t> channels;  // constant levels, in table order
    uint8_t expected;
  } cases[] = {
      {{255, 255, 255}, 255},  // (255 + 255) / 2 = 255; (255 x 2 + 255) / 3 = 255
      {{128, 200}, 168},       // (128 + 200) / 2 = 164, + 36 / 8
      {{200, 128}, 168},
      {{100, 50}, 69},  // 75 - 53 / 8
      {{128, 128}, 128},
      {{250, 250}, 255},  // 241..255 go to full scale
      {{10, 10}, 0},      // 0..15 go to zero
      {{200, 100, 40}, 113},  // 150 -> 152, then (152 x 2 + 40) / 3 = 114 -> 114 - 14 / 8
  };
  for (const auto& c : cases) {
    Mixer().Reset();
    FakeAudioOutput device;
    Mixer().SetOutput(&device);
    {
      std::vector<std::unique_ptr<Sound>> sounds;
      for (uint8_t level : c.channels) {
        sounds.push_back(std::make_unique<Sound>());
        Load(*sounds.back(), 1, Constant(level, 64));
        sounds.back()->Play(true);
      }
      // The priming pass ran at the first play; the next refill mixes every channel.
      device.Finish(0);
      device.Finish(1);
      ASSERT_EQ(device.writes.back().index, 0u);
      EXPECT_EQ(device.writes.back().bytes, Constant(c.expected, kBufferBytes)) << int(c.channels[0]);
    }
    Mixer().Reset();
  }
}

TEST_F(MixerTest, ThreePlaysTakeThreeChannelsAndStopEndsThemAll) {
  Sound sound;
  Sound other;
  Load(sound, 1, Constant(150, 5000));
  Load(other, 1, Constant(100, 5000));
  sound.Play(false);
  sound.Play(true);
  other.Play(false);
  sound.Play(false);
  EXPECT_EQ(Mixer().ChannelsInUse(), 4u);
  EXPECT_EQ(Mixer().ChannelRecords(), 4u);

  sound.Stop();
  EXPECT_FALSE(sound.IsPlaying());
  EXPECT_TRUE(other.IsPlaying());
  EXPECT_EQ(Mixer().ChannelsInUse(), 1u);

  // Free records are taken again before the table grows.
  sound.Play(false);
  sound.Play(false);
  EXPECT_EQ(Mixer().ChannelsInUse(), 3u);
  EXPECT_EQ(Mixer().ChannelRecords(), 4u);
}

TEST_F(MixerTest, WithoutADevicePlayStillCountsAsPlaying) {
  output.refuseStereo = true;
  output.refuseMono = true;
  Sound sound;
  Load(sound, 1, Constant(150, 100));
  sound.Play(false);
  EXPECT_TRUE(sound.IsPlaying());
  EXPECT_FALSE(Mixer().DeviceOpen());
  EXPECT_EQ(Mixer().ChannelsInUse(), 0u);
  EXPECT_EQ(output.openRequests, (std::vector<uint16_t>{2, 1}));
  EXPECT_TRUE(output.writes.empty());

  sound.Play(false);  // tries the device again
  EXPECT_EQ(output.openRequests, (std::vector<uint16_t>{2, 1, 2, 1}));
  sound.Stop();
  EXPECT_FALSE(sound.IsPlaying());

  // With no output at all, the same.
  Mixer().SetOutput(nullptr);
  sound.Play(true);
  EXPECT_TRUE(sound.IsPlaying());
  sound.Release();
  EXPECT_FALSE(sound.IsPlaying());
}

TEST_F(MixerTest, DeviceStaysOpenWhileAnySoundExists) {
  auto first = std::make_unique<Sound>();
  auto second = std::make_unique<Sound>();
  Load(*first, 1, Constant(150, 100));
  Load(*second, 1, Constant(100, 100));
  first->Play(true);
  second->Play(false);
  ASSERT_TRUE(Mixer().DeviceOpen());

  first->Release();
  EXPECT_TRUE(Mixer().DeviceOpen());
  EXPECT_EQ(output.closes, 0);
  EXPECT_EQ(Mixer().ChannelsInUse(), 1u);  // only the second sound's
  // Buffers keep cycling, with silence once the second sound has ended.
  output.writes.clear();
  for (uint32_t k = 0; k < 10; ++k) output.Finish(k);
  ASSERT_EQ(output.writes.size(), 9u);  // every buffer but the still queued 9 at the first report
  EXPECT_EQ(output.writes.back().bytes, Constant(128, kBufferBytes));
  EXPECT_FALSE(second->IsPlaying());

  second->Release();
  EXPECT_FALSE(Mixer().DeviceOpen());
  EXPECT_EQ(output.closes, 1);
  EXPECT_EQ(Mixer().ChannelRecords(), 0u);  // the table goes with the device

  // A later play opens the device again and primes all ten buffers.
  Sound third;
  Load(third, 2, {1, 2, 3, 4});
  output.writes.clear();
  third.Play(false);
  EXPECT_TRUE(Mixer().DeviceOpen());
  EXPECT_EQ(output.writes.size(), 10u);
  EXPECT_EQ(output.openRequests.size(), 2u);
}

TEST_F(MixerTest, SoundCountFollowsConstructionAndRelease) {
  EXPECT_EQ(Mixer().SoundCount(), 0u);
  {
    Sound loaded;
    Sound failed;
    Load(loaded, 1, {1});
    EXPECT_FALSE(failed.LoadFromMemory(nullptr, 0));
    EXPECT_EQ(Mixer().SoundCount(), 2u);  // a failed load still counts
    failed.Release();
    EXPECT_EQ(Mixer().SoundCount(), 1u);
    failed.Release();  // a second release does not count twice
    EXPECT_EQ(Mixer().SoundCount(), 1u);
  }
  EXPECT_EQ(Mixer().SoundCount(), 0u);  // destruction releases
}

TEST_F(MixerTest, DestroyingAPlayingSoundEndsItsChannels) {
  Sound keeper;
  Load(keeper, 1, Constant(100, 10));
  {
    Sound shortLived;
    Load(shortLived, 1, Constant(200, 10));
    shortLived.Play(true);
    shortLived.Play(true);
    EXPECT_EQ(Mixer().ChannelsInUse(), 2u);
  }
  EXPECT_EQ(Mixer().ChannelsInUse(), 0u);
  output.writes.clear();
  output.Finish(0);
  output.Finish(1);  // mixing buffer 0 must not touch the freed samples
  EXPECT_EQ(output.writes.back().bytes, Constant(128, kBufferBytes));
}

TEST_F(MixerTest, VolumeIsStoredAndAppliedWhenTheDeviceOpens) {
  Sound::SetVolume(128);
  EXPECT_EQ(Mixer().Volume(), 0x80808080u);
  EXPECT_EQ(output.volume, 0u);  // nothing open yet

  Sound sound;
  Load(sound, 1, {1, 2});
  sound.Play(false);
  EXPECT_EQ(output.volume, 0x80808080u);

  Sound::SetVolume(255);
  EXPECT_EQ(output.volume, 0xFFFFFFFFu);
  Sound::SetVolume(0);
  EXPECT_EQ(output.volume, 0u);
}

TEST_F(MixerTest, FullVolumeUntilSetOtherwise) {
  Sound sound;
  Load(sound, 1, {1, 2});
  sound.Play(false);
  EXPECT_EQ(output.volume, 0xFFFFFFFFu);
}

}  // namespace
