#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_script.h"

namespace {

class FakeHost : public ScriptHost {
 public:
  std::string DescribeState() override { return "{\"screen\":\"Fake\"}"; }
  bool SaveScreenshotPng(const std::string& path) override {
    screenshots.push_back(path);
    return path.find("unwritable") == std::string::npos;
  }
  bool StartTrace(const std::string& path) override {
    traces.push_back(path);
    return path.find("unwritable") == std::string::npos;
  }
  std::vector<std::string> screenshots;
  std::vector<std::string> traces;
};

// Runs passes the way the main loop does and records, per pass, the clock and the messages.
struct Pass {
  uint32_t clock;
  std::vector<PlatformEvent> events;
};

std::vector<Pass> RunScript(const std::string& text, bool landscape = false, FakeHost* host = nullptr,
                            std::FILE* output = nullptr) {
  HeadlessPlatform platform;
  HeadlessScript script;
  std::string error;
  EXPECT_TRUE(script.Parse(text, &error)) << error;
  if (output != nullptr) script.SetOutput(output);
  platform.AttachInput(&script);
  platform.SetScriptHost(host);
  platform.SetLandscape(landscape);
  std::vector<Pass> passes;
  for (int i = 0; i < 1000; ++i) {
    platform.BeginPass();
    Pass pass{platform.Milliseconds(), {}};
    PlatformEvent event;
    bool closed = false;
    while (platform.PollEvent(&event)) {
      pass.events.push_back(event);
      closed = closed || event.kind == EventKind::CloseRequested;
    }
    passes.push_back(pass);
    if (closed) break;
  }
  return passes;
}

TEST(HeadlessScript, BadLinesAreRefusedWithTheirNumber) {
  const char* bad[] = {"jump 3", "wait", "wait -5", "wait 1.5", "press fire", "tap 10", "key sideways up",
                       "pen down 1", "frame-ms 0", "state now", "screenshot", "trace", "stick up 5",
                       "stick left-x 40000", "clock -5", "clock 4294967296"};
  for (const char* line : bad) {
    HeadlessScript script;
    std::string error;
    EXPECT_FALSE(script.Parse(std::string("# comment\n\n") + line + "\n", &error)) << line;
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
  }
  HeadlessScript script;
  std::string error;
  EXPECT_TRUE(script.Parse("frame-ms 20  # faster\nwait 100\npress app5\ntap 1 2\npen down 3 4\npen move 5 6\n"
                           "pen up\nkey down left\nkey up left\nscreenshot a.png\nstate\ntrace t.jsonl\nstick right-y -32767\n"
                           "clock 4294967295\nquit\n",
                           &error))
      << error;
  EXPECT_EQ(script.commands().size(), 15u);
}

TEST(HeadlessScript, WaitRunsTicksOfTheFrameTime) {
  const auto passes = RunScript("frame-ms 20\nwait 100\n");
  // Five ticks of 20 ms, then the pass that finds the end of the script closes the program.
  ASSERT_EQ(passes.size(), 6u);
  for (size_t i = 0; i < passes.size(); ++i) {
    EXPECT_EQ(passes[i].clock, HeadlessPlatform::kStartMilliseconds + 20 * i);
  }
  EXPECT_EQ(passes.back().events.back().kind, EventKind::CloseRequested);
}

TEST(HeadlessScript, WaitRoundsUpToWholeTicks) {
  EXPECT_EQ(RunScript("wait 100\n").size(), 5u);  // 33 ms ticks: four cover 100 ms, then the end
  EXPECT_EQ(RunScript("wait 0\n").size(), 1u);
}

TEST(HeadlessScript, PressHoldsForOneTick) {
  const auto passes = RunScript("press action\nwait 33\n");
  ASSERT_GE(passes.size(), 2u);
  ASSERT_EQ(passes[0].events.size(), 1u);
  EXPECT_EQ(passes[0].events[0].kind, EventKind::KeyDown);
  EXPECT_EQ(passes[0].events[0].virtualKey, DeviceKey::Action);
  ASSERT_GE(passes[1].events.size(), 1u);
  EXPECT_EQ(passes[1].events[0].kind, EventKind::KeyUp);
  EXPECT_EQ(passes[1].events[0].virtualKey, DeviceKey::Action);
}

TEST(HeadlessScript, ArrowsAndTapsTurnWithTheDevice) {
  const auto passes = RunScript("press up\ntap 10 20\n", true);
  ASSERT_GE(passes.size(), 2u);
  EXPECT_EQ(passes[0].events[0].virtualKey, DeviceKey::Left);  // up as seen, held turned
  const PlatformEvent& down = passes[1].events.back();
  EXPECT_EQ(down.kind, EventKind::PenDown);
  EXPECT_EQ(down.x, 20);
  EXPECT_EQ(down.y, 319 - 10);
  EXPECT_EQ(passes[2].events[0].kind, EventKind::PenUp);
}

TEST(HeadlessScript, StateAndScreenshotsGoThroughTheHost) {
  FakeHost host;
  std::FILE* output = std::tmpfile();
  RunScript("state\nscreenshot shot.png\ntrace flight.jsonl\n", false, &host, output);
  std::rewind(output);
  char line[128] = {};
  ASSERT_NE(std::fgets(line, sizeof line, output), nullptr);
  EXPECT_STREQ(line, "{\"screen\":\"Fake\"}\n");
  std::fclose(output);
  EXPECT_EQ(host.screenshots, std::vector<std::string>{"shot.png"});
  EXPECT_EQ(host.traces, std::vector<std::string>{"flight.jsonl"});
}

TEST(HeadlessScript, AFileThatCannotBeWrittenEndsTheRunWithAnError) {
  for (const char* line : {"screenshot unwritable/x.png", "trace unwritable/t.jsonl"}) {
    SCOPED_TRACE(line);
    FakeHost host;
    HeadlessPlatform platform;
    HeadlessScript script;
    std::string error;
    ASSERT_TRUE(script.Parse(std::string(line) + "\nwait 1000\n", &error));
    platform.AttachInput(&script);
    platform.SetScriptHost(&host);
    platform.BeginPass();
    EXPECT_EQ(platform.ExitStatus(), 1);
    EXPECT_TRUE(script.finished());
  }
}

}  // namespace
