// Repeatable randomness for the generated pictures and sounds: integer hashing, smooth value
// noise and a small generator. Seeds are fixed numbers in the callers, so every build draws the
// same hills, clouds and hiss.
#pragma once

#include <cstdint>

// A well-mixed 32-bit value for a lattice point and a seed.
uint32_t HashPoint(int32_t x, int32_t y, uint32_t seed);
// 0..1 for a lattice point.
double HashUnit(int32_t x, int32_t y, uint32_t seed);

// Smooth noise 0..1 over the plane, one random value per whole-number lattice point.
double ValueNoise(double x, double y, uint32_t seed);
// Several octaves of ValueNoise, each at twice the frequency and half the weight; 0..1.
double FractalNoise(double x, double y, int octaves, uint32_t seed);

// A small xorshift generator for sounds and scattered details.
class RandomSequence {
 public:
  explicit RandomSequence(uint32_t seed) : state_(seed != 0 ? seed : 0x9E3779B9u) {}
  uint32_t NextBits();
  double NextUnit();    // 0..1
  double NextSigned();  // -1..1

 private:
  uint32_t state_;
};
