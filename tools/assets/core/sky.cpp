// The sky backdrops. The picture is stored transposed: picture row r is the view direction r
// quarter degrees (0..719), picture column c the screen rows 2c and 2c + 1 (column 80 starts at
// the horizon). Directions 720..1439 show row 1439 - r, so the backdrop is the picture followed
// by its mirror image. Every feature that varies along the rows comes from value noise whose
// lattice has points at both mirror lines (r + 0.5 = 0 and 720) and whose blend is flat there,
// or is symmetric about a mirror line (the sun): the mirrored halves then join without a crease.
#include <algorithm>
#include <cmath>

#include "landscape.h"
#include "noise.h"

namespace {

constexpr int kColumns = 160;
constexpr int kRows = 720;
constexpr int kHorizonColumn = 80;

struct SkyStyle {
  Colour zenith;
  Colour horizon;
  Colour belowHorizon;  // haze where the landscape's drawing distance ends
  Colour ground;        // farther below the horizon
  float cloudCover;     // 0..1
  Colour cloudLight;
  Colour cloudShade;
  float sunRow;  // a mirror line: 719.5 or -0.5
  float sunElevation;
  Colour sunGlow;
  bool distantMesas;
  Colour mesaColour;
};

float SunElevation(LandscapeStyle style) { return std::asin(SunOf(style).y) * 180 / 3.14159265f; }

SkyStyle StyleOf(LandscapeStyle style) {
  if (style == LandscapeStyle::kIslands) {
    return {Rgb(58, 112, 196), Rgb(200, 222, 238), Rgb(110, 150, 182), Rgb(26, 86, 146), 0.55f,
            Rgb(252, 252, 250), Rgb(184, 194, 212), 719.5f, SunElevation(style), Rgb(255, 250, 222), false, {}};
  }
  return {Rgb(64, 114, 186), Rgb(236, 214, 182), Rgb(214, 176, 136), Rgb(180, 126, 88), 0.18f,
          Rgb(252, 240, 226), Rgb(206, 182, 170), -0.5f, SunElevation(style), Rgb(255, 236, 196), true, Rgb(178, 136, 128)};
}

// Elevation in degrees of the middle of a picture column: a column is two screen rows and a
// screen row a quarter degree.
float Elevation(int column) { return (2 * (kHorizonColumn - column) - 1) * 0.25f; }

// Layers of value noise along the direction (cells that divide the 720 rows) and across it.
float MirrorSafeFbm(float row, float across, int baseCells, int octaves, uint32_t seed) {
  float sum = 0, amplitude = 1, total = 0;
  int cells = baseCells;
  for (int octave = 0; octave < octaves; ++octave) {
    const float x = (row + 0.5f) * cells / kRows;
    sum += amplitude * ValueNoise(x, across * cells / 8.0f, cells, 1 << 20, seed + octave * 31);
    total += amplitude;
    amplitude *= 0.5f;
    cells *= 2;
  }
  return sum / total;
}

}  // namespace

Colour HorizonHaze(LandscapeStyle style) { return StyleOf(style).horizon; }

Image GenerateSky(LandscapeStyle landscapeStyle, uint32_t seed) {
  const SkyStyle style = StyleOf(landscapeStyle);
  Image sky(kColumns, kRows);
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const float elevation = Elevation(column);
      Colour c;
      if (elevation >= 0) {
        c = Mix(style.horizon, style.zenith, std::pow(std::min(1.0f, elevation / 40.0f), 0.55f));
        // Sun glow, round about the mirror line it sits on.
        const float dRow = (row - style.sunRow) * 0.25f;  // degrees
        const float dElevation = elevation - style.sunElevation;
        const float distance = std::sqrt(dRow * dRow + dElevation * dElevation);
        c = Mix(c, style.sunGlow, 0.6f * std::exp(-distance / 12.0f));
        c = Mix(c, Rgb(255, 255, 246), SmoothStep(3.2f, 2.4f, distance));
        // Fair-weather clouds on a layer 1500 m up: farther ones (lower in the sky) come out
        // smaller and flatter. Brighter where the cloud thins out above (its sunlit top).
        if (elevation > 0.5f) {
          const auto density = [&](float degreesUp) {
            const float distanceOut = 1.5f / std::tan(degreesUp * 3.14159265f / 180);  // km
            return MirrorSafeFbm(static_cast<float>(row), distanceOut / 3, 6, 4, seed) *
                   SmoothStep(40.0f, 10.0f, distanceOut);
          };
          const float here = density(elevation);
          const float body = SmoothStep(0.62f - 0.2f * style.cloudCover, 0.75f - 0.2f * style.cloudCover, here);
          if (body > 0) {
            const float above = density(std::min(elevation + 1.5f, 45.0f));
            const float lit = std::clamp(0.55f + 6 * (here - above), 0.0f, 1.0f);
            c = Mix(c, Mix(style.cloudShade, style.cloudLight, lit), 0.92f * body);
          }
        }
        if (style.distantMesas) {
          // A far rim of flat-topped mesas just above the horizon.
          const float rim = MirrorSafeFbm(static_cast<float>(row), 0.5f, 12, 2, seed + 13);
          const float tall = MirrorSafeFbm(static_cast<float>(row), 2.5f, 24, 2, seed + 17);
          const float top = (0.8f + 2.2f * tall) * SmoothStep(0.5f, 0.55f, rim) + 0.6f * SmoothStep(0.64f, 0.68f, rim);
          // Paler toward their tops, as haze thickens over distance.
          if (elevation < top) c = Mix(c, style.mesaColour, 0.3f + 0.25f * (1 - elevation / std::max(top, 0.1f)));
        }
      } else {
        c = Mix(style.belowHorizon, style.ground, SmoothStep(0.0f, 6.0f, -elevation));
      }
      sky.Set(column, row, c);
    }
  }
  return sky;
}
