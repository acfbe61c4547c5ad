// Deterministic noise for the landscapes, the sky and the material textures. Everything comes
// from an integer hash of the lattice point and a seed, so the same seed paints the same picture
// on every run and every machine (no library random generator is involved).
//
// The noise functions are periodic: a lattice of `period` cells repeats, so a landscape built
// from octaves whose periods divide its size wraps at its edges without a seam.
#pragma once

#include <cstdint>

uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0);
// A hash as a number in [0, 1).
float HashUnit(uint32_t a, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0);

// Smooth gradient noise in about [-1, 1]; x and y in lattice cells; the pattern repeats every
// `period` cells on both axes.
float GradientNoise(float x, float y, int period, uint32_t seed);
// Value noise in [0, 1] with a smooth (zero-slope) blend at every lattice point, used where a
// picture must be flat where it meets its own mirror image.
float ValueNoise(float x, float y, int periodX, int periodY, uint32_t seed);

// Sum of `octaves` layers of GradientNoise, each of double the frequency and `gain` times the
// amplitude of the one before, normalised to about [-1, 1]. `u` and `v` run 0..1 over one
// period of the lowest octave, which has `baseCells` cells.
float Fbm(float u, float v, int baseCells, int octaves, float gain, uint32_t seed);

float SmoothStep(float edge0, float edge1, float x);
