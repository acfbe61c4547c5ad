// The one look of every menu picture, taken from the HUD: dark translucent olive panels with a
// thin green rim and bright green text (text 0x47E8, titles 0x87F0, panel 0x2104); the chosen
// or highlighted state is the HUD's warning look, a solid green panel with dark green text
// (0x0600 and 0x0200).
#pragma once

#include "canvas.h"

namespace ui {

Rgb TextGreen();    // 0x47E8
Rgb TitleGreen();   // 0x87F0
Rgb PanelOlive();   // a touch warmer than the HUD's 0x2104 grey, so the panels read as olive
Rgb RimGreen();     // the panel's thin rim
Rgb SolidGreen();   // 0x0600: highlighted panels
Rgb DarkGreen();    // 0x0200: text on highlighted panels
Rgb Ink();          // near-black for outlines and shadows

// Opacity of a normal panel: dark enough for the text, light enough to see the picture behind.
constexpr double kPanelOpacity = 0.78;

enum class Look { Normal, Highlighted, Disabled };

// A rounded panel filling x0..x1, y0..y1 with a one-pixel rim, in the given look. Normal and
// disabled panels are translucent unless an opacity is given (buttons that share a mask with
// their highlighted state are opaque in both); highlighted panels are always opaque.
void Panel(Canvas& canvas, double x0, double y0, double x1, double y1, double radius, Look look,
           double opacity = kPanelOpacity);
// Small bright corner brackets inside a panel: the HUD's sight-frame motif.
void CornerTicks(Canvas& canvas, double x0, double y0, double x1, double y1, double length, Rgb colour);

// Captions: the regular font at twice its size (two-pixel strokes, 10 pixels a letter, 14
// pixels high for capitals) for buttons; once its size for small labels.
TextStyle CaptionStyle(Look look);
TextStyle LabelStyle(Rgb colour);
// Text colour for a look.
Rgb TextFor(Look look);

// A popup button: a panel of width x height with the caption centred on it.
Canvas Button(int width, int height, const char* caption, Look look);

}  // namespace ui
