// The soak's player: random gestures (key presses, held keys, taps, stylus drags, stick moves and
// pauses) as script commands, weighted so that a run gets through the menus into missions and
// flies there rather than only wandering the title screen. Each kind of scene wants its own
// hand: menu screens OK, the arrows and the frame's buttons; popups the stylus on their column of
// buttons; a mission held keys and the HUD's gauges.
//
// Every gesture lets go of whatever it holds (keys, stylus, sticks) before it ends, and ends with
// a pause, so gestures follow one another without one leaving a key down under the next.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/headless/headless_script.h"
#include "platform/headless/soak_random.h"

class SoakGestures {
 public:
  using Command = HeadlessScript::Command;

  // A rectangle of the picture and how often the stylus is sent there.
  struct Zone {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    uint32_t weight;
  };

  enum class Scene : uint8_t {
    Menu,    // a menu screen without a popup (or the intro)
    Popup,   // a popup open, on the title screen or over a mission
    Flight,  // a mission, without a popup over it
  };

  // What the player has in front of them.
  struct View {
    Scene scene = Scene::Menu;
    bool landscape = false;  // the picture is 320 x 240 (else 240 x 320)
  };

  explicit SoakGestures(uint64_t seed) : random_(seed) {}

  // The commands of the next gesture. Positions are picture coordinates of the view's
  // orientation.
  std::vector<Command> Next(View view);

 private:
  struct Point {
    int32_t x;
    int32_t y;
  };

  Point PointIn(const Zone& zone);

  SoakRandom random_;
};
