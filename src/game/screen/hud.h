// The head-up display, which doubles as the control panel: on a handheld without a joystick
// the pilot flies by touching the instruments with the stylus.
//
// Speed, altitude, strafe and rotate gauges each show the chopper's state and the pilot's
// command, and touching one sets that command; touching a row of the weapon list selects the
// weapon. The keys give throttle steps, turning, firing and weapon cycling. The HUD also shows
// fuel, damage, passengers, the heading tape, the weapon sight, the ground notice and the
// message line. Layouts for portrait (240 x 320) and landscape (320 x 240) are tables.
#pragma once

#include <cstdint>

#include "core/fixed.h"
#include "game/messages.h"

class Application;
class Chopper;
struct Font;
class Surface;

struct HudRect {
  int16_t x = 0;
  int16_t y = 0;
  int16_t w = 0;
  int16_t h = 0;
};

struct HudLayout {
  static constexpr int kWeaponRows = 4;
  HudRect weaponRows[kWeaponRows];
  HudRect fuel;
  HudRect damage;
  HudRect passengers;
  HudRect sightFrame;
  HudRect headingTape;
  HudRect altitudeGauge;
  HudRect speedGauge;
  HudRect strafeGauge;
  HudRect rotateGauge;
  HudRect messageArea;
  int16_t sightX = 0;
  int16_t sightY = 0;
  int16_t speedZeroY = 0;
};

class Hud {
 public:
  explicit Hud(Application* application);

  void SetChopper(Chopper* player) { chopper = player; }
  // Lays the HUD out for display mode `mode` (0 portrait, 1 landscape) when it is not already;
  // the weapon rows follow the chopper's slot count. Other modes keep the current layout.
  void Layout(uint32_t mode);
  // Keys and stylus to the chopper's commands; once per frame while the mission runs.
  void Controls();
  // A game controller's sticks, after Controls: the left stick flies forward and turns, the
  // right stick strafes and, up and down, raises and lowers the wanted height (at most 25 m a
  // second), each in proportion beyond a small dead zone. A stick let go sets its commands to 0
  // once and leaves them to the keys and the stylus again.
  void StickControls(fixed frameSeconds);
  // Over the 3D view or the map. The blink flags are bits 9 and 8 of the tick time.
  void Draw(Surface& surface, bool slowBlink, bool fastBlink) const;

  Application* application;
  Chopper* chopper = nullptr;
  uint32_t layoutMode = 2;  // none yet: the first Layout always runs
  bool controlsEnabled = false;
  HudLayout layout;
  MessageQueue messages;

 private:
  const Font* regular_;  // values and labels
  const Font* bold_;     // titles
  bool leftStickHeld_ = false;
  bool rightStickHeld_ = false;

  void DrawGroundNotice(Surface& surface, bool slowBlink) const;
  void DrawMessages(Surface& surface) const;
  void DrawWeaponList(Surface& surface, bool fastBlink) const;
  void DrawStatusBars(Surface& surface, bool slowBlink, bool fastBlink) const;
  void DrawPassengers(Surface& surface, bool slowBlink) const;
  void DrawSight(Surface& surface) const;
  void DrawHeadingTape(Surface& surface) const;
  void DrawAltitudeGauge(Surface& surface, bool slowBlink, bool fastBlink) const;
  void DrawSpeedGauge(Surface& surface) const;
  void DrawStrafeGauge(Surface& surface) const;
  void DrawRotateGauge(Surface& surface) const;
};
