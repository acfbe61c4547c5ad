#include "app/input_recorder.h"

#include <iterator>

#include "app/keys.h"

namespace {

constexpr uint32_t kScriptFrameMs = 33;  // a script's frame time until it sets one
constexpr const char* kKeyNames[KeyCount] = {"up",   "down", "left", "right", "action",
                                             "app1", "app2", "app3", "app4",  "app5"};
constexpr const char* kStickNames[] = {"left-x", "left-y", "right-x", "right-y"};  // by StickAxis

}  // namespace

InputRecorder::~InputRecorder() { Finish(); }

bool InputRecorder::Open(const std::string& path) {
  Finish();
  file_ = std::fopen(path.c_str(), "w");
  if (file_ == nullptr) return false;
  std::fputs("# Kestrel Run input, recorded: replay with kestrel-run --headless --script FILE\n", file_);
  groupTicks_ = 0;
  frameMs_ = kScriptFrameMs;
  started_ = false;
  return true;
}

void InputRecorder::Key(bool down, uint8_t key) {
  if (file_ == nullptr || key >= KeyCount) return;
  events_ += std::string("key ") + (down ? "down " : "up ") + kKeyNames[key] + "\n";
}

void InputRecorder::PenDown(int16_t x, int16_t y) {
  if (file_ != nullptr) events_ += "pen down " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

void InputRecorder::PenMove(int16_t x, int16_t y) {
  if (file_ != nullptr) events_ += "pen move " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

void InputRecorder::PenUp() {
  if (file_ != nullptr) events_ += "pen up\n";
}

void InputRecorder::Stick(uint16_t axis, int16_t position) {
  if (file_ == nullptr || axis >= std::size(kStickNames)) return;
  events_ += std::string("stick ") + kStickNames[axis] + " " + std::to_string(position) + "\n";
}

void InputRecorder::Tick(uint32_t tickTime, uint32_t elapsedMs) {
  if (file_ == nullptr) return;
  if (!started_) {
    std::fprintf(file_, "clock %u\n", static_cast<unsigned>(tickTime));
    started_ = true;
  }
  // A headless pass moves its clock by the frame time in force when the pass before it ran its
  // commands. Ticks without input between them and with the same step share one "wait".
  if (groupTicks_ > 0 && events_.empty() && elapsedMs == frameMs_) {
    ++groupTicks_;
    return;
  }
  if (groupTicks_ > 0) {
    if (elapsedMs == frameMs_) {
      std::fprintf(file_, "wait %u\n", static_cast<unsigned>(groupTicks_ * frameMs_));
    } else {
      // The group's last tick waits alone, after the step of the tick that follows it.
      WaitGroupButLast();
      std::fprintf(file_, "frame-ms %u\nwait 1\n", static_cast<unsigned>(elapsedMs));
      frameMs_ = elapsedMs;
    }
  }
  std::fputs(events_.c_str(), file_);
  events_.clear();
  groupTicks_ = 1;
  std::fflush(file_);  // what led up to a crash is kept
}

void InputRecorder::WaitGroupButLast() {
  if (groupTicks_ > 1) std::fprintf(file_, "wait %u\n", static_cast<unsigned>((groupTicks_ - 1) * frameMs_));
}

void InputRecorder::Finish() {
  if (file_ == nullptr) return;
  // The pass that ends a run still ticks; "quit" ends the replay in the same way.
  if (groupTicks_ > 0) {
    WaitGroupButLast();
    std::fputs("quit\n", file_);
  }
  std::fclose(file_);
  file_ = nullptr;
  events_.clear();
}
