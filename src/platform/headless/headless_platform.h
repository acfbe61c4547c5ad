// A platform without window or devices, for tests, benchmarks and scripted runs.
//
// The frame buffer is plain memory laid out like the handheld's (240 x 320, portrait, 16-bit);
// the clock is simulated and only moves when told to; messages come from a queue that tests
// fill directly or that a HeadlessInput (a script, or the soak) fills, tick by tick. The audio
// output plays in the simulated time and can record what it plays to a WAV file.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/headless/headless_audio_output.h"
#include "platform/headless/headless_input.h"
#include "platform/platform.h"

class HeadlessPlatform : public Platform {
 public:
  // The simulated clock starts well past zero, as a handheld's clock does after it has been on
  // for a while, so the first frame sees the same long gap that it does on the device.
  static constexpr uint32_t kStartMilliseconds = 1000000;

  HeadlessPlatform(int32_t width = 240, int32_t height = 320);
  ~HeadlessPlatform() override;

  // Scripted runs and tests may run side by side: no single-instance rule here.
  bool ClaimSingleInstance() override { return true; }
  bool OpenDisplay(DisplayProperties* properties) override;
  void CloseDisplay() override;
  uint8_t* BeginDraw() override;
  void EndDraw() override;
  void Suspend() override { suspended_ = true; }
  void Resume() override { suspended_ = false; }
  void SetLandscape(bool landscape) override { landscape_ = landscape; }

  void BeginPass() override;
  bool PollEvent(PlatformEvent* event) override;
  void WaitEvent(PlatformEvent* event) override;
  uint32_t Milliseconds() override { return now_; }

  AudioOutput* Audio() override { return &audio_; }

  void SetScriptHost(ScriptHost* host) override { scriptHost_ = host; }
  int ExitStatus() const override { return exitStatus_; }

  // --- Control for tests and the input sources ----------------------------------------------
  void QueueEvent(const PlatformEvent& event) { events_.push_back(event); }
  // Simulated time passes: the clock moves and the audio output plays that much sound.
  void AdvanceClock(uint32_t milliseconds) {
    now_ += milliseconds;
    audio_.AdvanceTime(milliseconds);
  }
  // Sets the clock only (for tests of clock wrap-around); no sound is played.
  void SetClock(uint32_t milliseconds) { now_ = milliseconds; }
  // Runs the input source one pass at a time from BeginPass; the platform does not own it.
  void AttachInput(HeadlessInput* input) { input_ = input; }
  void SetExitStatus(int status) { exitStatus_ = status; }
  ScriptHost* scriptHost() const { return scriptHost_; }
  HeadlessAudioOutput& audio() { return audio_; }

  bool displayOpen() const { return displayOpen_; }
  bool suspended() const { return suspended_; }
  bool landscape() const { return landscape_; }
  int presentedFrames() const { return presentedFrames_; }
  // The frame memory as the display holds it (portrait rows of `width` 16-bit pixels).
  const std::vector<uint16_t>& frame() const { return frame_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

 private:
  int32_t width_;
  int32_t height_;
  std::vector<uint16_t> frame_;
  std::deque<PlatformEvent> events_;
  uint32_t now_ = kStartMilliseconds;
  bool displayOpen_ = false;
  bool suspended_ = false;
  bool landscape_ = false;
  bool drawing_ = false;
  int presentedFrames_ = 0;
  int exitStatus_ = 0;
  HeadlessInput* input_ = nullptr;
  ScriptHost* scriptHost_ = nullptr;
  HeadlessAudioOutput audio_;
};
