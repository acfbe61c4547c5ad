#include "core/fixed.h"

#include <array>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Half a turn of sine in 512 steps: entry i is round(sin(i * pi / 512) * 65536).
const std::array<fixed, 512>& HalfTurnSineTable() {
  static const std::array<fixed, 512> table = [] {
    std::array<fixed, 512> t{};
    for (int i = 0; i < 512; ++i) t[i] = static_cast<fixed>(std::lround(std::sin(i * kPi / 512) * 65536.0));
    return t;
  }();
  return table;
}

// Half a turn in quarter degrees: entry i is round(sin(i * 2 pi / 1440) * 65536).
const std::array<fixed, 720>& QuarterDegreeSineTable() {
  static const std::array<fixed, 720> table = [] {
    std::array<fixed, 720> t{};
    for (int i = 0; i < 720; ++i) t[i] = static_cast<fixed>(std::lround(std::sin(i * 2.0 * kPi / 1440) * 65536.0));
    return t;
  }();
  return table;
}

}  // namespace

fixed FixedSin(Angle a) {
  const auto& table = HalfTurnSineTable();
  const unsigned index = (a & 0x7FFFu) >> 6;
  const int fraction = a & 63;
  const fixed v = (table[index] * (64 - fraction) + table[(index + 1) & 511] * fraction) >> 6;
  return (a & 0x8000u) ? -v : v;
}

fixed FixedCos(Angle a) { return FixedSin(static_cast<Angle>(a + 16384)); }

fixed Sin1440(uint32_t quarterDegrees) {
  const auto& table = QuarterDegreeSineTable();
  uint32_t a = quarterDegrees & 0xFFFFu;
  while (a >= 1440) a -= 1440;
  return a < 720 ? table[a] : -table[a - 720];
}

fixed Cos1440(uint32_t quarterDegrees) { return Sin1440(quarterDegrees + 360); }

Angle AngleFromDegrees(uint32_t degrees) {
  return static_cast<Angle>(static_cast<uint32_t>(static_cast<int64_t>(degrees * 182.04444444444445)));
}

fixed SpeedFromKmh(uint32_t kmh) { return static_cast<fixed>(kmh * 18204u); }
