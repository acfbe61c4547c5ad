// Records what the player does as a headless input script: every key and stylus event, and the
// step of every tick, so that `kestrel-run --headless --script FILE` plays the same ticks with
// the same input again, and so the same game, frame for frame.
//
// Keys are written by their logical names (the script turns arrows for landscape the way the
// application does), stylus positions in back-surface coordinates, as the script expects them.
// A tick's step is set by `frame-ms` in the pass before it, since a headless pass moves its
// clock before it runs its commands; ticks of one step without input in between share a `wait`;
// the last tick, which ends the run, is the script's `quit`. The script starts the clock where
// the recorded run's first tick found it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class InputRecorder {
 public:
  InputRecorder() = default;
  ~InputRecorder();  // finishes the script
  InputRecorder(const InputRecorder&) = delete;
  InputRecorder& operator=(const InputRecorder&) = delete;

  // False when the file cannot be written.
  bool Open(const std::string& path);
  // A logical key (KeyIndex) went down or up.
  void Key(bool down, uint8_t key);
  void PenDown(int16_t x, int16_t y);
  void PenMove(int16_t x, int16_t y);
  void PenUp();
  // A game controller's stick axis (StickAxis) moved to `position`.
  void Stick(uint16_t axis, int16_t position);
  // A tick ran at clock time `tickTime` with this step (1..200 ms); the events recorded since
  // the last one came before it. The first tick's time starts the script, so the replay's clock,
  // and with it every blink phase, runs as the recorded one did.
  void Tick(uint32_t tickTime, uint32_t elapsedMs);
  // Ends the script with the last tick; nothing more is recorded.
  void Finish();

 private:
  std::FILE* file_ = nullptr;
  std::string events_;        // the events since the last tick, written with the next one
  bool started_ = false;      // the clock line is written
  uint32_t groupTicks_ = 0;   // ticks waiting to be written as one "wait"
  uint32_t frameMs_ = 33;     // the replay's frame time at this point of the script
  // The "wait" of every tick of the group but its last.
  void WaitGroupButLast();
};
