// The pictures of the helicopter and loadout choices (200-209, 250-271).
//
// The screens draw bars of the figures themselves, three pixels high, from fixed columns and on
// fixed rows; the label pictures put each caption on the rows of its bar and lay a translucent
// panel under the whole chart, so the bars read over any splash picture:
//   helicopter: labels at (25, 2), bars from x = 100 (up to 100 long), passenger icons from
//               (100, 97), pylon icons from (100, 111), the machine-gun line below the labels,
//               the bar legend at the right edge;
//   loadout:    LOAD / CAPACITY at (25, 2) with bars from x = 120 on rows 7-9 and 18-20, the
//               weapon figures at (40, 150) with bars from x = 100 and the guidance picture at
//               (100, 204), the too-many-kinds warning at the right edge at y = 210.
// Pylon buttons share mask 271; their size, 45 x 35, is the largest that every pylon layout
// places without overlap: the eight-pylon rows put buttons 45 pixels apart (x = 15, 60, 150,
// 195), the four-pylon layout 35 pixels apart vertically where they share columns ((20, 60)
// and (60, 95)). The weapons' own pylon pictures in the content packs have the same size.
#include <string>

#include "picture_set.h"
#include "shared_layout.h"
#include "ui_style.h"

namespace {

const PictureGroup kGroup = PictureGroup::Selection;

constexpr int kChartWidth = 175;  // x 25..200: the labels and the 100-pixel bars
constexpr int kChartHeight = 122;
constexpr int kBarColumn = 75;  // bars start at x = 100, 75 pixels into the picture
constexpr int kLegendWidth = 40;  // x 200..240
constexpr int kLegendHeight = 44;

// Captions of the helicopter figures and the picture row of each caption's top, so that its
// capitals (7 rows) are centred on the rows of its bar or icons.
struct ChartRow {
  const char* caption;
  int top;
};
constexpr ChartRow kChopperRows[] = {
    {"FORWARD", 1},      {"REVERSE", 12},     {"STRAFE", 23}, {"CLIMB RATE", 33}, {"TURN RATE", 44}, {"ACCELERATION", 55},
    {"RANGE", 66},       {"PAYLOAD", 78},     {"DAMAGE", 88}, {"PASSENGERS", 98}, {"PYLONS", 112},
};

// A translucent chart panel with captions right-aligned before the bar column and faint
// quarter lines across the bar area.
Canvas Chart(int width, int height, int barColumn, const ChartRow* rows, size_t rowCount) {
  Canvas canvas(width, height);
  canvas.Fill(RoundedRectShape(0, 0, width, height, 3),
              VerticalGradient(0, Scale(ui::PanelOlive(), 1.2), height, Scale(ui::PanelOlive(), 0.9)),
              ui::kPanelOpacity - 0.08);
  canvas.Fill(RectShape(0, 0, 1, height), ui::RimGreen(), 0.95);  // the left edge, a HUD scale line
  for (int quarter = 1; quarter <= 4; ++quarter) {
    const double x = barColumn + quarter * 25 - 1;
    if (x < width) canvas.Fill(RectShape(x, 1, x + 1, height - 1), ui::RimGreen(), quarter == 4 ? 0.5 : 0.25);
  }
  canvas.Fill(RectShape(barColumn - 1, 1, barColumn, height - 1), ui::RimGreen(), 0.6);
  for (size_t i = 0; i < rowCount; ++i) {
    canvas.Text(ui::LabelStyle(ui::TextGreen()), rows[i].caption, barColumn - 4, rows[i].top, Align::Right);
  }
  return canvas;
}

// One bar as the screens draw it: three rows of colour.
void Bar(Canvas& canvas, double x, double y, double length, const uint16_t (&colours)[3]) {
  for (int row = 0; row < 3; ++row) canvas.Fill(RectShape(x, y + row, x + length, y + row + 1), RgbFrom565(colours[row]));
}
constexpr uint16_t kFirstBar[3] = {0xC7F8, 0x4608, 0x0400};
constexpr uint16_t kSecondBar[3] = {0xFE18, 0xC208, 0x8000};

void AddChopperPictures(PictureSet& set) {
  set.AddMasked(200, 201, kGroup, "helicopter figure labels",
                Chart(kChartWidth, kChartHeight, kBarColumn, kChopperRows, std::size(kChopperRows)));

  // The legend of the bar pairs: empty helicopter above, fully laden below.
  Canvas legend(kLegendWidth, kLegendHeight);
  ui::Panel(legend, 0, 0, kLegendWidth, kLegendHeight, 3, ui::Look::Normal);
  Bar(legend, 8, 5, 24, kFirstBar);
  legend.Text(ui::LabelStyle(ui::TextGreen()), "EMPTY", kLegendWidth / 2, 11, Align::Centre);
  Bar(legend, 8, 24, 24, kSecondBar);
  legend.Text(ui::LabelStyle(ui::TextGreen()), "FULL", kLegendWidth / 2, 30, Align::Centre);
  set.AddMasked(202, 203, kGroup, "bar legend", legend);

  // One passenger, repeated along row 97 once per seat.
  Canvas passenger(10, 12);
  passenger.Fill(CircleShape(5, 2.5, 2.2), ui::TitleGreen());
  passenger.Fill(RoundedRectShape(2, 5.5, 8, 10, 1.5), ui::TitleGreen());
  passenger.Fill(RectShape(2.5, 9, 4.3, 12), ui::TitleGreen());
  passenger.Fill(RectShape(5.7, 9, 7.5, 12), ui::TitleGreen());
  set.AddMasked(204, 205, kGroup, "passenger icon", passenger);

  // One pylon with its rocket, repeated along row 111 once per pylon.
  Canvas pylon(12, 12);
  pylon.Fill(RectShape(3, 1, 9, 3), ui::RimGreen());
  pylon.Fill(RectShape(5, 3, 7, 5), ui::RimGreen());
  pylon.Fill(PolygonShape({1, 6, 8.5, 6, 11.5, 7.5, 8.5, 9, 1, 9}), ui::TitleGreen());
  pylon.Fill(PolygonShape({0, 5, 2.5, 6.5, 2.5, 8.5, 0, 10}), ui::TextGreen());
  set.AddMasked(206, 207, kGroup, "pylon icon", pylon);

  // The machine-gun line: below the chart, at (25, 124).
  Canvas gun(kChartWidth, 12);
  gun.Fill(RoundedRectShape(0, 0, kChartWidth, 12, 3), ui::PanelOlive(), ui::kPanelOpacity - 0.08);
  gun.Fill(RectShape(0, 0, 1, 12), ui::RimGreen(), 0.95);
  gun.Text(ui::LabelStyle(ui::TitleGreen()), "+ MACHINE GUN", kBarColumn - 4, 3, Align::Right);
  gun.Text(ui::LabelStyle(ui::TextGreen()), "BUILT IN", kBarColumn + 4, 3, Align::Left);
  set.AddMasked(208, 209, kGroup, "machine-gun label", gun);
}

// Loadout figure rows (the weapon chart at (40, 150)): bars on rows 153, 164, 175, 185, 196
// and the guidance picture at y = 204.
constexpr ChartRow kWeaponRows[] = {{"WEIGHT", 1}, {"PAYLOAD", 12}, {"RANGE", 23}, {"SPEED", 33},
                                    {"ACCURACY", 44}, {"GUIDANCE", 57}};
constexpr ChartRow kLoadRows[] = {{"LOAD", 3}, {"CAPACITY", 14}};

Canvas GuidanceChip(const char* caption) {
  Canvas chip(56, 12);
  ui::Panel(chip, 0, 0, 56, 12, 3, ui::Look::Normal, 1.0);
  chip.Text(ui::LabelStyle(ui::TitleGreen()), caption, 28, 3, Align::Centre);
  return chip;
}

constexpr int kPylonWidth = kPylonPictureWidth;
constexpr int kPylonHeight = kPylonPictureHeight;

// The outline of an empty pylon button, shared by mask 271: every pylon picture fills it.
Shape PylonOutline() { return RoundedRectShape(0, 0, kPylonWidth, kPylonHeight, 5); }

// An empty pylon: a dark plate with the pylon's number and a dashed outline of a store.
Canvas EmptyPylon(int number) {
  Canvas canvas(kPylonWidth, kPylonHeight);
  canvas.Fill(PylonOutline(), VerticalGradient(0, Scale(ui::PanelOlive(), 1.5), kPylonHeight, ui::PanelOlive()));
  canvas.Fill(SubtractShape(PylonOutline(), RoundedRectShape(1, 1, kPylonWidth - 1, kPylonHeight - 1, 4)),
              ui::RimGreen());
  // The hard point: a bracket under the wing.
  canvas.Fill(RectShape(14, 6, 31, 8), ui::RimGreen());
  canvas.Fill(RectShape(21, 8, 24, 11), ui::RimGreen());
  // A dashed store outline hanging from it.
  for (double x = 9; x < 36; x += 4) {
    canvas.Fill(RectShape(x, 12, x + 2, 13), ui::RimGreen());
    canvas.Fill(RectShape(x, 20, x + 2, 21), ui::RimGreen());
  }
  canvas.Fill(RectShape(8, 12, 9, 21), ui::RimGreen());
  canvas.Fill(RectShape(37, 14, 38, 19), ui::RimGreen());
  TextStyle style = ui::LabelStyle(ui::TitleGreen());
  style.font = &kSqTinyBoldFont;
  canvas.Text(style, std::to_string(number).c_str(), kPylonWidth / 2, 23, Align::Centre);
  return canvas;
}

// The remove picture: the highlighted look with a cross, shown under the stylus on a pylon
// that holds the current weapon.
Canvas RemovePylon() {
  Canvas canvas(kPylonWidth, kPylonHeight);
  canvas.Fill(PylonOutline(), VerticalGradient(0, Mix(ui::SolidGreen(), ui::TitleGreen(), 0.35), kPylonHeight,
                                               ui::SolidGreen()));
  canvas.Fill(SubtractShape(PylonOutline(), RoundedRectShape(1, 1, kPylonWidth - 1, kPylonHeight - 1, 4)),
              ui::TitleGreen());
  const double cx = kPylonWidth / 2.0, cy = 13;
  canvas.Fill(LineShape(cx - 6, cy - 6, cx + 6, cy + 6, 1.6), ui::DarkGreen());
  canvas.Fill(LineShape(cx - 6, cy + 6, cx + 6, cy - 6, 1.6), ui::DarkGreen());
  canvas.Text(ui::LabelStyle(ui::DarkGreen()), "REMOVE", kPylonWidth / 2, 23, Align::Centre);
  return canvas;
}

void AddLoadoutPictures(PictureSet& set) {
  // The weapon chart at (40, 150): 160 wide (bars 100..200), down to y = 216 under the
  // guidance picture.
  set.AddMasked(250, 251, kGroup, "weapon figure labels", Chart(160, 66, 60, kWeaponRows, std::size(kWeaponRows)));
  set.AddMasked(252, 253, kGroup, "guidance: none", GuidanceChip("NONE"));
  set.AddMasked(254, 255, kGroup, "guidance: heat", GuidanceChip("HEAT"));
  set.AddMasked(256, 257, kGroup, "guidance: radar", GuidanceChip("RADAR"));
  // LOAD and CAPACITY at (25, 2): bars from x = 120, so the bar column is 95 pixels in.
  set.AddMasked(258, 259, kGroup, "load labels", Chart(200, 24, 95, kLoadRows, std::size(kLoadRows)));

  // Four or more kinds of weapon on the pylons: a warning badge in the HUD's warning look.
  Canvas warning(kLegendWidth, 34);
  ui::Panel(warning, 0, 0, kLegendWidth, 34, 3, ui::Look::Highlighted);
  const TextStyle dark = ui::LabelStyle(ui::DarkGreen());
  warning.Text(dark, "MAX 3", kLegendWidth / 2, 4, Align::Centre);
  warning.Text(dark, "WEAPON", kLegendWidth / 2, 13, Align::Centre);
  warning.Text(dark, "KINDS", kLegendWidth / 2, 22, Align::Centre);
  set.AddMasked(260, 261, kGroup, "too many weapon kinds", warning);

  for (int pylon = 0; pylon < 8; ++pylon) {
    set.AddSharingMask(262 + pylon, 271, kGroup, "empty pylon " + std::to_string(pylon + 1), EmptyPylon(pylon + 1));
  }
  set.AddSharingMask(270, 271, kGroup, "remove", RemovePylon());
  Canvas outline(kPylonWidth, kPylonHeight);
  outline.Fill(PylonOutline(), ui::Ink());
  set.AddSharedMask(271, kGroup, "pylon mask", outline);
}

}  // namespace

void AddSelectionPictures(PictureSet& set) {
  AddChopperPictures(set);
  AddLoadoutPictures(set);
}
