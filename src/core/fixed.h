// 16.16 fixed-point scalars and binary angles: the number type of the whole game.
//
// Every quantity of the world and of the renderers is a `fixed` (value x 65536). Products and
// quotients go through FixedMul/FixedDiv so that every subsystem truncates the same way; the
// flight model, the terrain renderer and the mesh renderer depend on those exact truncations.
// Sums wrap modulo 2^32 like the handheld's integer unit did; the Wrap* helpers do that on
// unsigned types so the compiler never sees signed overflow.
#pragma once

#include <cstdint>

using fixed = int32_t;
using Angle = uint16_t;  // 65536 units per turn

constexpr fixed kFixedOne = 0x10000;
constexpr fixed kFixedHalf = 0x8000;

constexpr fixed IntToFixed(int32_t value) {
  return static_cast<fixed>(static_cast<uint32_t>(value) << 16);
}

constexpr fixed WrapAdd(fixed a, fixed b) {
  return static_cast<fixed>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr fixed WrapSub(fixed a, fixed b) {
  return static_cast<fixed>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr fixed WrapNeg(fixed a) { return static_cast<fixed>(0u - static_cast<uint32_t>(a)); }

// The 64-bit product shifted right by 16 (rounds toward minus infinity), cut to 32 bits.
constexpr fixed FixedMul(fixed a, fixed b) {
  return static_cast<fixed>((static_cast<int64_t>(a) * b) >> 16);
}

// (a << 16) / b in 64 bits, truncating toward zero, cut to 32 bits. Division by zero, which
// would trap, saturates toward the sign of a instead.
constexpr fixed FixedDiv(fixed a, fixed b) {
  if (b == 0) return a < 0 ? INT32_MIN : INT32_MAX;
  return static_cast<fixed>((static_cast<int64_t>(a) * 65536) / b);
}

// 2^32 / v: the fixed-point value 1/v. A zero divisor saturates like FixedDiv.
constexpr fixed FixedReciprocal(fixed v) {
  if (v == 0) return INT32_MAX;
  return static_cast<fixed>(static_cast<int64_t>(0x100000000LL) / v);
}

// Sine and cosine of a binary angle, interpolated in a 512-entry half-turn table.
fixed FixedSin(Angle a);
fixed FixedCos(Angle a);

// Quarter-degree angles (1440 units per turn), as the terrain renderer and the field of view use.
// No interpolation: one table entry per quarter degree.
fixed Sin1440(uint32_t quarterDegrees);
fixed Cos1440(uint32_t quarterDegrees);

// Content files give angles in whole degrees and speeds in km/h.
Angle AngleFromDegrees(uint32_t degrees);
fixed SpeedFromKmh(uint32_t kmh);
