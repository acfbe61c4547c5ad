// Drawing the HUD, in its order: ground notice, messages, weapon list, damage, fuel,
// passengers, sight, heading tape, altitude, speed, strafe, rotate.
//
// A warning of level 1 shows while the slow blink is on, one of level 2 while the fast blink
// is on. Panels are translucent dark, or solid green while they warn; horizontal and vertical
// bars are three lines of light, bright and dark green.
#include <cstdio>

#include "content/chopper_def.h"
#include "content/weapon_def.h"
#include "game/chopper.h"
#include "game/screen/hud.h"
#include "game/weapons.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/surface.h"

namespace {

constexpr uint16_t kPanelColour = 0x2104;
constexpr uint8_t kPanelOpacity = 128;
constexpr uint16_t kTextColour = 0x47E8;
constexpr uint16_t kTitleColour = 0x87F0;
constexpr uint16_t kWarningPanel = 0x0600;
constexpr uint16_t kWarningText = 0x0200;
constexpr uint16_t kBarColours[3] = {0x67EC, 0xC7F8, 0x2604};

int32_t FontHeight(const Font* font) { return font != nullptr ? font->height : 8; }

void Panel(Surface& s, int32_t x, int32_t y, int32_t w, int32_t h, bool warning) {
  if (warning) {
    FillRect(s, x, y, w, h, kWarningPanel, false, 255);
  } else {
    FillRect(s, x, y, w, h, kPanelColour, false, kPanelOpacity);
  }
}

// Three adjacent lines: rows y .. y + 2 from x0 to x1, or (vertical) columns x .. x + 2 from y0
// to y1.
void HorizontalBar(Surface& s, int32_t x0, int32_t x1, int32_t y, bool warning) {
  for (int i = 0; i < 3; ++i) DrawLine(s, x0, y + i, x1, y + i, warning ? kWarningText : kBarColours[i]);
}
void VerticalBar(Surface& s, int32_t x, int32_t y0, int32_t y1) {
  for (int i = 0; i < 3; ++i) DrawLine(s, x + i, y0, x + i, y1, kBarColours[i]);
}

// ASCII text into the game's wide text.
struct WideText {
  char16_t text[48] = {};
  explicit WideText(const char* ascii) {
    for (size_t i = 0; ascii[i] != 0 && i + 1 < sizeof text / sizeof text[0]; ++i) text[i] = static_cast<char16_t>(ascii[i]);
  }
};

WideText Number(const char* format, int32_t value) {
  char ascii[32];
  std::snprintf(ascii, sizeof ascii, format, value);
  return WideText(ascii);
}

int32_t Text(Surface& s, const Font* font, uint16_t colour, const char16_t* text, int32_t x, int32_t y,
             HorizontalAlign align = HorizontalAlign::Left) {
  return DrawText(s, font, colour, text, x, y, nullptr, align, VerticalAlign::Top);
}

// A value in a panel just big enough for it, its text's left edge (or right edge, or centre) at
// x and the text's middle row at y.
void ValuePanel(Surface& s, const Font* font, const char16_t* text, int32_t x, int32_t y, HorizontalAlign align) {
  const int32_t w = TextWidth(font, text);
  const int32_t h = FontHeight(font);
  const int32_t left = align == HorizontalAlign::Left ? x : align == HorizontalAlign::Right ? x - w : x - w / 2;
  Panel(s, left - 2, y - h / 2 - 2, w + 4, h + 3, false);
  Text(s, font, kTextColour, text, left, y - h / 2);
}

bool Blinks(WarningLevel level, bool slowBlink, bool fastBlink) {
  return (level == WarningCaution && slowBlink) || (level == WarningDanger && fastBlink);
}

}  // namespace

void Hud::Draw(Surface& surface, bool slowBlink, bool fastBlink) const {
  if (chopper == nullptr) return;
  DrawGroundNotice(surface, slowBlink);
  DrawMessages(surface);
  DrawWeaponList(surface, fastBlink);
  DrawStatusBars(surface, slowBlink, fastBlink);
  DrawPassengers(surface, slowBlink);
  DrawSight(surface);
  DrawHeadingTape(surface);
  DrawAltitudeGauge(surface, slowBlink, fastBlink);
  DrawSpeedGauge(surface);
  DrawStrafeGauge(surface);
  DrawRotateGauge(surface);
}

void Hud::DrawGroundNotice(Surface& s, bool slowBlink) const {
  if (!chopper->onGround) return;
  const char16_t* text = chopper->crashed ? u"Crash!" : u"On Ground";
  const int32_t w = TextWidth(bold_, text) + 7;
  const int32_t h = FontHeight(bold_) + 5;
  Panel(s, (s.width - w) / 2, s.height / 2 - 3, w, h, false);
  if (slowBlink) Text(s, bold_, kTitleColour, text, s.width / 2, s.height / 2, HorizontalAlign::Centre);
}

void Hud::DrawMessages(Surface& s) const {
  const HudRect& area = layout.messageArea;
  const TextClip clip = {area.x, static_cast<int16_t>(area.x + area.w - 1), area.y,
                         static_cast<int16_t>(area.y + area.h - 1)};
  const int32_t lineHeight = FontHeight(regular_) + 1;
  int32_t top = area.y + area.h - 2 - FontHeight(regular_);
  for (int32_t i = messages.entries.Count() - 1; i >= 0; --i, top -= lineHeight) {
    const char16_t* text = messages.entries[static_cast<uint16_t>(i)]->text;
    DrawText(s, regular_, 0x0000, text, area.x + 2, top + 1, &clip, HorizontalAlign::Left, VerticalAlign::Top);
    DrawText(s, regular_, 0xFFFF, text, area.x + 1, top, &clip, HorizontalAlign::Left, VerticalAlign::Top);
  }
}

void Hud::DrawWeaponList(Surface& s, bool fastBlink) const {
  const uint16_t slots = chopper->weaponSlots.Count();
  for (int i = 0; i < HudLayout::kWeaponRows && i < slots; ++i) {
    const HudRect& row = layout.weaponRows[i];
    const WeaponSlot& slot = *chopper->weaponSlots[static_cast<uint16_t>(i)];
    // The selected row is lit; a guided weapon ready to fire flashes.
    const bool lit = i == chopper->selectedWeapon && !(chopper->GuidedReady() && fastBlink);
    Panel(s, row.x, row.y, row.w, row.h, lit);
    const uint16_t colour = lit ? kWarningText : kTextColour;
    Text(s, regular_, colour, slot.definition->name, row.x + 3, row.y + 2);
    if (slot.definition->weaponType != WeaponMachineGun) {
      Text(s, bold_, colour, Number("%d", slot.ShotsLeft()).text, row.x + row.w - 2, row.y + 2,
           HorizontalAlign::Right);
    }
  }
}

void Hud::DrawStatusBars(Surface& s, bool slowBlink, bool fastBlink) const {
  const fixed capacity = chopper->definition->fuelCapacity;
  const int32_t fuelLength = capacity > 0 ? static_cast<int32_t>((static_cast<int64_t>(chopper->fuel) * 50) / capacity) : 0;
  const struct {
    const HudRect& rect;
    const char16_t* title;
    WarningKind kind;
    int32_t length;
  } bars[] = {{layout.damage, u"Damage", WarningDamage, chopper->damage / 2},
              {layout.fuel, u"Fuel", WarningFuel, fuelLength}};
  for (const auto& bar : bars) {
    const bool warning = Blinks(chopper->GetWarningLevel(bar.kind), slowBlink, fastBlink);
    const HudRect& r = bar.rect;
    Panel(s, r.x, r.y, r.w, r.h, warning);
    Text(s, bold_, warning ? kWarningText : kTitleColour, bar.title, r.x + 59, r.y + 2);
    const int32_t length = bar.length < 0 ? 0 : bar.length > 50 ? 50 : bar.length;
    if (length > 0) HorizontalBar(s, r.x + 53 - length + 1, r.x + 53, r.y + 4, warning);
  }
}

void Hud::DrawPassengers(Surface& s, bool slowBlink) const {
  const uint16_t seats = chopper->definition->passengers;
  if (seats == 0) return;
  const HudRect& r = layout.passengers;
  const bool full = slowBlink && chopper->passengers >= seats;
  Panel(s, r.x, r.y, 41, r.h, full);
  char count[16];
  std::snprintf(count, sizeof count, "%02d/%02d", chopper->passengers, seats);
  Text(s, regular_, full ? kWarningText : kTextColour, WideText(count).text, r.x + 21, r.y + 2,
       HorizontalAlign::Centre);
  Panel(s, r.x + 41, r.y, r.w - 41, r.h, false);
  // The bold title is wider than the panel leaves it: the regular face keeps it whole.
  const Font* titleFont = r.x + 50 + TextWidth(bold_, u"Passengers") <= r.x + r.w ? bold_ : regular_;
  Text(s, titleFont, kTitleColour, u"Passengers", r.x + 50, r.y + 2);
}

namespace {

void Outline(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom, uint16_t colour) {
  DrawLine(s, left, top, right, top, colour);
  DrawLine(s, left, bottom, right, bottom, colour);
  DrawLine(s, left, top, left, bottom, colour);
  DrawLine(s, right, top, right, bottom, colour);
}

}  // namespace

void Hud::DrawSight(Surface& s) const {
  const WeaponSlot* slot = chopper->CurrentSlot();
  if (slot == nullptr) return;
  const int32_t cx = layout.sightX, cy = layout.sightY;
  const HudRect& frame = layout.sightFrame;
  const WeaponDef& weapon = *slot->definition;
  if (weapon.weaponType == WeaponMachineGun) {
    Outline(s, cx - 10, cy - 10, cx + 10, cy + 10, kTextColour);
    DrawLine(s, cx - 15, cy, cx + 15, cy, kTextColour);
    DrawLine(s, cx, cy - 15, cx, cy + 15, kTextColour);
  } else if (weapon.weaponType == WeaponRocket && weapon.guidance != GuidanceNone) {
    Outline(s, frame.x, frame.y, frame.x + frame.w - 1, frame.y + frame.h - 1, kTextColour);
  } else if (weapon.weaponType == WeaponRocket) {
    Outline(s, cx - 30, cy - 25, cx + 30, cy + 25, kTextColour);
    DrawLine(s, frame.x, cy, frame.x + frame.w - 1, cy, kTextColour);
    DrawLine(s, cx, cy, cx, frame.y + frame.h - 1, kTextColour);
  }
}

void Hud::DrawHeadingTape(Surface& s) const {
  const HudRect& tape = layout.headingTape;
  const int32_t q = chopper->heading * 1440 / 65536;  // quarter degrees
  const WideText heading = Number("%d", (q + 1) / 4);
  const int32_t centre = tape.x + tape.w / 2;
  const int32_t panelWidth = TextWidth(regular_, heading.text) + 7;
  const int32_t panelHeight = FontHeight(regular_) + 3;
  Panel(s, centre - panelWidth / 2, tape.y, panelWidth, panelHeight, false);
  Text(s, regular_, kTextColour, heading.text, centre, tape.y + 2, HorizontalAlign::Centre);
  const int32_t below = tape.y + panelHeight;
  DrawLine(s, centre, below, centre, below + 1, kTextColour);  // the pointer

  // One pixel a quarter degree: a tick every degree, a long tick and a label every ten.
  int32_t start = q - tape.w / 2;
  if (start < 0) start += 1440;
  for (int32_t i = 0; i < tape.w; ++i) {
    const int32_t value = (start + i) % 1440;
    if (value % 4 != 0) continue;
    const int32_t x = tape.x + i;
    if (value % 40 == 0) {
      DrawLine(s, x, below + 4, x, below + 9, kTextColour);
      Text(s, regular_, kTextColour, Number("%d", (value / 4) % 360).text, x, below + 11, HorizontalAlign::Centre);
    } else {
      DrawLine(s, x, below + 4, x, below + 6, kTextColour);
    }
  }
}

void Hud::DrawAltitudeGauge(Surface& s, bool slowBlink, bool fastBlink) const {
  const HudRect& g = layout.altitudeGauge;
  const bool warning = Blinks(chopper->GetWarningLevel(WarningAltitude), slowBlink, fastBlink);
  const int32_t titleX = g.x + g.w, titleY = g.y + g.h + 2;
  if (warning) {
    const int32_t w = TextWidth(bold_, u"Altitude");
    FillRect(s, titleX - w - 2, titleY - 1, w + 4, FontHeight(bold_) + 2, kWarningPanel, false, 255);
  }
  Text(s, bold_, warning ? kWarningText : kTitleColour, u"Altitude", titleX, titleY, HorizontalAlign::Right);
  Panel(s, g.x, g.y, g.w, g.h, false);

  const int32_t bottom = g.y + g.h - 5, top = g.y + 5;  // 0 m and 100 m, 2 pixels a metre
  const int32_t half = FontHeight(regular_) / 2;
  DrawLine(s, g.x, bottom, g.x + g.w - 1, bottom, kTextColour);
  DrawLine(s, g.x, top, g.x + g.w - 1, top, kTextColour);
  Text(s, regular_, kTextColour, u"Ground", g.x - 2, bottom - half, HorizontalAlign::Right);
  Text(s, regular_, kTextColour, Number("%dm", 100).text, g.x - 2, top - half, HorizontalAlign::Right);

  fixed above = WrapSub(chopper->GetPosition().y, chopper->groundHeight);
  if (above < 0) above = 0;
  const int32_t metres = above >> 16;
  if (metres <= 100) {
    const int32_t y = bottom - metres * 2;
    ValuePanel(s, regular_, Number("%dm", metres).text, g.x - 3, y, HorizontalAlign::Right);
    DrawLine(s, g.x, y, g.x + g.w - 1, y, kTextColour);
    VerticalBar(s, g.x + 5, y, bottom);
  } else {
    if (slowBlink) ValuePanel(s, regular_, u"Out of range", g.x + g.w, g.y - 8, HorizontalAlign::Right);
    VerticalBar(s, g.x + 5, top, bottom);
  }
  const int32_t command = chopper->altitudeCommand >> 16;
  const int32_t commandY = bottom - (command < 0 ? 0 : command > 100 ? 100 : command) * 2;
  ValuePanel(s, regular_, Number("%dm", command).text, g.x - 3, commandY, HorizontalAlign::Right);
  DrawLine(s, g.x, commandY, g.x + g.w - 1, commandY, kTextColour);
  VerticalBar(s, g.x + 2, commandY, bottom);
}

void Hud::DrawSpeedGauge(Surface& s) const {
  const HudRect& g = layout.speedGauge;
  const int32_t zero = layout.speedZeroY;
  const int32_t half = FontHeight(regular_) / 2;
  Text(s, bold_, kTitleColour, u"Speed", g.x, g.y + g.h + 2);
  const int32_t kmh = FixedMul(chopper->velocity.z, 235929) >> 16;  // x 3.6
  ValuePanel(s, regular_, Number("%d km/h", kmh).text, g.x, g.y - 8, HorizontalAlign::Left);
  Panel(s, g.x, g.y, g.w, g.h, false);
  const struct {
    int32_t y;
    const char16_t* label;
  } ticks[] = {{g.y + 5, u"Forward"}, {g.y + g.h - 5, u"Back"}, {zero, u"Stop"}};
  for (const auto& tick : ticks) {
    DrawLine(s, g.x, tick.y, g.x + g.w - 1, tick.y, kTextColour);
    Text(s, regular_, kTextColour, tick.label, g.x + g.w + 2, tick.y - half);
  }
  // Percent to pixels: 1.2 above the zero line, 0.8 below it.
  const auto position = [zero](fixed percent) {
    const int32_t p = percent >> 16;
    const int32_t clamped = p < -100 ? -100 : p > 100 ? 100 : p;
    return clamped >= 0 ? zero - clamped * 12 / 10 : zero - clamped * 8 / 10;
  };
  const int32_t stateY = position(chopper->forwardState);
  const int32_t state = chopper->forwardState >> 16;
  ValuePanel(s, regular_, Number("%d%%", state < -100 ? -100 : state > 100 ? 100 : state).text, g.x + g.w + 3,
             stateY, HorizontalAlign::Left);
  VerticalBar(s, g.x + 2, stateY, zero);
  VerticalBar(s, g.x + 5, position(chopper->forwardCommand), zero);
}

void Hud::DrawStrafeGauge(Surface& s) const {
  const HudRect& g = layout.strafeGauge;
  Panel(s, g.x, g.y, g.w, g.h, false);
  const int32_t centre = g.x + g.w / 2;
  Text(s, bold_, kTitleColour, u"Strafe", centre, g.y + 1, HorizontalAlign::Centre);
  const int32_t bottom = g.y + g.h - 2;
  HorizontalBar(s, centre, centre + (FixedMul(chopper->strafeState, 39321) >> 16), bottom - 6, false);
  HorizontalBar(s, centre, centre + (FixedMul(chopper->strafeCommand, 39321) >> 16), bottom - 3, false);
  DrawLine(s, centre, bottom - 6, centre, bottom, kTextColour);
}

void Hud::DrawRotateGauge(Surface& s) const {
  const HudRect& g = layout.rotateGauge;
  Panel(s, g.x, g.y, g.w, g.h, false);
  const int32_t centre = g.x + g.w / 2;
  const int32_t textY = g.y + g.h - 1 - FontHeight(regular_);
  Text(s, bold_, kTitleColour, u"Rotate", centre, textY, HorizontalAlign::Centre);
  Text(s, regular_, kTextColour, u"Left", g.x + 2, textY);
  Text(s, regular_, kTextColour, u"Right", g.x + g.w - 2, textY, HorizontalAlign::Right);
  HorizontalBar(s, centre, centre + (FixedMul(chopper->turnCommand, 39321) >> 16), g.y + 3, false);
  HorizontalBar(s, centre, centre + (FixedMul(chopper->turnState, 39321) >> 16), g.y + 6, false);
  DrawLine(s, centre, g.y + 2, centre, g.y + 9, kTextColour);
}
