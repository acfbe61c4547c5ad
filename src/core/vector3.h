// Three fixed-point components; y is up, z is forward for an unrotated object, x is right.
#pragma once

#include "core/fixed.h"

struct Vector3 {
  fixed x = 0;
  fixed y = 0;
  fixed z = 0;

  constexpr Vector3() = default;
  constexpr Vector3(fixed xValue, fixed yValue, fixed zValue) : x(xValue), y(yValue), z(zValue) {}

  void Negate();
  void Scale(fixed s);
  // Euclidean length; the one place besides the camera set-up that uses floating point.
  fixed Length() const;
  // In place to length 1.0; a zero vector (or one too short to measure) stays as it is.
  void Normalize();

  friend constexpr bool operator==(const Vector3&, const Vector3&) = default;
};

// a + b, component by component, wrapping like every fixed sum.
constexpr Vector3 Sum(const Vector3& a, const Vector3& b) {
  return {WrapAdd(a.x, b.x), WrapAdd(a.y, b.y), WrapAdd(a.z, b.z)};
}
Vector3 Cross(const Vector3& a, const Vector3& b);
fixed Dot(const Vector3& a, const Vector3& b);
