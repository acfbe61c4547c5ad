// The desktop back-end's event handling, driven with SDL events on SDL's dummy video driver.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/sdl/sdl_platform.h"

namespace {

class SdlPlatformTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    SdlOptions options;
    options.scale = 1;
    options.windowChanged = [this](int scale, bool fullscreen) { windowChanges.push_back({scale, fullscreen}); };
    platform = CreateSdlPlatform(options);
    ASSERT_NE(platform, nullptr);
    ASSERT_TRUE(platform->OpenDisplay(&properties));
  }

  static void PushButton(Uint32 type, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
  }

  static void PushKey(Uint32 type, SDL_Keycode key, Uint16 modifiers = KMOD_NONE) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = modifiers;
    SDL_PushEvent(&event);
  }

  // The events one pass of the main loop takes.
  std::vector<PlatformEvent> Pass() {
    platform->BeginPass();
    std::vector<PlatformEvent> events;
    PlatformEvent event;
    while (platform->PollEvent(&event)) events.push_back(event);
    return events;
  }

  std::unique_ptr<Platform> platform;
  DisplayProperties properties;
  std::vector<std::pair<int, bool>> windowChanges;
};

TEST_F(SdlPlatformTest, AQuickClickKeepsThePenDownForOneTick) {
  // Press and release arrive together, as a touchpad tap's do: the release waits a pass, so
  // the game's tick sees the stylus down.
  PushButton(SDL_MOUSEBUTTONDOWN, 120, 200);
  PushButton(SDL_MOUSEBUTTONUP, 120, 200);
  const std::vector<PlatformEvent> first = Pass();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].kind, EventKind::PenDown);
  EXPECT_EQ(first[0].x, 120);
  EXPECT_EQ(first[0].y, 200);
  const std::vector<PlatformEvent> second = Pass();
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].kind, EventKind::PenUp);

  // A click held over several passes is delivered as it comes.
  PushButton(SDL_MOUSEBUTTONDOWN, 10, 10);
  EXPECT_EQ(Pass().size(), 1u);
  PushButton(SDL_MOUSEBUTTONUP, 10, 10);
  const std::vector<PlatformEvent> lifted = Pass();
  ASSERT_EQ(lifted.size(), 1u);
  EXPECT_EQ(lifted[0].kind, EventKind::PenUp);
}

TEST_F(SdlPlatformTest, AltEnterAndF11SwitchTheFullScreenAndAreNoGameKeys) {
  PushKey(SDL_KEYDOWN, SDLK_F11);
  PushKey(SDL_KEYUP, SDLK_F11);
  EXPECT_TRUE(Pass().empty());
  PushKey(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
  PushKey(SDL_KEYUP, SDLK_RETURN);  // Alt may be let go first: Enter still went down for no one
  EXPECT_TRUE(Pass().empty());
  const std::vector<std::pair<int, bool>> expected = {{1, true}, {1, false}};
  EXPECT_EQ(windowChanges, expected);

  // Enter alone is the action key, down and up.
  PushKey(SDL_KEYDOWN, SDLK_RETURN);
  PushKey(SDL_KEYUP, SDLK_RETURN);
  const std::vector<PlatformEvent> events = Pass();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EventKind::KeyDown);
  EXPECT_EQ(events[0].virtualKey, DeviceKey::Action);
  EXPECT_EQ(events[1].kind, EventKind::KeyUp);
  EXPECT_EQ(events[1].virtualKey, DeviceKey::Action);
}

TEST_F(SdlPlatformTest, ControllerSticksReportTheirPositions) {
  SDL_Event event{};
  event.type = SDL_CONTROLLERAXISMOTION;
  event.caxis.axis = SDL_CONTROLLER_AXIS_RIGHTY;
  event.caxis.value = -32768;
  SDL_PushEvent(&event);
  const std::vector<PlatformEvent> events = Pass();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, EventKind::StickMove);
  EXPECT_EQ(events[0].virtualKey, StickRightY);
  EXPECT_EQ(events[0].x, -32767);
}

}  // namespace
