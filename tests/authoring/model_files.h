// The render tests' shapes written as an author's model files: Wavefront OBJ and glTF 2.0 (one
// .gltf file with its buffer inline). The shapes are in the game's axes; written unchanged they
// are models whose triangles run counter-clockwise seen from outside, as both formats expect.
#pragma once

#include <string>

#include "mesh_shapes.h"

namespace model_files {

// Texture coordinates: the shape's u, v bytes over 255; OBJ counts v from the bottom, glTF from
// the top.
std::string Obj(const mesh_shapes::Shape& shape);
std::string Gltf(const mesh_shapes::Shape& shape);

}  // namespace model_files
