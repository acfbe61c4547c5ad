#include <gtest/gtest.h>

#include <cmath>

#include "core/fixed.h"

namespace {

struct ScalarCase {
  fixed a;
  fixed b;
  fixed expected;
};

TEST(FixedMul, TruncatesTowardMinusInfinity) {
  const ScalarCase cases[] = {
      {kFixedOne, kFixedOne, kFixedOne},
      {IntToFixed(3), kFixedHalf, 0x18000},
      {-1, 1, -1},  // one raw unit times one raw unit rounds down, not toward zero
      {1, 1, 0},
      {IntToFixed(-2), IntToFixed(3), IntToFixed(-6)},
      {0x7FFFFFFF, kFixedOne, 0x7FFFFFFF},
      {IntToFixed(200), IntToFixed(400), static_cast<fixed>(80000u << 16)},  // wraps to 32 bits
  };
  for (const auto& c : cases) EXPECT_EQ(FixedMul(c.a, c.b), c.expected) << c.a << " * " << c.b;
}

TEST(FixedDiv, TruncatesTowardZero) {
  const ScalarCase cases[] = {
      {kFixedOne, IntToFixed(3), 21845},
      {-kFixedOne, IntToFixed(3), -21845},
      {IntToFixed(7), IntToFixed(2), 0x38000},
      {IntToFixed(-7), kFixedHalf, IntToFixed(-14)},
      {1, IntToFixed(2), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(FixedDiv(c.a, c.b), c.expected) << c.a << " / " << c.b;
}

TEST(FixedDiv, ZeroDivisorSaturatesInsteadOfTrapping) {
  EXPECT_EQ(FixedDiv(kFixedOne, 0), INT32_MAX);
  EXPECT_EQ(FixedDiv(-kFixedOne, 0), INT32_MIN);
  EXPECT_EQ(FixedReciprocal(0), INT32_MAX);
}

TEST(FixedReciprocal, IsTwoToThe32OverValue) {
  EXPECT_EQ(FixedReciprocal(kFixedOne), kFixedOne);
  EXPECT_EQ(FixedReciprocal(IntToFixed(4)), 0x4000);
  EXPECT_EQ(FixedReciprocal(IntToFixed(-2)), -kFixedHalf);
  EXPECT_EQ(FixedReciprocal(327680), 13107);  // 1/5 truncated
}

TEST(FixedSin, TableValuesAndQuadrants) {
  const struct {
    Angle angle;
    fixed sine;
  } cases[] = {
      {0, 0},          {16384, 65536}, {32768, 0}, {49152, -65536},
      {65535, -6},     // last step interpolates toward sin of a half turn (the table wraps to 0)
      {64, 402},       // table entry 1
      {32, 201},       // halfway between entries 0 and 1
      {32768 + 64, -402},
  };
  for (const auto& c : cases) EXPECT_EQ(FixedSin(c.angle), c.sine) << "angle " << c.angle;
}

TEST(FixedSin, StaysCloseToTheRealSine) {
  for (int a = 0; a < 65536; a += 97) {
    const double real = std::sin(a * 2 * 3.14159265358979323846 / 65536) * 65536;
    EXPECT_NEAR(FixedSin(static_cast<Angle>(a)), real, 4.0) << "angle " << a;
  }
}

TEST(FixedCos, IsSineAQuarterTurnLaterInSixteenBits) {
  EXPECT_EQ(FixedCos(0), 65536);
  EXPECT_EQ(FixedCos(49152), FixedSin(0));  // 49152 + 16384 wraps to 0
  EXPECT_EQ(FixedCos(32768), -65536);
  for (int a = 0; a < 65536; a += 1031) {
    EXPECT_EQ(FixedCos(static_cast<Angle>(a)), FixedSin(static_cast<Angle>(a + 16384)));
  }
}

TEST(Sin1440, QuarterDegreeTable) {
  const struct {
    uint32_t angle;
    fixed sine;
  } cases[] = {
      {0, 0}, {1, 286}, {360, 65536}, {720, 0}, {1080, -65536}, {1440, 0}, {1441, 286}, {2880 + 360, 65536},
      {0x10000 + 1, 286},  // only the low 16 bits count
  };
  for (const auto& c : cases) EXPECT_EQ(Sin1440(c.angle), c.sine) << "angle " << c.angle;
  EXPECT_EQ(Cos1440(0), 65536);
  EXPECT_EQ(Cos1440(1080), 0);
  EXPECT_EQ(Cos1440(720), -65536);
}

TEST(ContentUnits, DegreesAndSpeedsConvertByTruncation) {
  EXPECT_EQ(AngleFromDegrees(0), 0);
  EXPECT_EQ(AngleFromDegrees(90), 16384);
  EXPECT_EQ(AngleFromDegrees(1), 182);
  EXPECT_EQ(AngleFromDegrees(359), 65353);  // 359 * 182.0444... = 65353.95
  EXPECT_EQ(AngleFromDegrees(360), 0);      // a full turn wraps
  EXPECT_EQ(SpeedFromKmh(36), 36 * 18204);
}

}  // namespace
