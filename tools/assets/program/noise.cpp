#include "noise.h"

#include <cmath>

uint32_t HashPoint(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double HashUnit(int32_t x, int32_t y, uint32_t seed) { return HashPoint(x, y, seed) / 4294967295.0; }

double ValueNoise(double x, double y, uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);  // smoothstep: no creases along the lattice lines
  ty = ty * ty * (3 - 2 * ty);
  const double a = HashUnit(ix, iy, seed), b = HashUnit(ix + 1, iy, seed);
  const double c = HashUnit(ix, iy + 1, seed), d = HashUnit(ix + 1, iy + 1, seed);
  const double top = a + (b - a) * tx;
  const double bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double FractalNoise(double x, double y, int octaves, uint32_t seed) {
  double sum = 0, weight = 1, total = 0;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += ValueNoise(x, y, seed + static_cast<uint32_t>(octave) * 7919u) * weight;
    total += weight;
    weight *= 0.5;
    x *= 2;
    y *= 2;
  }
  return sum / total;
}

uint32_t RandomSequence::NextBits() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double RandomSequence::NextUnit() { return NextBits() / 4294967295.0; }

double RandomSequence::NextSigned() { return NextUnit() * 2.0 - 1.0; }
