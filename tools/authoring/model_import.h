// 3D models read through Assimp (Wavefront OBJ, glTF 2.0 and the other formats it reads) and
// turned into the triangles of a game mesh.
//
// Axes: a model's +y is up and its +z the object's front, as glTF defines them (so its right
// side is -x). The game's x points to the object's right, so x is mirrored, and every triangle's
// corners are taken in the other order to keep it facing outward. Units are metres. Texture
// coordinates (0 to 1, v from the bottom) become the file's 0..255 bytes; the game does not
// repeat textures, so coordinates outside 0..1 are refused.
#pragma once

#include <string>
#include <vector>

#include "mesh_encoding.h"

// Every triangle of every mesh of the model, with its node's placement applied. Points and
// lines are left out. `textured`: the texture coordinates are needed (a texture will be used).
// False with a sentence naming the model when it cannot be read or has nothing to draw.
bool ImportModel(const std::string& path, bool textured, std::vector<MeshTriangle>& triangles, std::string& error);
