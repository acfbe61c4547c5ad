#include "scenery.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double SmoothStep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// A point of the picture in the helicopter's own frame (nose towards +x, up towards -y, the
// whole machine about 200 units from tail rotor to nose).
struct LocalFrame {
  double cx, cy, scale, cosPitch, sinPitch;
  int facing;

  void ToLocal(double x, double y, double* lx, double* ly) const {
    const double dx = (x - cx) / scale, dy = (y - cy) / scale;
    const double rx = dx * cosPitch + dy * sinPitch;
    const double ry = -dx * sinPitch + dy * cosPitch;
    *lx = rx * facing;
    *ly = ry;
  }
};

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
  const double dx = (x - cx) / rx, dy = (y - cy) / ry;
  return dx * dx + dy * dy <= 1;
}

bool InRect(double x, double y, double x0, double y0, double x1, double y1) {
  return x >= x0 && x < x1 && y >= y0 && y < y1;
}

bool InStroke(double x, double y, double x0, double y0, double x1, double y1, double halfWidth) {
  const double dx = x1 - x0, dy = y1 - y0;
  double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
  t = std::clamp(t, 0.0, 1.0);
  const double px = x0 + t * dx - x, py = y0 + t * dy - y;
  return px * px + py * py <= halfWidth * halfWidth;
}

bool InQuad(double x, double y, const double (&q)[8]) {
  bool inside = false;
  for (int i = 0, j = 3; i < 4; j = i++) {
    const double xi = q[2 * i], yi = q[2 * i + 1], xj = q[2 * j], yj = q[2 * j + 1];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

// The solid parts of the helicopter in its own frame.
bool InHelicopterBody(double x, double y, bool stubWings) {
  static constexpr double kBoom[8] = {-24, -9, -96, -6, -96, -1, -24, 6};
  static constexpr double kFin[8] = {-84, -5, -99, -27, -92, -28, -77, -5};
  static constexpr double kWing[8] = {-10, 3, 12, 3, 14, 7, -12, 7};
  if (InEllipse(x, y, 0, 0, 32, 13)) return true;                // cabin
  if (InEllipse(x, y, 24, 3, 16, 9)) return true;                // nose
  if (InEllipse(x, y, 15, -5, 14, 8.5)) return true;             // canopy
  if (InRect(x, y, -20, -17, 10, -8) && InEllipse(x, y, -5, -8, 17, 10)) return true;  // engine hump
  if (InQuad(x, y, kBoom) || InQuad(x, y, kFin)) return true;
  if (InRect(x, y, -84, -3, -70, 0)) return true;                // tail plane
  if (InRect(x, y, -2.5, -23, 2.5, -14)) return true;            // mast
  if (InEllipse(x, y, 0, -23, 6, 2.5)) return true;              // hub
  if (stubWings) {
    if (InQuad(x, y, kWing)) return true;
    if (InEllipse(x, y, 2, 10, 10, 3.4)) return true;            // rocket pod
    if (InStroke(x, y, 34, 10, 40, 12, 1.6)) return true;        // nose gun
    if (InStroke(x, y, -18, 12, -20, 18, 1.2) || InStroke(x, y, 14, 12, 16, 18, 1.2)) return true;  // wheels' legs
    if (InEllipse(x, y, -20, 18.5, 2.6, 2.6) || InEllipse(x, y, 16, 18.5, 2.6, 2.6)) return true;
  } else {
    if (InStroke(x, y, -24, 20, 24, 20, 1.3) || InStroke(x, y, 24, 20, 30, 16, 1.3)) return true;  // skid
    if (InStroke(x, y, -12, 11, -14, 20, 1.2) || InStroke(x, y, 12, 11, 14, 20, 1.2)) return true;  // struts
  }
  return false;
}

// The spinning rotors, drawn translucent: the main disc seen edge on and the tail rotor disc.
// The glazed part of the canopy, a little lighter than the body.
bool InGlass(double x, double y) { return InEllipse(x, y, 16, -5, 11, 6.5) && y < -1 && x > 8; }

bool InRotorBlur(double x, double y) {
  return InEllipse(x, y, 0, -24, 86, 3.2) || InEllipse(x, y, -96, -17, 11, 11);
}

bool InBlades(double x, double y) {
  return InStroke(x, y, -84, -23.5, 84, -24.5, 0.9) || InStroke(x, y, -96, -27, -96, -7, 0.9);
}

}  // namespace

void PaintSky(Canvas& canvas, const std::vector<SkyStop>& stops) {
  const Paint paint = [&stops](double, double y) {
    if (y <= stops.front().y) return stops.front().colour;
    for (size_t i = 1; i < stops.size(); ++i) {
      if (y <= stops[i].y) {
        const double t = (y - stops[i - 1].y) / (stops[i].y - stops[i - 1].y);
        return Mix(stops[i - 1].colour, stops[i].colour, SmoothStep(0, 1, t));
      }
    }
    return stops.back().colour;
  };
  canvas.Fill(RectShape(0, 0, canvas.width(), canvas.height()), paint);
}

void PaintSun(Canvas& canvas, double cx, double cy, double radius, Rgb colour, double glowRadius, double glow) {
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      const double falloff = std::exp(-(d * d) / (glowRadius * glowRadius));
      canvas.AddLight(x, y, colour, glow * falloff);
    }
  }
  canvas.Fill(CircleShape(cx, cy, radius), colour);
}

void PaintClouds(Canvas& canvas, double y0, double y1, double threshold, Rgb lit, Rgb shade, double opacity,
                 uint32_t seed) {
  for (int y = std::max(0, static_cast<int>(y0)); y < std::min<int>(canvas.height(), static_cast<int>(y1)); ++y) {
    const double band = std::sin((y - y0) / (y1 - y0) * kPi);  // thinning out at the band's edges
    for (int x = 0; x < canvas.width(); ++x) {
      const double n = FractalNoise(x / 70.0, y / 16.0, 5, seed);
      const double cover = SmoothStep(threshold, threshold + 0.18, n * (0.6 + 0.4 * band));
      if (cover <= 0) continue;
      // Lit from above: the upper, denser part of a cloud is brighter.
      const double light = SmoothStep(threshold, threshold + 0.3, FractalNoise(x / 70.0, (y - 3) / 16.0, 5, seed));
      canvas.Blend(x, y, Mix(shade, lit, light), cover * opacity);
    }
  }
}

double HillRidge(double x, double baseY, double amplitude, double wavelength, uint32_t seed) {
  return baseY - amplitude * (FractalNoise(x / wavelength, 0.5, 4, seed) - 0.5) * 2.0;
}

void PaintHills(Canvas& canvas, double baseY, double amplitude, double wavelength, Rgb top, Rgb bottom,
                uint32_t seed) {
  Shape hills{{0, static_cast<int>(baseY - amplitude * 1.2) - 1, canvas.width(), canvas.height()},
              [=](double x, double y) { return y >= HillRidge(x, baseY, amplitude, wavelength, seed); }};
  const double y0 = baseY - amplitude;
  canvas.Fill(hills, [=](double x, double y) {
    const Rgb shade = Mix(top, bottom, std::clamp((y - y0) / (canvas.height() - y0), 0.0, 1.0));
    // A little texture: scrub and rock as noise darkening.
    const double n = FractalNoise(x / 9.0, y / 5.0, 3, seed + 17);
    return Scale(shade, 0.9 + 0.2 * n);
  });
}

void PaintPuff(Canvas& canvas, double cx, double cy, double radius, Rgb colour, double opacity, uint32_t seed) {
  const int x0 = static_cast<int>(cx - radius) - 1, x1 = static_cast<int>(cx + radius) + 2;
  const int y0 = static_cast<int>(cy - radius) - 1, y1 = static_cast<int>(cy + radius) + 2;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
      if (d >= 1) continue;
      const double n = FractalNoise(x / (radius * 0.6), y / (radius * 0.6), 3, seed);
      const double a = 1 - SmoothStep(0.35, 1.0, d + (n - 0.5) * 0.5);
      // Lit from the top left.
      const double light = std::clamp(0.5 - ((x - cx) + (y - cy)) / (radius * 3), 0.0, 1.0);
      canvas.Blend(x, y, Scale(colour, 0.8 + 0.4 * light), a * opacity);
    }
  }
}

void PaintSmokeColumn(Canvas& canvas, double x, double groundY, double height, double drift, double width,
                      Rgb dark, Rgb light, double opacity, uint32_t seed) {
  RandomSequence random(seed);
  constexpr int kPuffs = 26;
  for (int i = kPuffs - 1; i >= 0; --i) {
    const double t = static_cast<double>(i) / (kPuffs - 1);
    const double px = x + drift * t * t + random.NextSigned() * width * 0.25;
    const double py = groundY - height * t;
    const double radius = width * (0.35 + 0.9 * t) * (0.8 + 0.3 * random.NextUnit());
    PaintPuff(canvas, px, py, radius, Mix(dark, light, t), opacity * (1 - 0.75 * t), seed + i * 31);
  }
}

void PaintGlow(Canvas& canvas, double cx, double cy, double radius, Rgb colour, double strength) {
  const int x0 = static_cast<int>(cx - radius * 2), x1 = static_cast<int>(cx + radius * 2) + 1;
  const int y0 = static_cast<int>(cy - radius * 2), y1 = static_cast<int>(cy + radius * 2) + 1;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
      canvas.AddLight(x, y, colour, strength * std::exp(-d * d * 1.5));
    }
  }
}

void PaintHelicopter(Canvas& canvas, const HelicopterPose& pose, Rgb body, double opacity) {
  const double scale = pose.size / 200.0;
  const double angle = pose.pitch * pose.facing * kPi / 180.0;
  const LocalFrame frame{pose.x, pose.y, scale, std::cos(angle), std::sin(angle), pose.facing};
  const double reach = 105 * scale;
  const Bounds bounds{static_cast<int>(pose.x - reach) - 2, static_cast<int>(pose.y - reach) - 2,
                      static_cast<int>(pose.x + reach) + 3, static_cast<int>(pose.y + reach) + 3};
  const bool stubWings = pose.stubWings;
  canvas.Fill(Shape{bounds, [frame](double x, double y) {
                      double lx, ly;
                      frame.ToLocal(x, y, &lx, &ly);
                      return InRotorBlur(lx, ly);
                    }},
              body, 0.3 * opacity);
  canvas.Fill(Shape{bounds, [frame](double x, double y) {
                      double lx, ly;
                      frame.ToLocal(x, y, &lx, &ly);
                      return InBlades(lx, ly);
                    }},
              body, 0.75 * opacity);
  canvas.Fill(Shape{bounds, [frame, stubWings](double x, double y) {
                      double lx, ly;
                      frame.ToLocal(x, y, &lx, &ly);
                      return InHelicopterBody(lx, ly, stubWings);
                    }},
              body, opacity);
  canvas.Fill(Shape{bounds, [frame](double x, double y) {
                      double lx, ly;
                      frame.ToLocal(x, y, &lx, &ly);
                      return InGlass(lx, ly);
                    }},
              Mix(body, RgbBytes(150, 170, 190), 0.22), opacity);
}

void PaintRocketTrail(Canvas& canvas, double x0, double y0, double x1, double y1, uint32_t seed) {
  const double length = std::hypot(x1 - x0, y1 - y0);
  const double nx = -(y1 - y0) / length, ny = (x1 - x0) / length;  // across the trail
  const int steps = std::max(2, static_cast<int>(length / 2.5));
  for (int i = 0; i < steps; ++i) {
    const double t = static_cast<double>(i) / (steps - 1);  // 0 at the launcher, 1 at the rocket
    // Older smoke (near the launcher) has spread, thinned out and started to drift.
    const double age = 1 - t;
    const double wander = (ValueNoise(t * 6, 0.5, seed) - 0.5) * 10 * age;
    const double x = x0 + (x1 - x0) * t + nx * wander, y = y0 + (y1 - y0) * t + ny * wander;
    PaintPuff(canvas, x, y, 1.8 + 6.5 * age, RgbBytes(168, 164, 158), 0.5 - 0.38 * age, seed + i);
  }
  PaintGlow(canvas, x1, y1, 4, RgbBytes(255, 170, 60), 1.2);
  canvas.Fill(CircleShape(x1, y1, 1.4), RgbBytes(255, 240, 200));
}
