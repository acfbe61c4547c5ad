// The input script of a headless run: one command a line, '#' starts a comment.
//
//   frame-ms 33            simulated milliseconds per tick (default 33)
//   clock 2949678          sets the simulated clock (it starts at 1000000)
//   wait 1500              run ticks until 1500 ms have passed
//   press action           key down in this tick, key up in the next
//                          (up down left right action app1..app5)
//   key down app3 | key up app3
//   tap 120 200            stylus down at back-surface (x, y) for one tick, then up
//   pen down X Y | pen move X Y | pen up
//   stick left-x|left-y|right-x|right-y N   a game controller's stick to N (-32767..32767)
//   screenshot out.png     the back surface as PNG
//   state                  one JSON line: screen, display mode, mission state
//   trace FILE             from now on the flight recorder's lines go to FILE
//   quit
//
// Every command runs at the start of a pass of the main loop, before that pass's messages are
// taken and its tick runs; `wait`, `press` and `tap` hand control back to the game for ticks.
// Positions are back-surface coordinates and are turned into display coordinates the way the
// stylus would reach them, so taps land where the picture shows them in either orientation.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/headless/headless_input.h"

class HeadlessScript : public HeadlessInput {
 public:
  enum class Op : uint8_t { FrameMs, Clock, Wait, Press, KeyDown, KeyUp, Tap, PenDown, PenMove, PenUp, Stick, Screenshot, State, Trace, Quit };

  struct Command {
    Op op = Op::Quit;
    int line = 0;
    uint16_t key = 0;
    int32_t a = 0;  // milliseconds or x
    int32_t b = 0;  // y
    std::string path;
  };

  // Parses the whole script; on a bad line returns false with a message naming the line.
  bool Parse(const std::string& text, std::string* error);
  bool Load(const std::string& path, std::string* error);

  // Where `state` lines go (standard output by default).
  void SetOutput(std::FILE* output) { output_ = output; }

  // More commands at the end, for a source that makes them as the run goes (the soak); the
  // commands already run are dropped, so a long run does not keep them all.
  void Append(const std::vector<Command>& commands);

  // Runs the commands due at the start of this pass. When the script has run to its end, the
  // platform is asked to close the program.
  void BeginPass(HeadlessPlatform& platform) override;

  bool finished() const { return finished_; }
  // True when the next pass would find the end of the script: the moment to append.
  bool ranDry() const { return !finished_ && ticksToRun_ == 0 && next_ == commands_.size(); }
  const std::vector<Command>& commands() const { return commands_; }

 private:
  void QueuePen(HeadlessPlatform& platform, int kind, int32_t x, int32_t y);
  bool RunImmediate(HeadlessPlatform& platform, const Command& command);

  std::vector<Command> commands_;
  size_t next_ = 0;
  uint32_t frameMs_ = 33;
  uint32_t ticksToRun_ = 0;  // ticks the game runs before the script goes on
  bool firstPass_ = true;
  bool finished_ = false;
  std::vector<uint16_t> keysToRelease_;
  bool penToLift_ = false;
  int32_t penX_ = 0;
  int32_t penY_ = 0;
  std::FILE* output_ = stdout;
};
