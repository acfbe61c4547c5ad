#include "platform/headless/soak_gestures.h"

#include <span>

#include "platform/platform.h"

namespace {

using Op = HeadlessScript::Op;
using Zone = SoakGestures::Zone;

enum class Gesture : uint8_t { Confirm, Arrow, HoldKey, TapControl, TapAnywhere, Drag, OtherButton, Back, Stick, Idle };

struct WeightedGesture {
  Gesture gesture;
  uint32_t weight;
};

// Menu screens are passed with OK (action), the arrows and the frame's buttons; cancel goes back,
// so it is the rarest. Held keys, drags and sticks come too, since menus must not break under
// them.
constexpr WeightedGesture kMenuGestures[] = {
    {Gesture::Confirm, 24},     {Gesture::Arrow, 14}, {Gesture::HoldKey, 4},     {Gesture::TapControl, 26},
    {Gesture::TapAnywhere, 10}, {Gesture::Drag, 3},   {Gesture::OtherButton, 3}, {Gesture::Back, 2},
    {Gesture::Stick, 2},        {Gesture::Idle, 8},  // fades, cross-fades and the intro run their course
};

// Popups take the stylus only, and slide for half a second after each choice.
constexpr WeightedGesture kPopupGestures[] = {
    {Gesture::Confirm, 4},     {Gesture::Arrow, 4}, {Gesture::HoldKey, 2},     {Gesture::TapControl, 60},
    {Gesture::TapAnywhere, 6}, {Gesture::Drag, 4},  {Gesture::OtherButton, 2}, {Gesture::Back, 2},
    {Gesture::Stick, 2},       {Gesture::Idle, 10},
};

// A mission is flown with the gauges (the stylus held on them), the arrows (throttle steps, turns
// while held), action (fire) and the sticks. Button 4 pauses under the in-game menu: often enough
// that missions are left through it, rarely enough that the soak mostly flies.
constexpr WeightedGesture kFlightGestures[] = {
    {Gesture::Confirm, 10},    {Gesture::Arrow, 14}, {Gesture::HoldKey, 16},    {Gesture::TapControl, 20},
    {Gesture::TapAnywhere, 6}, {Gesture::Drag, 16},  {Gesture::OtherButton, 6}, {Gesture::Back, 4},
    {Gesture::Stick, 6},       {Gesture::Idle, 3},
};

struct WeightedKey {
  uint16_t key;
  uint32_t weight;
};

constexpr WeightedKey kArrows[] = {
    {DeviceKey::Up, 1}, {DeviceKey::Down, 1}, {DeviceKey::Left, 1}, {DeviceKey::Right, 1}};
constexpr WeightedKey kHeldKeys[] = {
    {DeviceKey::Left, 3}, {DeviceKey::Right, 3}, {DeviceKey::Up, 2}, {DeviceKey::Down, 1}, {DeviceKey::Action, 3}};
// Not button 5: the screenshot key writes pictures into the player's documents folder.
constexpr WeightedKey kOtherButtons[] = {{DeviceKey::App1, 1}, {DeviceKey::App2, 2}, {DeviceKey::App3, 2}};

// Where the controls are, in picture coordinates: the menu frame's buttons (menu_screen.cpp),
// the loadout's pylons (loadout_screen.cpp), the popups' buttons (160 x 22, centred, from y 140
// in portrait and 50 in landscape: popup.h) and the HUD's gauges and weapon rows (hud.cpp), the
// gauges a little wider than drawn so that their edges are touched too.
constexpr Zone kMenuZones[] = {
    {187, 265, 46, 49, 3},  // the frame's OK
    {205, 250, 35, 15, 1},  // the frame's cancel, above OK
    {5, 250, 59, 64, 2},    // the frame's arrows
    {15, 30, 210, 90, 2},   // the loadout's pylons
};
// Menu screens are portrait only; should one show turned, anywhere will do.
constexpr Zone kMenuZonesLandscape[] = {{0, 0, 320, 240, 1}};
constexpr Zone kPopupZones[] = {{40, 140, 160, 122, 1}};  // five rows of buttons
constexpr Zone kPopupZonesLandscape[] = {{80, 50, 160, 122, 1}};
constexpr Zone kFlightZones[] = {
    {226, 98, 14, 214, 4},  // altitude: the only control on the ground, so the way to take off
    {0, 98, 14, 214, 3},    // speed
    {55, 275, 130, 44, 3},  // strafe and rotate
    {0, 0, 100, 44, 1},     // weapon rows
};
constexpr Zone kFlightZonesLandscape[] = {
    {306, 18, 14, 214, 4},
    {0, 18, 14, 214, 3},
    {95, 195, 130, 44, 3},
    {47, 0, 100, 44, 1},
};

template <typename Entry>
const Entry& Pick(SoakRandom& random, std::span<const Entry> table) {
  uint32_t total = 0;
  for (const Entry& entry : table) total += entry.weight;
  uint32_t roll = random.Below(total);
  for (const Entry& entry : table) {
    if (roll < entry.weight) return entry;
    roll -= entry.weight;
  }
  return table.back();
}

std::span<const WeightedGesture> GesturesFor(SoakGestures::Scene scene) {
  switch (scene) {
    case SoakGestures::Scene::Popup: return kPopupGestures;
    case SoakGestures::Scene::Flight: return kFlightGestures;
    case SoakGestures::Scene::Menu: break;
  }
  return kMenuGestures;
}

std::span<const Zone> ZonesFor(SoakGestures::View view) {
  using Zones = std::span<const Zone>;
  switch (view.scene) {
    case SoakGestures::Scene::Popup: return view.landscape ? Zones(kPopupZonesLandscape) : Zones(kPopupZones);
    case SoakGestures::Scene::Flight: return view.landscape ? Zones(kFlightZonesLandscape) : Zones(kFlightZones);
    case SoakGestures::Scene::Menu: break;
  }
  return view.landscape ? Zones(kMenuZonesLandscape) : Zones(kMenuZones);
}

HeadlessScript::Command Make(Op op, uint16_t key = 0, int32_t a = 0, int32_t b = 0) {
  HeadlessScript::Command command;
  command.op = op;
  command.key = key;
  command.a = a;
  command.b = b;
  return command;
}

HeadlessScript::Command Wait(int32_t milliseconds) { return Make(Op::Wait, 0, milliseconds); }

}  // namespace

SoakGestures::Point SoakGestures::PointIn(const Zone& zone) {
  return {zone.left + random_.Between(0, zone.width - 1), zone.top + random_.Between(0, zone.height - 1)};
}

std::vector<SoakGestures::Command> SoakGestures::Next(View view) {
  std::vector<Command> commands;
  switch (Pick(random_, GesturesFor(view.scene)).gesture) {
    case Gesture::Confirm:
      commands.push_back(Make(Op::Press, DeviceKey::Action));
      break;
    case Gesture::Arrow:
      commands.push_back(Make(Op::Press, Pick<WeightedKey>(random_, kArrows).key));
      break;
    case Gesture::HoldKey: {
      const uint16_t key = Pick<WeightedKey>(random_, kHeldKeys).key;
      commands.push_back(Make(Op::KeyDown, key));
      commands.push_back(Wait(random_.Between(300, 4000)));
      commands.push_back(Make(Op::KeyUp, key));
      break;
    }
    case Gesture::TapControl: {
      const Point point = PointIn(Pick(random_, ZonesFor(view)));
      commands.push_back(Make(Op::Tap, 0, point.x, point.y));
      break;
    }
    case Gesture::TapAnywhere: {
      const Zone picture{0, 0, view.landscape ? 320 : 240, view.landscape ? 240 : 320, 1};
      const Point point = PointIn(picture);
      commands.push_back(Make(Op::Tap, 0, point.x, point.y));
      break;
    }
    case Gesture::Drag: {
      const Zone& zone = Pick(random_, ZonesFor(view));
      Point point = PointIn(zone);
      commands.push_back(Make(Op::PenDown, 0, point.x, point.y));
      for (int32_t moves = random_.Between(1, 6); moves > 0; --moves) {
        commands.push_back(Wait(random_.Between(33, 800)));
        point = PointIn(zone);
        commands.push_back(Make(Op::PenMove, 0, point.x, point.y));
      }
      commands.push_back(Wait(random_.Between(33, 800)));
      commands.push_back(Make(Op::PenUp));
      break;
    }
    case Gesture::OtherButton:
      commands.push_back(Make(Op::Press, Pick<WeightedKey>(random_, kOtherButtons).key));
      break;
    case Gesture::Back:
      commands.push_back(Make(Op::Press, DeviceKey::App4));
      break;
    case Gesture::Stick: {
      const uint16_t axis = static_cast<uint16_t>(random_.Below(kStickAxes));
      commands.push_back(Make(Op::Stick, axis, random_.Between(-32767, 32767)));
      commands.push_back(Wait(random_.Between(300, 3000)));
      commands.push_back(Make(Op::Stick, axis, 0));
      break;
    }
    case Gesture::Idle:
      commands.push_back(Wait(random_.Between(300, 3000)));
      break;
  }
  // A player's pause between gestures.
  commands.push_back(Wait(random_.Between(33, 330)));
  return commands;
}
