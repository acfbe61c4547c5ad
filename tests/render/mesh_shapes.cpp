#include "mesh_shapes.h"

#include <algorithm>
#include <cmath>

#include "asset_writer.h"
#include "content/mesh_format.h"

namespace mesh_shapes {

namespace {

void AppendLe16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

uint16_t Encode(double metres) {
  return mesh_format::EncodeCoordinate(static_cast<fixed>(std::lround(metres * 65536.0)));
}

// (b - a) x (c - a) with the usual component formula.
void CrossOf(const Vertex& a, const Vertex& b, const Vertex& c, double out[3]) {
  const double e[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
  const double f[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
  out[0] = e[1] * f[2] - e[2] * f[1];
  out[1] = e[2] * f[0] - e[0] * f[2];
  out[2] = e[0] * f[1] - e[1] * f[0];
}

uint8_t AddVertex(Shape& shape, double x, double y, double z, uint8_t u, uint8_t v) {
  shape.vertices.push_back({x, y, z, u, v});
  return static_cast<uint8_t>(shape.vertices.size() - 1);
}

// Four corners in order around a quad, as two triangles facing `out`.
void AddQuad(Shape& shape, const double corners[4][3], const double out[3], TextureRect rect) {
  const uint8_t uv[4][2] = {{rect.u0, rect.v0}, {rect.u1, rect.v0}, {rect.u1, rect.v1}, {rect.u0, rect.v1}};
  uint8_t index[4];
  for (int i = 0; i < 4; ++i) {
    index[i] = AddVertex(shape, corners[i][0], corners[i][1], corners[i][2], uv[i][0], uv[i][1]);
  }
  AddTriangle(shape, index[0], index[1], index[2], out[0], out[1], out[2]);
  AddTriangle(shape, index[0], index[2], index[3], out[0], out[1], out[2]);
}

Picture FilledPicture(uint32_t size, void (*colour)(uint32_t x, uint32_t y, uint8_t* rgb)) {
  Picture picture(size, size, 3);
  for (uint32_t y = 0; y < size; ++y) {
    for (uint32_t x = 0; x < size; ++x) colour(x, y, picture.At(x, y));
  }
  return picture;
}

void SetRgb(uint8_t* rgb, uint8_t r, uint8_t g, uint8_t b) {
  rgb[0] = r;
  rgb[1] = g;
  rgb[2] = b;
}

std::vector<uint8_t> TextBytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

}  // namespace

void AppendVertexRecord(std::vector<uint8_t>& out, double x, double y, double z, uint8_t u, uint8_t fileV) {
  AppendLe16(out, Encode(x));
  AppendLe16(out, Encode(y));
  AppendLe16(out, Encode(z));
  out.push_back(u);
  out.push_back(fileV);
}

std::vector<uint8_t> MeshFileBytes(const Shape& shape, double radius) {
  if (radius < 0) {
    radius = 0;
    for (const Vertex& v : shape.vertices) radius = std::max(radius, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
  }
  std::vector<uint8_t> out = {'M', 'E', 'S', 'H'};
  out.push_back(static_cast<uint8_t>(shape.vertices.size()));
  out.push_back(static_cast<uint8_t>(shape.faces.size()));
  AppendLe16(out, Encode(radius));
  for (const Vertex& v : shape.vertices) AppendVertexRecord(out, v.x, v.y, v.z, v.u, static_cast<uint8_t>(255 - v.v));
  for (const Face& f : shape.faces) {
    out.push_back(f.a);
    out.push_back(f.b);
    out.push_back(f.c);
    out.push_back(0);
  }
  return out;
}

void AddTriangle(Shape& shape, uint8_t a, uint8_t b, uint8_t c, double outX, double outY, double outZ) {
  double normal[3];
  CrossOf(shape.vertices[a], shape.vertices[b], shape.vertices[c], normal);
  // The renderer draws a triangle whose (b - a) x (c - a) points toward the viewer.
  if (normal[0] * outX + normal[1] * outY + normal[2] * outZ >= 0) {
    shape.faces.push_back({a, b, c});
  } else {
    shape.faces.push_back({a, c, b});
  }
}

void AddBox(Shape& shape, double cx, double cy, double cz, double hx, double hy, double hz, TextureRect rect) {
  // Each side: its outward axis and the four corners, top left first as seen from outside.
  for (int axis = 0; axis < 3; ++axis) {
    for (int sign = -1; sign <= 1; sign += 2) {
      double out[3] = {0, 0, 0};
      out[axis] = sign;
      double corners[4][3];
      // Two directions spanning the side; some sides show the picture mirrored, which the
      // shapes here do not mind.
      const int across = axis == 0 ? 2 : 0;
      const int down = axis == 1 ? 2 : 1;
      const double half[3] = {hx, hy, hz};
      const double centre[3] = {cx, cy, cz};
      const double steps[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
      for (int i = 0; i < 4; ++i) {
        double p[3] = {centre[0], centre[1], centre[2]};
        p[axis] += sign * half[axis];
        p[across] += steps[i][0] * half[across];
        p[down] -= steps[i][1] * half[down];  // the picture's top row on the upper edge
        corners[i][0] = p[0];
        corners[i][1] = p[1];
        corners[i][2] = p[2];
      }
      AddQuad(shape, corners, out, rect);
    }
  }
}

void AddPyramid(Shape& shape, double baseY, double half, double height, TextureRect rect) {
  const double base[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
  const uint8_t middle = static_cast<uint8_t>((rect.u0 + rect.u1) / 2);
  for (int i = 0; i < 4; ++i) {
    const double* p = base[i];
    const double* q = base[(i + 1) % 4];
    const uint8_t apex = AddVertex(shape, 0, baseY + height, 0, middle, rect.v0);
    const uint8_t left = AddVertex(shape, p[0], baseY, p[1], rect.u0, rect.v1);
    const uint8_t right = AddVertex(shape, q[0], baseY, q[1], rect.u1, rect.v1);
    AddTriangle(shape, apex, left, right, (p[0] + q[0]) / 2, height * 0.5, (p[1] + q[1]) / 2);
  }
  const double corners[4][3] = {{-half, baseY, -half}, {half, baseY, -half}, {half, baseY, half}, {-half, baseY, half}};
  const double down[3] = {0, -1, 0};
  AddQuad(shape, corners, down, rect);
}

Shape Cube(double half) {
  Shape shape;
  AddBox(shape, 0, half, 0, half, half, half, {0, 0, 255, 255});
  return shape;
}

Shape Pyramid(double half, double height) {
  Shape shape;
  AddPyramid(shape, 0, half, height, {0, 0, 255, 255});
  return shape;
}

Shape Helicopter() {
  Shape shape;
  AddBox(shape, 0, 1.2, 0, 0.7, 0.7, 1.6, kBodyRect);       // fuselage
  AddBox(shape, 0, 1.1, 1.95, 0.6, 0.5, 0.35, kGlassRect);  // cockpit glass
  AddBox(shape, 0, 1.5, -3.0, 0.15, 0.15, 1.5, kBodyRect);  // tail boom
  AddBox(shape, 0, 2.0, -4.3, 0.05, 0.5, 0.25, kRedRect);   // tail fin
  AddBox(shape, 0, 2.05, 0, 3.5, 0.03, 0.15, kDarkRect);    // rotor blade across
  AddBox(shape, 0, 2.05, 0, 0.15, 0.03, 3.5, kDarkRect);    // rotor blade along
  AddBox(shape, -0.6, 0.1, 0, 0.05, 0.05, 1.6, kDarkRect);  // skids
  AddBox(shape, 0.6, 0.1, 0, 0.05, 0.05, 1.6, kDarkRect);
  return shape;
}

std::vector<uint8_t> CheckerTexture() {
  return EncodeJpegPicture(FilledPicture(64,
                                         [](uint32_t x, uint32_t y, uint8_t* rgb) {
                                           if (((x / 8) + (y / 8)) % 2 == 0) {
                                             SetRgb(rgb, 240, 240, 240);
                                           } else {
                                             SetRgb(rgb, 30, 90, 200);
                                           }
                                         }),
                           100);
}

std::vector<uint8_t> HelicopterTexture() {
  return EncodeJpegPicture(FilledPicture(64,
                                         [](uint32_t x, uint32_t y, uint8_t* rgb) {
                                           if (y < 32) {
                                             if (x < 32) {
                                               SetRgb(rgb, 90, 110, 40);
                                             } else {
                                               SetRgb(rgb, 120, 190, 240);
                                             }
                                           } else if (x < 32) {
                                             SetRgb(rgb, 50, 50, 50);
                                           } else {
                                             SetRgb(rgb, 210, 30, 30);
                                           }
                                         }),
                           100);
}

std::vector<uint8_t> BandTexture() {
  return EncodeJpegPicture(
      FilledPicture(
          64, [](uint32_t, uint32_t y, uint8_t* rgb) { SetRgb(rgb, 230, static_cast<uint8_t>(40 + y / 8 * 28), 20); }),
      100);
}

std::vector<PackFile> ShapePackFiles() {
  Shape farHelicopter;
  AddBox(farHelicopter, 0, 1.2, -1.0, 0.7, 0.7, 3.0, kBodyRect);
  return {
      {"cube.msh", MeshFileBytes(Cube(1.0))},
      {"pyramid.msh", MeshFileBytes(Pyramid(1.5, 3.0))},
      {"heli.msh", MeshFileBytes(Helicopter())},
      {"heli_far.msh", MeshFileBytes(farHelicopter)},
      {"checker.jpg", CheckerTexture()},
      {"heli.jpg", HelicopterTexture()},
      {"bands.jpg", BandTexture()},
      {"meshes.ini", TextBytes("[Cube]\nMesh 0 = 16 cube.msh checker.jpg\n"
                               "[Pyramid]\nMesh 0 = 16 pyramid.msh bands.jpg\n"
                               "[Helicopter]\nMesh 0 = 1 heli.msh heli.jpg\nMesh 1 = 16 heli_far.msh heli.jpg\n")},
  };
}

}  // namespace mesh_shapes
