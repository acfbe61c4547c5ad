#include "image.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSamplesPerAxis = 4;  // 16 coverage samples per pixel

uint8_t ToByte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

// Even-odd rule, so a shape's winding does not matter.
bool InsidePolygon(const std::vector<Point2>& points, float x, float y) {
  bool inside = false;
  for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
    const Point2& a = points[i];
    const Point2& b = points[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

}  // namespace

Colour Mix(const Colour& a, const Colour& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Scale(const Colour& c, float factor) { return {c.r * factor, c.g * factor, c.b * factor}; }

Image::Image(int width, int height, const Colour& fill, float alpha)
    : width_(width), height_(height), colour_(static_cast<size_t>(width) * height, fill),
      alpha_(static_cast<size_t>(width) * height, alpha) {}

Colour Image::Get(int x, int y) const { return colour_[Index(x, y)]; }

void Image::Set(int x, int y, const Colour& c, float alpha) {
  if (!Contains(x, y)) return;
  colour_[Index(x, y)] = c;
  alpha_[Index(x, y)] = alpha;
}

void Image::Blend(int x, int y, const Colour& c, float opacity) {
  if (!Contains(x, y) || opacity <= 0) return;
  const size_t i = Index(x, y);
  const float a = alpha_[i];
  const float out = opacity + a * (1 - opacity);
  // Straight alpha: the colour under a transparent pixel does not tint what is laid over it.
  const float keep = out > 0 ? a * (1 - opacity) / out : 0;
  colour_[i] = Mix(c, colour_[i], keep);
  alpha_[i] = out;
}

void Image::Fill(const Colour& c, float alpha) {
  std::fill(colour_.begin(), colour_.end(), c);
  std::fill(alpha_.begin(), alpha_.end(), alpha);
}

void Image::VerticalGradient(const Colour& top, const Colour& bottom) {
  for (int y = 0; y < height_; ++y) {
    const Colour c = Mix(top, bottom, height_ > 1 ? static_cast<float>(y) / (height_ - 1) : 0);
    for (int x = 0; x < width_; ++x) Set(x, y, c);
  }
}

template <typename Inside>
void Image::FillShape(int x0, int y0, int x1, int y1, const Colour& c, float opacity, Inside inside) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
        for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
          const float px = x + (sx + 0.5f) / kSamplesPerAxis;
          const float py = y + (sy + 0.5f) / kSamplesPerAxis;
          if (inside(px, py)) ++hits;
        }
      }
      if (hits > 0) Blend(x, y, c, opacity * hits / (kSamplesPerAxis * kSamplesPerAxis));
    }
  }
}

void Image::FillPolygon(const std::vector<Point2>& points, const Colour& c, float opacity) {
  if (points.size() < 3) return;
  float minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
  for (const Point2& p : points) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  FillShape(static_cast<int>(std::floor(minX)), static_cast<int>(std::floor(minY)),
            static_cast<int>(std::ceil(maxX)), static_cast<int>(std::ceil(maxY)), c, opacity,
            [&points](float x, float y) { return InsidePolygon(points, x, y); });
}

void Image::FillRect(float x, float y, float w, float h, const Colour& c, float opacity) {
  FillPolygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, c, opacity);
}

void Image::FillEllipse(float cx, float cy, float rx, float ry, const Colour& c, float opacity) {
  if (rx <= 0 || ry <= 0) return;
  FillShape(static_cast<int>(std::floor(cx - rx)), static_cast<int>(std::floor(cy - ry)),
            static_cast<int>(std::ceil(cx + rx)), static_cast<int>(std::ceil(cy + ry)), c, opacity,
            [=](float x, float y) {
              const float dx = (x - cx) / rx;
              const float dy = (y - cy) / ry;
              return dx * dx + dy * dy <= 1.0f;
            });
}

void Image::DrawLine(float x0, float y0, float x1, float y1, float width, const Colour& c, float opacity) {
  const float dx = x1 - x0;
  const float dy = y1 - y0;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (length <= 0) return;
  // Half the width across the line and half along it, so the ends are square.
  const float nx = -dy / length * width / 2;
  const float ny = dx / length * width / 2;
  const float ex = dx / length * width / 2;
  const float ey = dy / length * width / 2;
  FillPolygon({{x0 + nx - ex, y0 + ny - ey},
               {x1 + nx + ex, y1 + ny + ey},
               {x1 - nx + ex, y1 - ny + ey},
               {x0 - nx - ex, y0 - ny - ey}},
              c, opacity);
}

void Image::StrokeRect(float x, float y, float w, float h, float width, const Colour& c, float opacity) {
  FillRect(x, y, w, width, c, opacity);
  FillRect(x, y + h - width, w, width, c, opacity);
  FillRect(x, y + width, width, h - 2 * width, c, opacity);
  FillRect(x + w - width, y + width, width, h - 2 * width, c, opacity);
}

void Image::Composite(const Image& source, int x, int y) {
  for (int sy = 0; sy < source.height_; ++sy) {
    for (int sx = 0; sx < source.width_; ++sx) {
      Blend(x + sx, y + sy, source.Get(sx, sy), source.Alpha(sx, sy));
    }
  }
}

Image Image::Downsample(int factor) const {
  Image out(width_ / factor, height_ / factor, {}, 0.0f);
  const float count = static_cast<float>(factor * factor);
  for (int y = 0; y < out.height_; ++y) {
    for (int x = 0; x < out.width_; ++x) {
      Colour sum;
      float alphaSum = 0;
      for (int sy = 0; sy < factor; ++sy) {
        for (int sx = 0; sx < factor; ++sx) {
          const size_t i = Index(x * factor + sx, y * factor + sy);
          const float a = alpha_[i];
          sum.r += colour_[i].r * a;
          sum.g += colour_[i].g * a;
          sum.b += colour_[i].b * a;
          alphaSum += a;
        }
      }
      if (alphaSum > 0) out.Set(x, y, Scale(sum, 1 / alphaSum), alphaSum / count);
    }
  }
  return out;
}

void Image::Tint(const Colour& c, float t) {
  for (Colour& pixel : colour_) pixel = Mix(pixel, c, t);
}

Picture Image::ToColourPicture() const {
  Picture picture(width_, height_, 3);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Colour& c = colour_[Index(x, y)];
      uint8_t* p = picture.At(x, y);
      p[0] = ToByte(c.r);
      p[1] = ToByte(c.g);
      p[2] = ToByte(c.b);
    }
  }
  return picture;
}

Picture Image::ToAlphaPicture() const {
  Picture picture(width_, height_, 1);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) *picture.At(x, y) = ToByte(alpha_[Index(x, y)]);
  }
  return picture;
}

Picture Image::ToCheckerPreview() const {
  Image board(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) board.Set(x, y, ((x / 8 + y / 8) & 1) ? Rgb(200, 60, 200) : Rgb(90, 90, 90));
  }
  board.Composite(*this, 0, 0);
  return board.ToColourPicture();
}

Image ImageFromPicture(const Picture& picture) {
  Image image(picture.width, picture.height);
  for (uint32_t y = 0; y < picture.height; ++y) {
    for (uint32_t x = 0; x < picture.width; ++x) {
      const uint8_t* p = picture.At(x, y);
      const bool grey = picture.components == 1;
      image.Set(x, y, Rgb(p[0], grey ? p[0] : p[1], grey ? p[0] : p[2]));
    }
  }
  return image;
}
