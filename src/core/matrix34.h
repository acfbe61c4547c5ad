// Affine transform: three rotation rows (the images of the local x, y and z axes) and a
// translation. Points are row vectors multiplied on the left, so A * B applies A, then B.
#pragma once

#include "core/fixed.h"
#include "core/vector3.h"

struct Matrix34 {
  // m[0..2] row 0, m[3..5] row 1, m[6..8] row 2, m[9..11] translation.
  fixed m[12] = {kFixedOne, 0, 0, 0, kFixedOne, 0, 0, 0, kFixedOne, 0, 0, 0};

  void Identity();
  Vector3 GetTranslation() const { return {m[9], m[10], m[11]}; }
  void SetTranslation(const Vector3& v);
  void Translate(const Vector3& v);

  Vector3 TransformPoint(const Vector3& p) const;
  Vector3 RotateVector(const Vector3& p) const;

  // Rotation from yaw (about y), pitch (about x) and roll (about z); translation untouched.
  void FromYawPitchRoll(Angle yaw, Angle pitch, Angle roll);
  // Rotation whose row 2 points along `direction`; translation untouched.
  void FromDirection(const Vector3& direction);

  // This rotation becomes this.rotation * other.rotation; translation untouched.
  void MultiplyRotation(const Matrix34& other);
  // This becomes this * other (the translation is carried through `other`).
  void Multiply(const Matrix34& other);
  // The inverse affine transform; a singular rotation gives the identity.
  void Inverse();

  friend bool operator==(const Matrix34&, const Matrix34&) = default;
};
