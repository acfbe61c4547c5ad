// The audio output of headless runs: a device that plays in simulated time.
//
// Written buffers wait in a queue; as the simulated clock advances (HeadlessPlatform's
// AdvanceClock, on the main thread) they are played at the opened rate (22050 frames a second
// for the mixer), and each one that has been played in full is reported to the completion
// routine, on the main thread. Nothing is heard; what is played can be recorded to a WAV file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "platform/audio_output.h"

class HeadlessAudioOutput : public AudioOutput {
 public:
  HeadlessAudioOutput() = default;
  HeadlessAudioOutput(const HeadlessAudioOutput&) = delete;
  HeadlessAudioOutput& operator=(const HeadlessAudioOutput&) = delete;
  ~HeadlessAudioOutput() override;  // completes the recording, if any

  bool Open(const AudioFormat& format, uint32_t bufferCount, uint32_t bufferBytes, AudioBufferDone onDone,
            void* context) override;
  bool Write(uint32_t bufferIndex, const uint8_t* bytes, uint32_t size) override;
  void SetVolume(uint32_t volume) override { volume_ = volume; }
  void Close() override;

  // From now on, everything the device plays (including the silence it plays while open with no
  // buffer queued) is appended to a WAV file in the format of the first open. False when the
  // file cannot be created. Periods while the device is closed are not recorded.
  bool RecordTo(const std::string& path);

  // Plays `milliseconds` of simulated time; fractions of a frame carry over to the next call.
  void AdvanceTime(uint32_t milliseconds);

  bool isOpen() const { return open_; }
  uint32_t queuedBuffers() const { return static_cast<uint32_t>(queue_.size()); }
  uint64_t framesPlayed() const { return framesPlayed_; }

 private:
  void Record(const uint8_t* bytes, uint32_t size);
  void RecordSilence(uint32_t frames);
  void FinishRecording();

  bool open_ = false;
  AudioFormat format_;
  uint32_t bytesPerFrame_ = 1;
  AudioBufferDone onDone_ = nullptr;
  void* context_ = nullptr;
  uint32_t volume_ = 0xFFFFFFFFu;
  std::vector<std::vector<uint8_t>> buffers_;  // the prepared buffers, by index
  std::vector<uint32_t> bufferLengths_;        // bytes written into each; 0 while not queued
  std::deque<uint32_t> queue_;                 // indices of written buffers, in playing order
  uint32_t playedOfFront_ = 0;                 // bytes of the front buffer already played
  uint64_t carriedMilliFrames_ = 0;            // frames x 1000 owed by earlier calls, below 1000
  uint64_t framesPlayed_ = 0;

  std::FILE* recording_ = nullptr;
  bool recordingFormatSet_ = false;
  AudioFormat recordingFormat_;
  uint64_t recordedBytes_ = 0;
  std::vector<uint8_t> scratch_;  // one span with the volume applied
};
