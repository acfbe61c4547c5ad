// The particle sprites of the game world (300-302, all 64 x 64): one soft, ragged puff shape
// (mask 300) shared by the explosion's fireball colours (301) and the rocket trail's grey smoke
// (302). The puff fades to nothing well inside the square, so a billboard never shows its edge.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "picture_set.h"

namespace {

constexpr int kSize = 64;
constexpr double kCentre = kSize / 2.0;
constexpr double kRadius = 29;  // the puff ends 3 pixels inside the sprite

double SmoothStep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Distance from the centre, 0..1 at the rim, roughened by noise so the puff is not a disc.
double PuffDistance(int x, int y) {
  const double dx = x + 0.5 - kCentre, dy = y + 0.5 - kCentre;
  const double angle = std::atan2(dy, dx);
  // Lobes around the rim: noise sampled on a circle so that it closes on itself.
  const double lobes = FractalNoise(3 + 2.2 * std::cos(angle), 3 + 2.2 * std::sin(angle), 3, 301);
  const double grain = FractalNoise(x / 7.0, y / 7.0, 3, 302);
  return std::hypot(dx, dy) / kRadius * (0.82 + 0.32 * lobes) + (grain - 0.5) * 0.18;
}

Rgb Ramp(const Rgb* colours, const double* positions, int count, double t) {
  if (t <= positions[0]) return colours[0];
  for (int i = 1; i < count; ++i) {
    if (t <= positions[i]) return Mix(colours[i - 1], colours[i], (t - positions[i - 1]) / (positions[i] - positions[i - 1]));
  }
  return colours[count - 1];
}

}  // namespace

void AddEffectPictures(PictureSet& set) {
  const PictureGroup group = PictureGroup::Effects;
  Canvas mask(kSize, kSize);
  Canvas fire(kSize, kSize);
  Canvas smoke(kSize, kSize);
  const Rgb fireColours[] = {RgbBytes(255, 250, 220), RgbBytes(255, 214, 90), RgbBytes(250, 130, 30),
                             RgbBytes(170, 60, 20), RgbBytes(70, 58, 50)};
  const double firePositions[] = {0.0, 0.22, 0.45, 0.68, 0.95};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double d = PuffDistance(x, y);
      const double alpha = d >= 1 ? 0.0 : 1 - SmoothStep(0.55, 1.0, d);
      mask.Blend(x, y, {1, 1, 1}, alpha * 0.95);
      // Billows: brighter and darker swirls inside both puffs.
      const double billow = FractalNoise(x / 9.0, y / 9.0, 4, 303);
      fire.Blend(x, y, Ramp(fireColours, firePositions, 5, std::clamp(d * 0.9 + (billow - 0.5) * 0.35, 0.0, 1.0)), 1.0);
      // Smoke is lit from above and the left, and darker towards its rim.
      const double light = std::clamp(0.55 - ((x - kCentre) + (y - kCentre)) / (kSize * 1.2), 0.0, 1.0);
      const double grey = 0.42 + 0.28 * light + 0.22 * (billow - 0.5) - 0.12 * std::clamp(d, 0.0, 1.0);
      smoke.Blend(x, y, {grey, grey, grey}, 1.0);  // neutral: no tint for 4-bit channels to skew
    }
  }
  set.AddSharedMask(300, group, "puff mask", mask);
  set.AddSharingMask(301, 300, group, "explosion", fire);
  set.AddSharingMask(302, 300, group, "smoke", smoke);
}
