// Low-polygon models of the mission objects and the player's helicopters, built from a few
// solid primitives in metres (x right, y up, z forward; the origin on the ground under the
// object's middle). The same model becomes a game mesh (mesh_file.h) and is rendered into the
// menu pictures (renderer.h).
//
// Winding: every triangle is stored so that (b - a) x (c - a) points out of the solid. Seen from
// outside with y up, that is clockwise on the screen, which is the side the game's rasteriser
// draws. The primitives work the winding out themselves from where the solid's inside is.
#pragma once

#include <cmath>
#include <vector>

#include "materials.h"

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(const Vec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(const Vec3& a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Normalised(const Vec3& a) {
  const double l = Length(a);
  return l > 0 ? a * (1 / l) : a;
}

// Rotation by yaw (about y, toward +x), pitch (about x, nose down) and roll (about z), in
// degrees, then a move: placing a part of a model.
struct Placement {
  Vec3 offset;
  double yaw = 0, pitch = 0, roll = 0;
  Vec3 Apply(const Vec3& p) const;
  Vec3 Rotate(const Vec3& p) const;
};

struct ModelVertex {
  Vec3 position;
  float u = 0, v = 0;  // 0..1 across the material's tile, v = 1 at the top
};

struct ModelTriangle {
  ModelVertex corner[3];
  Material material;
  Vec3 Normal() const;  // unit, outward
};

class Model {
 public:
  // A flat convex polygon. `inside` is any point of the solid it bounds: the winding is chosen
  // so the face looks away from it. Texture coordinates are given, or (when `uvs` is empty)
  // projected: u to the right and v up as the face is seen from outside.
  void AddPolygon(const std::vector<Vec3>& points, const Vec3& inside, Material material,
                  const std::vector<Point2>& uvs = {});

  // A box of the given size whose bottom centre is `base`, turned and moved by `place`. Side
  // materials: top, bottom, front (+z), back, left (-x), right.
  struct BoxMaterials {
    Material top, bottom, front, back, left, right;
  };
  void AddBox(const Vec3& base, const Vec3& size, const BoxMaterials& materials, const Placement& place = {});
  void AddBox(const Vec3& base, const Vec3& size, Material material, const Placement& place = {});

  // A solid through a series of rings (closed convex outlines, all with the same number of
  // points, or a single point for a tip), each ring given around its own centre. The sides wrap
  // the material across the ring (u) and along the series (v); the ends are closed with flat
  // caps unless they are tips.
  struct Ring {
    Vec3 centre;
    std::vector<Vec3> points;
  };
  void AddSweep(const std::vector<Ring>& rings, Material side, Material ends, const Placement& place = {});
  // The same with a material for each stretch between two rings (one fewer than the rings).
  void AddSweep(const std::vector<Ring>& rings, const std::vector<Material>& sides, Material ends,
                const Placement& place = {});

  // A ring of `segments` points on an ellipse of radii (rx, ry) in the plane across `axis`
  // (z: the ellipse lies in x, y; y: in x, z; x: in z, y), centred on `centre`.
  static Ring Ellipse(const Vec3& centre, char axis, double rx, double ry, int segments, double turn = 0);

  // A cylinder or cone frustum along +y from its bottom centre.
  void AddCylinder(const Vec3& base, double radiusBottom, double radiusTop, double height, int segments,
                   Material side, Material ends, const Placement& place = {});

  // Both sides of a thin flat plate (rotor blades, a radar dish's mesh, fins): two boxes' worth
  // of faces would cost more, and a plate is seen from both sides.
  void AddPlate(const std::vector<Vec3>& points, Material material, const Placement& place = {});

  void Append(const Model& other, const Placement& place = {});

  const std::vector<ModelTriangle>& triangles() const { return triangles_; }
  // Largest distance of a corner from the origin, metres.
  double Radius() const;
  // Largest distance of a corner from the vertical axis (the footprint), metres.
  double FootprintRadius() const;

 private:
  std::vector<ModelTriangle> triangles_;
};
