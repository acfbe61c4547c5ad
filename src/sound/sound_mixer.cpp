#include "sound/sound_mixer.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/memory.h"
#include "sound/sound.h"

namespace {

constexpr uint8_t kSilence = 128;

// Averaging n + 1 channels keeps the sum in range but makes each quieter; this curve pushes
// the mixed value away from silence again (by an eighth of its distance) and clips the last
// 16 steps at each end, so a sound does not fade merely because another one plays.
constexpr std::array<uint8_t, 256> MakeExpansionCurve() {
  std::array<uint8_t, 256> curve{};
  for (int v = 0; v < 256; ++v) {
    int result = v;
    if (v <= 15) {
      result = 0;
    } else if (v <= 127) {
      result = v - (128 - v) / 8;
    } else if (v >= 241) {
      result = 255;
    } else if (v >= 129) {
      result = v + (v - 128) / 8;
    }
    curve[v] = static_cast<uint8_t>(result);
  }
  return curve;
}
constexpr std::array<uint8_t, 256> kExpansionCurve = MakeExpansionCurve();

// Mixes `frames` source frames into the output at `out`. `mixed` channels have already been
// mixed into this buffer: the first one is copied, later ones are averaged in with the
// earlier ones (unsigned division, as the handheld did) and shaped by the curve.
void MixSpan(uint8_t* out, const uint8_t* source, uint32_t frames, bool sourceStereo, bool deviceStereo, uint32_t mixed) {
  const uint32_t sourceStep = sourceStereo ? 2 : 1;
  const uint32_t deviceStep = deviceStereo ? 2 : 1;
  uint8_t input[2];
  for (uint32_t frame = 0; frame < frames; ++frame, source += sourceStep, out += deviceStep) {
    if (deviceStereo) {
      input[0] = source[0];
      input[1] = sourceStereo ? source[1] : source[0];
    } else {
      input[0] = sourceStereo ? static_cast<uint8_t>((source[0] + source[1]) / 2) : source[0];
    }
    for (uint32_t side = 0; side < deviceStep; ++side) {
      if (mixed == 0) {
        out[side] = input[side];
      } else {
        out[side] = kExpansionCurve[(out[side] * mixed + input[side]) / (mixed + 1)];
      }
    }
  }
}

}  // namespace

SoundMixer& SoundMixer::Instance() {
  static SoundMixer mixer;
  return mixer;
}

void SoundMixer::SetOutput(AudioOutput* output) {
  AudioOutput* closing = nullptr;
  {
    std::lock_guard<std::mutex> guard(lock_);
    closing = DetachDevice();
    output_ = output;
  }
  if (closing != nullptr) closing->Close();
}

void SoundMixer::Reset() {
  AudioOutput* closing = nullptr;
  {
    std::lock_guard<std::mutex> guard(lock_);
    closing = DetachDevice();
    FreeChannelTable();
    output_ = nullptr;
    volume_ = 0xFFFFFFFFu;
    soundCount_ = 0;
  }
  if (closing != nullptr) closing->Close();
}

void SoundMixer::OnBufferDone(uint32_t bufferIndex) {
  std::lock_guard<std::mutex> guard(lock_);
  if (device_ == nullptr || bufferIndex >= kBufferCount) return;
  bufferQueued_[bufferIndex] = false;
  // The buffer before the one just played: it finished one report ago, so it is the one that
  // has waited longest, while the others stay queued.
  const uint32_t refill = bufferIndex == 0 ? kBufferCount - 1 : bufferIndex - 1;
  if (bufferQueued_[refill]) return;  // only after priming: not played yet
  MixBuffer(refill, false);
}

void SoundMixer::BufferDone(void* mixer, uint32_t bufferIndex) {
  static_cast<SoundMixer*>(mixer)->OnBufferDone(bufferIndex);
}

bool SoundMixer::DeviceOpen() {
  std::lock_guard<std::mutex> guard(lock_);
  return device_ != nullptr;
}

bool SoundMixer::DeviceStereo() {
  std::lock_guard<std::mutex> guard(lock_);
  return device_ != nullptr && deviceStereo_ != 0;
}

uint32_t SoundMixer::ChannelsInUse() {
  std::lock_guard<std::mutex> guard(lock_);
  uint32_t inUse = 0;
  for (uint32_t i = 0; i < channelCount_; ++i) inUse += channels_[i].data != nullptr ? 1 : 0;
  return inUse;
}

uint32_t SoundMixer::ChannelRecords() {
  std::lock_guard<std::mutex> guard(lock_);
  return channelCount_;
}

uint32_t SoundMixer::SoundCount() {
  std::lock_guard<std::mutex> guard(lock_);
  return soundCount_;
}

uint32_t SoundMixer::Volume() {
  std::lock_guard<std::mutex> guard(lock_);
  return volume_;
}

void SoundMixer::SoundMade() {
  std::lock_guard<std::mutex> guard(lock_);
  ++soundCount_;
}

void SoundMixer::Play(Sound& sound, bool loop) {
  std::lock_guard<std::mutex> guard(lock_);
  ++sound.playCount_;
  sound.loop_ = loop ? 1 : 0;
  if (!IsMixerFormat(sound.format_)) return;

  const bool opened = device_ == nullptr;
  if (opened && !OpenDevice()) return;  // no device: silent, and the next play tries again

  if (Channel* channel = TakeFreeChannel()) {
    channel->sourceStereo = sound.format_.channels == 2 ? 1 : 0;
    channel->data = sound.data_;
    channel->length = sound.dataLength_;
    channel->position = 0;
    channel->loop = sound.loop_;
    channel->playCount = &sound.playCount_;
  }
  if (opened) {
    for (uint32_t i = 0; i < kBufferCount; ++i) MixBuffer(i, true);
  }
}

void SoundMixer::Stop(Sound& sound) {
  std::lock_guard<std::mutex> guard(lock_);
  if (sound.data_ != nullptr) {
    for (uint32_t i = 0; i < channelCount_; ++i) {
      if (channels_[i].data == sound.data_) channels_[i] = Channel{};
    }
  }
  sound.playCount_ = 0;
  sound.loop_ = 0;
}

bool SoundMixer::IsPlaying(const Sound& sound) {
  std::lock_guard<std::mutex> guard(lock_);
  return sound.playCount_ != 0;
}

void SoundMixer::SoundReleased(bool uncount) {
  AudioOutput* closing = nullptr;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (uncount && soundCount_ > 0) --soundCount_;
    if (soundCount_ != 0) return;
    for (uint32_t i = 0; i < channelCount_; ++i) {
      if (channels_[i].data != nullptr) return;
    }
    FreeChannelTable();
    closing = DetachDevice();
  }
  if (closing != nullptr) closing->Close();
}

void SoundMixer::SetVolume(uint8_t level) {
  std::lock_guard<std::mutex> guard(lock_);
  volume_ = level * 0x01010101u;  // level x 257 on each side
  if (device_ != nullptr) device_->SetVolume(volume_);
}

bool SoundMixer::OpenDevice() {
  if (output_ == nullptr) return false;
  // Stereo first (2 bytes a frame, 44100 bytes a second), then mono; the ten buffers are
  // prepared with the device as it opens.
  AudioFormat format{kMixerSamplesPerSecond, 2, kMixerBitsPerSample};
  deviceStereo_ = 1;
  if (!output_->Open(format, kBufferCount, kBufferBytes, &SoundMixer::BufferDone, this)) {
    format.channels = 1;
    deviceStereo_ = 0;
    if (!output_->Open(format, kBufferCount, kBufferBytes, &SoundMixer::BufferDone, this)) return false;
  }
  device_ = output_;
  for (bool& queued : bufferQueued_) queued = false;
  // A volume set while the device was closed takes effect now.
  device_->SetVolume(volume_);
  return true;
}

SoundMixer::Channel* SoundMixer::TakeFreeChannel() {
  for (uint32_t i = 0; i < channelCount_; ++i) {
    if (channels_[i].data == nullptr) return &channels_[i];
  }
  const uint64_t bytes = (static_cast<uint64_t>(channelCount_) + 1) * sizeof(Channel);
  if (bytes > UINT32_MAX) return nullptr;
  void* grown = CheckedRealloc(channels_, static_cast<uint32_t>(bytes));
  if (grown == nullptr) return nullptr;  // out of memory: this play is not heard
  channels_ = static_cast<Channel*>(grown);
  channels_[channelCount_] = Channel{};
  return &channels_[channelCount_++];
}

void SoundMixer::FreeChannelTable() {
  // Play counts still pointing at these records belong to sounds the caller has stopped.
  Free(channels_);
  channels_ = nullptr;
  channelCount_ = 0;
}

AudioOutput* SoundMixer::DetachDevice() {
  AudioOutput* device = device_;
  device_ = nullptr;
  return device;
}

void SoundMixer::MixBuffer(uint32_t bufferIndex, bool priming) {
  uint8_t* buffer = buffers_[bufferIndex];
  std::memset(buffer, kSilence, kBufferBytes);
  const bool deviceStereo = deviceStereo_ != 0;
  const uint32_t deviceFrameBytes = deviceStereo ? 2 : 1;
  uint32_t mixed = 0;
  for (uint32_t i = 0; i < channelCount_; ++i) {
    Channel& channel = channels_[i];
    if (channel.data == nullptr) continue;
    const uint32_t sourceFrameBytes = channel.sourceStereo != 0 ? 2 : 1;
    uint32_t written = 0;
    while (written < kBufferBytes) {
      if (channel.position >= channel.length) {
        // Ended. A channel is freed only by a pass that finds it ended before writing anything,
        // so its last samples go out first; the priming pass frees nothing.
        if (!priming && written == 0) {
          if (channel.playCount != nullptr && *channel.playCount > 0) --*channel.playCount;
          channel = Channel{};
        }
        break;
      }
      const uint32_t frames = std::min((channel.length - channel.position) / sourceFrameBytes,
                                       (kBufferBytes - written) / deviceFrameBytes);
      if (frames == 0) break;
      MixSpan(buffer + written, channel.data + channel.position, frames, channel.sourceStereo != 0, deviceStereo, mixed);
      channel.position += frames * sourceFrameBytes;
      if (channel.position >= channel.length) channel.position = channel.loop != 0 ? 0 : channel.length;
      written += frames * deviceFrameBytes;
    }
    if (written > 0) ++mixed;
  }
  if (device_ != nullptr) bufferQueued_[bufferIndex] = device_->Write(bufferIndex, buffer, kBufferBytes);
}
