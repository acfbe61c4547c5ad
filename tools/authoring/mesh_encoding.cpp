#include "mesh_encoding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace {

constexpr double kUnitsPerMetre = 32.0;

uint16_t EncodeCoordinate(double metres) {
  const long units = std::lround(std::fabs(metres) * kUnitsPerMetre);
  const uint16_t magnitude = static_cast<uint16_t>(std::min(units, 0x7FFFL));
  return metres < 0 && magnitude != 0 ? static_cast<uint16_t>(0x8000 | magnitude) : magnitude;
}

float DecodeCoordinate(uint16_t value) {
  const float magnitude = static_cast<float>(value & 0x7FFF) / static_cast<float>(kUnitsPerMetre);
  return (value & 0x8000) ? -magnitude : magnitude;
}

void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

std::string Metres(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

bool EncodeMeshFile(const std::vector<MeshTriangle>& triangles, EncodedMesh& mesh, std::string& error) {
  using VertexRecord = std::array<uint16_t, 4>;  // x, y, z, u | v << 8
  std::map<VertexRecord, size_t> indexOf;
  std::vector<VertexRecord> vertices;
  std::vector<std::array<size_t, 3>> faces;
  double radius = 0;
  for (const MeshTriangle& triangle : triangles) {
    std::array<VertexRecord, 3> records;
    for (int k = 0; k < 3; ++k) {
      const MeshCorner& c = triangle.corner[k];
      const double farthest = std::max({std::fabs(c.x), std::fabs(c.y), std::fabs(c.z)});
      if (!(farthest <= kFarthestMeshCoordinate)) {
        error = "a corner " + Metres(farthest) + " m out along an axis; at most " +
                Metres(kFarthestMeshCoordinate) + " m";
        return false;
      }
      records[k] = {EncodeCoordinate(c.x), EncodeCoordinate(c.y), EncodeCoordinate(c.z),
                    static_cast<uint16_t>(c.u | c.v << 8)};
    }
    if (records[0] == records[1] || records[1] == records[2] || records[0] == records[2]) continue;
    std::array<size_t, 3> face{};
    for (int k = 0; k < 3; ++k) {
      const auto [found, added] = indexOf.emplace(records[k], vertices.size());
      if (added) {
        vertices.push_back(records[k]);
        const double x = DecodeCoordinate(records[k][0]), y = DecodeCoordinate(records[k][1]),
                     z = DecodeCoordinate(records[k][2]);
        radius = std::max(radius, std::sqrt(x * x + y * y + z * z));
      }
      face[k] = found->second;
    }
    faces.push_back(face);
  }
  if (vertices.size() > kMostMeshVertices) {
    error = std::to_string(vertices.size()) + " vertices; at most " + std::to_string(kMostMeshVertices);
    return false;
  }
  if (faces.size() > kMostMeshFaces) {
    error = std::to_string(faces.size()) + " faces; at most " + std::to_string(kMostMeshFaces);
    return false;
  }
  mesh.vertices = static_cast<int>(vertices.size());
  mesh.faces = static_cast<int>(faces.size());
  mesh.file = {0, 0, 0, 0, static_cast<uint8_t>(vertices.size()), static_cast<uint8_t>(faces.size())};
  // Rounded up, so that the sphere holds every corner.
  Put16(mesh.file, static_cast<uint16_t>(std::min(std::ceil(radius * kUnitsPerMetre), 32767.0)));
  for (const VertexRecord& v : vertices) {
    for (const uint16_t field : v) Put16(mesh.file, field);
  }
  for (const auto& face : faces) {
    mesh.file.insert(mesh.file.end(), {static_cast<uint8_t>(face[0]), static_cast<uint8_t>(face[1]),
                                       static_cast<uint8_t>(face[2]), 0});
  }
  return true;
}

bool DecodeMeshFile(const std::vector<uint8_t>& file, DecodedMesh& mesh) {
  if (file.size() < 8) return false;
  const size_t v = file[4], f = file[5];
  if (file.size() < 8 + v * 8 + f * 4) return false;
  const auto get16 = [&file](size_t at) { return static_cast<uint16_t>(file[at] | file[at + 1] << 8); };
  mesh.radius = DecodeCoordinate(get16(6));
  mesh.vertices.clear();
  mesh.faces.clear();
  for (size_t i = 0; i < v; ++i) {
    const size_t at = 8 + i * 8;
    mesh.vertices.push_back({DecodeCoordinate(get16(at)), DecodeCoordinate(get16(at + 2)),
                             DecodeCoordinate(get16(at + 4)), file[at + 6], file[at + 7]});
  }
  for (size_t i = 0; i < f; ++i) {
    const size_t at = 8 + v * 8 + i * 4;
    if (file[at] >= v || file[at + 1] >= v || file[at + 2] >= v) return false;
    mesh.faces.push_back({file[at], file[at + 1], file[at + 2]});
  }
  return true;
}
