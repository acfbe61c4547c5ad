// The labels of the popup menus (1000-1430, each with its mask at the next number) and the
// chooser's bar and knob (900/901, 910/911).
//
// Popups stack their widgets in a column centred on the screen, from y = 140 in portrait and
// y = 50 in landscape (320 x 240); the tallest popup (five widgets with 11 pixels of gaps)
// must stay clear of the menu frame's bottom rail in portrait, and of the bottom of the
// landscape screen. Buttons are therefore 160 x 22: five of them end at y = 261 in portrait.
#include <string>

#include "picture_set.h"
#include "ui_style.h"

namespace {

constexpr int kButtonWidth = 160;
constexpr int kButtonHeight = 22;
constexpr int kOrientationHeight = 34;  // two device icons above their names
constexpr int kQuestionHeight = 40;     // two lines of caption
constexpr int kChooserBarWidth = 100;   // the chooser maps 100 pixels onto its four values
constexpr int kChooserBarHeight = 12;
constexpr int kKnobWidth = 10;
constexpr int kKnobHeight = 14;

const PictureGroup kGroup = PictureGroup::Popups;

void AddButton(PictureSet& set, uint32_t id, const char* caption) {
  set.AddMasked(id, id + 1, kGroup, caption, ui::Button(kButtonWidth, kButtonHeight, caption, ui::Look::Normal));
}

// BACK leads up a level: a left-pointing chevron before the caption says so.
void AddBackButton(PictureSet& set, uint32_t id) {
  Canvas canvas = ui::Button(kButtonWidth, kButtonHeight, "BACK", ui::Look::Normal);
  canvas.Fill(PolygonShape({46, 11, 53, 5.5, 53, 16.5}), ui::TextGreen());
  set.AddMasked(id, id + 1, kGroup, "BACK", canvas);
}

// A check box and its caption; checked boxes are filled in the highlight green with a tick.
void AddToggle(PictureSet& set, uint32_t id, const char* caption, bool checked) {
  Canvas canvas(kButtonWidth, kButtonHeight);
  ui::Panel(canvas, 0, 0, kButtonWidth, kButtonHeight, 4, ui::Look::Normal);
  ui::CornerTicks(canvas, 2, 2, kButtonWidth - 2, kButtonHeight - 2, 4, ui::TitleGreen());
  const double box = 12, bx = 12, by = (kButtonHeight - box) / 2;
  ui::Panel(canvas, bx, by, bx + box, by + box, 2, checked ? ui::Look::Highlighted : ui::Look::Normal, 1.0);
  if (checked) {
    canvas.Fill(LineShape(bx + 3, by + 6.5, bx + 5.5, by + 9, 1.1), ui::DarkGreen());
    canvas.Fill(LineShape(bx + 5.5, by + 9, bx + 9.5, by + 3.5, 1.1), ui::DarkGreen());
  }
  const TextStyle style = ui::CaptionStyle(ui::Look::Normal);
  canvas.Text(style, caption, 34, (kButtonHeight - 7 * style.scaleY) / 2, Align::Left);
  set.AddMasked(id, id + 1, kGroup, std::string(caption) + (checked ? " (checked)" : " (clear)"), canvas);
}

// A small handheld: upright for portrait, on its side for landscape.
void DrawDevice(Canvas& canvas, double cx, double cy, bool landscape, Rgb body, Rgb screen) {
  const double w = landscape ? 20 : 12, h = landscape ? 12 : 20;
  canvas.Fill(RoundedRectShape(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2, 2), body);
  if (landscape) {
    canvas.Fill(RectShape(cx - w / 2 + 2, cy - h / 2 + 2, cx + w / 2 - 6, cy + h / 2 - 2), screen);
    canvas.Fill(CircleShape(cx + w / 2 - 3, cy, 1.4), screen);
  } else {
    canvas.Fill(RectShape(cx - w / 2 + 2, cy - h / 2 + 2, cx + w / 2 - 2, cy + h / 2 - 6), screen);
    canvas.Fill(CircleShape(cx, cy + h / 2 - 3, 1.4), screen);
  }
}

// The screen-mode toggle: the left half chooses portrait, the right half landscape; the chosen
// half is highlighted.
void AddOrientation(PictureSet& set, uint32_t id, bool landscapeChosen) {
  Canvas canvas(kButtonWidth, kOrientationHeight);
  const int half = kButtonWidth / 2;
  for (int side = 0; side < 2; ++side) {
    const bool landscape = side == 1;
    const ui::Look look = landscape == landscapeChosen ? ui::Look::Highlighted : ui::Look::Normal;
    const double x0 = side * half + (side == 0 ? 0 : 1), x1 = side * half + half - (side == 0 ? 1 : 0);
    ui::Panel(canvas, x0, 0, x1, kOrientationHeight, 4, look);
    const Rgb ink = ui::TextFor(look);
    DrawDevice(canvas, (x0 + x1) / 2, 13, landscape, ink, look == ui::Look::Highlighted ? ui::SolidGreen() : ui::Ink());
    canvas.Text(ui::LabelStyle(ink), landscape ? "LANDSCAPE" : "PORTRAIT", static_cast<int>((x0 + x1) / 2), 25,
                Align::Centre);
  }
  set.AddMasked(id, id + 1, kGroup, landscapeChosen ? "LANDSCAPE chosen" : "PORTRAIT chosen", canvas);
}

// A chooser's value: its name and four pips, as many lit as the step (1 = the lowest).
void AddChooserValue(PictureSet& set, uint32_t id, const char* caption, int step) {
  Canvas canvas(kButtonWidth, kButtonHeight);
  ui::Panel(canvas, 0, 0, kButtonWidth, kButtonHeight, 4, ui::Look::Normal);
  const TextStyle style = ui::CaptionStyle(ui::Look::Normal);
  canvas.Text(style, caption, 66, (kButtonHeight - 7 * style.scaleY) / 2, Align::Centre);
  for (int pip = 0; pip < 4; ++pip) {
    const double x = 126 + pip * 7, y = 8;
    if (pip < step) {
      canvas.Fill(RectShape(x, y, x + 5, y + 6), ui::TextGreen());
    } else {
      canvas.Fill(SubtractShape(RectShape(x, y, x + 5, y + 6), RectShape(x + 1, y + 1, x + 4, y + 5)), ui::RimGreen());
    }
  }
  set.AddMasked(id, id + 1, kGroup, caption, canvas);
}

void AddChooserBar(PictureSet& set) {
  Canvas bar(kChooserBarWidth, kChooserBarHeight);
  const double mid = kChooserBarHeight / 2.0;
  // The groove, and a notch at each of the four values (0, 33, 67 and 100 % along the bar).
  bar.Fill(RoundedRectShape(0, mid - 3, kChooserBarWidth, mid + 3, 3), ui::Ink(), 0.85);
  bar.Fill(RoundedRectShape(1, mid - 1, kChooserBarWidth - 1, mid + 1, 1), ui::RimGreen());
  for (int step = 0; step < 4; ++step) {
    const double x = step * (kChooserBarWidth - 1) / 3.0;
    bar.Fill(RectShape(x, 0, x + 1, kChooserBarHeight), ui::TextGreen());
  }
  set.AddMasked(900, 901, kGroup, "chooser bar", bar);

  Canvas knob(kKnobWidth, kKnobHeight);
  ui::Panel(knob, 0, 0, kKnobWidth, kKnobHeight, 3, ui::Look::Highlighted);
  for (int line = 0; line < 3; ++line) {
    knob.Fill(RectShape(3, 4 + line * 2.5, kKnobWidth - 3, 5 + line * 2.5), ui::DarkGreen());
  }
  set.AddMasked(910, 911, kGroup, "chooser knob", knob);
}

// The question of the quit popup: a label, two lines of title-green caption.
void AddQuestion(PictureSet& set, uint32_t id) {
  Canvas canvas(kButtonWidth, kQuestionHeight);
  ui::Panel(canvas, 0, 0, kButtonWidth, kQuestionHeight, 4, ui::Look::Normal);
  TextStyle style = ui::CaptionStyle(ui::Look::Normal);
  style.colour = ui::TitleGreen();
  canvas.Text(style, "DO YOU REALLY", kButtonWidth / 2, 4, Align::Centre);
  canvas.Text(style, "WANT TO QUIT?", kButtonWidth / 2, 21, Align::Centre);
  set.AddMasked(id, id + 1, kGroup, "DO YOU REALLY WANT TO QUIT?", canvas);
}

}  // namespace

void AddPopupPictures(PictureSet& set) {
  AddChooserBar(set);
  // The title menu.
  AddButton(set, 1000, "SCRAMBLE!");
  AddButton(set, 1020, "OPTIONS");
  AddButton(set, 1030, "HELP");
  AddButton(set, 1040, "EXIT");
  // Options.
  AddButton(set, 1100, "GRAPHICS");
  AddButton(set, 1110, "SOUND");
  AddButton(set, 1120, "INTRO");
  AddButton(set, 1130, "CREDITS");
  AddBackButton(set, 1140);
  // Graphics and its sub-popups.
  AddToggle(set, 1200, "INTERLACED", true);
  AddToggle(set, 1205, "INTERLACED", false);
  AddButton(set, 1210, "ORIENTATION");
  AddButton(set, 1215, "DRAW DISTANCE");
  AddButton(set, 1220, "IMAGE QUALITY");
  AddToggle(set, 1225, "MUTE", true);
  AddToggle(set, 1230, "MUTE", false);
  AddToggle(set, 1240, "SKIP INTRO", true);
  AddToggle(set, 1245, "SKIP INTRO", false);
  AddOrientation(set, 1300, false);
  AddOrientation(set, 1310, true);
  // Chooser values; the pips count the step: NORMAL is the second of both choosers.
  AddChooserValue(set, 1320, "NORMAL", 2);
  AddChooserValue(set, 1330, "LOW", 1);
  AddChooserValue(set, 1340, "HIGH", 3);
  AddChooserValue(set, 1350, "VERY HIGH", 4);
  AddChooserValue(set, 1360, "NEAR", 1);
  AddChooserValue(set, 1370, "FAR", 3);
  AddChooserValue(set, 1380, "VERY FAR", 4);
  // The in-game menu and its quit question.
  AddButton(set, 1400, "QUIT");
  AddQuestion(set, 1410);
  AddButton(set, 1420, "YES");
  AddButton(set, 1430, "NO");
}
