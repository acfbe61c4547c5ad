#include "materials.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace {

// 1 inside the box [x0, x1] x [y0, y1], falling off over `edge` outside (a soft-edged shape
// that still reads on a 16-texel tile).
float Box(float u, float v, float x0, float y0, float x1, float y1, float edge = 0.02f) {
  const float dx = std::max(x0 - u, u - x1);
  const float dy = std::max(y0 - v, v - y1);
  return 1 - SmoothStep(0, edge, std::max(dx, dy));
}

float Stripes(float t, float period, float width) {
  const float f = t / period - std::floor(t / period);
  return f < width ? 1.0f : 0.0f;
}

Colour Camouflage(float u, float v, const Colour& base, const Colour& second, const Colour& third, uint32_t seed) {
  const float a = ValueNoise(u * 3, v * 3, 3, 3, seed);
  const float b = ValueNoise(u * 4 + 7, v * 4, 4, 4, seed + 1);
  Colour c = base;
  if (a > 0.58f) c = second;
  if (b > 0.66f) c = third;
  return c;
}

Colour Grain(const Colour& c, float u, float v, float amount, uint32_t seed) {
  return Scale(c, 1 + amount * (ValueNoise(u * 8, v * 8, 8, 8, seed) - 0.5f));
}

}  // namespace

Colour Paint(Material material, float u, float v) {
  switch (material) {
    case Material::kConcrete:
      return Grain(Rgb(170, 168, 160), u, v, 0.12f, 1);
    case Material::kCorrugated:
      // Vertical ribs of a steel shed.
      return Mix(Rgb(122, 138, 120), Rgb(92, 106, 92), Stripes(u, 1.0f / 7, 0.3f));
    case Material::kHangarDoor: {
      Colour c = Mix(Rgb(112, 126, 112), Rgb(86, 98, 86), Stripes(u, 0.25f, 0.06f));
      c = Mix(c, Rgb(60, 66, 60), Box(u, v, 0.05f, 0.0f, 0.95f, 0.06f));
      return Mix(c, Rgb(232, 196, 60), Box(u, v, 0.0f, 0.9f, 1.0f, 1.0f) * Stripes(u + v, 0.16f, 0.5f));
    }
    case Material::kWallWindow: {
      const Colour wall = Grain(Rgb(226, 218, 196), u, v, 0.08f, 2);
      Colour c = Mix(wall, Rgb(96, 70, 48), Box(u, v, 0.3f, 0.3f, 0.7f, 0.75f));  // frame
      c = Mix(c, Rgb(60, 84, 110), Box(u, v, 0.36f, 0.36f, 0.64f, 0.69f));          // glass
      return Mix(c, Rgb(150, 176, 196), Box(u, v, 0.38f, 0.55f, 0.48f, 0.67f));   // reflection
    }
    case Material::kWallDoor: {
      const Colour wall = Grain(Rgb(226, 218, 196), u, v, 0.08f, 3);
      Colour c = Mix(wall, Rgb(110, 68, 40), Box(u, v, 0.35f, 0.0f, 0.65f, 0.7f));
      return Mix(c, Rgb(80, 50, 30), Box(u, v, 0.37f, 0.0f, 0.63f, 0.68f) * Stripes(u, 0.1f, 0.2f));
    }
    case Material::kWallPlain:
      return Grain(Rgb(226, 218, 196), u, v, 0.08f, 17);
    case Material::kRoofTiles: {
      const float row = std::floor(v * 5);
      const float shift = std::fmod(row, 2.0f) * 0.1f;
      Colour c = Mix(Rgb(176, 72, 48), Rgb(150, 58, 40), Stripes(u + shift, 0.2f, 0.12f));
      return Mix(c, Rgb(110, 44, 32), Stripes(v, 0.2f, 0.18f));
    }
    case Material::kBrick: {
      const float row = std::floor(v * 6);
      const float shift = std::fmod(row, 2.0f) * 0.17f;
      const Colour c = Grain(Rgb(150, 80, 60), u, v, 0.15f, 4);
      return Mix(c, Rgb(190, 180, 170), std::max(Stripes(v, 1.0f / 6, 0.15f), Stripes(u + shift, 1.0f / 3, 0.08f)));
    }
    case Material::kRadarCabin: {
      const Colour c = Grain(Rgb(150, 156, 150), u, v, 0.08f, 5);
      return Mix(c, Rgb(40, 56, 70), Box(u, v, 0.1f, 0.55f, 0.9f, 0.8f));
    }
    case Material::kWarningStripes:
      return Stripes(u + v, 0.5f, 0.5f) > 0 ? Rgb(214, 52, 40) : Rgb(236, 232, 224);
    case Material::kDishFace: {
      const float r = std::hypot(u - 0.5f, v - 0.5f) * 2;
      Colour c = Mix(Rgb(236, 238, 232), Rgb(196, 200, 196), Stripes(r, 0.25f, 0.15f));
      return Mix(c, Rgb(60, 60, 64), 1 - SmoothStep(0.12f, 0.18f, r));
    }
    case Material::kMetalGrey:
      return Grain(Rgb(140, 144, 146), u, v, 0.1f, 6);
    case Material::kMetalDark:
      return Grain(Rgb(66, 68, 70), u, v, 0.12f, 7);
    case Material::kOliveDrab:
      return Grain(Mix(Rgb(104, 112, 64), Rgb(84, 92, 52), Stripes(v, 0.5f, 0.04f)), u, v, 0.12f, 8);
    case Material::kTrack: {
      const Colour c = Mix(Rgb(52, 50, 48), Rgb(96, 92, 86), Stripes(v, 1.0f / 6, 0.3f));
      return Mix(c, Rgb(80, 78, 74), Box(u, v, 0.42f, 0.0f, 0.58f, 1.0f));
    }
    case Material::kTyre:
      return Mix(Rgb(38, 38, 40), Rgb(58, 58, 60), Stripes(u, 1.0f / 8, 0.35f));
    case Material::kTruckCab: {
      const Colour c = Grain(Rgb(98, 112, 74), u, v, 0.08f, 9);
      return Mix(c, Rgb(48, 66, 80), Box(u, v, 0.2f, 0.55f, 0.8f, 0.88f));
    }
    case Material::kWindscreen: {
      Colour c = Grain(Rgb(98, 112, 74), u, v, 0.08f, 10);
      c = Mix(c, Rgb(44, 62, 78), Box(u, v, 0.08f, 0.5f, 0.92f, 0.9f));
      c = Mix(c, Rgb(230, 226, 180), Box(u, v, 0.08f, 0.15f, 0.22f, 0.28f));  // headlights
      return Mix(c, Rgb(230, 226, 180), Box(u, v, 0.78f, 0.15f, 0.92f, 0.28f));
    }
    case Material::kCanvas:
      return Grain(Mix(Rgb(140, 134, 96), Rgb(120, 114, 80), Stripes(u, 0.25f, 0.08f)), u, v, 0.1f, 11);
    case Material::kDesertCamo:
      return Camouflage(u, v, Rgb(186, 160, 112), Rgb(132, 104, 70), Rgb(92, 84, 62), 12);
    case Material::kScoutPaint: {
      // On a body u runs round it from the right side over the top: lighter above, a yellow
      // cheat line along both sides.
      const float up = std::sin(u * 6.2831853f);
      const Colour c = Mix(Rgb(52, 74, 108), Rgb(150, 170, 196), 0.5f + 0.5f * up);
      return Mix(c, Rgb(236, 200, 60), 1 - SmoothStep(0.1f, 0.16f, std::fabs(up)));
    }
    case Material::kGunshipPaint:
      return Camouflage(u, v, Rgb(84, 98, 66), Rgb(58, 70, 48), Rgb(110, 116, 84), 13);
    case Material::kTransportPaint: {
      // Grey with a red cheat line along both sides and a row of windows above it.
      const float up = std::sin(u * 6.2831853f);
      Colour c = Grain(Mix(Rgb(120, 126, 118), Rgb(172, 178, 170), 0.5f + 0.5f * up), u, v, 0.06f, 14);
      c = Mix(c, Rgb(200, 60, 48), 1 - SmoothStep(0.08f, 0.13f, std::fabs(up)));
      const bool window = up > 0.2f && up < 0.42f && std::fmod(v * 14, 1.0f) < 0.45f;
      return window ? Rgb(40, 54, 70) : c;
    }
    case Material::kGlass: {
      const Colour c = Mix(Rgb(30, 44, 60), Rgb(110, 150, 180), SmoothStep(0.2f, 1.0f, v));
      return Mix(c, Rgb(220, 236, 244), Box(u, v, 0.2f, 0.6f, 0.35f, 0.9f, 0.05f) * 0.6f);
    }
    case Material::kRotor:
      return Mix(Rgb(44, 44, 46), Rgb(210, 200, 60), Box(u, v, 0.9f, 0.0f, 1.0f, 1.0f, 0.01f));
    case Material::kRocketPod: {
      const Colour c = Grain(Rgb(92, 100, 82), u, v, 0.1f, 15);
      return Mix(c, Rgb(40, 40, 40), Stripes(v, 0.5f, 0.08f));
    }
    case Material::kMissile: {
      Colour c = Rgb(226, 226, 218);
      c = Mix(c, Rgb(60, 62, 64), Box(u, v, 0.0f, 0.85f, 1.0f, 1.0f, 0.01f));
      return Mix(c, Rgb(220, 170, 40), Box(u, v, 0.0f, 0.7f, 1.0f, 0.76f, 0.01f));
    }
    case Material::kDrumRed: {
      const Colour c = Grain(Rgb(186, 40, 32), u, v, 0.1f, 16);
      return Mix(c, Rgb(120, 26, 22), std::max(Stripes(v + 0.05f, 1.0f / 3, 0.1f), Stripes(v, 0.98f, 0.03f)));
    }
    case Material::kDrumTop: {
      const float r = std::hypot(u - 0.5f, v - 0.5f) * 2;
      const Colour c = Mix(Rgb(170, 44, 36), Rgb(120, 30, 26), SmoothStep(0.8f, 0.95f, r));
      return Mix(c, Rgb(200, 200, 190), 1 - SmoothStep(0.14f, 0.2f, std::hypot(u - 0.7f, v - 0.5f) * 2));
    }
    case Material::kPallet:
      return Mix(Rgb(168, 128, 82), Rgb(112, 82, 50), Stripes(u, 0.25f, 0.12f));
    case Material::kSkin:
      return Rgb(214, 168, 132);
    case Material::kHair:
      return Rgb(70, 50, 34);
    case Material::kLifeVest:
      return Mix(Rgb(246, 120, 28), Rgb(236, 236, 226), Box(u, v, 0.0f, 0.55f, 1.0f, 0.65f, 0.01f));
    case Material::kTrousers:
      return Rgb(58, 66, 92);
    case Material::kBoots:
      return Rgb(42, 34, 28);
    case Material::kCount:
      break;
  }
  return Rgb(255, 0, 255);
}
