// The HUD as a control panel (gauges touched with the stylus, keys taken once per key-down)
// and what it draws in the cases that matter: out-of-range altitude, no seats, weapon rows.
#include <gtest/gtest.h>

#include <memory>

#include "../app/app_test_support.h"
#include "app/application.h"
#include "content/chopper_def.h"
#include "content/weapon_def.h"
#include "game/chopper.h"
#include "game/screen/hud.h"
#include "game_test_support.h"
#include "platform/headless/headless_platform.h"

namespace {

class HudTest : public testing::Test {
 protected:
  HudTest() : application(&platform, ScreenFactory(), home.SettingsPath()), hud(&application) {
    EXPECT_TRUE(application.Create(u"KestrelR", u"Kestrel Run"));
    chopperDef = game_test::PlainChopper();
    chopper = std::make_unique<Chopper>(chopperDef.get());
    chopper->Reset();
    chopper->onGround = 0;  // flying, unless a test says otherwise
    hud.SetChopper(chopper.get());
    hud.controlsEnabled = true;
  }

  void Layout(uint32_t mode) {
    hud.layoutMode = 2;
    hud.Layout(mode);
  }
  void Pen(int16_t x, int16_t y) {
    application.penX = x;
    application.penY = y;
    application.penDown = 1;
  }

  TemporaryHome home;
  HeadlessPlatform platform;
  Application application;
  Hud hud;
  std::unique_ptr<ChopperDef> chopperDef;
  std::unique_ptr<Chopper> chopper;
};

constexpr fixed kHundred = IntToFixed(100);

TEST_F(HudTest, TheSpeedGaugeSetsTheForwardCommandByPosition) {
  // Portrait speed gauge (2, 100, 10, 210); its zero line is at y 225.
  const struct {
    int16_t x, y;
    fixed command;
  } cases[] = {
      {5, 103, kHundred},          // 3 pixels below the top: full ahead
      {5, 225, 0},                 // on the zero line
      {5, 165, 60 * 54613},        // 60 pixels above it: half ahead
      {5, 265, -40 * 81920},       // 40 below it: half astern
      {5, 306, -kHundred},         // 4 above the bottom
      {22, 150, 75 * 54613},       // beside the gauge, within twice its width
      {0, 91, kHundred},           // 9 above the top still counts
  };
  Layout(0);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    chopper->forwardCommand = 12345;
    Pen(c.x, c.y);
    hud.Controls();
    EXPECT_EQ(chopper->forwardCommand, c.command);
  }
  // Off the gauge, or with the pen up, the command stays.
  for (const auto& [x, y] : {std::pair{23, 150}, std::pair{5, 89}}) {
    chopper->forwardCommand = 12345;
    Pen(static_cast<int16_t>(x), static_cast<int16_t>(y));
    hud.Controls();
    EXPECT_EQ(chopper->forwardCommand, 12345) << x << "," << y;
  }
  application.penDown = 0;
  hud.Controls();
  EXPECT_EQ(chopper->forwardCommand, 12345);
}

TEST_F(HudTest, StrafeAndRotateFollowThePenAcrossTheirGauges) {
  Layout(1);  // landscape: strafe (95, 195, 130, 20), rotate (95, 217, 130, 20), centres at x 160
  const struct {
    int16_t x, y;
    fixed strafe, turn;
  } cases[] = {
      {95, 205, -kHundred, 0},    // far left of the strafe gauge: -100, not beyond
      {190, 200, 30 * 109226, 0},
      {160, 205, 0, 0},
      {130, 224, 0, -30 * 109226},
      // The strafe gauge reaches 5 below its bottom and the rotate gauge 5 above its top: the
      // band between them sets both.
      {190, 214, 30 * 109226, 30 * 109226},
      {225, 230, 0, kHundred},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    Pen(c.x, c.y);
    hud.Controls();
    EXPECT_EQ(chopper->strafeCommand, c.strafe);
    EXPECT_EQ(chopper->turnCommand, c.turn);
  }
}

TEST_F(HudTest, KeysStepTheThrottleOncePerKeyDownAndHoldTheTurn) {
  Layout(0);
  application.penDown = 0;
  for (int i = 0; i < 12; ++i) {
    application.keyState[KeyUp] = kKeyHeld | 500;  // a key-down, or an automatic repeat
    hud.Controls();
    EXPECT_EQ(application.keyState[KeyUp], 0u);
  }
  EXPECT_EQ(chopper->forwardCommand, kHundred);
  hud.Controls();  // no new key-down: no step
  application.keyState[KeyDown] = kKeyHeld;
  hud.Controls();
  EXPECT_EQ(chopper->forwardCommand, IntToFixed(90));

  application.keyState[KeyLeft] = kKeyHeld | 40;
  hud.Controls();
  hud.Controls();
  EXPECT_EQ(chopper->turnCommand, -kHundred);
  EXPECT_NE(application.keyState[KeyLeft], 0u);  // holding it keeps turning
  application.keyState[KeyLeft] = 0;
  hud.Controls();
  EXPECT_EQ(chopper->turnCommand, 0);
}

TEST_F(HudTest, OnTheGroundOnlyTheAltitudeGaugeWorks) {
  Layout(0);  // altitude gauge (228, 100, 10, 210)
  chopper->onGround = 1;
  Pen(5, 103);
  application.keyState[KeyAction] = kKeyHeld;
  hud.Controls();
  EXPECT_EQ(chopper->forwardCommand, 0);
  EXPECT_NE(application.keyState[KeyAction], 0u);  // not taken: nothing fires on the ground
  const struct {
    int16_t y;
    fixed altitude;
  } cases[] = {{205, IntToFixed(50)}, {104, kHundred}, {305, 0}, {204, IntToFixed(101) / 2}};
  for (const auto& c : cases) {
    Pen(232, c.y);
    hud.Controls();
    EXPECT_EQ(chopper->altitudeCommand, c.altitude) << c.y;
  }
}

TEST_F(HudTest, WeaponRowsExistOnlyForTheSlotsThere) {
  const auto gun = game_test::MakeWeapon(u"Gun", WeaponMachineGun, 3600, 300, 20, 1);
  const auto pod = game_test::MakeWeapon(u"Pod", WeaponRocket, 720, 900, 40, 12);
  const auto lance = game_test::MakeWeapon(u"Lance", WeaponRocket, 720, 900, 40, 2);
  for (const WeaponDef* weapon : {gun.get(), pod.get(), lance.get()}) chopper->AddWeapon(weapon);
  Layout(0);
  EXPECT_EQ(hud.layout.weaponRows[2].y, 22);
  EXPECT_EQ(hud.layout.weaponRows[3].x, 32766);  // the fourth row is off the surface
  Pen(50, 38);  // where a fourth row would be
  hud.Controls();
  EXPECT_EQ(chopper->selectedWeapon, 0);
  Pen(99, 25);
  hud.Controls();
  EXPECT_EQ(chopper->selectedWeapon, 2);
  Pen(100, 14);  // x + width is outside
  hud.Controls();
  EXPECT_EQ(chopper->selectedWeapon, 2);
}

TEST_F(HudTest, SticksFlyInProportionAndHandTheControlsBackWhenLetGo) {
  Layout(0);
  application.penDown = 0;
  int16_t* stick = application.stick;
  stick[StickLeftY] = -32767;  // pushed fully up: full ahead
  stick[StickLeftX] = 6000;    // inside the dead zone
  stick[StickRightX] = -32767;
  hud.Controls();
  hud.StickControls(kFixedOne / 10);
  EXPECT_EQ(chopper->forwardCommand, kHundred);
  EXPECT_EQ(chopper->turnCommand, 0);
  EXPECT_EQ(chopper->strafeCommand, -kHundred);
  stick[StickLeftX] = 19383;  // halfway between the dead zone and the end
  hud.StickControls(kFixedOne / 10);
  EXPECT_NEAR(chopper->turnCommand / 65536.0, 50.0, 0.01);

  // Let go: the commands fall to 0 once, and the keys work again.
  stick[StickLeftY] = stick[StickLeftX] = stick[StickRightX] = 0;
  hud.Controls();
  hud.StickControls(kFixedOne / 10);
  EXPECT_EQ(chopper->forwardCommand, 0);
  EXPECT_EQ(chopper->turnCommand, 0);
  application.keyState[KeyUp] = kKeyHeld;
  hud.Controls();
  hud.StickControls(kFixedOne / 10);
  EXPECT_EQ(chopper->forwardCommand, IntToFixed(10));

  // The right stick's height: 25 m a second at full deflection, on the ground too, within 0..100.
  chopper->onGround = 1;
  stick[StickRightY] = -32767;
  hud.StickControls(kFixedOne / 5);
  EXPECT_NEAR(chopper->altitudeCommand / 65536.0, 5.0, 0.001);  // 25 x 0.2 s
  stick[StickRightY] = 32767;
  hud.StickControls(kFixedOne);
  EXPECT_EQ(chopper->altitudeCommand, 0);
}

// The surface filled with one colour, then the HUD drawn over it.
DepthSurface Drawn(const Hud& hud, uint32_t width, uint32_t height, bool slowBlink, bool fastBlink) {
  DepthSurface surface;
  EXPECT_TRUE(surface.Create(width, height));
  surface.Clear(0x1234);
  hud.Draw(surface, slowBlink, fastBlink);
  return surface;
}

bool SameIn(const Surface& a, const Surface& b, int x0, int y0, int x1, int y1) {
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      if (a.Row(y)[x] != b.Row(y)[x]) return false;
    }
  }
  return true;
}

bool UntouchedIn(const Surface& s, int x0, int y0, int x1, int y1) {
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      if (s.Row(y)[x] != 0x1234) return false;
    }
  }
  return true;
}

TEST_F(HudTest, AboveAHundredMetresTheAltitudeIsOutOfRangeAndFlashes) {
  Layout(0);
  chopper->groundHeight = IntToFixed(10);
  // The "Out of range" panel sits above the gauge (y 100), right-aligned at its right edge,
  // below the heading tape's labels.
  for (const auto& [height, flashes] : {std::pair{150, true}, std::pair{90, false}}) {
    SCOPED_TRACE(height);
    chopper->SetPosition(Vector3(0, IntToFixed(10 + height), 0));
    const DepthSurface on = Drawn(hud, 240, 320, true, false);
    const DepthSurface off = Drawn(hud, 240, 320, false, false);
    EXPECT_EQ(!SameIn(on, off, 150, 91, 239, 99), flashes);
    EXPECT_TRUE(UntouchedIn(off, 150, 91, 227, 99));
  }
}

TEST_F(HudTest, NoSeatsNoPassengersPanel) {
  Layout(0);
  chopperDef->passengers = 0;
  EXPECT_TRUE(UntouchedIn(Drawn(hud, 240, 320, true, true), 140, 22, 239, 32));
  chopperDef->passengers = 2;
  EXPECT_FALSE(UntouchedIn(Drawn(hud, 240, 320, true, true), 140, 22, 239, 32));
}

TEST_F(HudTest, TheGroundNoticeBlinksInTheMiddle) {
  Layout(1);
  chopper->onGround = 1;
  const DepthSurface on = Drawn(hud, 320, 240, true, false);
  const DepthSurface off = Drawn(hud, 320, 240, false, false);
  // Landscape: half the height is 120; the panel's top at 117, the text from 120.
  EXPECT_FALSE(SameIn(on, off, 130, 120, 190, 128));
  EXPECT_FALSE(UntouchedIn(off, 140, 117, 180, 118));
}

}  // namespace
