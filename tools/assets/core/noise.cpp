#include "noise.h"

#include <algorithm>
#include <cmath>

namespace {

int Wrap(int i, int period) {
  const int m = i % period;
  return m < 0 ? m + period : m;
}

// Quintic fade: zero first and second derivative at 0 and 1, so layers join without creases.
float Fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

// 16 evenly spread unit directions: cos and sin of k x 22.5 degrees.
constexpr float kGradientX[16] = {1.0f,       0.92387953f,  0.70710678f,  0.38268343f,  0.0f, -0.38268343f,
                                  -0.70710678f, -0.92387953f, -1.0f,        -0.92387953f, -0.70710678f, -0.38268343f,
                                  0.0f,       0.38268343f,  0.70710678f,  0.92387953f};

float Gradient(int ix, int iy, float dx, float dy, uint32_t seed) {
  const uint32_t k = Hash(static_cast<uint32_t>(ix), static_cast<uint32_t>(iy), seed) & 15;
  return kGradientX[k] * dx + kGradientX[(k + 12) & 15] * dy;  // sin(a) = cos(a - 90 degrees)
}

}  // namespace

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  // The inputs spread by odd constants, then a 32-bit finaliser that mixes every bit.
  uint32_t h = a * 0x8DA6B343u + b * 0xD8163841u + c * 0xCB1AB31Fu + d * 0x165667B1u + 0x9E3779B9u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

float HashUnit(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return static_cast<float>(Hash(a, b, c, d) >> 8) / static_cast<float>(1u << 24);
}

float GradientNoise(float x, float y, int period, uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int x0 = static_cast<int>(fx);
  const int y0 = static_cast<int>(fy);
  const float dx = x - fx;
  const float dy = y - fy;
  const int ax = Wrap(x0, period), bx = Wrap(x0 + 1, period);
  const int ay = Wrap(y0, period), by = Wrap(y0 + 1, period);
  const float n00 = Gradient(ax, ay, dx, dy, seed);
  const float n10 = Gradient(bx, ay, dx - 1, dy, seed);
  const float n01 = Gradient(ax, by, dx, dy - 1, seed);
  const float n11 = Gradient(bx, by, dx - 1, dy - 1, seed);
  const float u = Fade(dx);
  const float v = Fade(dy);
  // Gradient noise peaks near +-0.7; scale it to about +-1.
  return Lerp(Lerp(n00, n10, u), Lerp(n01, n11, u), v) * 1.4f;
}

float ValueNoise(float x, float y, int periodX, int periodY, uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int x0 = static_cast<int>(fx);
  const int y0 = static_cast<int>(fy);
  const auto value = [&](int ix, int iy) {
    return HashUnit(static_cast<uint32_t>(Wrap(ix, periodX)), static_cast<uint32_t>(Wrap(iy, periodY)), seed, 77);
  };
  const float u = Fade(x - fx);
  const float v = Fade(y - fy);
  return Lerp(Lerp(value(x0, y0), value(x0 + 1, y0), u), Lerp(value(x0, y0 + 1), value(x0 + 1, y0 + 1), u), v);
}

float Fbm(float u, float v, int baseCells, int octaves, float gain, uint32_t seed) {
  float sum = 0;
  float amplitude = 1;
  float total = 0;
  int cells = baseCells;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += amplitude * GradientNoise(u * cells, v * cells, cells, seed + static_cast<uint32_t>(octave) * 1013);
    total += amplitude;
    amplitude *= gain;
    cells *= 2;
  }
  return sum / total;
}

float SmoothStep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}
