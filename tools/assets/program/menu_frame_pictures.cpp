// The menu frame (800-821): a rail down the left edge and along the bottom of the 240 x 320
// screen, the previous / next rocker in the bottom-left corner and the OK and cancel buttons in
// the bottom-right corner.
//
// Each state of the frame is drawn whole on a screen-sized canvas and then cut into the pieces
// the menu screens draw, so the rail runs on without a seam from piece to piece. The pieces sit
// where the menu screens draw them and cover the stylus areas of their buttons:
//   left bar        (0, 0)     12 x 235
//   bottom-left     (0, 235)   70 x 85   previous x 5..46, y 250..291; next x 23..64, y 273..314
//   bottom centre   (70, 275)  110 x 45
//   bottom-right    (180, 250) 60 x 70   cancel x 205..240, y 250..278; OK x 187..233, y 265..314
// Buttons are opaque in every state, so one mask serves a button's normal and highlighted looks.
#include <cmath>

#include "picture_set.h"
#include "ui_style.h"

namespace {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

struct Piece {
  int x, y, width, height;
};
constexpr Piece kLeftBar = {0, 0, 12, 235};
constexpr Piece kBottomLeft = {0, 235, 70, 85};
constexpr Piece kBottomCentre = {70, 275, 110, 45};
constexpr Piece kBottomRight = {180, 250, 60, 70};

// The rail: 9 pixels wide down the left edge, 12 high along the bottom, with a rounded inside
// corner and a short riser at the right end that frames the OK button.
constexpr double kRailLeft = 9;
constexpr double kRailTop = 308;
constexpr double kCornerRadius = 12;

// Buttons, in screen pixels.
constexpr double kPreviousX = 24, kPreviousY = 268;  // disc centres of the rocker
constexpr double kNextX = 45, kNextY = 295;
constexpr double kDiscRadius = 14.5;
constexpr double kOkX0 = 188, kOkY0 = 266, kOkX1 = 233, kOkY1 = 314;
constexpr double kCancelX0 = 206, kCancelY0 = 251, kCancelX1 = 239, kCancelY1 = 264;

// The L of the rail grown by `grow` pixels on its inner edge.
Shape RailShape(double grow) {
  const double left = kRailLeft + grow, top = kRailTop - grow, radius = kCornerRadius - grow;
  Shape rail = UnionShape(RectShape(0, 0, left, kScreenHeight), RectShape(0, top, kScreenWidth, kScreenHeight));
  // The inside corner: the square between the two arms, less the quarter circle.
  const Shape corner = SubtractShape(RectShape(left, top - radius, left + radius, top),
                                     CircleShape(left + radius, top - radius, radius));
  rail = UnionShape(std::move(rail), corner);
  // The riser at the right end, rounded where it meets the rail.
  const double riserLeft = kScreenWidth - 7 - grow, riserTop = 272 - grow;
  rail = UnionShape(std::move(rail), RoundedRectShape(riserLeft, riserTop, kScreenWidth + 8, kScreenHeight, 4));
  const Shape riserCorner = SubtractShape(RectShape(riserLeft - 5, top - 5, riserLeft, top),
                                          CircleShape(riserLeft - 5, top - 5, 5));
  return UnionShape(std::move(rail), riserCorner);
}

void DrawRail(Canvas& canvas) {
  const Shape outer = RailShape(0);
  const Shape inner = RailShape(-1);
  canvas.Fill(inner, VerticalGradient(0, Scale(ui::PanelOlive(), 1.3), kScreenHeight, ui::PanelOlive()),
              ui::kPanelOpacity);
  canvas.Fill(SubtractShape(outer, inner), ui::RimGreen(), 0.95);
  // A scale along the left rail every 10 pixels, longer every 50: the HUD's gauge ticks.
  for (int y = 10; y < 290; y += 10) {
    const double length = y % 50 == 0 ? 5 : 3;
    canvas.Fill(RectShape(kRailLeft - 1 - length, y, kRailLeft - 1, y + 1), ui::TextGreen(), 0.8);
  }
  // A fine line along the bottom rail and the game's name in the middle of it.
  canvas.Fill(RectShape(kRailLeft + kCornerRadius + 4, 313, 103, 314), ui::RimGreen(), 0.6);
  canvas.Fill(RectShape(147, 313, 226, 314), ui::RimGreen(), 0.6);
  canvas.Text(ui::LabelStyle(ui::TitleGreen()), "KESTREL RUN", 125, 310, Align::Centre);
}

void DrawArrowButton(Canvas& canvas, double cx, double cy, bool pointsRight, ui::Look look) {
  const Shape disc = CircleShape(cx, cy, kDiscRadius);
  const Shape inner = CircleShape(cx, cy, kDiscRadius - 1);
  if (look == ui::Look::Highlighted) {
    canvas.Fill(disc, ui::TitleGreen());
    canvas.Fill(inner, VerticalGradient(cy - kDiscRadius, Mix(ui::SolidGreen(), ui::TitleGreen(), 0.35),
                                        cy + kDiscRadius, ui::SolidGreen()));
  } else {
    canvas.Fill(disc, ui::RimGreen());
    canvas.Fill(inner, VerticalGradient(cy - kDiscRadius, Scale(ui::PanelOlive(), 1.7), cy + kDiscRadius,
                                        Scale(ui::PanelOlive(), 0.8)));
  }
  const double s = pointsRight ? 1 : -1;
  const Rgb ink = look == ui::Look::Highlighted ? ui::DarkGreen() : ui::TextGreen();
  canvas.Fill(PolygonShape({cx + s * 6.5, cy, cx - s * 4.5, cy - 7, cx - s * 4.5, cy + 7}), ink);
}

// The previous / next rocker; highlighted is 0 (none), 3 (next) or 4 (previous).
void DrawRocker(Canvas& canvas, int highlighted) {
  const Shape plate = LineShape(kPreviousX, kPreviousY, kNextX, kNextY, kDiscRadius + 3);
  canvas.Fill(plate, ui::Ink(), 0.85);
  canvas.Fill(SubtractShape(plate, LineShape(kPreviousX, kPreviousY, kNextX, kNextY, kDiscRadius + 2)),
              ui::RimGreen(), 0.95);
  DrawArrowButton(canvas, kPreviousX, kPreviousY, false, highlighted == 4 ? ui::Look::Highlighted : ui::Look::Normal);
  DrawArrowButton(canvas, kNextX, kNextY, true, highlighted == 3 ? ui::Look::Highlighted : ui::Look::Normal);
}

void DrawOk(Canvas& canvas, ui::Look look) {
  ui::Panel(canvas, kOkX0, kOkY0, kOkX1, kOkY1, 6, look, 1.0);
  if (look == ui::Look::Normal) ui::CornerTicks(canvas, kOkX0 + 2, kOkY0 + 2, kOkX1 - 2, kOkY1 - 2, 4, ui::TitleGreen());
  TextStyle style = ui::CaptionStyle(look);
  style.scaleX = 3;
  style.scaleY = 3;
  canvas.Text(style, "OK", static_cast<int>((kOkX0 + kOkX1) / 2) + 1,
              static_cast<int>((kOkY0 + kOkY1) / 2) - 7 * style.scaleY / 2, Align::Centre);
}

void DrawCancel(Canvas& canvas, ui::Look look) {
  ui::Panel(canvas, kCancelX0, kCancelY0, kCancelX1, kCancelY1, 4, look, 1.0);
  const double cx = (kCancelX0 + kCancelX1) / 2, cy = (kCancelY0 + kCancelY1) / 2;
  const Rgb ink = ui::TextFor(look);
  canvas.Fill(LineShape(cx - 3.5, cy - 3.5, cx + 3.5, cy + 3.5, 1.1), ink);
  canvas.Fill(LineShape(cx - 3.5, cy + 3.5, cx + 3.5, cy - 3.5, 1.1), ink);
}

Canvas FrameCanvas() {
  Canvas canvas(kScreenWidth, kScreenHeight);
  DrawRail(canvas);
  return canvas;
}

Canvas Cut(const Canvas& canvas, const Piece& piece) {
  return canvas.Crop(piece.x, piece.y, piece.width, piece.height);
}

}  // namespace

void AddMenuFramePictures(PictureSet& set) {
  const PictureGroup group = PictureGroup::MenuFrame;
  const Canvas plain = FrameCanvas();
  set.AddMasked(800, 801, group, "left bar", Cut(plain, kLeftBar));
  set.AddMasked(802, 803, group, "bottom-left corner", Cut(plain, kBottomLeft));
  set.AddMasked(804, 805, group, "bottom centre", Cut(plain, kBottomCentre));
  set.AddMasked(806, 807, group, "bottom-right corner", Cut(plain, kBottomRight));

  // OK alone (808, 809 highlighted; mask 810).
  for (const ui::Look look : {ui::Look::Normal, ui::Look::Highlighted}) {
    Canvas canvas = FrameCanvas();
    DrawOk(canvas, look);
    const bool normal = look == ui::Look::Normal;
    set.AddSharingMask(normal ? 808 : 809, 810, group, normal ? "OK" : "OK highlighted", Cut(canvas, kBottomRight));
    if (normal) set.AddSharedMask(810, group, "OK (mask)", Cut(canvas, kBottomRight));
  }
  // Cancel alone (811, 812 highlighted; mask 813): the OK button shows, dimmed, that the choice
  // cannot be confirmed yet.
  for (const ui::Look look : {ui::Look::Normal, ui::Look::Highlighted}) {
    Canvas canvas = FrameCanvas();
    DrawOk(canvas, ui::Look::Disabled);
    DrawCancel(canvas, look);
    const bool normal = look == ui::Look::Normal;
    set.AddSharingMask(normal ? 811 : 812, 813, group, normal ? "cancel" : "cancel highlighted",
                       Cut(canvas, kBottomRight));
    if (normal) set.AddSharedMask(813, group, "cancel (mask)", Cut(canvas, kBottomRight));
  }
  // Both (814; 815 OK highlighted; 816 cancel highlighted; mask 817).
  for (int which = 0; which < 3; ++which) {
    Canvas canvas = FrameCanvas();
    DrawOk(canvas, which == 1 ? ui::Look::Highlighted : ui::Look::Normal);
    DrawCancel(canvas, which == 2 ? ui::Look::Highlighted : ui::Look::Normal);
    static const char* const kTitles[3] = {"OK and cancel", "OK and cancel, OK highlighted",
                                           "OK and cancel, cancel highlighted"};
    set.AddSharingMask(814 + which, 817, group, kTitles[which], Cut(canvas, kBottomRight));
    if (which == 0) set.AddSharedMask(817, group, "OK and cancel (mask)", Cut(canvas, kBottomRight));
  }
  // The previous / next rocker (818 none, 819 next, 820 previous highlighted; mask 821).
  static const int kHighlighted[3] = {0, 3, 4};
  static const char* const kArrowTitles[3] = {"arrows", "arrows, next highlighted", "arrows, previous highlighted"};
  for (int which = 0; which < 3; ++which) {
    Canvas canvas = FrameCanvas();
    DrawRocker(canvas, kHighlighted[which]);
    set.AddSharingMask(818 + which, 821, group, kArrowTitles[which], Cut(canvas, kBottomLeft));
    if (which == 0) set.AddSharedMask(821, group, "arrows (mask)", Cut(canvas, kBottomLeft));
  }
}
