// The HUD's layouts and its controls.
#include "game/screen/hud.h"

#include "app/application.h"
#include "game/chopper.h"
#include "gfx/font.h"

namespace {

constexpr fixed kHundred = IntToFixed(100);
constexpr fixed kForwardPerPixel = 54613;   // 0.8333 %: 120 pixels above the zero line is +100 %
constexpr fixed kReversePerPixel = 81920;   // 1.25 %: 80 pixels below it is -100 %
constexpr fixed kSidewaysPerPixel = 109226;  // 1.6667 %: half a 60-pixel gauge is 100 %
constexpr int16_t kOffSurface = 32766;      // where rows without a weapon go

struct ModeLayout {
  int16_t listX, listY, rowWidth, rowHeight;
  HudRect fuel, damage, passengers, sightFrame, headingTape, altitudeGauge, speedGauge, strafeGauge, rotateGauge,
      messageArea;
  int16_t sightX, sightY;
};

constexpr ModeLayout kLayouts[2] = {
    // Portrait, 240 x 320.
    {0, 0, 100, 11,
     {140, 0, 100, 11}, {140, 11, 100, 11}, {140, 22, 100, 11}, {60, 130, 120, 100}, {40, 60, 160, 25},
     {228, 100, 10, 210}, {2, 100, 10, 210}, {55, 275, 130, 20}, {55, 297, 130, 20}, {50, 96, 140, 32},
     120, 180},
    // Landscape, 320 x 240.
    {47, 0, 100, 11,
     {173, 0, 100, 11}, {173, 11, 100, 11}, {173, 22, 100, 11}, {100, 90, 120, 100}, {60, 33, 200, 25},
     {308, 20, 10, 210}, {2, 20, 10, 210}, {95, 195, 130, 20}, {95, 217, 130, 20}, {90, 56, 140, 32},
     160, 140},
};

fixed Limit(fixed value) { return value < -kHundred ? -kHundred : value > kHundred ? kHundred : value; }

// Both edges included.
bool Inside(int32_t x, int32_t y, int32_t left, int32_t right, int32_t top, int32_t bottom) {
  return x >= left && x <= right && y >= top && y <= bottom;
}

// True (and the key's word cleared) when the key has been pressed since it was last taken, so
// that every key-down message, automatic repeats included, counts once.
bool TakeKey(uint32_t& state) {
  if (state == 0) return false;
  state = 0;
  return true;
}

constexpr int32_t kStickDeadZone = 6000;  // of 32767: a stick at rest never rests exactly at 0
constexpr fixed kStickClimbRate = IntToFixed(25);  // metres a second at full deflection

// A stick position as -100..+100 percent, 0 inside the dead zone.
fixed StickPercent(int16_t position) {
  const int32_t magnitude = position < 0 ? -position : position;
  if (magnitude <= kStickDeadZone) return 0;
  const fixed percent =
      static_cast<fixed>(static_cast<int64_t>(magnitude - kStickDeadZone) * kHundred / (32767 - kStickDeadZone));
  return position < 0 ? -percent : percent;
}

}  // namespace

Hud::Hud(Application* app)
    : application(app), regular_(FindFont(u"sysfontSqTiny")), bold_(FindFont(u"sysfontSqTinyBold")) {}

void Hud::Layout(uint32_t mode) {
  if (mode == layoutMode || mode > 1) return;
  layoutMode = mode;
  const ModeLayout& m = kLayouts[mode];
  const uint16_t slots = chopper != nullptr ? chopper->weaponSlots.Count() : 0;
  for (int i = 0; i < HudLayout::kWeaponRows; ++i) {
    if (i < slots) {
      layout.weaponRows[i] = {m.listX, static_cast<int16_t>(m.listY + m.rowHeight * i), m.rowWidth, m.rowHeight};
    } else {
      layout.weaponRows[i] = {kOffSurface, kOffSurface, 1, 1};
    }
  }
  layout.fuel = m.fuel;
  layout.damage = m.damage;
  layout.passengers = m.passengers;
  layout.sightFrame = m.sightFrame;
  layout.headingTape = m.headingTape;
  layout.altitudeGauge = m.altitudeGauge;
  layout.speedGauge = m.speedGauge;
  layout.strafeGauge = m.strafeGauge;
  layout.rotateGauge = m.rotateGauge;
  layout.messageArea = m.messageArea;
  layout.sightX = m.sightX;
  layout.sightY = m.sightY;
  layout.speedZeroY = static_cast<int16_t>(m.speedGauge.y + 125);
}

void Hud::Controls() {
  if (!controlsEnabled || chopper == nullptr) return;
  Chopper& c = *chopper;
  uint32_t* keys = application->keyState;
  // Without the stylus down the pen is nowhere on the surface.
  const int32_t penX = application->penDown ? application->penX : 65535;
  const int32_t penY = application->penDown ? application->penY : 65535;

  if (!c.onGround) {
    for (int i = 0; i < HudLayout::kWeaponRows; ++i) {
      const HudRect& row = layout.weaponRows[i];
      if (penX >= row.x && penX < row.x + row.w && penY >= row.y && penY <= row.y + row.h) {
        if (i != c.selectedWeapon) c.SelectWeapon(static_cast<uint16_t>(i));
        break;
      }
    }

    const HudRect& speed = layout.speedGauge;
    if (TakeKey(keys[KeyUp])) {
      c.forwardCommand = Limit(c.forwardCommand + IntToFixed(10));
    } else if (TakeKey(keys[KeyDown])) {
      c.forwardCommand = Limit(c.forwardCommand - IntToFixed(10));
    } else if (Inside(penX, penY, speed.x - (speed.x < speed.w ? speed.x : speed.w), speed.x + 2 * speed.w,
                      speed.y - 10, speed.y + speed.h + 10)) {
      const int32_t zero = layout.speedZeroY;
      if (penY <= speed.y + 5) {
        c.forwardCommand = kHundred;
      } else if (penY >= speed.y + speed.h - 5) {
        c.forwardCommand = -kHundred;
      } else if (penY < zero) {
        c.forwardCommand = (zero - penY) * kForwardPerPixel;
      } else {
        c.forwardCommand = -(penY - zero) * kReversePerPixel;
      }
    }

    const HudRect& strafe = layout.strafeGauge;
    c.strafeCommand = 0;
    if (Inside(penX, penY, strafe.x, strafe.x + strafe.w, strafe.y, strafe.y + strafe.h + 5)) {
      c.strafeCommand = Limit((penX - (strafe.x + strafe.w / 2)) * kSidewaysPerPixel);
    }

    const HudRect& rotate = layout.rotateGauge;
    if (keys[KeyLeft] != 0) {
      c.turnCommand = -kHundred;  // held keys keep turning: their words are not taken
    } else if (keys[KeyRight] != 0) {
      c.turnCommand = kHundred;
    } else {
      c.turnCommand = 0;
      if (Inside(penX, penY, rotate.x, rotate.x + rotate.w, rotate.y - 5, rotate.y + rotate.h)) {
        c.turnCommand = Limit((penX - (rotate.x + rotate.w / 2)) * kSidewaysPerPixel);
      }
    }

    if (TakeKey(keys[KeyApp2])) c.NextWeapon();
    if (TakeKey(keys[KeyAction])) c.Fire();
  }

  // On the ground too: choosing a height is how the pilot takes off.
  const HudRect& altitude = layout.altitudeGauge;
  if (Inside(penX, penY, altitude.x - altitude.w, altitude.x + 2 * altitude.w, altitude.y - 10,
             altitude.y + altitude.h + 10)) {
    if (penY <= altitude.y + 5) {
      c.altitudeCommand = kHundred;
    } else if (penY >= altitude.y + altitude.h - 5) {
      c.altitudeCommand = 0;
    } else {
      c.altitudeCommand = IntToFixed(altitude.y + 205 - penY) >> 1;
    }
  }
}

void Hud::StickControls(fixed frameSeconds) {
  if (!controlsEnabled || chopper == nullptr) return;
  Chopper& c = *chopper;
  const int16_t* stick = application->stick;
  const fixed forward = -StickPercent(stick[StickLeftY]);  // pushed up is ahead
  const fixed turn = StickPercent(stick[StickLeftX]);
  const fixed strafe = StickPercent(stick[StickRightX]);
  const fixed climb = -StickPercent(stick[StickRightY]);

  // As on the gauges, only the height can be chosen on the ground.
  const bool leftHeld = forward != 0 || turn != 0;
  if (!c.onGround && (leftHeld || leftStickHeld_)) {
    c.forwardCommand = forward;
    c.turnCommand = turn;
  }
  leftStickHeld_ = leftHeld;
  const bool rightHeld = strafe != 0 || climb != 0;
  if (!c.onGround && (rightHeld || rightStickHeld_)) c.strafeCommand = strafe;
  if (climb != 0) {
    const fixed step = FixedMul(FixedMul(climb, kStickClimbRate) / 100, frameSeconds);
    const fixed wanted = c.altitudeCommand + step;
    c.altitudeCommand = wanted < 0 ? 0 : wanted > kHundred ? kHundred : wanted;
  }
  rightStickHeld_ = rightHeld;
}
