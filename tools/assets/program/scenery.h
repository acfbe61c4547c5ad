// Procedural scenery for the title art and the slides: skies, sun, clouds, hills, smoke and
// helicopter silhouettes, all painted onto a Canvas in pixel coordinates.
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

// A vertical gradient through several colours; stops are (y, colour) with increasing y.
struct SkyStop {
  double y;
  Rgb colour;
};
void PaintSky(Canvas& canvas, const std::vector<SkyStop>& stops);

// A sun disc with a wide glow added on top of what is there.
void PaintSun(Canvas& canvas, double cx, double cy, double radius, Rgb colour, double glowRadius, double glow);

// Soft cloud banks between y0 and y1: fractal noise above a threshold (higher = fewer clouds).
void PaintClouds(Canvas& canvas, double y0, double y1, double threshold, Rgb lit, Rgb shade, double opacity,
                 uint32_t seed);

// A range of hills: everything below a noisy ridge line at about baseY, amplitude pixels high,
// with features `wavelength` pixels apart, shaded from `top` at the ridge to `bottom`.
void PaintHills(Canvas& canvas, double baseY, double amplitude, double wavelength, Rgb top, Rgb bottom,
                uint32_t seed);
// The ridge height of PaintHills at x (for placing things on the hills).
double HillRidge(double x, double baseY, double amplitude, double wavelength, uint32_t seed);

// One soft, noisy puff of smoke or cloud.
void PaintPuff(Canvas& canvas, double cx, double cy, double radius, Rgb colour, double opacity, uint32_t seed);
// A column of smoke rising from (x, groundY) for `height` pixels, drifting sideways by `drift`.
void PaintSmokeColumn(Canvas& canvas, double x, double groundY, double height, double drift, double width,
                      Rgb dark, Rgb light, double opacity, uint32_t seed);
// A fireball glow: light added in a soft disc.
void PaintGlow(Canvas& canvas, double cx, double cy, double radius, Rgb colour, double strength);

// A helicopter seen from the side: nose towards +x when facing is 1, -x when -1. size is the
// length from the tail rotor to the nose in pixels; pitch in degrees, positive noses down.
struct HelicopterPose {
  double x = 0;  // centre of the cabin
  double y = 0;
  double size = 100;
  int facing = 1;
  double pitch = 0;
  bool stubWings = true;  // an attack helicopter with rocket pods; else skids and a cabin door
};
void PaintHelicopter(Canvas& canvas, const HelicopterPose& pose, Rgb body, double opacity = 1.0);

// A rocket's trail: a fading line of smoke from (x0, y0) to the rocket at (x1, y1) and its flame.
void PaintRocketTrail(Canvas& canvas, double x0, double y0, double x1, double y1, uint32_t seed);
