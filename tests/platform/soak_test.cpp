// The soak's parts without the game: its random numbers, its gestures, the resident memory it
// reads, and how it counts what the game's state lines show.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/headless/process_memory.h"
#include "platform/headless/soak_gestures.h"
#include "platform/headless/soak_input.h"
#include "platform/headless/soak_random.h"

namespace {

using Op = HeadlessScript::Op;
using Scene = SoakGestures::Scene;

TEST(SoakRandom, FollowsTheSplitMix64ReferenceSequence) {
  // The reference implementation's first outputs for seed 0: runs stay the same on every
  // compiler and library, and from one version of the program to the next.
  SoakRandom random(0);
  EXPECT_EQ(random.Next(), 0xE220A8397B1DCDAFull);
  EXPECT_EQ(random.Next(), 0x6E789E6AA1B965F4ull);
  EXPECT_EQ(random.Next(), 0x06C45D188009454Full);
}

TEST(SoakRandom, BetweenGivesEveryValueOfItsRangeAndNoOther) {
  SoakRandom random(99);
  std::set<int32_t> seen;
  for (int i = 0; i < 1000; ++i) seen.insert(random.Between(-3, 3));
  EXPECT_EQ(seen, (std::set<int32_t>{-3, -2, -1, 0, 1, 2, 3}));
  for (int i = 0; i < 1000; ++i) {
    const int32_t value = random.Between(-32767, 32767);
    ASSERT_GE(value, -32767);
    ASSERT_LE(value, 32767);
  }
  EXPECT_EQ(random.Between(5, 5), 5);
}

bool SameCommands(const std::vector<HeadlessScript::Command>& a, const std::vector<HeadlessScript::Command>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].op != b[i].op || a[i].key != b[i].key || a[i].a != b[i].a || a[i].b != b[i].b) return false;
  }
  return true;
}

TEST(SoakGestures, TheSameSeedGivesTheSameGestures) {
  SoakGestures one(42);
  SoakGestures two(42);
  SoakGestures other(43);
  int differing = 0;
  for (int i = 0; i < 500; ++i) {
    const SoakGestures::View view{static_cast<Scene>(i % 3), i % 7 == 0};
    const auto gesture = one.Next(view);
    ASSERT_TRUE(SameCommands(gesture, two.Next(view))) << "gesture " << i;
    if (!SameCommands(gesture, other.Next(view))) ++differing;
  }
  EXPECT_GT(differing, 250);
}

// Plays many gestures of every scene and orientation and follows what they hold down.
TEST(SoakGestures, EveryGestureLetsGoOfWhatItHoldsStaysOnThePictureAndEndsWithAPause) {
  SoakGestures gestures(7);
  std::set<uint16_t> keysPressed;
  for (const Scene scene : {Scene::Menu, Scene::Popup, Scene::Flight}) {
    for (const bool landscape : {false, true}) {
      SCOPED_TRACE(testing::Message() << "scene " << static_cast<int>(scene) << (landscape ? " landscape" : ""));
      const int32_t width = landscape ? 320 : 240;
      const int32_t height = landscape ? 240 : 320;
      for (int i = 0; i < 2000; ++i) {
        const auto commands = gestures.Next({scene, landscape});
        ASSERT_FALSE(commands.empty());
        std::set<uint16_t> held;
        bool penDown = false;
        int32_t stick[kStickAxes] = {};
        for (const auto& command : commands) {
          switch (command.op) {
            case Op::Press: keysPressed.insert(command.key); break;
            case Op::KeyDown: held.insert(command.key); keysPressed.insert(command.key); break;
            case Op::KeyUp: held.erase(command.key); break;
            case Op::PenDown: penDown = true; break;
            case Op::PenUp: penDown = false; break;
            case Op::Stick: stick[command.key] = command.a; break;
            default: break;
          }
          if (command.op == Op::Tap || command.op == Op::PenDown || command.op == Op::PenMove) {
            ASSERT_TRUE(command.a >= 0 && command.a < width && command.b >= 0 && command.b < height)
                << command.a << ", " << command.b;
          }
        }
        EXPECT_TRUE(held.empty());
        EXPECT_FALSE(penDown);
        for (const int32_t position : stick) EXPECT_EQ(position, 0);
        EXPECT_EQ(commands.back().op, Op::Wait);
        EXPECT_GT(commands.back().a, 0);
      }
    }
  }
  // Every key the game reads, and never the screenshot key, which writes into the documents folder.
  EXPECT_EQ(keysPressed, (std::set<uint16_t>{DeviceKey::Up, DeviceKey::Down, DeviceKey::Left, DeviceKey::Right,
                                             DeviceKey::Action, DeviceKey::App1, DeviceKey::App2, DeviceKey::App3,
                                             DeviceKey::App4}));
}

TEST(ProcessMemory, ReadsTheResidentFieldsOfTheStatusText) {
  const struct {
    const char* status;
    uint64_t current;
    uint64_t peak;
  } cases[] = {
      {"Name:\tkestrel-run\nVmPeak:\t  300000 kB\nVmHWM:\t   12372 kB\nVmRSS:\t   12300 kB\nThreads:\t1\n", 12300, 12372},
      {"VmRSS:\t42 kB", 42, 0},  // no peak, and no line end after the last field
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    const ResidentMemory memory = ParseResidentMemory(c.status);
    EXPECT_EQ(memory.currentKiB, c.current) << c.status;
    EXPECT_EQ(memory.peakKiB, c.peak) << c.status;
  }
  EXPECT_GT(ReadResidentMemory().currentKiB, 0u);  // this very process
}

class OneStateHost : public ScriptHost {
 public:
  std::string DescribeState() override { return state; }
  bool SaveScreenshotPng(const std::string&) override { return false; }
  bool StartTrace(const std::string&) override { return false; }
  std::string state = "{\"screen\":\"Title\",\"mode\":0,\"popupDepth\":1}";
};

TEST(SoakInput, PlaysUntilTheTimeIsUpThenAsksTheGameToClose) {
  HeadlessPlatform platform;
  OneStateHost host;
  platform.SetScriptHost(&host);
  SoakInput soak(2, 5);
  platform.AttachInput(&soak);
  int inputEvents = 0;
  bool closed = false;
  for (int pass = 0; pass < 1000 && !closed; ++pass) {
    platform.BeginPass();
    PlatformEvent event;
    while (platform.PollEvent(&event)) {
      closed = closed || event.kind == EventKind::CloseRequested;
      if (event.kind != EventKind::CloseRequested) ++inputEvents;
    }
  }
  ASSERT_TRUE(closed);
  EXPECT_TRUE(soak.finished());
  // Ticks of 33 ms until 2 s have passed: 61 of them, and the pass that finds the time up.
  EXPECT_EQ(platform.Milliseconds() - HeadlessPlatform::kStartMilliseconds, 61u * 33);
  EXPECT_GT(inputEvents, 0);
}

std::string ReportOf(const SoakInput& soak) {
  std::FILE* file = std::tmpfile();
  EXPECT_TRUE(soak.Report(file));
  std::rewind(file);
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) text += buffer;
  std::fclose(file);
  return text;
}

TEST(SoakInput, CountsScreensMissionsAndPopupsFromTheStateLines) {
  SoakInput soak(600, 1);
  const struct {
    uint32_t ms;
    const char* state;
  } lines[] = {
      {0, R"({"screen":"Intro","mode":0,"phase":1})"},
      {3000, R"({"screen":"Title","mode":0,"menuState":"FadingIn","popupDepth":1})"},
      {4000, R"({"screen":"Title","mode":0,"popupDepth":2})"},  // options
      {5000, R"({"screen":"Title","mode":0,"popupDepth":3})"},  // graphics
      {6000, R"({"screen":"Title","mode":0,"popupDepth":1})"},
      {7000, R"({"screen":"none","mode":0})"},  // between two screens: not a visit
      {8000, R"({"screen":"MissionSelect","mode":0,"mission":"Island Patrol"})"},
      {9000, R"({"screen":"game","mode":1,"paused":0})"},
      {20000, R"({"screen":"game","mode":1,"paused":1,"popupDepth":1})"},
      {21000, R"({"screen":"game","mode":1,"paused":0})"},
      {30000, R"({"screen":"Debrief","mode":0,"mission":"Island Patrol","result":"failure"})"},
      {32000, R"({"screen":"Title","mode":0,"popupDepth":1})"},
      {40000, R"({"screen":"game","mode":0,"paused":0})"},
      {50000, R"({"screen":"Debrief","mode":0,"mission":"Sea \"Watch\"","result":"success"})"},
      {52000, R"({"screen":"Title","mode":0,"popupDepth":1})"},
  };
  for (const auto& line : lines) soak.Observe(line.state, line.ms);
  const std::string report = ReportOf(soak);
  EXPECT_NE(report.find("screens visited: Debrief 2 (4 s), Intro 1 (3 s), MissionSelect 1 (1 s), Title 3 (13 s), "
                        "game 2 (31 s)\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("missions started: 2 (won 1, lost 1), popups opened: 6 (in missions 1)\n"), std::string::npos)
      << report;
}

}  // namespace
