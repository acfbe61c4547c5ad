// Game meshes: a model's triangles with baked shading, in the binary mesh layout
// (mesh_encoding.h), and the texture atlas they are painted from.
//
// The game draws a mesh pixel as its texel, without lighting, so the atlas holds every material
// in four brightnesses and each face takes the one that matches how it faces a light from
// above, right and front. Tiles are 16 x 16 texels, four per material in a row, on the 16-texel
// grid of the JPEG colour blocks so that no tile's colour bleeds into its neighbour; a texture
// is 64 texels wide for up to four materials and 128 for up to sixteen.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "asset_writer.h"
#include "mesh_encoding.h"
#include "model.h"

constexpr int kAtlasTile = 16;
constexpr int kShadeLevels = 4;
constexpr int kLargestAtlas = 128;

class TextureAtlas {
 public:
  // False when there are more materials than tiles.
  bool Build(const std::vector<Material>& materials);
  const Picture& picture() const { return picture_; }
  bool Holds(Material material) const;
  // The u, v bytes of the mesh file for a point of a face.
  void TexelBytes(Material material, int shade, float u, float v, uint8_t* uByte, uint8_t* vByte) const;

 private:
  std::vector<Material> materials_;
  int size_ = 0;  // texels per side
  Picture picture_;
};

// 0 (brightest) .. 3 (darkest) for a face's outward normal.
int ShadeOf(const Vec3& normal);
float ShadeBrightness(int shade);

// The mesh file of a model, or an empty vector with `error` set when the model has more than
// 255 vertices or faces or uses a material the atlas lacks.
std::vector<uint8_t> EncodeMesh(const Model& model, const TextureAtlas& atlas, std::string& error);
