#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/screen.h"
#include "app_test_support.h"
#include "platform/headless/headless_platform.h"

namespace {

std::vector<std::string> gLog;
RecordingScreen* gIntro = nullptr;

Screen* CreateRecordingIntro(Application* application) {
  gIntro = new RecordingScreen(application, "intro", &gLog);
  return gIntro;
}

class ApplicationTest : public testing::Test {
 protected:
  ApplicationTest() {
    gLog.clear();
    factory.intro = &CreateRecordingIntro;
    application = std::make_unique<Application>(&platform, factory, home.SettingsPath());
  }

  // Opens the display and enters the first screen, as start-up does.
  void Start() {
    ASSERT_TRUE(application->Create(u"KestrelR", u"Kestrel Run"));
    application->Init();
    gLog.clear();
  }

  TemporaryHome home;
  HeadlessPlatform platform;
  ScreenFactory factory;
  std::unique_ptr<Application> application;
};

TEST_F(ApplicationTest, FirstTickTakesTheLongestStep) {
  Start();
  platform.SetClock(5000000);
  EXPECT_TRUE(application->Tick());
  ASSERT_GE(gLog.size(), 1u);
  EXPECT_EQ(gLog[0], "intro:update 200 13107");
  EXPECT_EQ(application->framesPerSecond, 5);
  EXPECT_EQ(application->tickTime, 5000000u);
}

TEST_F(ApplicationTest, TickArithmetic) {
  Start();
  const struct {
    uint32_t step;
    const char* update;
    uint16_t fps;
  } cases[] = {
      {50, "intro:update 50 3276", 20},
      {30, "intro:update 30 1966", 33},
      {200, "intro:update 200 13107", 5},
      {201, "intro:update 200 13107", 5},  // after a pause the game advances at most 200 ms
      {60000, "intro:update 200 13107", 5},
      {1, "intro:update 1 65", 1000},
  };
  platform.SetClock(1000);
  application->Tick();
  for (const auto& c : cases) {
    gLog.clear();
    platform.AdvanceClock(c.step);
    EXPECT_TRUE(application->Tick());
    ASSERT_FALSE(gLog.empty());
    EXPECT_EQ(gLog[0], c.update) << "step " << c.step;
    EXPECT_EQ(application->framesPerSecond, c.fps) << "step " << c.step;
  }
}

TEST_F(ApplicationTest, TickInTheSameMillisecondDoesNothing) {
  Start();
  platform.SetClock(1000);
  application->Tick();
  gLog.clear();
  EXPECT_TRUE(application->Tick());
  EXPECT_TRUE(gLog.empty());
  // The previous tick time stayed: the next step is measured from the tick that ran.
  platform.AdvanceClock(40);
  application->Tick();
  ASSERT_FALSE(gLog.empty());
  EXPECT_EQ(gLog[0].substr(0, 16), "intro:update 40 ");
}

TEST_F(ApplicationTest, DrawPresentsOnlyWhenTheScreenAsks) {
  Start();
  platform.SetClock(1000);
  application->Tick();
  EXPECT_EQ(platform.presentedFrames(), 1);
  gIntro->drawResult = false;
  platform.AdvanceClock(10);
  application->Tick();
  EXPECT_EQ(platform.presentedFrames(), 1);
}

TEST_F(ApplicationTest, HoldTimesGrowWithEachTick) {
  Start();
  platform.SetClock(1000);
  application->Tick();
  application->OnKeyDown(DeviceKey::Up);
  EXPECT_EQ(application->keyState[KeyUp], kKeyHeld);
  for (int i = 0; i < 30; ++i) {
    platform.AdvanceClock(100);
    application->Tick();
  }
  EXPECT_EQ(application->keyState[KeyUp], kKeyHeld + 3000);
  application->OnKeyDown(DeviceKey::Up);  // an automatic repeat restarts the count
  EXPECT_EQ(application->keyState[KeyUp], kKeyHeld);
  application->OnKeyUp(DeviceKey::Up);
  EXPECT_EQ(application->keyState[KeyUp], 0u);
}

TEST_F(ApplicationTest, SwitchLeavesDeletesThenEntersInOneTick) {
  Start();
  platform.SetClock(1000);
  auto* second = new RecordingScreen(application.get(), "second", &gLog);
  gIntro->next = second;
  application->Tick();
  const std::vector<std::string> expected = {"intro:update 200 13107", "intro:leave", "intro:delete",
                                             "second:enter", "second:draw"};
  EXPECT_EQ(gLog, expected);
  EXPECT_EQ(application->currentScreen(), second);
}

TEST_F(ApplicationTest, QuitScreenEndsTheProgramInTheSameTick) {
  Start();
  platform.SetClock(1000);
  gIntro->next = QuitScreen;
  EXPECT_FALSE(application->Tick());
  const std::vector<std::string> expected = {"intro:update 200 13107", "intro:leave", "intro:delete"};
  EXPECT_EQ(gLog, expected);
  EXPECT_EQ(application->currentScreen(), nullptr);
  gLog.clear();
  application->Exit();  // shutdown finds no current screen
  EXPECT_TRUE(gLog.empty());
}

TEST_F(ApplicationTest, MissingScreenKindMeansStay) {
  factory.intro = nullptr;
  application = std::make_unique<Application>(&platform, factory, home.SettingsPath());
  ASSERT_TRUE(application->Create(u"KestrelR", u"Kestrel Run"));
  application->Init();
  EXPECT_EQ(application->currentScreen(), nullptr);
  platform.SetClock(1000);
  EXPECT_TRUE(application->Tick());
}

TEST_F(ApplicationTest, RunLoopTicksWhileFocusedAndEndsOnClose) {
  Start();
  gIntro->next = QuitScreen;
  EXPECT_EQ(application->Run(), 0);
  EXPECT_EQ(application->currentScreen(), nullptr);
}

TEST_F(ApplicationTest, ScreenshotsTakeFiveFilesInTurn) {
  Start();
  platform.SetClock(1000);
  const auto documents = home.root / "documents";
  for (int press = 0; press < 6; ++press) {
    application->OnKeyDown(DeviceKey::App5);
    platform.AdvanceClock(20);
    application->Tick();
    EXPECT_EQ(application->keyState[KeyApp5], 0u) << "one screenshot per key-down";
    platform.AdvanceClock(20);
    application->Tick();
  }
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(std::filesystem::exists(documents / ("KestrelRun" + std::to_string(i) + ".jpg")));
  EXPECT_FALSE(std::filesystem::exists(documents / "KestrelRun5.jpg"));
}

TEST_F(ApplicationTest, ScreenshotMakesAMissingDocumentsFolder) {
  Start();
  const std::filesystem::path documents = home.root / "no-such-folder" / "below";
  setenv("XDG_DOCUMENTS_DIR", documents.c_str(), 1);
  application->OnKeyDown(DeviceKey::App5);
  platform.SetClock(1000);
  EXPECT_TRUE(application->Tick());
  EXPECT_EQ(application->keyState[KeyApp5], 0u);
  EXPECT_TRUE(std::filesystem::exists(documents / "KestrelRun0.jpg"));
}

TEST_F(ApplicationTest, StateLineNamesTheScreenAndMode) {
  Start();
  EXPECT_EQ(application->DescribeState(), "{\"screen\":\"Recording\",\"mode\":0}");
}

}  // namespace
