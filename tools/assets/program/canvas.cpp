#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kSamplesPerSide = 4;  // anti-aliasing: 16 samples per pixel
constexpr double kDrawnOpacity = 1.0 / 512;  // below half an 8-bit step a pixel counts as empty

uint8_t ToByte(double value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0)); }

Bounds BoundsAround(double x0, double y0, double x1, double y1) {
  return {static_cast<int>(std::floor(std::min(x0, x1))), static_cast<int>(std::floor(std::min(y0, y1))),
          static_cast<int>(std::ceil(std::max(x0, x1))) + 1, static_cast<int>(std::ceil(std::max(y0, y1))) + 1};
}

Bounds Merge(const Bounds& a, const Bounds& b) {
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

// One box blur pass along rows (horizontal) or columns.
std::vector<double> BoxPass(const std::vector<double>& in, int width, int height, int radius, bool horizontal) {
  std::vector<double> out(in.size(), 0.0);
  const int length = horizontal ? width : height;
  const int lines = horizontal ? height : width;
  const double norm = 1.0 / (2 * radius + 1);
  for (int line = 0; line < lines; ++line) {
    const auto at = [&](int i) -> double {
      if (i < 0 || i >= length) return 0.0;
      return horizontal ? in[static_cast<size_t>(line) * width + i] : in[static_cast<size_t>(i) * width + line];
    };
    double sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += at(i);
    for (int i = 0; i < length; ++i) {
      const size_t index = horizontal ? static_cast<size_t>(line) * width + i : static_cast<size_t>(i) * width + line;
      out[index] = sum * norm;
      sum += at(i + radius + 1) - at(i - radius);
    }
  }
  return out;
}

}  // namespace

Rgb RgbBytes(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

Rgb RgbFrom565(uint16_t colour) {
  const int r5 = colour >> 11;
  const int g6 = (colour >> 5) & 0x3F;
  const int b5 = colour & 0x1F;
  return RgbBytes((r5 << 3) | (r5 >> 2), (g6 << 2) | (g6 >> 4), (b5 << 3) | (b5 >> 2));
}

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb Scale(Rgb colour, double factor) { return {colour.r * factor, colour.g * factor, colour.b * factor}; }

Shape RectShape(double x0, double y0, double x1, double y1) {
  return {BoundsAround(x0, y0, x1, y1), [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }};
}

Shape RoundedRectShape(double x0, double y0, double x1, double y1, double radius) {
  return {BoundsAround(x0, y0, x1, y1), [=](double x, double y) {
            if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
            const double cx = std::clamp(x, x0 + radius, x1 - radius);
            const double cy = std::clamp(y, y0 + radius, y1 - radius);
            return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
          }};
}

Shape EllipseShape(double cx, double cy, double rx, double ry) {
  return {BoundsAround(cx - rx, cy - ry, cx + rx, cy + ry), [=](double x, double y) {
            const double dx = (x - cx) / rx;
            const double dy = (y - cy) / ry;
            return dx * dx + dy * dy <= 1.0;
          }};
}

Shape CircleShape(double cx, double cy, double radius) { return EllipseShape(cx, cy, radius, radius); }

Shape PolygonShape(std::vector<double> xy) {
  double minX = xy[0], maxX = xy[0], minY = xy[1], maxY = xy[1];
  for (size_t i = 0; i + 1 < xy.size(); i += 2) {
    minX = std::min(minX, xy[i]);
    maxX = std::max(maxX, xy[i]);
    minY = std::min(minY, xy[i + 1]);
    maxY = std::max(maxY, xy[i + 1]);
  }
  return {BoundsAround(minX, minY, maxX, maxY), [points = std::move(xy)](double x, double y) {
            bool inside = false;
            const size_t count = points.size() / 2;
            for (size_t i = 0, j = count - 1; i < count; j = i++) {
              const double xi = points[2 * i], yi = points[2 * i + 1];
              const double xj = points[2 * j], yj = points[2 * j + 1];
              if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
            }
            return inside;
          }};
}

Shape LineShape(double x0, double y0, double x1, double y1, double halfWidth) {
  Bounds bounds = BoundsAround(x0, y0, x1, y1);
  const int grow = static_cast<int>(std::ceil(halfWidth));
  bounds = {bounds.x0 - grow, bounds.y0 - grow, bounds.x1 + grow, bounds.y1 + grow};
  return {bounds, [=](double x, double y) {
            const double dx = x1 - x0, dy = y1 - y0;
            const double lengthSquared = dx * dx + dy * dy;
            double t = lengthSquared > 0 ? ((x - x0) * dx + (y - y0) * dy) / lengthSquared : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            const double px = x0 + t * dx - x, py = y0 + t * dy - y;
            return px * px + py * py <= halfWidth * halfWidth;
          }};
}

Shape UnionShape(Shape a, Shape b) {
  const Bounds bounds = Merge(a.bounds, b.bounds);
  return {bounds, [a = std::move(a.inside), b = std::move(b.inside)](double x, double y) { return a(x, y) || b(x, y); }};
}

Shape SubtractShape(Shape a, Shape b) {
  const Bounds bounds = a.bounds;
  return {bounds, [a = std::move(a.inside), b = std::move(b.inside)](double x, double y) { return a(x, y) && !b(x, y); }};
}

Paint Solid(Rgb colour) {
  return [colour](double, double) { return colour; };
}

Paint VerticalGradient(double y0, Rgb top, double y1, Rgb bottom) {
  return [=](double, double y) { return Mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0)); };
}

Coverage::Coverage(int width, int height)
    : width_(width), height_(height), values_(static_cast<size_t>(width) * height, 0.0) {}

double Coverage::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0.0;
  return values_[static_cast<size_t>(y) * width_ + x];
}

void Coverage::Set(int x, int y, double value) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  values_[static_cast<size_t>(y) * width_ + x] = value;
}

Coverage Coverage::Dilated(int radius) const {
  Coverage result(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      double best = 0;
      for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) best = std::max(best, At(x + dx, y + dy));
      }
      result.Set(x, y, best);
    }
  }
  return result;
}

Coverage Coverage::Blurred(int radius) const {
  Coverage result(width_, height_);
  if (radius <= 0) {
    result.values_ = values_;
    return result;
  }
  std::vector<double> values = values_;
  for (int pass = 0; pass < 3; ++pass) {
    values = BoxPass(values, width_, height_, radius, true);
    values = BoxPass(values, width_, height_, radius, false);
  }
  result.values_ = std::move(values);
  return result;
}

int TextPixelWidth(const TextStyle& style, const char* text) {
  int width = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (const uint8_t* glyph = GetGlyph(*style.font, static_cast<char16_t>(static_cast<unsigned char>(*c)))) {
      width += glyph[0];
    }
  }
  return width > 0 ? (width - 1) * style.scaleX : 0;
}

int TextPixelHeight(const TextStyle& style) { return style.font->height * style.scaleY; }

Coverage TextCoverage(const TextStyle& style, const char* text) {
  Coverage coverage(std::max(1, TextPixelWidth(style, text)), TextPixelHeight(style));
  int pen = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    const uint8_t* glyph = GetGlyph(*style.font, static_cast<char16_t>(static_cast<unsigned char>(*c)));
    if (glyph == nullptr) continue;
    for (int row = 0; row < style.font->height; ++row) {
      const uint8_t bits = glyph[1 + row];
      for (int column = 0; column < 8; ++column) {
        if ((bits & (0x80 >> column)) == 0) continue;
        for (int sy = 0; sy < style.scaleY; ++sy) {
          for (int sx = 0; sx < style.scaleX; ++sx) {
            coverage.Set(pen + column * style.scaleX + sx, row * style.scaleY + sy, 1.0);
          }
        }
      }
    }
    pen += glyph[0] * style.scaleX;
  }
  return coverage;
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      red_(static_cast<size_t>(width) * height, 0.0),
      green_(red_.size(), 0.0),
      blue_(red_.size(), 0.0),
      alpha_(red_.size(), 0.0) {}

void Canvas::Blend(int x, int y, Rgb colour, double opacity) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || opacity <= 0) return;
  opacity = std::min(opacity, 1.0);
  const size_t i = Index(x, y);
  const double keep = 1.0 - opacity;
  red_[i] = colour.r * opacity + red_[i] * keep;
  green_[i] = colour.g * opacity + green_[i] * keep;
  blue_[i] = colour.b * opacity + blue_[i] * keep;
  alpha_[i] = opacity + alpha_[i] * keep;
}

void Canvas::AddLight(int x, int y, Rgb light, double amount) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || amount <= 0) return;
  const size_t i = Index(x, y);
  red_[i] += light.r * amount * alpha_[i];
  green_[i] += light.g * amount * alpha_[i];
  blue_[i] += light.b * amount * alpha_[i];
}

void Canvas::Fill(const Shape& shape, const Paint& paint, double opacity) {
  const int x0 = std::max(0, shape.bounds.x0), y0 = std::max(0, shape.bounds.y0);
  const int x1 = std::min(width_, shape.bounds.x1), y1 = std::min(height_, shape.bounds.y1);
  constexpr double kStep = 1.0 / kSamplesPerSide;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamplesPerSide; ++sy) {
        for (int sx = 0; sx < kSamplesPerSide; ++sx) {
          if (shape.inside(x + (sx + 0.5) * kStep, y + (sy + 0.5) * kStep)) ++hits;
        }
      }
      if (hits == 0) continue;
      const double coverage = static_cast<double>(hits) / (kSamplesPerSide * kSamplesPerSide);
      Blend(x, y, paint(x + 0.5, y + 0.5), coverage * opacity);
    }
  }
}

void Canvas::FillCoverage(const Coverage& coverage, int x, int y, const Paint& paint, double opacity) {
  for (int cy = 0; cy < coverage.height(); ++cy) {
    for (int cx = 0; cx < coverage.width(); ++cx) {
      const double value = coverage.At(cx, cy);
      if (value <= 0) continue;
      Blend(x + cx, y + cy, paint(x + cx + 0.5, y + cy + 0.5), value * opacity);
    }
  }
}

void Canvas::Text(const TextStyle& style, const char* text, int x, int y, Align align) {
  const Coverage ink = TextCoverage(style, text);
  int left = x;
  if (align == Align::Centre) left = x - ink.width() / 2;
  if (align == Align::Right) left = x - ink.width();
  if (style.outline > 0) {
    // The outline needs room around the glyphs before it is dilated.
    const int pad = style.outline;
    Coverage padded(ink.width() + 2 * pad, ink.height() + 2 * pad);
    for (int cy = 0; cy < ink.height(); ++cy) {
      for (int cx = 0; cx < ink.width(); ++cx) padded.Set(cx + pad, cy + pad, ink.At(cx, cy));
    }
    FillCoverage(padded.Dilated(pad), left - pad, y - pad, style.outlineColour, style.outlineOpacity);
  }
  FillCoverage(ink, left, y, style.colour);
}

Canvas Canvas::Crop(int x, int y, int width, int height) const {
  Canvas piece(width, height);
  for (int py = 0; py < height; ++py) {
    for (int px = 0; px < width; ++px) {
      if (x + px < 0 || y + py < 0 || x + px >= width_ || y + py >= height_) continue;
      const size_t from = Index(x + px, y + py), to = piece.Index(px, py);
      piece.red_[to] = red_[from];
      piece.green_[to] = green_[from];
      piece.blue_[to] = blue_[from];
      piece.alpha_[to] = alpha_[from];
    }
  }
  return piece;
}

Rgb Canvas::ColourAt(int x, int y) const {
  const size_t i = Index(x, y);
  if (alpha_[i] <= 0) return {};
  return {red_[i] / alpha_[i], green_[i] / alpha_[i], blue_[i] / alpha_[i]};
}

double Canvas::OpacityAt(int x, int y) const { return alpha_[Index(x, y)]; }

Picture Canvas::OpaquePicture() const {
  Picture picture(width_, height_, 3);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const size_t i = Index(x, y);
      uint8_t* pixel = picture.At(x, y);
      pixel[0] = ToByte(red_[i]);
      pixel[1] = ToByte(green_[i]);
      pixel[2] = ToByte(blue_[i]);
    }
  }
  return picture;
}

Picture Canvas::ColourPicture() const {
  std::vector<Rgb> colours(red_.size());
  std::vector<uint8_t> known(red_.size(), 0);
  size_t unknown = 0;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const size_t i = Index(x, y);
      if (alpha_[i] > kDrawnOpacity) {
        colours[i] = ColourAt(x, y);
        known[i] = 1;
      } else {
        ++unknown;
      }
    }
  }
  // Grow the drawn area one ring of pixels at a time, each new pixel the average of its drawn
  // neighbours, until the picture is full (or nothing was drawn at all).
  while (unknown > 0) {
    std::vector<uint8_t> next = known;
    size_t filled = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const size_t i = Index(x, y);
        if (known[i]) continue;
        Rgb sum;
        int count = 0;
        static constexpr int kNeighbours[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto& offset : kNeighbours) {
          const int nx = x + offset[0], ny = y + offset[1];
          if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_ || !known[Index(nx, ny)]) continue;
          const Rgb& c = colours[Index(nx, ny)];
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
          ++count;
        }
        if (count == 0) continue;
        colours[i] = Scale(sum, 1.0 / count);
        next[i] = 1;
        ++filled;
      }
    }
    if (filled == 0) break;
    known = std::move(next);
    unknown -= filled;
  }
  Picture picture(width_, height_, 3);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Rgb& c = colours[Index(x, y)];
      uint8_t* pixel = picture.At(x, y);
      pixel[0] = ToByte(c.r);
      pixel[1] = ToByte(c.g);
      pixel[2] = ToByte(c.b);
    }
  }
  return picture;
}

Picture Canvas::MaskPicture() const {
  Picture picture(width_, height_, 1);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) *picture.At(x, y) = ToByte(alpha_[Index(x, y)]);
  }
  return picture;
}

Picture Canvas::RgbaPicture() const {
  Picture picture(width_, height_, 4);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const double alpha = alpha_[Index(x, y)];
      if (alpha <= kDrawnOpacity) continue;
      const Rgb c = ColourAt(x, y);
      uint8_t* pixel = picture.At(x, y);
      pixel[0] = ToByte(c.r);
      pixel[1] = ToByte(c.g);
      pixel[2] = ToByte(c.b);
      pixel[3] = ToByte(alpha);
    }
  }
  return picture;
}
