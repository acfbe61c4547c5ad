// The mission, helicopter and loadout screens and the debriefing on a small pack written by the
// test: empty lists, missing pictures, the bar charts and their 800 ms moves, more than eight
// pylons, and what each screen hands on or deletes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../app/app_test_support.h"
#include "app/application.h"
#include "archive_writer.h"
#include "content/chopper_def.h"
#include "content/mission_def.h"
#include "game/chopper.h"
#include "game/mission_instance.h"
#include "game/weapons.h"
#include "menus/menu_screens.h"
#include "menus/selection_screens.h"
#include "platform/headless/headless_platform.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// core.bin with the given list files (an empty text leaves that kind out of the manifest).
void WritePack(const std::filesystem::path& folder, const std::string& missions, const std::string& choppers,
               const std::string& weapons) {
  std::string manifest = "[KestrelRun]\n";
  std::vector<PackSource> files;
  const struct {
    const std::string& text;
    const char* kind;
    const char* file;
  } lists[] = {{missions, "Mission", "missions.ini"}, {choppers, "Chopper", "choppers.ini"}, {weapons, "Weapon", "weapons.ini"}};
  for (const auto& list : lists) {
    if (list.text.empty()) continue;
    manifest += std::string("NoOf") + list.kind + "Files = 1\n" + list.kind + "File 0 = " + list.file + "\n";
    files.push_back({list.file, Bytes(list.text)});
  }
  files.push_back({"content.ini", Bytes(manifest)});
  const std::vector<uint8_t> archive = BuildArchive(files, ArchiveOptions{});
  std::ofstream(folder / "core.bin", std::ios::binary)
      .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
}

const char* const kMissions = "[Missions]\nNoOfMissions = 1\nMission 0 = Alpha\n[Alpha]\nHelipad = 10 10\n";
// Fast has the largest figures; Many has 12 pylons and 200 seats. No pictures anywhere.
const char* const kChoppers =
    "[Choppers]\nNoOfChoppers = 2\nChopper 0 = Fast\nChopper 1 = Many\n"
    "[Fast]\nForward = 200 170\nPayload = 1000\nPylons = 2\n"
    "[Many]\nForward = 100 50\nPayload = 500\nPylons = 12\nPassengers = 200\n";
const char* const kWeapons = "[Weapons]\nNoOfWeapons = 1\nWeapon 0 = Pod\n[Pod]\nType = Rocket\nWeight = 100\nNoOfItems = 3\n";

// Where the loadout's OK leads: a screen that owns the mission instance and the armed chopper.
Screen* CreateGameStandIn(Application* application, MissionInstance* mission, Chopper* chopper) {
  struct GameStandIn : Screen {
    GameStandIn(Application* app, MissionInstance* mission, Chopper* armed) : Screen(app), m(mission), c(armed) {}
    const char* Name() const override { return "GameStandIn"; }
    std::unique_ptr<MissionInstance> m;
    std::unique_ptr<Chopper> c;
  };
  return new GameStandIn(application, mission, chopper);
}

class SelectionTest : public testing::Test {
 protected:
  void Start(const std::string& missions, const std::string& choppers, const std::string& weapons) {
    WritePack(home.root / "content", missions, choppers, weapons);
    RegisterMenuScreens(factory);
    application = std::make_unique<Application>(&platform, factory, home.SettingsPath());
    ASSERT_TRUE(application->Create(u"KestrelR", u"Kestrel Run"));
    application->registry.Load(ProgramDirectory());
  }

  // Frames of 20 ms, drawn, for `ms`; the successor if one came.
  Screen* Run(MenuScreen& screen, uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += 20) {
      application->tickTime += 20;
      if (Screen* next = screen.Update(20, 1310)) return next;
      screen.Draw();
    }
    return nullptr;
  }
  // The stylus down at (x, y) for a frame and lifted there in the next; the successor if one came.
  Screen* Tap(MenuScreen& screen, int16_t x, int16_t y) {
    application->penX = x;
    application->penY = y;
    application->penDown = 1;
    Run(screen, 20);
    application->penDown = 0;
    return Run(screen, 20);
  }
  // A tap on the frame's cancel button, then the 500 ms fade to black.
  Screen* TapCancel(MenuScreen& screen) {
    Tap(screen, 222, 258);
    return Run(screen, 600);
  }
  uint16_t Pixel(int x, int y) const { return application->backSurface->Row(y)[x]; }
  // The length of the bar whose top row is `row`, from x 100, in colour `colour`.
  int BarLength(int row, uint16_t colour) const {
    int length = 0;
    while (100 + length < 240 && Pixel(100 + length, row) == colour) ++length;
    return length;
  }

  TemporaryHome home;
  HeadlessPlatform platform;
  ScreenFactory factory;
  std::unique_ptr<Application> application;
};

TEST_F(SelectionTest, AnEmptyListShowsANoticeWithoutOkAndCancelStillGoesBack) {
  Start("", kChoppers, kWeapons);
  MissionSelectScreen screen(application.get());
  screen.Enter();
  Run(screen, 1000);
  EXPECT_EQ(screen.frameFlags() & FrameOk, 0u);
  EXPECT_NE(screen.frameFlags() & FrameCancel, 0u);
  EXPECT_NE(Pixel(120, 150), 0);  // the notice's panel, on black
  application->keyState[KeyAction] = kKeyHeld;
  EXPECT_EQ(Run(screen, 700), nullptr);  // OK does nothing
  Screen* next = TapCancel(screen);
  ASSERT_NE(next, nullptr);
  EXPECT_STREQ(next->Name(), "Title");
  delete next;
  screen.Leave();
}

TEST_F(SelectionTest, AMissingPictureLeavesTheBackgroundBlack) {
  Start(kMissions, kChoppers, kWeapons);
  MissionSelectScreen screen(application.get());
  screen.Enter();
  Run(screen, 1400);  // faded in, cross-faded
  EXPECT_NE(screen.frameFlags() & FrameOk, 0u);
  EXPECT_EQ(Pixel(150, 100), 0);
  EXPECT_EQ(Pixel(20, 20), 0);
  screen.Leave();
}

TEST_F(SelectionTest, BarsAreScaledByTheLargestAndMoveIn800Milliseconds) {
  Start(kMissions, kChoppers, kWeapons);
  ChopperSelectScreen screen(application.get(), new MissionInstance(application->registry.missions[0]));
  screen.Enter();
  Run(screen, 900);
  // Fast: 200 km/h is the largest forward speed (100 pixels); laden 170 (85, second colours).
  EXPECT_EQ(BarLength(3, 0xC7F8), 100);
  EXPECT_EQ(BarLength(6, 0xFE18), 85);
  EXPECT_EQ(BarLength(81, 0xC7F8), 100);  // payload 1000 of 1000
  // Many, halfway through the move: 200 -> 100 km/h shows 150, 75 pixels.
  application->keyState[KeyRight] = kKeyHeld;
  Run(screen, 400);
  EXPECT_NEAR(BarLength(3, 0xC7F8), 75, 2);
  Run(screen, 500);
  EXPECT_EQ(BarLength(3, 0xC7F8), 50);
  EXPECT_EQ(BarLength(6, 0xFE18), 25);
  EXPECT_EQ(BarLength(81, 0xC7F8), 50);
  // Cancel deletes the mission instance (the sanitizer build sees a leak otherwise).
  Screen* next = TapCancel(screen);
  ASSERT_NE(next, nullptr);
  EXPECT_STREQ(next->Name(), "MissionSelect");
  delete next;
  screen.Leave();
}

TEST_F(SelectionTest, AHelicopterOfTwelvePylonsGetsEightAndTheLoadoutArmsItInOrder) {
  Start(kMissions, kChoppers, kWeapons);
  auto* chopper = new Chopper(application->registry.choppers[1]);  // Many
  chopper->Reset();
  LoadoutScreen screen(application.get(), new MissionInstance(application->registry.missions[0]), chopper);
  screen.Enter();
  EXPECT_EQ(screen.pylonCount(), 8);
  Run(screen, 600);
  // The eight-pylon places: tap the first two (the tests' button pictures are 16 x 8).
  Tap(screen, 20, 33);
  Tap(screen, 200, 33);
  ASSERT_NE(screen.pylon(0), nullptr);
  ASSERT_NE(screen.pylon(1), nullptr);
  EXPECT_EQ(screen.TotalWeight(), 200u);
  // OK: the built-in gun, then one slot with both loads of the pod (3 + 3 shots).
  application->keyState[KeyAction] = kKeyHeld;
  application->screens.game = &CreateGameStandIn;
  Screen* next = Run(screen, 700);
  ASSERT_NE(next, nullptr);
  EXPECT_STREQ(next->Name(), "GameStandIn");
  ASSERT_EQ(chopper->weaponSlots.Count(), 2);
  EXPECT_EQ(chopper->weaponSlots[0]->definition, application->registry.machineGun);
  EXPECT_EQ(chopper->weaponSlots[1]->ShotsLeft(), 6);
  delete next;  // with the mission instance and the chopper it was handed
  screen.Leave();
}

// A live screen still takes clicks while it fades out. Once the loadout has handed the chopper on
// (OK) or dropped it (cancel), the arrows and the pylons must not reach for it.
TEST_F(SelectionTest, ClicksWhileTheLoadoutFadesOutAfterItsChoiceAreIgnored) {
  Start(kMissions, kChoppers, kWeapons);
  application->screens.game = &CreateGameStandIn;
  const struct {
    const char* choice;
    int16_t x, y;  // where the choice is tapped
    const char* next;
  } choices[] = {{"OK", 210, 290, "GameStandIn"}, {"cancel", 222, 258, "ChopperSelect"}};
  for (const auto& choice : choices) {
    SCOPED_TRACE(choice.choice);
    auto* chopper = new Chopper(application->registry.choppers[0]);  // Fast: two pylons
    chopper->Reset();
    LoadoutScreen screen(application.get(), new MissionInstance(application->registry.missions[0]), chopper);
    screen.Enter();
    Run(screen, 600);
    ASSERT_EQ(Tap(screen, choice.x, choice.y), nullptr);  // the fade to black has begun
    application->keyState[KeyRight] = kKeyHeld;
    EXPECT_EQ(Run(screen, 40), nullptr);
    Tap(screen, 45, 78);  // the first pylon
    Screen* next = Run(screen, 600);
    ASSERT_NE(next, nullptr);
    EXPECT_STREQ(next->Name(), choice.next);
    delete next;
    screen.Leave();
  }
}

TEST_F(SelectionTest, TheDebriefingStampsByCompletionAndOwnsWhatItWasGiven) {
  Start(kMissions, kChoppers, kWeapons);
  for (const bool failGoal : {false, true}) {
    auto* mission = new MissionInstance(application->registry.missions[0]);  // no goals: complete
    if (failGoal) {
      auto* failed = new GoalState;
      failed->status = GoalFailed;
      mission->goals.Append(failed);
    }
    DebriefScreen screen(application.get(), mission, new Chopper(application->registry.choppers[0]));
    screen.Enter();
    EXPECT_NE(screen.DescribeState().find(failGoal ? "\"result\":\"failure\"" : "\"result\":\"success\""),
              std::string::npos);
    application->keyState[KeyAction] = kKeyHeld;
    Screen* next = Run(screen, 1200);
    ASSERT_NE(next, nullptr);
    EXPECT_STREQ(next->Name(), "Title");
    delete next;
    screen.Leave();
  }
}

}  // namespace
