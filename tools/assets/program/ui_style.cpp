#include "ui_style.h"

#include <algorithm>

namespace ui {

Rgb TextGreen() { return RgbFrom565(0x47E8); }
Rgb TitleGreen() { return RgbFrom565(0x87F0); }
Rgb PanelOlive() { return RgbBytes(38, 46, 26); }
Rgb RimGreen() { return RgbBytes(60, 170, 60); }
Rgb SolidGreen() { return RgbFrom565(0x0600); }
Rgb DarkGreen() { return RgbFrom565(0x0200); }
Rgb Ink() { return RgbBytes(8, 12, 6); }

void Panel(Canvas& canvas, double x0, double y0, double x1, double y1, double radius, Look look,
           double opacity) {
  const Shape outer = RoundedRectShape(x0, y0, x1, y1, radius);
  const Shape inner = RoundedRectShape(x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(0.0, radius - 1));
  switch (look) {
    case Look::Normal:
    case Look::Disabled: {
      // A slight fall of light from the top edge gives the flat panel some body.
      const Rgb top = Scale(PanelOlive(), 1.45), bottom = Scale(PanelOlive(), 0.85);
      canvas.Fill(outer, VerticalGradient(y0, top, y1, bottom), opacity);
      const Rgb rim = look == Look::Normal ? RimGreen() : Scale(RimGreen(), 0.45);
      canvas.Fill(SubtractShape(outer, inner), rim, 0.95);
      break;
    }
    case Look::Highlighted:
      canvas.Fill(outer, VerticalGradient(y0, Mix(SolidGreen(), TitleGreen(), 0.35), y1, SolidGreen()), 1.0);
      canvas.Fill(SubtractShape(outer, inner), TitleGreen(), 1.0);
      break;
  }
}

void CornerTicks(Canvas& canvas, double x0, double y0, double x1, double y1, double length, Rgb colour) {
  const double corners[4][4] = {{x0, y0, 1, 1}, {x1, y0, -1, 1}, {x0, y1, 1, -1}, {x1, y1, -1, -1}};
  for (const auto& c : corners) {
    const double x = c[0], y = c[1], dx = c[2], dy = c[3];
    const double px = dx > 0 ? x : x - 1, py = dy > 0 ? y : y - 1;  // the corner pixel
    canvas.Fill(RectShape(std::min(px, px + dx * length), py, std::max(px + 1, px + 1 + dx * (length - 1)), py + 1),
                colour);
    canvas.Fill(RectShape(px, std::min(py, py + dy * length), px + 1, std::max(py + 1, py + 1 + dy * (length - 1))),
                colour);
  }
}

Rgb TextFor(Look look) {
  switch (look) {
    case Look::Highlighted:
      return DarkGreen();
    case Look::Disabled:
      return Scale(TextGreen(), 0.4);
    case Look::Normal:
      break;
  }
  return TextGreen();
}

TextStyle CaptionStyle(Look look) {
  TextStyle style;
  style.scaleX = 2;
  style.scaleY = 2;
  style.colour = TextFor(look);
  return style;
}

TextStyle LabelStyle(Rgb colour) {
  TextStyle style;
  style.colour = colour;
  return style;
}

Canvas Button(int width, int height, const char* caption, Look look) {
  Canvas canvas(width, height);
  Panel(canvas, 0, 0, width, height, 4, look);
  if (look == Look::Normal) CornerTicks(canvas, 2, 2, width - 2, height - 2, 4, TitleGreen());
  const TextStyle style = CaptionStyle(look);
  // Capitals fill rows 0..6 of the font: centre those, not the descent row.
  const int capitals = 7 * style.scaleY;
  canvas.Text(style, caption, width / 2, (height - capitals) / 2, Align::Centre);
  return canvas;
}

}  // namespace ui
