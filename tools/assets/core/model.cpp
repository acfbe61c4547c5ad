#include "model.h"

#include <algorithm>

namespace {

constexpr double kDegrees = 3.14159265358979323846 / 180;

Vec3 Centroid(const std::vector<Vec3>& points) {
  Vec3 sum;
  for (const Vec3& p : points) sum = sum + p;
  return sum * (1.0 / static_cast<double>(points.size()));
}

// The normal of a polygon from all its corners (Newell's method), robust for small faces.
Vec3 PolygonNormal(const std::vector<Vec3>& points) {
  Vec3 n;
  for (size_t i = 0; i < points.size(); ++i) {
    const Vec3& a = points[i];
    const Vec3& b = points[(i + 1) % points.size()];
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return Normalised(n);  // the direction of (b - a) x (c - a) for the corners' order
}

}  // namespace

Vec3 Placement::Rotate(const Vec3& p) const {
  const double cr = std::cos(roll * kDegrees), sr = std::sin(roll * kDegrees);
  const double cp = std::cos(pitch * kDegrees), sp = std::sin(pitch * kDegrees);
  const double cy = std::cos(yaw * kDegrees), sy = std::sin(yaw * kDegrees);
  const Vec3 rolled{p.x * cr - p.y * sr, p.x * sr + p.y * cr, p.z};
  const Vec3 pitched{rolled.x, rolled.y * cp - rolled.z * sp, rolled.y * sp + rolled.z * cp};
  return {pitched.x * cy + pitched.z * sy, pitched.y, -pitched.x * sy + pitched.z * cy};
}

Vec3 Placement::Apply(const Vec3& p) const { return Rotate(p) + offset; }

Vec3 ModelTriangle::Normal() const {
  return Normalised(Cross(corner[1].position - corner[0].position, corner[2].position - corner[0].position));
}

void Model::AddPolygon(const std::vector<Vec3>& points, const Vec3& inside, Material material,
                       const std::vector<Point2>& uvs) {
  if (points.size() < 3) return;
  std::vector<Vec3> corners = points;
  std::vector<Point2> coordinates = uvs;
  Vec3 normal = PolygonNormal(corners);
  if (Dot(normal, Centroid(corners) - inside) < 0) {
    std::reverse(corners.begin(), corners.end());
    std::reverse(coordinates.begin(), coordinates.end());
    normal = normal * -1.0;
  }
  if (coordinates.size() != corners.size()) {
    // Project onto the face: v up (or +z on flat faces), u to the right as seen from outside.
    const Vec3 up = std::fabs(normal.y) > 0.7 ? Vec3{0, 0, normal.y > 0 ? 1.0 : -1.0} : Vec3{0, 1, 0};
    const Vec3 right = Normalised(Cross(normal, up));
    const Vec3 upOnFace = Normalised(Cross(right, normal));
    coordinates.clear();
    double minU = 1e9, maxU = -1e9, minV = 1e9, maxV = -1e9;
    for (const Vec3& c : corners) {
      const double u = Dot(c, right), v = Dot(c, upOnFace);
      minU = std::min(minU, u);
      maxU = std::max(maxU, u);
      minV = std::min(minV, v);
      maxV = std::max(maxV, v);
    }
    for (const Vec3& c : corners) {
      const double u = maxU > minU ? (Dot(c, right) - minU) / (maxU - minU) : 0.5;
      const double v = maxV > minV ? (Dot(c, upOnFace) - minV) / (maxV - minV) : 0.5;
      coordinates.push_back({static_cast<float>(u), static_cast<float>(v)});
    }
  }
  // A fan over a convex polygon keeps the polygon's winding in every triangle.
  for (size_t i = 1; i + 1 < corners.size(); ++i) {
    ModelTriangle triangle;
    triangle.material = material;
    const size_t index[3] = {0, i, i + 1};
    for (int k = 0; k < 3; ++k) {
      triangle.corner[k].position = corners[index[k]];
      triangle.corner[k].u = coordinates[index[k]].x;
      triangle.corner[k].v = coordinates[index[k]].y;
    }
    triangles_.push_back(triangle);
  }
}

void Model::AddBox(const Vec3& base, const Vec3& size, const BoxMaterials& materials, const Placement& place) {
  const double x0 = base.x - size.x / 2, x1 = base.x + size.x / 2;
  const double y0 = base.y, y1 = base.y + size.y;
  const double z0 = base.z - size.z / 2, z1 = base.z + size.z / 2;
  const auto p = [&place](double x, double y, double z) { return place.Apply({x, y, z}); };
  const Vec3 inside = p(base.x, base.y + size.y / 2, base.z);
  AddPolygon({p(x0, y1, z0), p(x1, y1, z0), p(x1, y1, z1), p(x0, y1, z1)}, inside, materials.top);
  AddPolygon({p(x0, y0, z0), p(x1, y0, z0), p(x1, y0, z1), p(x0, y0, z1)}, inside, materials.bottom);
  AddPolygon({p(x0, y0, z1), p(x1, y0, z1), p(x1, y1, z1), p(x0, y1, z1)}, inside, materials.front);
  AddPolygon({p(x0, y0, z0), p(x1, y0, z0), p(x1, y1, z0), p(x0, y1, z0)}, inside, materials.back);
  AddPolygon({p(x0, y0, z0), p(x0, y0, z1), p(x0, y1, z1), p(x0, y1, z0)}, inside, materials.left);
  AddPolygon({p(x1, y0, z0), p(x1, y0, z1), p(x1, y1, z1), p(x1, y1, z0)}, inside, materials.right);
}

void Model::AddBox(const Vec3& base, const Vec3& size, Material material, const Placement& place) {
  AddBox(base, size, {material, material, material, material, material, material}, place);
}

Model::Ring Model::Ellipse(const Vec3& centre, char axis, double rx, double ry, int segments, double turn) {
  Ring ring{centre, {}};
  for (int i = 0; i < segments; ++i) {
    const double a = (i + turn) * 2 * 3.14159265358979323846 / segments;
    const double s = std::cos(a) * rx, t = std::sin(a) * ry;
    Vec3 offset;
    if (axis == 'z') offset = {s, t, 0};
    if (axis == 'y') offset = {s, 0, t};
    if (axis == 'x') offset = {0, t, s};
    ring.points.push_back(centre + offset);
  }
  return ring;
}

void Model::AddSweep(const std::vector<Ring>& rings, Material side, Material ends, const Placement& place) {
  AddSweep(rings, std::vector<Material>(rings.empty() ? 0 : rings.size() - 1, side), ends, place);
}

void Model::AddSweep(const std::vector<Ring>& rings, const std::vector<Material>& sides, Material ends,
                     const Placement& place) {
  if (rings.size() < 2 || sides.size() + 1 < rings.size()) return;
  std::vector<Ring> placed;
  for (const Ring& ring : rings) {
    Ring moved{place.Apply(ring.centre), {}};
    for (const Vec3& p : ring.points) moved.points.push_back(place.Apply(p));
    placed.push_back(moved);
  }
  const double lastRing = static_cast<double>(placed.size() - 1);
  for (size_t r = 0; r + 1 < placed.size(); ++r) {
    const Ring& a = placed[r];
    const Ring& b = placed[r + 1];
    const Material side = sides[r];
    const Vec3 inside = (a.centre + b.centre) * 0.5;
    const size_t n = std::max(a.points.size(), b.points.size());
    const float v0 = static_cast<float>(r / lastRing), v1 = static_cast<float>((r + 1) / lastRing);
    for (size_t i = 0; i < n; ++i) {
      const size_t j = (i + 1) % n;
      const float u0 = static_cast<float>(i) / n, u1 = static_cast<float>(i + 1) / n;
      const Vec3& a0 = a.points[a.points.size() == 1 ? 0 : i];
      const Vec3& a1 = a.points[a.points.size() == 1 ? 0 : j];
      const Vec3& b0 = b.points[b.points.size() == 1 ? 0 : i];
      const Vec3& b1 = b.points[b.points.size() == 1 ? 0 : j];
      if (a.points.size() == 1) {
        AddPolygon({a0, b0, b1}, inside, side, {{(u0 + u1) / 2, v0}, {u0, v1}, {u1, v1}});
      } else if (b.points.size() == 1) {
        AddPolygon({a0, a1, b0}, inside, side, {{u0, v0}, {u1, v0}, {(u0 + u1) / 2, v1}});
      } else {
        AddPolygon({a0, a1, b1, b0}, inside, side, {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}});
      }
    }
  }
  if (placed.front().points.size() > 2) AddPolygon(placed.front().points, placed[1].centre, ends);
  if (placed.back().points.size() > 2) AddPolygon(placed.back().points, placed[placed.size() - 2].centre, ends);
}

void Model::AddCylinder(const Vec3& base, double radiusBottom, double radiusTop, double height, int segments,
                        Material side, Material ends, const Placement& place) {
  std::vector<Ring> rings = {Ellipse(base, 'y', radiusBottom, radiusBottom, segments, 0.5),
                             Ellipse(base + Vec3{0, height, 0}, 'y', radiusTop, radiusTop, segments, 0.5)};
  if (radiusTop <= 0) rings[1].points = {rings[1].centre};
  AddSweep(rings, side, ends, place);
}

void Model::AddPlate(const std::vector<Vec3>& points, Material material, const Placement& place) {
  std::vector<Vec3> placed;
  for (const Vec3& p : points) placed.push_back(place.Apply(p));
  const Vec3 normal = PolygonNormal(placed);
  const Vec3 centre = Centroid(placed);
  AddPolygon(placed, centre - normal, material);
  AddPolygon(placed, centre + normal, material);
}

void Model::Append(const Model& other, const Placement& place) {
  for (ModelTriangle triangle : other.triangles_) {
    for (ModelVertex& corner : triangle.corner) corner.position = place.Apply(corner.position);
    triangles_.push_back(triangle);
  }
}

double Model::Radius() const {
  double radius = 0;
  for (const ModelTriangle& t : triangles_) {
    for (const ModelVertex& c : t.corner) radius = std::max(radius, Length(c.position));
  }
  return radius;
}

double Model::FootprintRadius() const {
  double radius = 0;
  for (const ModelTriangle& t : triangles_) {
    for (const ModelVertex& c : t.corner) radius = std::max(radius, std::hypot(c.position.x, c.position.z));
  }
  return radius;
}
