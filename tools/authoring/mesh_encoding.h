// Game mesh files written from triangles and read back: shared by the core pack's generator and
// by kestrel-pack mesh.
//
// Mesh file (little-endian): 4 bytes not read by the game (zero), vertex count V and face count
// F (one byte each, at most 255), the bounding radius, V vertices of 8 bytes (x, y, z as 16-bit
// sign and magnitude in 1/32 m, then u and v bytes) and F faces of 4 bytes (three vertex
// indices and a zero). u and v run 0..255 over the whole texture, v from the bottom row up.
// A face is drawn from the side its (b - a) x (c - a) points to.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kMostMeshVertices = 255;
constexpr int kMostMeshFaces = 255;
// The largest coordinate the 15-bit magnitude holds: 32767 / 32 m.
constexpr double kFarthestMeshCoordinate = 32767.0 / 32.0;

// A corner of a triangle: metres in the object's frame (x right, y up, z forward) and the u, v
// bytes of the file.
struct MeshCorner {
  double x = 0, y = 0, z = 0;
  uint8_t u = 0, v = 0;
};

struct MeshTriangle {
  std::array<MeshCorner, 3> corner;
};

struct EncodedMesh {
  std::vector<uint8_t> file;
  int vertices = 0;
  int faces = 0;
};

// The file of one level. Corners that agree at 1/32 m and in u, v share a vertex; triangles
// whose corners fall together there have no area and are left out. False with `error` (what is
// over and by how much, e.g. "301 vertices; at most 255") when a limit is broken.
bool EncodeMeshFile(const std::vector<MeshTriangle>& triangles, EncodedMesh& mesh, std::string& error);

// A mesh file read back, for previews and checks.
struct DecodedMesh {
  struct Vertex {
    float x, y, z;  // metres
    uint8_t u, v;
  };
  std::vector<Vertex> vertices;
  std::vector<std::array<uint8_t, 3>> faces;
  float radius = 0;
};
// False when the file is shorter than its counts say or a face names a vertex it lacks.
bool DecodeMeshFile(const std::vector<uint8_t>& file, DecodedMesh& mesh);
