#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/application.h"
#include "app/menu_screen.h"
#include "app_test_support.h"
#include "platform/headless/headless_platform.h"

namespace {

// The test pictures: 101 is a 16 x 8 colour ramp, 102 its mask.
constexpr uint32_t kPicture = 101;
constexpr uint32_t kMask = 102;

class TestMenu : public MenuScreen {
 public:
  TestMenu(Application* application, uint32_t flags, bool live = true) : MenuScreen(application, flags, live) {}
  Screen* UpdateMenu(uint32_t, fixed) override {
    ++menuUpdates;
    Screen* result = next;
    next = nullptr;
    return result;
  }
  const char* Name() const override { return "TestMenu"; }

  Screen* next = nullptr;
  int menuUpdates = 0;
};

class Successor : public Screen {
 public:
  using Screen::Screen;
  const char* Name() const override { return "Successor"; }
};

std::unique_ptr<Surface> Flat(uint16_t colour) {
  auto surface = std::make_unique<Surface>();
  surface->Create(240, 320);
  surface->Clear(colour);
  return surface;
}

class MenuScreenTest : public testing::Test {
 protected:
  MenuScreenTest() : application(&platform, ScreenFactory{}, home.SettingsPath()) {
    EXPECT_TRUE(application.Create(u"KestrelR", u"Kestrel Run"));
  }

  // Runs ticks of `step` ms until `ms` have passed; returns the last Update result.
  Screen* Run(MenuScreen& menu, uint32_t ms, uint32_t step = 20) {
    Screen* result = nullptr;
    for (uint32_t t = 0; t < ms; t += step) {
      result = menu.Update(step, 0);
      if (result != nullptr) break;
    }
    return result;
  }

  TemporaryHome home;
  HeadlessPlatform platform;
  Application application;
};

TEST_F(MenuScreenTest, FadesInFromBlackInHalfASecond) {
  TestMenu menu(&application, FrameShown);
  menu.Enter();
  EXPECT_EQ(menu.state(), MenuState::FadingIn);
  EXPECT_EQ(menu.FadeDarkness(), 255);
  Run(menu, 240);
  EXPECT_EQ(menu.state(), MenuState::FadingIn);
  EXPECT_NEAR(menu.FadeDarkness(), 132, 2);
  Run(menu, 240);
  EXPECT_EQ(menu.state(), MenuState::FadingIn);
  Run(menu, 20);
  EXPECT_EQ(menu.state(), MenuState::Active);
  EXPECT_EQ(menu.FadeDarkness(), 0);
  menu.Leave();
}

TEST_F(MenuScreenTest, HandsOverItsSuccessorHalfASecondAfterChoosingIt) {
  TestMenu menu(&application, FrameShown);
  menu.Enter();
  Run(menu, 500);
  ASSERT_EQ(menu.state(), MenuState::Active);
  auto* successor = new Successor(&application);
  menu.next = successor;
  EXPECT_EQ(menu.Update(20, 0), nullptr);
  EXPECT_EQ(menu.state(), MenuState::FadingOut);
  EXPECT_EQ(Run(menu, 460), nullptr);
  const int updatesBefore = menu.menuUpdates;
  Screen* result = Run(menu, 40);
  EXPECT_EQ(result, successor);
  EXPECT_EQ(menu.state(), MenuState::Done);
  EXPECT_GT(menu.menuUpdates, updatesBefore);  // a live menu keeps animating while it fades
  delete result;
  menu.Leave();
}

TEST_F(MenuScreenTest, CrossFadeTakesEightHundredMilliseconds) {
  TestMenu menu(&application, 0);
  menu.Enter();
  menu.SetBackground(Flat(0xFFFF));
  Run(menu, 780);
  EXPECT_EQ(menu.background(), nullptr);
  EXPECT_NE(menu.incomingBackground(), nullptr);
  Run(menu, 20);
  ASSERT_NE(menu.background(), nullptr);
  EXPECT_EQ(menu.incomingBackground(), nullptr);
  EXPECT_EQ(menu.background()->Row(0)[0], 0xFFFF);
  menu.Leave();
}

TEST_F(MenuScreenTest, ASecondPictureFreezesTheCrossFadeWhereItStands) {
  TestMenu menu(&application, 0);
  menu.Enter();
  menu.SetBackground(Flat(0x0000));
  Run(menu, 800);
  menu.SetBackground(Flat(0xFFFF));  // white fading over black
  Run(menu, 400);
  const uint8_t opacity = menu.CrossFadeOpacity();
  EXPECT_NEAR(opacity, 127, 2);
  menu.SetBackground(Flat(0x001F));
  // The current picture is now black with white blended in at that opacity (each channel
  // scaled by the five-bit alpha plus one).
  const uint16_t frozen = menu.background()->Row(5)[5];
  const uint16_t expectedRed = static_cast<uint16_t>(((31u * ((opacity >> 3) + 1)) >> 5) << 11);
  EXPECT_EQ(frozen & 0xF800, expectedRed);
  EXPECT_NE(frozen, 0);
  EXPECT_EQ(menu.CrossFadeOpacity(), 0);  // the new cross-fade starts from the beginning
  menu.Leave();
}

TEST_F(MenuScreenTest, FrozenFadeWithoutACurrentPictureKeepsItDarkened) {
  TestMenu menu(&application, 0);
  menu.Enter();
  menu.SetBackground(Flat(0xFFFF));
  Run(menu, 400);
  const uint8_t opacity = menu.CrossFadeOpacity();
  menu.SetBackground(Flat(0x001F));
  ASSERT_NE(menu.background(), nullptr);
  // White darkened by 255 - opacity: a black fill at that alpha (five bits of it).
  const uint32_t a5 = (255u - opacity) >> 3;
  const uint16_t pixel = menu.background()->Row(0)[0];
  EXPECT_EQ(pixel >> 11, (31u * (31u - a5)) >> 5);
  menu.Leave();
}

TEST_F(MenuScreenTest, AButtonIsClickedByLiftingTheStylusOverIt) {
  TestMenu menu(&application, FrameShown);
  menu.Enter();
  menu.AddButton(7, kPicture, kMask, kPicture, kMask, 10, 20);
  application.penDown = 1;
  application.penX = 12;
  application.penY = 22;
  menu.Update(20, 0);
  EXPECT_EQ(menu.highlightedId(), 7u);
  EXPECT_EQ(menu.TakeClick(), 0u);
  application.penDown = 0;
  menu.Update(20, 0);
  EXPECT_EQ(menu.highlightedId(), 0u);
  EXPECT_EQ(menu.TakeClick(), 7u);
  EXPECT_EQ(menu.TakeClick(), 0u);  // taken
  menu.Update(20, 0);
  EXPECT_EQ(menu.TakeClick(), 0u);  // and the click lasted one tick

  // Sliding off before lifting: the click goes to what is under the stylus at the end.
  application.penDown = 1;
  menu.Update(20, 0);
  application.penX = 100;
  menu.Update(20, 0);
  application.penDown = 0;
  menu.Update(20, 0);
  EXPECT_EQ(menu.TakeClick(), 0u);
  menu.Leave();
}

TEST_F(MenuScreenTest, LaterButtonsWinAndDisabledOnesAreNeverHit) {
  TestMenu menu(&application, 0);
  menu.Enter();
  menu.AddButton(7, kPicture, kMask, kPicture, kMask, 10, 20);
  menu.AddButton(8, kPicture, kMask, kPicture, kMask, 14, 20);
  application.penDown = 1;
  application.penX = 16;
  application.penY = 22;
  menu.Update(20, 0);
  EXPECT_EQ(menu.highlightedId(), 8u);
  menu.FindButton(8)->enabled = false;
  menu.Update(20, 0);
  EXPECT_EQ(menu.highlightedId(), 7u);
  menu.RemoveButton(7);
  EXPECT_EQ(menu.FindButton(7), nullptr);
  menu.Update(20, 0);
  EXPECT_EQ(menu.highlightedId(), 0u);
  menu.Leave();
}

TEST_F(MenuScreenTest, FrameButtonsFollowTheFlags) {
  const struct {
    uint32_t flags;
    int16_t x, y;
    uint32_t id;
  } cases[] = {
      {FrameShown | FrameOk, 200, 280, ButtonOk},
      {FrameShown, 200, 280, 0},  // no OK button: its area is nothing
      {FrameShown | FrameCancel, 220, 260, ButtonCancel},
      {FrameShown | FrameOk | FrameCancel, 220, 260, ButtonCancel},
      {FrameShown | FrameOk | FrameCancel, 210, 270, ButtonOk},  // both areas: OK is checked last
      {FrameShown | FrameArrows, 10, 255, ButtonPrevious},
      {FrameShown | FrameArrows, 40, 300, ButtonNext},
      {FrameShown | FrameArrows, 30, 280, ButtonNext},  // both arrow areas: next is checked later
  };
  for (const auto& c : cases) {
    TestMenu menu(&application, c.flags);
    menu.Enter();
    application.penDown = 1;
    application.penX = c.x;
    application.penY = c.y;
    menu.Update(20, 0);
    EXPECT_EQ(menu.highlightedId(), c.id) << c.x << "," << c.y << " flags " << c.flags;
    application.penDown = 0;
    menu.Leave();
  }
}

TEST_F(MenuScreenTest, KeysClickOncePerKeyDown) {
  TestMenu menu(&application, FrameShown | FrameOk | FrameArrows);
  menu.Enter();
  application.penDown = 0;
  application.OnKeyDown(DeviceKey::Action);
  menu.Update(20, 0);
  EXPECT_EQ(menu.TakeClick(), static_cast<uint32_t>(ButtonOk));
  EXPECT_EQ(application.keyState[KeyAction], 0u);
  menu.Update(20, 0);  // still held, but no new key-down message
  EXPECT_EQ(menu.TakeClick(), 0u);
  application.OnKeyDown(DeviceKey::Action);  // an automatic repeat
  menu.Update(20, 0);
  EXPECT_EQ(menu.TakeClick(), static_cast<uint32_t>(ButtonOk));

  application.OnKeyDown(DeviceKey::Left);
  application.OnKeyDown(DeviceKey::Down);
  menu.Update(20, 0);
  EXPECT_EQ(menu.TakeClick(), static_cast<uint32_t>(ButtonNext));  // the later key of the order wins
  EXPECT_EQ(application.keyState[KeyLeft], 0u);
  EXPECT_EQ(application.keyState[KeyDown], 0u);
  menu.Leave();
}

TEST_F(MenuScreenTest, KeysOfAbsentButtonsAreLeftAlone) {
  TestMenu menu(&application, FrameShown);
  menu.Enter();
  application.OnKeyDown(DeviceKey::Action);
  application.OnKeyDown(DeviceKey::Left);
  menu.Update(20, 0);
  EXPECT_EQ(menu.TakeClick(), 0u);
  EXPECT_NE(application.keyState[KeyAction], 0u);
  EXPECT_NE(application.keyState[KeyLeft], 0u);
  menu.Leave();
}

TEST_F(MenuScreenTest, DrawStartsBlackAndShowsThePictureWhenFadedIn) {
  TestMenu menu(&application, 0);
  menu.Enter();
  menu.SetBackground(Flat(0x07E0));
  ASSERT_TRUE(menu.Draw());
  EXPECT_EQ(application.backSurface->Row(100)[100], 0);  // black while fading in
  Run(menu, 1000);
  menu.Draw();
  EXPECT_EQ(application.backSurface->Row(100)[100], 0x07E0);
  menu.Leave();
}

}  // namespace
