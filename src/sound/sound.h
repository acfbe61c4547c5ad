// One sound effect, converted once when it is loaded to the only form the mixer plays (PCM,
// 22050 Hz, 8-bit unsigned, mono or stereo as recorded), and played on the process-wide mixer
// (sound/sound_mixer.h), once or looping, on as many channels at once as it is started on.
//
// Sounds are made, played and released on the main thread. A load that fails leaves the sound
// empty, and playing an empty sound does nothing: a missing sound is silence, never an error.
#pragma once

#include <cstdint>

#include "sound/wave_format.h"

class Sound {
 public:
  // Counts itself among the existing sounds: while any exists, the output device stays open.
  Sound();
  // Releases the sound if its owner has not.
  ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // The program's own WAV file of that number (FindResource). False, and empty, when there is
  // none or it cannot be loaded.
  bool LoadFromResource(uint32_t id);
  // A WAV file image in memory (not kept: the sound owns a converted copy of the samples).
  bool LoadFromMemory(const uint8_t* image, uint32_t size);
  // Raw samples in `format`, converted in up to three steps: to PCM, to 22050 Hz, to 8 bits.
  // Loading again first stops the sound and drops what it held.
  bool LoadFromData(const WaveFormat& format, const uint8_t* samples, uint32_t size);

  // Starts the sound on a new channel; the mixer's output device opens on the first play.
  // Without a device nothing is heard, yet the sound counts as playing until stopped.
  void Play(bool loop);
  // Ends every channel playing this sound.
  void Stop();
  bool IsPlaying() const;
  bool HasData() const { return data_ != nullptr; }
  // Stops the sound, drops its samples and no longer counts it as existing; the output device
  // closes when this was the last sound and nothing plays.
  void Release();

  // Process-wide: the output volume 0..255, the same on both channels.
  static void SetVolume(uint8_t level);

  const WaveFormat& format() const { return format_; }
  const uint8_t* data() const { return data_; }
  uint32_t dataLength() const { return dataLength_; }

 private:
  friend class SoundMixer;

  void Empty();  // stops the sound and frees the samples

  // The number of channels playing this sound. Written by the mixer's completion routine when
  // a channel ends, so it is read and written only under the mixer's lock.
  int32_t playCount_ = 0;
  int32_t loop_ = 0;  // of the last Play
  WaveFormat format_;
  uint8_t* data_ = nullptr;  // CheckedAlloc; interleaved left, right when stereo
  uint32_t dataLength_ = 0;  // bytes, whole frames
  bool counted_ = true;      // among the existing sounds until released
};
