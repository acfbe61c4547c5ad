// The meshes of one mission: small textured triangle meshes with up to four levels of detail,
// loaded from the sections of a pack's "meshes.ini" and the binary mesh files they name.
//
// A section lists its levels with the keys "Mesh 0", "Mesh 1", ... from the nearest on; each
// key gives a switch distance (whole number), a mesh file in the pack and optionally a JPEG
// texture in the pack. Vertex and face records stay in the packed file layout (mesh_format.h)
// so that one block per level holds them; the renderer decodes each vertex as it transforms
// it. Texture coordinates are rescaled once at load to texel units of the level's texture.
//
// Levels whose file is missing, shorter than its header says, or whose faces name vertices
// that do not exist are skipped, like missing files.
#pragma once

#include <cstdint>

#include "content/ini.h"
#include "core/fixed.h"
#include "core/ptr_array.h"
#include "core/vector3.h"
#include "gfx/surface.h"

class ContentPack;

constexpr uint16_t kMaxMeshLods = 4;

// A vertex record decoded: position in the mesh's frame (16.16 metres) and texel coordinates.
struct MeshVertex {
  Vector3 position;
  uint8_t u = 0;
  uint8_t v = 0;
};

// Decodes the 8-byte vertex record at `record`.
MeshVertex DecodeVertex(const uint8_t* record);

class MeshLod {
 public:
  MeshLod() = default;
  ~MeshLod();
  MeshLod(const MeshLod&) = delete;
  MeshLod& operator=(const MeshLod&) = delete;

  // Makes `surface` the level's texture and rescales every vertex's u and v to its texels:
  // u >> s and (255 - v) >> s, with s from the texture's width (128 -> 1, 64 -> 2, 32 -> 3,
  // 16 -> 4, 8 -> 5, anything else -> 0). The file counts v from the bottom of the picture,
  // memory from the top. Applying a second texture rescales the already scaled values.
  void ApplyTexture(const Surface* surface);

  const Surface* texture = nullptr;  // in the library's cache; null: no texture
  uint8_t* vertices = nullptr;       // owned block: vertexCount vertex records, then the faces
  uint8_t* faces = nullptr;          // into `vertices`, at the first face record
  uint8_t vertexCount = 0;
  uint8_t faceCount = 0;
  fixed radius = 0;          // bounding radius, 16.16 metres
  fixed switchDistance = 0;  // the level serves while (whole view depth)^2 < this
};

class Mesh {
 public:
  Mesh() = default;
  ~Mesh();
  Mesh(const Mesh&) = delete;
  Mesh& operator=(const Mesh&) = delete;

  // The first level whose switch distance (read as unsigned) is greater than `squaredDepth`,
  // or null when none is: the object is then too far to draw. The renderer passes the square
  // of the whole-number part of the view depth, so a level with switch distance d (whole
  // number in the file) serves up to a depth of 256 x sqrt(d) metres.
  const MeshLod* SelectLod(uint32_t squaredDepth) const;

  char16_t name[kIniNameSize] = {};
  uint16_t lodCount = 0;
  MeshLod* lods[kMaxMeshLods] = {};  // owned; the first lodCount are set
};

class MeshLibrary {
 public:
  MeshLibrary() = default;
  ~MeshLibrary();
  MeshLibrary(const MeshLibrary&) = delete;
  MeshLibrary& operator=(const MeshLibrary&) = delete;

  // Loads the mesh of one "meshes.ini" section from `pack` and appends it to `meshes`. Null
  // (and nothing kept) when no level loaded. Keys past the fourth loaded level are ignored.
  Mesh* LoadMesh(const ContentPack* pack, const IniSection& section);
  // The first mesh of that name ignoring case, or null.
  Mesh* FindMesh(const char16_t* name) const;
  // The cached texture of that file name ignoring case, or null.
  Surface* FindTexture(const char16_t* fileName) const;
  // Loads and decodes the JPEG and caches it under its name; null when the file is missing.
  // A file that does not decode is cached all the same, as an empty surface.
  Surface* LoadTexture(const ContentPack* pack, const char16_t* fileName);

  PtrArray<Mesh*> meshes;  // owned, in load order
  // The texture cache: two parallel arrays, the same index belonging together.
  PtrArray<Surface*> textures;       // owned
  PtrArray<char16_t*> textureNames;  // owned copies of the file names

 private:
  // One level from the mesh file `fileName`; null when the file is missing or malformed.
  MeshLod* LoadLod(const ContentPack* pack, const char16_t* fileName);
};
