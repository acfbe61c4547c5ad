#include "core/matrix34.h"

namespace {

// a*b - c*d and a*b + c*d with each product truncated on its own, as every sum of products is.
fixed MulSub(fixed a, fixed b, fixed c, fixed d) { return WrapSub(FixedMul(a, b), FixedMul(c, d)); }
fixed MulAdd(fixed a, fixed b, fixed c, fixed d) { return WrapAdd(FixedMul(a, b), FixedMul(c, d)); }

void SetRotation(Matrix34& matrix, fixed m0, fixed m1, fixed m2, fixed m3, fixed m4, fixed m5, fixed m6,
                 fixed m7, fixed m8) {
  const fixed rotation[9] = {m0, m1, m2, m3, m4, m5, m6, m7, m8};
  for (int i = 0; i < 9; ++i) matrix.m[i] = rotation[i];
}

}  // namespace

void Matrix34::Identity() {
  SetRotation(*this, kFixedOne, 0, 0, 0, kFixedOne, 0, 0, 0, kFixedOne);
  m[9] = m[10] = m[11] = 0;
}

void Matrix34::SetTranslation(const Vector3& v) {
  m[9] = v.x;
  m[10] = v.y;
  m[11] = v.z;
}

void Matrix34::Translate(const Vector3& v) {
  m[9] = WrapAdd(m[9], v.x);
  m[10] = WrapAdd(m[10], v.y);
  m[11] = WrapAdd(m[11], v.z);
}

Vector3 Matrix34::RotateVector(const Vector3& p) const {
  return {WrapAdd(MulAdd(m[0], p.x, m[3], p.y), FixedMul(m[6], p.z)),
          WrapAdd(MulAdd(m[1], p.x, m[4], p.y), FixedMul(m[7], p.z)),
          WrapAdd(MulAdd(m[2], p.x, m[5], p.y), FixedMul(m[8], p.z))};
}

Vector3 Matrix34::TransformPoint(const Vector3& p) const {
  const Vector3 r = RotateVector(p);
  return {WrapAdd(r.x, m[9]), WrapAdd(r.y, m[10]), WrapAdd(r.z, m[11])};
}

void Matrix34::FromYawPitchRoll(Angle yaw, Angle pitch, Angle roll) {
  // Zero angles skip their table look-ups: the yaw-only orientation of most objects costs two.
  const int cases = (yaw != 0 ? 1 : 0) | (pitch != 0 ? 2 : 0) | (roll != 0 ? 4 : 0);
  const fixed one = kFixedOne;
  switch (cases) {
    case 0:
      SetRotation(*this, one, 0, 0, 0, one, 0, 0, 0, one);
      return;
    case 1: {
      const fixed sy = FixedSin(yaw), cy = FixedCos(yaw);
      SetRotation(*this, cy, 0, -sy, 0, one, 0, sy, 0, cy);
      return;
    }
    case 2: {
      const fixed sp = FixedSin(pitch), cp = FixedCos(pitch);
      SetRotation(*this, one, 0, 0, 0, cp, sp, 0, -sp, cp);
      return;
    }
    case 4: {
      const fixed sr = FixedSin(roll), cr = FixedCos(roll);
      SetRotation(*this, cr, sr, 0, -sr, cr, 0, 0, 0, one);
      return;
    }
    case 3: {
      // Yaw and pitch without roll: here pitch is applied before yaw, unlike the general case.
      const fixed sy = FixedSin(yaw), cy = FixedCos(yaw);
      const fixed sp = FixedSin(pitch), cp = FixedCos(pitch);
      SetRotation(*this, cy, 0, -sy, FixedMul(sy, sp), cp, FixedMul(cy, sp), FixedMul(cp, sy), -sp,
                  FixedMul(cp, cy));
      return;
    }
    case 5: {
      const fixed sy = FixedSin(yaw), cy = FixedCos(yaw);
      const fixed sr = FixedSin(roll), cr = FixedCos(roll);
      SetRotation(*this, FixedMul(cr, cy), FixedMul(sr, cy), -sy, -sr, cr, 0, FixedMul(cr, sy), FixedMul(sr, sy),
                  cy);
      return;
    }
    case 6: {
      const fixed sp = FixedSin(pitch), cp = FixedCos(pitch);
      const fixed sr = FixedSin(roll), cr = FixedCos(roll);
      SetRotation(*this, cr, sr, 0, FixedMul(-sr, cp), FixedMul(cr, cp), sp, -FixedMul(-sr, sp), -FixedMul(cr, sp),
                  cp);
      return;
    }
    default: {
      const fixed sy = FixedSin(yaw), cy = FixedCos(yaw);
      const fixed sp = FixedSin(pitch), cp = FixedCos(pitch);
      const fixed sr = FixedSin(roll), cr = FixedCos(roll);
      const fixed srsp = FixedMul(sr, sp);
      const fixed crsp = FixedMul(cr, sp);
      SetRotation(*this, WrapSub(FixedMul(cr, cy), FixedMul(srsp, sy)), WrapAdd(FixedMul(crsp, sy), FixedMul(sr, cy)),
                  -FixedMul(cp, sy), -FixedMul(sr, cp), FixedMul(cr, cp), sp,
                  WrapAdd(FixedMul(srsp, cy), FixedMul(cr, sy)), WrapSub(FixedMul(sr, sy), FixedMul(crsp, cy)),
                  FixedMul(cp, cy));
      return;
    }
  }
}

void Matrix34::FromDirection(const Vector3& direction) {
  Vector3 forward = direction;
  forward.Normalize();
  Vector3 up(0, kFixedOne, 0);
  if (forward.x == 0 && forward.z == 0) up = Vector3(WrapNeg(forward.y), 0, 0);
  Vector3 right = Cross(up, forward);
  right.Normalize();
  Vector3 down = Cross(right, forward);
  down.Normalize();
  down.Negate();
  SetRotation(*this, right.x, right.y, right.z, down.x, down.y, down.z, forward.x, forward.y, forward.z);
}

void Matrix34::MultiplyRotation(const Matrix34& other) {
  fixed product[9];
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      product[row * 3 + column] =
          WrapAdd(MulAdd(m[row * 3], other.m[column], m[row * 3 + 1], other.m[3 + column]),
                  FixedMul(m[row * 3 + 2], other.m[6 + column]));
    }
  }
  for (int i = 0; i < 9; ++i) m[i] = product[i];
}

void Matrix34::Multiply(const Matrix34& other) {
  const Vector3 translation = other.TransformPoint(GetTranslation());
  MultiplyRotation(other);
  SetTranslation(translation);
}

void Matrix34::Inverse() {
  const Matrix34 in = *this;
  const fixed* a = in.m;
  const fixed c[9] = {MulSub(a[8], a[4], a[5], a[7]), MulSub(a[2], a[7], a[1], a[8]), MulSub(a[1], a[5], a[2], a[4]),
                      MulSub(a[6], a[5], a[3], a[8]), MulSub(a[0], a[8], a[2], a[6]), MulSub(a[2], a[3], a[0], a[5]),
                      MulSub(a[3], a[7], a[6], a[4]), MulSub(a[1], a[6], a[0], a[7]), MulSub(a[0], a[4], a[1], a[3])};
  const fixed determinant = WrapAdd(WrapAdd(FixedMul(c[0], a[0]), FixedMul(c[2], a[6])), FixedMul(c[1], a[3]));
  if (determinant == 0) {
    Identity();
    return;
  }
  const fixed reciprocal = FixedReciprocal(determinant);
  for (int i = 0; i < 9; ++i) m[i] = FixedMul(c[i], reciprocal);
  const Vector3 translation = in.GetTranslation();
  if (translation == Vector3()) {
    SetTranslation(Vector3());
  } else {
    Vector3 negated = translation;
    negated.Negate();
    SetTranslation(RotateVector(negated));
  }
}
