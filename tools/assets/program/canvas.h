// A floating-point drawing surface for the program's own pictures.
//
// Pictures are painted at full precision and rounded to 8 bits once, at the end: a colour
// picture (RGB) and, for pictures drawn through a mask, the mask (grey) taken from the
// coverage. Pixel (x, y) covers the square x..x+1, y..y+1; shapes are anti-aliased by sampling
// each edge pixel 4 x 4 times, and text is drawn from the game's own 8-pixel fonts at whole
// scales so that captions stay crisp. Everything is deterministic: no clock, no global state.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "asset_writer.h"
#include "gfx/font.h"

// A colour with channels 0..1 (the 8-bit value divided by 255).
struct Rgb {
  double r = 0;
  double g = 0;
  double b = 0;
};

Rgb RgbBytes(int r, int g, int b);
// An RGB565 colour of the game (the HUD colours) widened to 8 bits per channel.
Rgb RgbFrom565(uint16_t colour);
Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b
Rgb Scale(Rgb colour, double factor);

// The area a drawing may touch: pixels x0..x1-1, y0..y1-1.
struct Bounds {
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
};

// A shape: its bounds and a test of whether a point lies inside.
struct Shape {
  Bounds bounds;
  std::function<bool(double x, double y)> inside;
};

Shape RectShape(double x0, double y0, double x1, double y1);
Shape RoundedRectShape(double x0, double y0, double x1, double y1, double radius);
Shape EllipseShape(double cx, double cy, double rx, double ry);
Shape CircleShape(double cx, double cy, double radius);
// Any simple or self-touching polygon, filled by the even-odd rule.
Shape PolygonShape(std::vector<double> xy);
// A straight stroke with round ends, halfWidth pixels either side of the line.
Shape LineShape(double x0, double y0, double x1, double y1, double halfWidth);
Shape UnionShape(Shape a, Shape b);
Shape SubtractShape(Shape a, Shape b);  // a without b

// The colour of a fill at a point.
using Paint = std::function<Rgb(double x, double y)>;
Paint Solid(Rgb colour);
Paint VerticalGradient(double y0, Rgb top, double y1, Rgb bottom);

// A grey level 0..1 per pixel: text, glows and soft shapes before they are painted.
class Coverage {
 public:
  Coverage(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  double At(int x, int y) const;  // 0 outside
  void Set(int x, int y, double value);
  // Each pixel becomes the largest value within radius (a square): outlines around text.
  Coverage Dilated(int radius) const;
  // Three box blurs of the given radius: close to a Gaussian, for glows and soft shadows.
  Coverage Blurred(int radius) const;

 private:
  int width_;
  int height_;
  std::vector<double> values_;
};

// How a line of text looks: the game's font scaled by whole factors, with an optional outline
// (a dilated copy drawn first) so that it reads over any background.
struct TextStyle {
  const Font* font = &kSqTinyFont;
  int scaleX = 1;
  int scaleY = 1;
  Rgb colour;
  int outline = 0;  // pixels; 0 for none
  Rgb outlineColour;
  double outlineOpacity = 1.0;
};

enum class Align { Left, Centre, Right };

// Width in pixels of a line of text: the advances, less the blank column after the last glyph.
int TextPixelWidth(const TextStyle& style, const char* text);
// Rows of a line: the font's 8 rows (7 for capitals, one of descent) times the vertical scale.
int TextPixelHeight(const TextStyle& style);
Coverage TextCoverage(const TextStyle& style, const char* text);

class Canvas {
 public:
  Canvas(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }

  // Paints colour over pixel (x, y) at opacity 0..1 ("over", premultiplied); off the canvas
  // nothing happens.
  void Blend(int x, int y, Rgb colour, double opacity);
  // Adds light to a pixel without changing its coverage (sun glare, fire glow); the sum is
  // limited to white when the picture is written.
  void AddLight(int x, int y, Rgb light, double amount);
  void Fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
  void Fill(const Shape& shape, Rgb colour, double opacity = 1.0) { Fill(shape, Solid(colour), opacity); }
  // Paints through a coverage map placed with its top-left corner at (x, y).
  void FillCoverage(const Coverage& coverage, int x, int y, const Paint& paint, double opacity = 1.0);
  void FillCoverage(const Coverage& coverage, int x, int y, Rgb colour, double opacity = 1.0) {
    FillCoverage(coverage, x, y, Solid(colour), opacity);
  }
  // A line of text whose top row is y; x is its left edge, centre or right edge.
  void Text(const TextStyle& style, const char* text, int x, int y, Align align);
  // The part x..x+width-1, y..y+height-1 as a canvas of its own (pieces cut from one drawing).
  Canvas Crop(int x, int y, int width, int height) const;

  Rgb ColourAt(int x, int y) const;  // unpremultiplied; black where nothing is drawn
  double OpacityAt(int x, int y) const;

  // The picture as the game shows it without a mask: the canvas over black.
  Picture OpaquePicture() const;
  // The colour picture of a masked pair. Where nothing is drawn the colour of the nearest
  // drawn pixels is spread out, so that the JPEG has no hard edge at the mask's border and
  // soft edges keep their own colour instead of fading to black.
  Picture ColourPicture() const;
  // The mask of a masked pair: coverage 0..1 as grey 0..255 (black transparent, white opaque).
  Picture MaskPicture() const;
  // The picture with its coverage as straight alpha (RGBA), for files shown over anything;
  // pixels with nothing drawn are fully transparent black.
  Picture RgbaPicture() const;

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }

  int width_;
  int height_;
  std::vector<double> red_;  // premultiplied by alpha_
  std::vector<double> green_;
  std::vector<double> blue_;
  std::vector<double> alpha_;
};
