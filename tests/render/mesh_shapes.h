// Meshes made in code for the render tests and for kestrel-bench: a mesh-file writer, boxes and
// pyramids with outward-facing triangles, a cube, a pyramid and a helicopter-like shape, their
// JPEG textures and the pack files (mesh files, textures, "meshes.ini") that hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mesh_shapes {

// Texture coordinates here are picture texels on a 0..255 scale across the picture, counted
// from the top; the file's v counts from the bottom, and MeshFileBytes turns them over.
struct Vertex {
  double x, y, z;  // metres
  uint8_t u, v;
};

struct Face {
  uint8_t a, b, c;
};

struct Shape {
  std::vector<Vertex> vertices;
  std::vector<Face> faces;
};

// A rectangle of the picture on the same 0..255 scale.
struct TextureRect {
  uint8_t u0, v0, u1, v1;
};

// The file of one level: header, vertices, faces. The radius is the farthest vertex from the
// origin unless one is given.
std::vector<uint8_t> MeshFileBytes(const Shape& shape, double radius = -1.0);

// One file record of a vertex, for tests that assemble files byte by byte.
void AppendVertexRecord(std::vector<uint8_t>& out, double x, double y, double z, uint8_t u, uint8_t fileV);

// A triangle wound so that it is drawn when seen from the side `outward` points to.
void AddTriangle(Shape& shape, uint8_t a, uint8_t b, uint8_t c, double outX, double outY, double outZ);
// An axis-aligned box around (cx, cy, cz) with half sizes (hx, hy, hz); every side shows `rect`.
void AddBox(Shape& shape, double cx, double cy, double cz, double hx, double hy, double hz, TextureRect rect);
// A square pyramid standing on y = baseY with half base `half` and apex `height` above.
void AddPyramid(Shape& shape, double baseY, double half, double height, TextureRect rect);

Shape Cube(double half);
Shape Pyramid(double half, double height);
// Fuselage, cockpit, tail boom and fin, two rotor blades and two skids, nose toward +z, about
// 9 m long; textured from HelicopterTexture's four quarters.
Shape Helicopter();

// 64 x 64 colour JPEGs. The checker has 8 x 8 squares of two colours; the helicopter texture has
// four quarters: olive body (top left), blue glass (top right), dark grey (bottom left), red
// (bottom right); the pyramid's has red to yellow bands from top to bottom.
std::vector<uint8_t> CheckerTexture();
std::vector<uint8_t> HelicopterTexture();
std::vector<uint8_t> BandTexture();

// The quarters of HelicopterTexture, kept clear of the borders where JPEG blurs the colours.
constexpr TextureRect kBodyRect = {12, 12, 116, 116};
constexpr TextureRect kGlassRect = {140, 12, 244, 116};
constexpr TextureRect kDarkRect = {12, 140, 116, 244};
constexpr TextureRect kRedRect = {140, 140, 244, 244};

struct PackFile {
  std::string name;
  std::vector<uint8_t> data;
};

// "cube.msh", "pyramid.msh", "heli.msh" and "heli_far.msh" (a box-only stand-in), their textures,
// and "meshes.ini" with the sections "Cube", "Pyramid" (drawn up to 1024 m) and "Helicopter" (two
// levels: the full shape up to 256 m, the stand-in up to 1024 m).
std::vector<PackFile> ShapePackFiles();

}  // namespace mesh_shapes
