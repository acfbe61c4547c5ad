#include "platform/sdl/sdl_audio_output.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

namespace {

constexpr Uint32 kRetryDelayMs = 10000;

class SdlAudioOutput : public AudioOutput {
 public:
  ~SdlAudioOutput() override { Close(); }

  bool Open(const AudioFormat& format, uint32_t bufferCount, uint32_t bufferBytes, AudioBufferDone onDone,
            void* context) override {
    Close();
    if (format.bitsPerSample != 8 || (format.channels != 1 && format.channels != 2) || format.samplesPerSecond == 0 ||
        format.samplesPerSecond > INT32_MAX || bufferCount == 0 || bufferBytes < format.channels) {
      return false;
    }
    // Without a sound device every play would try again, and each attempt costs the audio
    // driver's probing (and its complaints on the terminal): after a failure, wait a while.
    if (retryAfter_ != 0 && !SDL_TICKS_PASSED(SDL_GetTicks(), retryAfter_)) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      retryAfter_ = SDL_GetTicks() + kRetryDelayMs;
      return false;
    }
    {
      std::lock_guard<std::mutex> lock(queueLock_);
      buffers_.assign(bufferCount, std::vector<uint8_t>(bufferBytes, 128));
      lengths_.assign(bufferCount, 0);
      queue_.clear();
      playedOfFront_ = 0;
      open_ = true;
    }
    finished_.assign(bufferCount, 0);
    channels_ = format.channels;
    // Set before the device (and with it the audio thread) starts; read only by that thread.
    onDone_ = onDone;
    context_ = context;

    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.samplesPerSecond);
    wanted.format = AUDIO_U8;
    wanted.channels = static_cast<Uint8>(format.channels);
    // SDL asks for whole powers of two; about one buffer at a time keeps the latency of the
    // ring as the mixer planned it.
    uint32_t frames = 1;
    while (frames * 2 <= bufferBytes / format.channels && frames < 0x8000) frames *= 2;
    wanted.samples = static_cast<Uint16>(frames);
    wanted.callback = &SdlAudioOutput::Callback;
    wanted.userdata = this;
    // No changes allowed: SDL converts to whatever the hardware takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device_ == 0) {
      ForgetBuffers();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      retryAfter_ = SDL_GetTicks() + kRetryDelayMs;
      return false;
    }
    retryAfter_ = 0;
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  bool Write(uint32_t bufferIndex, const uint8_t* bytes, uint32_t size) override {
    std::lock_guard<std::mutex> lock(queueLock_);
    if (!open_ || bufferIndex >= buffers_.size() || size == 0 || size > buffers_[bufferIndex].size() ||
        lengths_[bufferIndex] != 0) {
      return false;
    }
    std::memcpy(buffers_[bufferIndex].data(), bytes, size);
    lengths_[bufferIndex] = size;
    queue_.push_back(bufferIndex);
    return true;
  }

  void SetVolume(uint32_t volume) override { volume_.store(volume, std::memory_order_relaxed); }

  void Close() override {
    if (device_ == 0) return;
    // Waits for the audio thread to end, so no callback runs once this returns.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    ForgetBuffers();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

 private:
  static void SDLCALL Callback(void* userdata, Uint8* stream, int length) {
    static_cast<SdlAudioOutput*>(userdata)->Fill(stream, static_cast<uint32_t>(std::max(length, 0)));
  }

  // On the audio thread: `length` bytes for the device, in the opened format.
  void Fill(uint8_t* stream, uint32_t length) {
    uint32_t finishedCount = 0;
    {
      std::lock_guard<std::mutex> lock(queueLock_);
      const uint32_t volume = volume_.load(std::memory_order_relaxed);
      while (length > 0 && !queue_.empty() && finishedCount < finished_.size()) {
        const uint32_t index = queue_.front();
        const uint32_t taken = std::min(length, lengths_[index] - playedOfFront_);
        std::memcpy(stream, buffers_[index].data() + playedOfFront_, taken);
        ApplyDeviceVolume(stream, taken, channels_, volume);
        stream += taken;
        length -= taken;
        playedOfFront_ += taken;
        if (playedOfFront_ >= lengths_[index]) {
          queue_.pop_front();
          playedOfFront_ = 0;
          lengths_[index] = 0;
          finished_[finishedCount++] = index;
        }
      }
    }
    std::memset(stream, 128, length);  // nothing (more) queued: silence
    // Outside the queue lock: the routine takes the mixer's lock and writes the next buffer.
    for (uint32_t i = 0; i < finishedCount; ++i) onDone_(context_, finished_[i]);
  }

  void ForgetBuffers() {
    std::lock_guard<std::mutex> lock(queueLock_);
    open_ = false;
    queue_.clear();
    buffers_.clear();
    lengths_.clear();
  }

  SDL_AudioDeviceID device_ = 0;
  Uint32 retryAfter_ = 0;  // SDL ticks before which no open is tried again; 0: try at once
  uint16_t channels_ = 2;
  AudioBufferDone onDone_ = nullptr;
  void* context_ = nullptr;
  std::atomic<uint32_t> volume_{0xFFFFFFFFu};
  std::vector<uint32_t> finished_;  // audio thread only: buffers used up in one callback

  std::mutex queueLock_;  // guards what follows, shared by Write and the audio thread
  bool open_ = false;
  std::vector<std::vector<uint8_t>> buffers_;
  std::vector<uint32_t> lengths_;  // bytes queued in each buffer; 0 while not queued
  std::deque<uint32_t> queue_;
  uint32_t playedOfFront_ = 0;
};

}  // namespace

std::unique_ptr<AudioOutput> CreateSdlAudioOutput() { return std::make_unique<SdlAudioOutput>(); }
