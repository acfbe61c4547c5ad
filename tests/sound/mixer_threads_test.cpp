// The mixer shared between the main thread and a device thread. Run under ThreadSanitizer
// (scripts/test.sh builds it so) this shows that everything the two touch is under the lock,
// and in any build that closing the device while its thread is reporting cannot deadlock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "sound/sound.h"
#include "sound_test_support.h"

namespace {

// A device whose own thread reports each written buffer as played as soon as it can.
class RacingAudioOutput : public AudioOutput {
 public:
  ~RacingAudioOutput() override { Close(); }

  bool Open(const AudioFormat&, uint32_t, uint32_t, AudioBufferDone onDone, void* context) override {
    onDone_ = onDone;
    context_ = context;
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
    return true;
  }
  bool Write(uint32_t index, const uint8_t* bytes, uint32_t size) override {
    std::lock_guard<std::mutex> guard(lock_);
    queue_.push_back(index);
    played_.assign(bytes, bytes + size);  // a device takes its copy while the mixer holds its lock
    writes.fetch_add(1);
    return true;
  }
  void SetVolume(uint32_t) override {}
  void Close() override {
    if (!thread_.joinable()) return;
    stop_ = true;
    thread_.join();
    std::lock_guard<std::mutex> guard(lock_);
    queue_.clear();
  }

  std::atomic<uint32_t> writes{0};

 private:
  void Run() {
    while (!stop_) {
      bool played = false;
      uint32_t index = 0;
      {
        std::lock_guard<std::mutex> guard(lock_);
        if (!queue_.empty()) {
          index = queue_.front();
          queue_.pop_front();
          played = true;
        }
      }
      if (played) {
        onDone_(context_, index);
      } else {
        std::this_thread::yield();
      }
    }
  }

  AudioBufferDone onDone_ = nullptr;
  void* context_ = nullptr;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex lock_;
  std::deque<uint32_t> queue_;
  std::vector<uint8_t> played_;
};

TEST(MixerThreads, PlayAndStopWhileTheDeviceThreadRefills) {
  SoundMixer::Instance().Reset();
  RacingAudioOutput output;
  SoundMixer::Instance().SetOutput(&output);
  const std::vector<uint8_t> engine(700, 180);
  const std::vector<uint8_t> shot(300, 60);
  const std::vector<uint8_t> stereo = {10, 250, 20, 240, 30, 230};

  for (int round = 0; round < 4; ++round) {
    const uint32_t writesBefore = output.writes.load();
    {
      Sound looping, once, wide;
      ASSERT_TRUE(looping.LoadFromData(MixerFormat(1), engine.data(), static_cast<uint32_t>(engine.size())));
      ASSERT_TRUE(once.LoadFromData(MixerFormat(1), shot.data(), static_cast<uint32_t>(shot.size())));
      ASSERT_TRUE(wide.LoadFromData(MixerFormat(2), stereo.data(), static_cast<uint32_t>(stereo.size())));
      looping.Play(true);
      ASSERT_TRUE(SoundMixer::Instance().DeviceOpen());
      // Until the device thread has refilled a few hundred buffers (bounded, whatever the
      // scheduler does): channels come and go under its feet.
      for (int i = 0; i < 200000 && output.writes.load() - writesBefore < 2000; ++i) {
        once.Play(false);
        if (i % 3 == 0) wide.Play(i % 2 == 0);
        if (i % 7 == 0) once.Stop();
        if (i % 11 == 0) wide.Stop();
        if (i % 13 == 0) Sound::SetVolume(static_cast<uint8_t>(i));
        (void)once.IsPlaying();
      }
      // On a busy machine the device thread may not have had a turn yet: give it one (the
      // deadline is only a guard against a hang, never reached when the mixer works).
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
      while (output.writes.load() - writesBefore <= 10u && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
      }
      EXPECT_TRUE(looping.IsPlaying());
      // Leaving the scope releases all three: the last release closes the device while its
      // thread is still reporting.
    }
    EXPECT_FALSE(SoundMixer::Instance().DeviceOpen());
    EXPECT_EQ(SoundMixer::Instance().ChannelsInUse(), 0u);
    EXPECT_GT(output.writes.load() - writesBefore, 10u);  // more than the priming pass
  }
  SoundMixer::Instance().Reset();
}

}  // namespace
