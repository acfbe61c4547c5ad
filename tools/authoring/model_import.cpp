#include "model_import.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Rounding at an edge of the texture is forgiven; anything further out is a mistake.
constexpr float kCoordinateSlack = 1e-3f;

uint8_t TextureByte(float coordinate) {
  return static_cast<uint8_t>(std::clamp(static_cast<int>(std::floor(coordinate * 256.0f)), 0, 255));
}

std::string Coordinates(float u, float v) {
  char text[64];
  std::snprintf(text, sizeof text, "(%.3f, %.3f)", u, v);
  return text;
}

}  // namespace

bool ImportModel(const std::string& path, bool textured, std::vector<MeshTriangle>& triangles, std::string& error) {
  Assimp::Importer importer;
  importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
  const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_PreTransformVertices |
                                                     aiProcess_SortByPType | aiProcess_ValidateDataStructure);
  if (scene == nullptr) {
    error = path + ": " + importer.GetErrorString();
    return false;
  }
  triangles.clear();
  for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
    const aiMesh& mesh = *scene->mMeshes[m];
    const bool hasCoordinates = mesh.HasTextureCoords(0);
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3) continue;
      if (textured && !hasCoordinates) {
        error = path + ": mesh " + std::to_string(m) + " has no texture coordinates, and a texture was given";
        return false;
      }
      MeshTriangle& triangle = triangles.emplace_back();
      // Corners 0, 2, 1: the mirrored x turns the winding over; this turns it back.
      constexpr unsigned kCornerOrder[3] = {0, 2, 1};
      for (int k = 0; k < 3; ++k) {
        const unsigned index = face.mIndices[kCornerOrder[k]];
        const aiVector3D& p = mesh.mVertices[index];
        MeshCorner& corner = triangle.corner[k];
        corner.x = -p.x;
        corner.y = p.y;
        corner.z = p.z;
        if (!textured) continue;
        const aiVector3D& t = mesh.mTextureCoords[0][index];
        if (t.x < -kCoordinateSlack || t.x > 1 + kCoordinateSlack || t.y < -kCoordinateSlack ||
            t.y > 1 + kCoordinateSlack) {
          error = path + ": a corner's texture coordinates " + Coordinates(t.x, t.y) +
                  " lie outside the texture (0 to 1 each); the game does not repeat textures";
          return false;
        }
        corner.u = TextureByte(t.x);
        corner.v = TextureByte(t.y);
      }
    }
  }
  if (triangles.empty()) {
    error = path + ": the model has no faces (no triangles or polygons to draw)";
    return false;
  }
  return true;
}
