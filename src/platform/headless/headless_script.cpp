#include "platform/headless/headless_script.h"

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/headless/headless_platform.h"
#include "platform/key_mapping.h"

namespace {

bool KeyFromName(const std::string& name, uint16_t* key) {
  static const struct {
    const char* name;
    uint16_t key;
  } kKeys[] = {{"up", DeviceKey::Up},       {"down", DeviceKey::Down}, {"left", DeviceKey::Left},
               {"right", DeviceKey::Right}, {"action", DeviceKey::Action}, {"app1", DeviceKey::App1},
               {"app2", DeviceKey::App2},   {"app3", DeviceKey::App3}, {"app4", DeviceKey::App4},
               {"app5", DeviceKey::App5}};
  for (const auto& entry : kKeys) {
    if (name == entry.name) {
      *key = entry.key;
      return true;
    }
  }
  return false;
}

bool ParseNumber(const std::string& word, int32_t minimum, int32_t maximum, int32_t* value) {
  if (word.empty()) return false;
  char* end = nullptr;
  const long parsed = std::strtol(word.c_str(), &end, 10);
  if (*end != '\0' || parsed < minimum || parsed > maximum) return false;
  *value = static_cast<int32_t>(parsed);
  return true;
}

enum PenKind { kPenDown, kPenMove, kPenUp };

}  // namespace

bool HeadlessScript::Parse(const std::string& text, std::string* error) {
  commands_.clear();
  std::istringstream lines(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    const size_t comment = line.find('#');
    if (comment != std::string::npos) line.erase(comment);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;

    Command command;
    command.line = lineNumber;
    bool ok = false;
    const std::string& verb = w[0];
    if (verb == "frame-ms" && w.size() == 2) {
      command.op = Op::FrameMs;
      ok = ParseNumber(w[1], 1, 1000, &command.a);
    } else if (verb == "clock" && w.size() == 2) {
      command.op = Op::Clock;
      // Any 32-bit clock value: kept as the bits of `a`.
      char* end = nullptr;
      const unsigned long long value = std::strtoull(w[1].c_str(), &end, 10);
      ok = !w[1].empty() && w[1][0] != '-' && *end == '\0' && value <= UINT32_MAX;
      command.a = static_cast<int32_t>(static_cast<uint32_t>(value));
    } else if (verb == "wait" && w.size() == 2) {
      command.op = Op::Wait;
      ok = ParseNumber(w[1], 0, 24 * 3600 * 1000, &command.a);
    } else if (verb == "press" && w.size() == 2) {
      command.op = Op::Press;
      ok = KeyFromName(w[1], &command.key);
    } else if (verb == "key" && w.size() == 3 && (w[1] == "down" || w[1] == "up")) {
      command.op = w[1] == "down" ? Op::KeyDown : Op::KeyUp;
      ok = KeyFromName(w[2], &command.key);
    } else if (verb == "tap" && w.size() == 3) {
      command.op = Op::Tap;
      ok = ParseNumber(w[1], -32768, 32767, &command.a) && ParseNumber(w[2], -32768, 32767, &command.b);
    } else if (verb == "pen" && w.size() == 4 && (w[1] == "down" || w[1] == "move")) {
      command.op = w[1] == "down" ? Op::PenDown : Op::PenMove;
      ok = ParseNumber(w[2], -32768, 32767, &command.a) && ParseNumber(w[3], -32768, 32767, &command.b);
    } else if (verb == "pen" && w.size() == 2 && w[1] == "up") {
      command.op = Op::PenUp;
      ok = true;
    } else if (verb == "stick" && w.size() == 3) {
      command.op = Op::Stick;
      const char* axes[] = {"left-x", "left-y", "right-x", "right-y"};
      for (uint16_t axis = 0; axis < kStickAxes; ++axis) {
        if (w[1] == axes[axis]) {
          command.key = axis;
          ok = true;
        }
      }
      ok = ok && ParseNumber(w[2], -32767, 32767, &command.a);
    } else if (verb == "screenshot" && w.size() == 2) {
      command.op = Op::Screenshot;
      command.path = w[1];
      ok = true;
    } else if (verb == "trace" && w.size() == 2) {
      command.op = Op::Trace;
      command.path = w[1];
      ok = true;
    } else if (verb == "state" && w.size() == 1) {
      command.op = Op::State;
      ok = true;
    } else if (verb == "quit" && w.size() == 1) {
      command.op = Op::Quit;
      ok = true;
    }
    if (!ok) {
      *error = "script line " + std::to_string(lineNumber) + ": cannot read \"" + line + "\"";
      return false;
    }
    commands_.push_back(command);
  }
  return true;
}

bool HeadlessScript::Load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot open script " + path;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str(), error);
}

void HeadlessScript::Append(const std::vector<Command>& commands) {
  commands_.erase(commands_.begin(), commands_.begin() + static_cast<std::ptrdiff_t>(next_));
  next_ = 0;
  commands_.insert(commands_.end(), commands.begin(), commands.end());
}

void HeadlessScript::QueuePen(HeadlessPlatform& platform, int kind, int32_t x, int32_t y) {
  int32_t displayX = 0;
  int32_t displayY = 0;
  PictureToDisplay(platform.landscape(), platform.height(), x, y, &displayX, &displayY);
  const EventKind kinds[] = {EventKind::PenDown, EventKind::PenMove, EventKind::PenUp};
  PlatformEvent event{kinds[kind]};
  event.x = static_cast<int16_t>(displayX);
  event.y = static_cast<int16_t>(displayY);
  platform.QueueEvent(event);
  penX_ = x;
  penY_ = y;
}

bool HeadlessScript::RunImmediate(HeadlessPlatform& platform, const Command& command) {
  switch (command.op) {
    case Op::FrameMs:
      frameMs_ = static_cast<uint32_t>(command.a);
      return true;
    case Op::Clock:
      platform.SetClock(static_cast<uint32_t>(command.a));
      return true;
    case Op::KeyDown:
    case Op::KeyUp: {
      PlatformEvent event{command.op == Op::KeyDown ? EventKind::KeyDown : EventKind::KeyUp};
      event.virtualKey = platform.landscape() ? TurnArrowKeyForLandscape(command.key) : command.key;
      platform.QueueEvent(event);
      return true;
    }
    case Op::PenDown:
      QueuePen(platform, kPenDown, command.a, command.b);
      return true;
    case Op::PenMove:
      QueuePen(platform, kPenMove, command.a, command.b);
      return true;
    case Op::PenUp:
      QueuePen(platform, kPenUp, penX_, penY_);
      return true;
    case Op::Stick: {
      PlatformEvent event{EventKind::StickMove};
      event.virtualKey = command.key;
      event.x = static_cast<int16_t>(command.a);
      platform.QueueEvent(event);
      return true;
    }
    case Op::Screenshot: {
      ScriptHost* host = platform.scriptHost();
      if (host == nullptr || !host->SaveScreenshotPng(command.path)) {
        std::fprintf(stderr, "script line %d: cannot write screenshot %s\n", command.line, command.path.c_str());
        platform.SetExitStatus(1);
        return false;
      }
      return true;
    }
    case Op::Trace: {
      ScriptHost* host = platform.scriptHost();
      if (host == nullptr || !host->StartTrace(command.path)) {
        std::fprintf(stderr, "script line %d: cannot write trace %s\n", command.line, command.path.c_str());
        platform.SetExitStatus(1);
        return false;
      }
      return true;
    }
    case Op::State: {
      ScriptHost* host = platform.scriptHost();
      const std::string state = host != nullptr ? host->DescribeState() : "{}";
      std::fprintf(output_, "%s\n", state.c_str());
      std::fflush(output_);
      return true;
    }
    case Op::Quit:
      return false;
    case Op::Wait:
    case Op::Press:
    case Op::Tap:
      break;
  }
  return true;
}

void HeadlessScript::BeginPass(HeadlessPlatform& platform) {
  if (finished_) return;
  if (!firstPass_) platform.AdvanceClock(frameMs_);
  firstPass_ = false;

  // What a press or a tap put down in the previous tick comes up in this one.
  for (uint16_t key : keysToRelease_) {
    PlatformEvent event{EventKind::KeyUp};
    event.virtualKey = key;
    platform.QueueEvent(event);
  }
  keysToRelease_.clear();
  if (penToLift_) {
    QueuePen(platform, kPenUp, penX_, penY_);
    penToLift_ = false;
  }

  if (ticksToRun_ > 0) {
    --ticksToRun_;
    return;
  }
  while (next_ < commands_.size()) {
    const Command& command = commands_[next_++];
    switch (command.op) {
      case Op::Wait: {
        const uint32_t ticks = (static_cast<uint32_t>(command.a) + frameMs_ - 1) / frameMs_;
        if (ticks == 0) continue;
        ticksToRun_ = ticks - 1;  // this pass's tick is the first of them
        return;
      }
      case Op::Press: {
        PlatformEvent event{EventKind::KeyDown};
        event.virtualKey = platform.landscape() ? TurnArrowKeyForLandscape(command.key) : command.key;
        platform.QueueEvent(event);
        keysToRelease_.push_back(event.virtualKey);
        return;
      }
      case Op::Tap:
        QueuePen(platform, kPenDown, command.a, command.b);
        penToLift_ = true;
        return;
      default:
        if (!RunImmediate(platform, command)) next_ = commands_.size();
        break;
    }
  }
  finished_ = true;
  platform.QueueEvent(PlatformEvent{EventKind::CloseRequested});
}
