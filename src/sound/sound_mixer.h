// The software mixer: every playing sound is a channel, and all channels are mixed into a ring
// of ten 2048-byte buffers kept queued on the one audio output device.
//
// The mixer is process-wide by design: the handheld had one wave output device, and every
// sound of the program, whichever screen or object owns it, plays through it. So there is one
// instance (Instance()), made on first use, with one channel table, one ring of buffers and
// one device. Tests put it back to its first state with Reset().
//
// Two threads meet here: the main thread (Play, Stop, Release, SetVolume) and the output's
// completion routine, which refills buffers on the device's thread. One lock guards everything
// they share: the channel table, the buffers, the device, the sound count and the play counts
// of the sounds.
//
// The device opens on the first play of a sound (stereo if it can, else mono), and all ten
// buffers are mixed and written at once (the priming pass). When the device reports buffer k
// played, buffer k - 1 is mixed and written: nine buffers stay queued while one waits, and they
// keep cycling, with silence, while the device is open. The one exception is the first report
// after priming, whose k - 1 (buffer 9) has not been played yet: mixing into it would throw
// away 46 ms of sound that is still queued, so it waits for its own turn. The device closes
// when the last existing sound is released with nothing playing.
#pragma once

#include <cstdint>
#include <mutex>

#include "platform/audio_output.h"

class Sound;

class SoundMixer {
 public:
  static constexpr uint32_t kBufferCount = 10;
  static constexpr uint32_t kBufferBytes = 2048;

  static SoundMixer& Instance();

  SoundMixer(const SoundMixer&) = delete;
  SoundMixer& operator=(const SoundMixer&) = delete;

  // The platform's audio output, given once at start-up; null (the first state) means there is
  // no device and sounds play silently. A device open on an earlier output is closed.
  void SetOutput(AudioOutput* output);

  // Back to the first state: device closed, channel table freed, no output, volume full, no
  // sound counted. For tests, between cases, while no Sound exists.
  void Reset();

  // The completion routine: the device has played buffer `bufferIndex`.
  void OnBufferDone(uint32_t bufferIndex);

  // What the mixer is doing, for tests and diagnostics.
  bool DeviceOpen();
  bool DeviceStereo();
  uint32_t ChannelsInUse();
  uint32_t ChannelRecords();  // in use or free
  uint32_t SoundCount();      // Sound objects made and not yet released
  uint32_t Volume();          // device form: left level in the low 16 bits, right in the high

 private:
  friend class Sound;

  // One playing sound. A record whose data is null is free.
  struct Channel {
    uint32_t sourceStereo;  // 1 when the sound's frames are 2 bytes (left, right)
    const uint8_t* data;
    uint32_t length;    // bytes
    uint32_t position;  // bytes; stays at the length once a one-shot sound has ended
    uint32_t loop;
    int32_t* playCount;  // of the owning sound
  };

  SoundMixer() = default;

  // Called by Sound.
  void SoundMade();
  void Play(Sound& sound, bool loop);
  void Stop(Sound& sound);
  bool IsPlaying(const Sound& sound);
  // After a sound has been stopped and emptied: uncounts it if `uncount`, and closes the
  // device when no sound exists and no channel is in use.
  void SoundReleased(bool uncount);
  void SetVolume(uint8_t level);

  // All of these run under the lock.
  bool OpenDevice();
  Channel* TakeFreeChannel();
  void FreeChannelTable();
  void MixBuffer(uint32_t bufferIndex, bool priming);
  // Takes the open device out of the mixer; the caller closes it once the lock is released,
  // because closing waits for the completion routine, which takes the lock.
  AudioOutput* DetachDevice();

  static void BufferDone(void* mixer, uint32_t bufferIndex);

  std::mutex lock_;
  AudioOutput* output_ = nullptr;
  AudioOutput* device_ = nullptr;  // the output while it is open
  uint32_t deviceStereo_ = 0;
  uint32_t volume_ = 0xFFFFFFFFu;  // full on both sides until SetVolume says otherwise
  uint32_t soundCount_ = 0;
  Channel* channels_ = nullptr;  // CheckedAlloc; grows by one record when all are in use
  uint32_t channelCount_ = 0;
  uint8_t buffers_[kBufferCount][kBufferBytes] = {};
  bool bufferQueued_[kBufferCount] = {};  // written and not yet reported played
};
