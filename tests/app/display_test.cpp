#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/application.h"
#include "app_test_support.h"
#include "platform/headless/headless_platform.h"

namespace {

// A display whose frame memory is laid out with the given steps (negative ones too), so that
// Present's addressing can be checked against where each pixel must land.
class SteppedDisplay : public HeadlessPlatform {
 public:
  SteppedDisplay(int32_t xStep, int32_t yStep) : xStep_(xStep), yStep_(yStep), memory_(240 * 320, 0xDEAD) {}

  bool OpenDisplay(DisplayProperties* properties) override {
    HeadlessPlatform::OpenDisplay(properties);
    properties->xStep = xStep_;
    properties->yStep = yStep_;
    return true;
  }
  uint8_t* BeginDraw() override {
    // The address of display pixel (0, 0): with a negative step the memory runs the other way.
    size_t origin = 0;
    if (xStep_ < 0) origin += 239 * static_cast<size_t>(-xStep_);
    if (yStep_ < 0) origin += 319 * static_cast<size_t>(-yStep_);
    return reinterpret_cast<uint8_t*>(memory_.data()) + origin;
  }
  void EndDraw() override {}

  // The pixel the display shows at (x, y).
  uint16_t Pixel(int x, int y) const {
    const uint8_t* origin = const_cast<SteppedDisplay*>(this)->BeginDraw();
    uint16_t value;
    std::memcpy(&value, origin + x * xStep_ + y * yStep_, sizeof value);
    return value;
  }

 private:
  int32_t xStep_;
  int32_t yStep_;
  std::vector<uint16_t> memory_;
};

// A colour that tells where on the back surface a pixel came from.
uint16_t Marker(uint32_t x, uint32_t y) { return static_cast<uint16_t>(x * 7919u + y * 104729u); }

void PaintCoordinates(DepthSurface& surface) {
  for (uint32_t y = 0; y < surface.height; ++y) {
    for (uint32_t x = 0; x < surface.width; ++x) surface.Row(y)[x] = Marker(x, y);
  }
}

struct PresentCase {
  int32_t xStep;
  int32_t yStep;
};

class PresentTest : public testing::TestWithParam<PresentCase> {};

TEST_P(PresentTest, PortraitShowsTheSurfaceUpright) {
  TemporaryHome home;
  SteppedDisplay display(GetParam().xStep, GetParam().yStep);
  Application application(&display, ScreenFactory{}, home.SettingsPath());
  ASSERT_TRUE(application.Create(u"KestrelR", u"Kestrel Run"));
  ASSERT_EQ(application.backSurface->width, 240);
  PaintCoordinates(*application.backSurface);
  application.Present();
  for (int y : {0, 1, 160, 319}) {
    for (int x : {0, 1, 120, 239}) EXPECT_EQ(display.Pixel(x, y), Marker(x, y)) << x << "," << y;
  }
}

TEST_P(PresentTest, LandscapeTurnsRowsIntoColumns) {
  TemporaryHome home;
  SteppedDisplay display(GetParam().xStep, GetParam().yStep);
  Application application(&display, ScreenFactory{}, home.SettingsPath());
  ASSERT_TRUE(application.Create(u"KestrelR", u"Kestrel Run"));
  application.SetScreenMode(ScreenModeLandscape);
  ASSERT_EQ(application.backSurface->width, 320);
  ASSERT_EQ(application.backSurface->height, 240);
  PaintCoordinates(*application.backSurface);
  application.Present();
  // The surface's top-left pixel is at the display's bottom-left; its top row is the display's
  // leftmost column.
  EXPECT_EQ(display.Pixel(0, 319), Marker(0, 0));
  EXPECT_EQ(display.Pixel(0, 0), Marker(319, 0));
  EXPECT_EQ(display.Pixel(239, 319), Marker(0, 239));
  EXPECT_EQ(display.Pixel(5, 300), Marker(19, 5));
}

INSTANTIATE_TEST_SUITE_P(Steps, PresentTest,
                         testing::Values(PresentCase{2, 480}, PresentCase{-2, 480}, PresentCase{2, -480},
                                         PresentCase{640, 2}));

class DisplayInputTest : public testing::Test {
 protected:
  DisplayInputTest() : application(&platform, ScreenFactory{}, home.SettingsPath()) {
    EXPECT_TRUE(application.Create(u"KestrelR", u"Kestrel Run"));
  }
  TemporaryHome home;
  HeadlessPlatform platform;
  Application application;
};

TEST_F(DisplayInputTest, KeyTablesOfBothModes) {
  const struct {
    uint16_t device;
    uint8_t portrait;
    uint8_t landscape;
  } cases[] = {
      {DeviceKey::Up, KeyUp, KeyRight},       {DeviceKey::Down, KeyDown, KeyLeft},
      {DeviceKey::Left, KeyLeft, KeyUp},      {DeviceKey::Right, KeyRight, KeyDown},
      {DeviceKey::Action, KeyAction, KeyAction}, {DeviceKey::App1, KeyApp1, KeyApp1},
      {DeviceKey::App5, KeyApp5, KeyApp5},    {0x41, KeyCount, KeyCount},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyIndexForDeviceKey(ScreenModePortrait, c.device), c.portrait) << c.device;
    EXPECT_EQ(KeyIndexForDeviceKey(ScreenModeLandscape, c.device), c.landscape) << c.device;
    EXPECT_EQ(KeyIndexForDeviceKey(ScreenModeNone, c.device), KeyCount) << c.device;
  }
  EXPECT_EQ(application.OnKeyDown(0x41), KeyCount);
}

TEST_F(DisplayInputTest, ModeChangeClearsHeldKeysAndReplacesTheSurface) {
  application.OnKeyDown(DeviceKey::Action);
  application.SetScreenMode(ScreenModePortrait);  // same mode: nothing changes
  EXPECT_EQ(application.keyState[KeyAction], kKeyHeld);
  application.SetScreenMode(ScreenModeLandscape);
  EXPECT_EQ(application.keyState[KeyAction], 0u);
  EXPECT_TRUE(platform.landscape());
  ASSERT_NE(application.backSurface, nullptr);
  EXPECT_EQ(application.backSurface->Row(0)[0], 0);
  EXPECT_EQ(application.backSurface->DepthRow(239)[319], DepthSurface::kEmptyDepth);
  application.SetScreenMode(ScreenModeNone);
  EXPECT_EQ(application.backSurface, nullptr);
}

TEST_F(DisplayInputTest, StylusInBothModes) {
  EXPECT_EQ(application.penX, 32767);
  EXPECT_EQ(application.penY, 32767);
  application.OnPenDown(10, 20);
  EXPECT_EQ(application.penDown, 1u);
  EXPECT_EQ(application.penX, 10);
  EXPECT_EQ(application.penY, 20);
  application.OnPenUp(50, 60);
  EXPECT_EQ(application.penDown, 0u);
  EXPECT_EQ(application.penX, 10);  // lifting keeps the last position

  application.SetScreenMode(ScreenModeLandscape);
  application.OnPenMove(0, 0);
  EXPECT_EQ(application.penX, 319);
  EXPECT_EQ(application.penY, 0);
  application.OnPenMove(239, 319);
  EXPECT_EQ(application.penX, 0);
  EXPECT_EQ(application.penY, 239);

  application.SetScreenMode(ScreenModeNone);
  application.OnPenMove(5, 5);
  EXPECT_EQ(application.penX, 0);
}

TEST_F(DisplayInputTest, FocusSuspendsAndResumesTheDisplay) {
  application.OnSetFocus();
  EXPECT_TRUE(application.active);
  application.OnKillFocus();
  EXPECT_FALSE(application.active);
  EXPECT_TRUE(platform.suspended());
  EXPECT_EQ(platform.BeginDraw(), nullptr);
  application.OnSetFocus();
  EXPECT_FALSE(platform.suspended());
}

}  // namespace
