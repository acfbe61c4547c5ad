// The game screen's frame: entering and leaving, the hand-over to the debriefing 1501 ms after
// the end, the map and menu keys, the pause, a mission that cannot be flown,
// and the flight recorder.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "../app/app_test_support.h"
#include "app/application.h"
#include "app/screen_factory.h"
#include "game/chopper.h"
#include "game/mission_instance.h"
#include "game/screen/game_screen.h"
#include "game_test_support.h"
#include "platform/headless/headless_platform.h"
#include "sound/sound_mixer.h"

namespace {

// Stands in for the screens the game screen hands over to; the debriefing takes the mission
// and the chopper as the real one will.
class StandIn : public Screen {
 public:
  StandIn(Application* application, const char* name, MissionInstance* m = nullptr, Chopper* c = nullptr)
      : Screen(application), name_(name), mission(m), chopper(c) {}
  const char* Name() const override { return name_; }
  const char* name_;
  std::unique_ptr<MissionInstance> mission;
  std::unique_ptr<Chopper> chopper;
};

Screen* Debrief(Application* a, MissionInstance* m, Chopper* c) { return new StandIn(a, "debrief", m, c); }
Screen* Title(Application* a) { return new StandIn(a, "title"); }
Screen* MissionSelect(Application* a) { return new StandIn(a, "missionSelect"); }

const char* const kMissions =
    "[Flight]\nHelipad = 1000 1000\nResource VoxelHeight = height.bin\nResource VoxelTexture = texture.bin\n"
    "Resource SkyBackdrop = sky.jpg\nMesh = House\nObject = Shed\nGoal = Destroy Shed\n"
    "[Shed]\nMesh = House\nClass = Structure\nPos = 1400 1400 0\n"
    // The same, with the chopper standing in the shed: it crashes as soon as the shed is on the
    // ground (after the first update).
    "[Crash]\nHelipad = 1000 1000\nResource VoxelHeight = height.bin\nResource VoxelTexture = texture.bin\n"
    "Resource SkyBackdrop = sky.jpg\nMesh = House\nObject = Barn\n"
    "[Barn]\nMesh = House\nClass = Structure\nPos = 1000 1000 0\n"
    "[NoLand]\nHelipad = 1000 1000\nResource VoxelHeight = missing.bin\nResource VoxelTexture = texture.bin\n"
    "Resource SkyBackdrop = sky.jpg\n";

class GameScreenTest : public testing::Test {
 protected:
  GameScreenTest() : pack(kMissions) {
    factory.debrief = &Debrief;
    factory.title = &Title;
    factory.missionSelect = &MissionSelect;
    application = std::make_unique<Application>(&platform, factory, home.SettingsPath());
    EXPECT_TRUE(application->Create(u"KestrelR", u"Kestrel Run"));
    chopperDef = game_test::PlainChopper();
  }
  ~GameScreenTest() override {
    if (screen != nullptr) screen->Leave();
    screen.reset();
    application.reset();
    SoundMixer::Instance().Reset();
  }

  void Start(const char16_t* missionName) {
    mission = pack.Mission(missionName);
    auto* chopper = new Chopper(chopperDef.get());
    chopper->Reset();
    screen = std::make_unique<GameScreen>(application.get(), new MissionInstance(mission.get()), chopper);
    screen->Enter();
  }
  // One frame as the application runs it: the tick time moves on, Update, then Draw.
  Screen* Frame(uint32_t ms = 33) {
    application->tickTime += ms;
    Screen* next = screen->Update(ms, static_cast<fixed>((static_cast<int64_t>(ms) << 16) / 1000));
    screen->Draw();
    return next;
  }

  TemporaryHome home;
  HeadlessPlatform platform;
  ScreenFactory factory;
  std::unique_ptr<Application> application;
  game_test::TestMissionPack pack;
  std::unique_ptr<MissionDef> mission;
  std::unique_ptr<ChopperDef> chopperDef;
  std::unique_ptr<GameScreen> screen;
};

TEST_F(GameScreenTest, EntersInTheChosenScreenModeAndLeavesInPortrait) {
  application->settings->screenMode = ScreenModeLandscape;
  Start(u"Flight");
  EXPECT_EQ(application->screenMode, ScreenModeLandscape);
  EXPECT_EQ(application->backSurface->width, 320);
  EXPECT_EQ(screen->hud().layoutMode, 1u);
  EXPECT_TRUE(screen->hud().controlsEnabled);
  ASSERT_NE(screen->sounds(), nullptr);
  EXPECT_EQ(Frame(), nullptr);
  screen->Leave();
  EXPECT_EQ(application->screenMode, ScreenModePortrait);
  screen.reset();
}

TEST_F(GameScreenTest, HandsOverToTheDebriefing1501MillisecondsAfterTheEnd) {
  Start(u"Crash");
  EXPECT_EQ(Frame(), nullptr);  // the barn comes down onto the ground
  EXPECT_EQ(Frame(), nullptr);  // and the chopper is in it
  ASSERT_EQ(screen->world().missionOver, 1);
  EXPECT_EQ(Frame(1500), nullptr);
  Screen* next = Frame(1);
  ASSERT_NE(next, nullptr);
  auto* debrief = static_cast<StandIn*>(next);
  EXPECT_STREQ(debrief->Name(), "debrief");
  ASSERT_NE(debrief->mission, nullptr);
  ASSERT_NE(debrief->chopper, nullptr);
  EXPECT_EQ(debrief->chopper->crashed, 1);
  EXPECT_EQ(debrief->chopper->world, nullptr);
  EXPECT_EQ(screen->world().chopper, nullptr);
  screen->Leave();
  screen.reset();
  delete next;
}

TEST_F(GameScreenTest, WithoutADebriefingTheWorldKeepsRunningAndKeepsWhatItOwns) {
  factory.debrief = nullptr;
  application->screens.debrief = nullptr;
  Start(u"Crash");
  for (int i = 0; i < 80; ++i) EXPECT_EQ(Frame(), nullptr);
  EXPECT_NE(screen->world().chopper, nullptr);
  EXPECT_NE(screen->world().mission, nullptr);
  EXPECT_EQ(screen->world().chopper->world, &screen->world());
}

TEST_F(GameScreenTest, MapAndMenuKeysActOncePerKeyDown) {
  Start(u"Flight");
  Frame();
  application->keyState[KeyApp3] = kKeyHeld | 100;
  Frame();
  EXPECT_TRUE(screen->mapView());
  EXPECT_EQ(application->keyState[KeyApp3], 0u);
  Frame();
  EXPECT_TRUE(screen->mapView());

  // The menu key pauses the game: every game sound goes, and the world stands still.
  application->keyState[KeyApp4] = kKeyHeld;
  Frame();
  EXPECT_TRUE(screen->paused());
  EXPECT_EQ(screen->sounds(), nullptr);
  EXPECT_EQ(application->keyState[KeyApp4], 0u);
  const fixed fuel = screen->world().chopper->fuel;
  for (int i = 0; i < 40; ++i) EXPECT_EQ(Frame(), nullptr);
  EXPECT_EQ(screen->world().chopper->fuel, fuel);
  EXPECT_TRUE(screen->mapView());  // survives the pause

  // (Closing the menu brings the sounds back: the end-to-end runs hear it, since the tests'
  // small set of pictures has none for the popup's buttons.)
}

TEST_F(GameScreenTest, AMissionWithoutItsLandscapeGoesBackToTheSelection) {
  Start(u"NoLand");
  Screen* next = Frame();
  ASSERT_NE(next, nullptr);
  EXPECT_STREQ(next->Name(), "missionSelect");
  screen->Leave();
  screen.reset();
  delete next;

  // Started from the command line, the program ends with status 1 instead.
  testing::internal::CaptureStderr();
  Start(u"NoLand");
  screen->SetQuickStart(true);
  EXPECT_EQ(Frame(), QuitScreen);
  EXPECT_EQ(application->exitCode, 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("\"NoLand\""), std::string::npos);
}

TEST_F(GameScreenTest, TheRecorderWritesWhereTheApplicationSays) {
  Start(u"Flight");
  Frame();
  std::FILE* trace = std::tmpfile();
  application->traceFile = trace;  // as the script command would, in the middle of a mission
  for (int i = 0; i < 5; ++i) Frame();
  const std::vector<std::string> lines = game_test::ReadLines(trace);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].rfind("{\"t\": " + std::to_string(application->tickTime - 4 * 33) + ", \"ms\": 33", 0), 0u)
      << lines[0];
  application->traceFile = nullptr;
  std::fclose(trace);
  Frame();
}

}  // namespace
