#include "core/vector3.h"

#include <cmath>

void Vector3::Negate() {
  x = WrapNeg(x);
  y = WrapNeg(y);
  z = WrapNeg(z);
}

void Vector3::Scale(fixed s) {
  x = FixedMul(x, s);
  y = FixedMul(y, s);
  z = FixedMul(z, s);
}

fixed Vector3::Length() const {
  // The exact sum of squares has 32 fractional bits; cut to 16, then to single precision
  // scaled to real units, and take the root in double precision. The sum wraps like the
  // 64-bit accumulator it stands for.
  const uint64_t squares = static_cast<uint64_t>(static_cast<int64_t>(x) * x) +
                           static_cast<uint64_t>(static_cast<int64_t>(y) * y) +
                           static_cast<uint64_t>(static_cast<int64_t>(z) * z);
  const int64_t sum16 = static_cast<int64_t>(squares) >> 16;
  const float squaredLength = static_cast<float>(sum16) * (1.0f / 65536.0f);
  const double length = std::sqrt(static_cast<double>(squaredLength)) * 65536.0;
  if (!(length < 2147483648.0)) return INT32_MAX;  // also catches the NaN of a wrapped sum
  return static_cast<fixed>(length);
}

void Vector3::Normalize() {
  if (x == 0 && y == 0 && z == 0) return;
  const fixed length = Length();
  if (length == 0) return;
  Scale(FixedReciprocal(length));
}

Vector3 Cross(const Vector3& a, const Vector3& b) {
  return {WrapSub(FixedMul(a.y, b.z), FixedMul(a.z, b.y)), WrapSub(FixedMul(a.z, b.x), FixedMul(a.x, b.z)),
          WrapSub(FixedMul(a.x, b.y), FixedMul(a.y, b.x))};
}

fixed Dot(const Vector3& a, const Vector3& b) {
  return WrapAdd(WrapAdd(FixedMul(a.x, b.x), FixedMul(a.y, b.y)), FixedMul(a.z, b.z));
}
