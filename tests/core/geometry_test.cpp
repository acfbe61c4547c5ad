#include <gtest/gtest.h>

#include "core/linear_map.h"
#include "core/matrix34.h"
#include "core/vector3.h"

namespace {

constexpr fixed F(double v) { return static_cast<fixed>(v * 65536); }

void ExpectRotation(const Matrix34& m, const fixed (&expected)[9]) {
  for (int i = 0; i < 9; ++i) EXPECT_EQ(m.m[i], expected[i]) << "m" << i;
}

TEST(Vector3, LengthAndNormalize) {
  EXPECT_EQ(Vector3(kFixedOne, 0, 0).Length(), kFixedOne);
  EXPECT_EQ(Vector3(F(3), 0, F(4)).Length(), F(5));
  EXPECT_EQ(Vector3(0, F(-2), 0).Length(), F(2));

  Vector3 v(F(3), 0, F(4));
  v.Normalize();
  EXPECT_NEAR(v.x, F(0.6), 1);
  EXPECT_EQ(v.y, 0);
  EXPECT_NEAR(v.z, F(0.8), 1);

  Vector3 zero;
  zero.Normalize();
  EXPECT_EQ(zero, Vector3());

  Vector3 tiny(1, 0, 0);  // too short to measure: stays as it is
  tiny.Normalize();
  EXPECT_EQ(tiny, Vector3(1, 0, 0));
}

TEST(Vector3, CrossDotScaleNegate) {
  const Vector3 x(kFixedOne, 0, 0), y(0, kFixedOne, 0), z(0, 0, kFixedOne);
  EXPECT_EQ(Cross(x, y), z);
  EXPECT_EQ(Cross(y, z), x);
  EXPECT_EQ(Cross(z, x), y);
  EXPECT_EQ(Dot(Vector3(F(1), F(2), F(3)), Vector3(F(4), F(-5), F(6))), F(12));
  // Each product is truncated before the sum: three products of -1 raw unit each.
  EXPECT_EQ(Dot(Vector3(-1, -1, -1), Vector3(1, 1, 1)), -3);
  Vector3 v(F(2), F(-4), F(1));
  v.Scale(kFixedHalf);
  EXPECT_EQ(v, Vector3(F(1), F(-2), F(0.5)));
  v.Negate();
  EXPECT_EQ(v, Vector3(F(-1), F(2), F(-0.5)));
}

// The general yaw-pitch-roll formula, written from its definition with given sines and cosines.
void GeneralRotation(fixed sy, fixed cy, fixed sp, fixed cp, fixed sr, fixed cr, fixed (&m)[9]) {
  m[0] = FixedMul(cr, cy) - FixedMul(FixedMul(sr, sp), sy);
  m[1] = FixedMul(FixedMul(cr, sp), sy) + FixedMul(sr, cy);
  m[2] = -FixedMul(cp, sy);
  m[3] = -FixedMul(sr, cp);
  m[4] = FixedMul(cr, cp);
  m[5] = sp;
  m[6] = FixedMul(FixedMul(sr, sp), cy) + FixedMul(cr, sy);
  m[7] = FixedMul(sr, sy) - FixedMul(FixedMul(cr, sp), cy);
  m[8] = FixedMul(cp, cy);
}

TEST(Matrix34, YawPitchRollShortcutsMatchTheGeneralFormula) {
  // The shortcuts equal the general formula with sin 0 = 0 and cos 0 = 1 (pitch with roll and
  // yaw with pitch are checked on their own below).
  const Angle yaw = 5000, pitch = 12000, roll = 40000;
  const struct {
    Angle yaw, pitch, roll;
  } cases[] = {{0, 0, 0}, {yaw, 0, 0}, {0, pitch, 0}, {0, 0, roll}, {yaw, 0, roll}, {yaw, pitch, roll}};
  for (const auto& c : cases) {
    Matrix34 m;
    m.FromYawPitchRoll(c.yaw, c.pitch, c.roll);
    fixed expected[9];
    GeneralRotation(FixedSin(c.yaw), FixedCos(c.yaw), FixedSin(c.pitch), FixedCos(c.pitch), FixedSin(c.roll),
                    FixedCos(c.roll), expected);
    SCOPED_TRACE(testing::Message() << "yaw " << c.yaw << " pitch " << c.pitch << " roll " << c.roll);
    ExpectRotation(m, expected);
  }
}

TEST(Matrix34, PitchAndRollNegateBeforeMultiplying) {
  // (-sr) * cp rounds differently from -(sr * cp): the shortcut's own order is kept.
  const Angle pitch = 12000, roll = 40000;
  const fixed sp = FixedSin(pitch), cp = FixedCos(pitch), sr = FixedSin(roll), cr = FixedCos(roll);
  Matrix34 m;
  m.FromYawPitchRoll(0, pitch, roll);
  const fixed expected[9] = {cr, sr, 0, FixedMul(-sr, cp), FixedMul(cr, cp), sp, -FixedMul(-sr, sp),
                             -FixedMul(cr, sp), cp};
  ExpectRotation(m, expected);
  EXPECT_NE(m.m[3], -FixedMul(sr, cp));
}

TEST(Matrix34, YawAndPitchWithoutRollAppliesPitchFirst) {
  const Angle yaw = 5000, pitch = 12000;
  const fixed sy = FixedSin(yaw), cy = FixedCos(yaw), sp = FixedSin(pitch), cp = FixedCos(pitch);
  Matrix34 m;
  m.FromYawPitchRoll(yaw, pitch, 0);
  const fixed expected[9] = {cy, 0, -sy, FixedMul(sy, sp), cp, FixedMul(cy, sp), FixedMul(cp, sy), -sp,
                             FixedMul(cp, cy)};
  ExpectRotation(m, expected);
}

TEST(Matrix34, YawAQuarterTurnTurnsForwardToRight) {
  Matrix34 m;
  m.FromYawPitchRoll(16384, 0, 0);
  EXPECT_EQ(m.RotateVector(Vector3(0, 0, kFixedOne)), Vector3(kFixedOne, 0, 0));
}

TEST(Matrix34, FromYawPitchRollKeepsTheTranslation) {
  Matrix34 m;
  m.SetTranslation(Vector3(1, 2, 3));
  m.FromYawPitchRoll(100, 200, 300);
  EXPECT_EQ(m.GetTranslation(), Vector3(1, 2, 3));
}

TEST(Matrix34, TransformAndMultiply) {
  Matrix34 a;
  a.Translate(Vector3(F(1), F(2), F(3)));
  Matrix34 b;
  b.FromYawPitchRoll(16384, 0, 0);
  b.Translate(Vector3(F(10), 0, 0));
  // a then b: the translation (1, 2, 3) turned a quarter (x' = z, z' = -x), then moved.
  Matrix34 ab = a;
  ab.Multiply(b);
  EXPECT_EQ(ab.GetTranslation(), Vector3(F(13), F(2), F(-1)));
  EXPECT_EQ(ab.TransformPoint(Vector3(0, 0, F(1))), Vector3(F(14), F(2), F(-1)));

  Matrix34 rotationOnly = a;
  rotationOnly.MultiplyRotation(b);
  EXPECT_EQ(rotationOnly.GetTranslation(), Vector3(F(1), F(2), F(3)));
  EXPECT_EQ(rotationOnly.RotateVector(Vector3(0, 0, F(1))), Vector3(F(1), 0, 0));
}

TEST(Matrix34, MultiplyRotationMayUseItselfAsOperand) {
  Matrix34 m;
  m.FromYawPitchRoll(8192, 0, 0);
  Matrix34 squared = m;
  squared.MultiplyRotation(squared);
  Matrix34 quarter;
  quarter.FromYawPitchRoll(16384, 0, 0);
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(squared.m[i], quarter.m[i], 2) << "m" << i;
}

TEST(Matrix34, InverseUndoesThePlacement) {
  Matrix34 m;
  m.FromYawPitchRoll(7000, 3000, 1000);
  m.SetTranslation(Vector3(F(100), F(20), F(-300)));
  Matrix34 inverse = m;
  inverse.Inverse();
  const Vector3 point(F(5), F(-7), F(11));
  const Vector3 back = inverse.TransformPoint(m.TransformPoint(point));
  EXPECT_NEAR(back.x, point.x, 64);
  EXPECT_NEAR(back.y, point.y, 64);
  EXPECT_NEAR(back.z, point.z, 64);
}

TEST(Matrix34, InverseOfAPureRotationHasNoTranslation) {
  Matrix34 m;
  m.FromYawPitchRoll(16384, 0, 0);
  m.Inverse();
  EXPECT_EQ(m.GetTranslation(), Vector3());
  EXPECT_EQ(m.RotateVector(Vector3(kFixedOne, 0, 0)), Vector3(0, 0, kFixedOne));
}

TEST(Matrix34, SingularInverseGivesIdentity) {
  Matrix34 m;
  for (fixed& v : m.m) v = F(2);  // rows all alike: determinant 0
  m.Inverse();
  EXPECT_EQ(m, Matrix34());
}

TEST(Matrix34, FromDirection) {
  Matrix34 forward;
  forward.FromDirection(Vector3(0, 0, kFixedOne));
  EXPECT_EQ(forward, Matrix34());

  // Straight up: the up hint becomes (-1, 0, 0).
  Matrix34 up;
  up.FromDirection(Vector3(0, kFixedOne, 0));
  const fixed expectedUp[9] = {0, 0, -kFixedOne, -kFixedOne, 0, 0, 0, kFixedOne, 0};
  ExpectRotation(up, expectedUp);

  // Length 3: z comes out as 65535 (1/3 truncates), the cross product of two unit-short vectors
  // measures 65534 long, and 2^32 / 65534 overshoots, so row 0 ends a unit long.
  Matrix34 longUp;
  longUp.FromDirection(Vector3(0, F(3), 0));
  const fixed expectedLongUp[9] = {0, 0, -65537, -65536, 0, 0, 0, 65535, 0};
  ExpectRotation(longUp, expectedLongUp);
}

TEST(LinearMap, InterpolatesAndExtrapolates) {
  LinearMap map;
  map.Init(0, F(10), F(100), F(200));
  EXPECT_EQ(map.x, 0);
  EXPECT_EQ(map.y, F(100));
  EXPECT_TRUE(map.SetInput(F(5)));
  EXPECT_EQ(map.y, F(150));
  EXPECT_FALSE(map.SetInput(F(5)));
  EXPECT_TRUE(map.SetInput(F(20)));
  EXPECT_EQ(map.y, F(300));
  EXPECT_TRUE(map.SetInput(F(-10)));
  EXPECT_EQ(map.y, 0);

  map.Clear();
  EXPECT_EQ(map.y0, 0);
  EXPECT_EQ(map.y1, 0);
}

TEST(LinearMap, EmptyInputRangeNeverChangesTheOutput) {
  LinearMap map;
  map.Init(F(3), F(3), F(1), F(9));
  EXPECT_FALSE(map.SetInput(F(7)));
  EXPECT_EQ(map.x, F(7));
  EXPECT_EQ(map.y, F(1));
}

TEST(LinearMap, AdvanceMovesTheTimeOnButNotPastTheEnd) {
  LinearMap fade;
  fade.Init(0, F(500), F(255), 0);
  EXPECT_TRUE(fade.Advance(250));
  EXPECT_EQ(fade.x, F(250));
  EXPECT_EQ(fade.y, F(127.5));
  EXPECT_TRUE(fade.Advance(300));
  EXPECT_EQ(fade.x, F(500));
  EXPECT_EQ(fade.y, 0);
  EXPECT_FALSE(fade.Advance(20));  // at the end: nothing changes
  EXPECT_EQ(fade.x, F(500));
}

}  // namespace
