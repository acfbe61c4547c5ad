// A floating-point RGBA picture to paint the core content into before it is written as JPEG
// (colour, and the alpha as a greyscale mask) or PNG. Channels run 0..1; alpha is straight (not
// premultiplied). Shapes are drawn with anti-aliased edges by sampling 4 x 4 points per pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "asset_writer.h"

struct Colour {
  float r = 0, g = 0, b = 0;
};

constexpr Colour Rgb(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }
Colour Mix(const Colour& a, const Colour& b, float t);
Colour Scale(const Colour& c, float factor);

struct Point2 {
  float x = 0, y = 0;
};

class Image {
 public:
  Image() = default;
  Image(int width, int height, const Colour& fill = {}, float alpha = 1.0f);

  int width() const { return width_; }
  int height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Colour Get(int x, int y) const;
  float Alpha(int x, int y) const { return alpha_[Index(x, y)]; }
  void Set(int x, int y, const Colour& c, float alpha = 1.0f);
  // Lays c over the pixel with the given opacity (0..1); the pixel's alpha grows the same way.
  void Blend(int x, int y, const Colour& c, float opacity);

  void Fill(const Colour& c, float alpha = 1.0f);
  // Top row `top`, bottom row `bottom`, mixed linearly between.
  void VerticalGradient(const Colour& top, const Colour& bottom);

  // Filled shapes with anti-aliased edges, laid over what is there with `opacity`.
  void FillPolygon(const std::vector<Point2>& points, const Colour& c, float opacity = 1.0f);
  void FillRect(float x, float y, float w, float h, const Colour& c, float opacity = 1.0f);
  void FillEllipse(float cx, float cy, float rx, float ry, const Colour& c, float opacity = 1.0f);
  // A straight stroke of the given width with square ends.
  void DrawLine(float x0, float y0, float x1, float y1, float width, const Colour& c, float opacity = 1.0f);
  // An outline of a rectangle, `width` pixels thick, inside the rectangle.
  void StrokeRect(float x, float y, float w, float h, float width, const Colour& c, float opacity = 1.0f);

  // Draws `source` with its top-left corner at (x, y), through its alpha.
  void Composite(const Image& source, int x, int y);
  // Box filter: every factor x factor block becomes one pixel (colours weighted by alpha).
  Image Downsample(int factor) const;
  // Every pixel's colour pulled toward c by t.
  void Tint(const Colour& c, float t);

  // 8-bit samples, rounded: colour as R, G, B; alpha as one grey channel.
  Picture ToColourPicture() const;
  Picture ToAlphaPicture() const;
  // Colour laid over a checkerboard through the alpha, for the contact sheet.
  Picture ToCheckerPreview() const;

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
  // Coverage (0..1) of each pixel of the box [x0, x1) x [y0, y1) by a shape, from 16 samples.
  template <typename Inside>
  void FillShape(int x0, int y0, int x1, int y1, const Colour& c, float opacity, Inside inside);

  int width_ = 0;
  int height_ = 0;
  std::vector<Colour> colour_;
  std::vector<float> alpha_;
};

// An 8-bit picture as an Image (alpha 1), e.g. a decoded texture for previews.
Image ImageFromPicture(const Picture& picture);
