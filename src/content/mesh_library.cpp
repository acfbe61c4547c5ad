#include "content/mesh_library.h"

#include <cstdio>
#include <cstring>

#include "content/data_buffer.h"
#include "content/definition_reading.h"
#include "content/mesh_format.h"
#include "content/pictures.h"
#include "core/memory.h"
#include "core/wide_string.h"

using namespace mesh_format;

MeshVertex DecodeVertex(const uint8_t* record) {
  MeshVertex vertex;
  vertex.position = Vector3(DecodeCoordinate(ReadLe16(record)), DecodeCoordinate(ReadLe16(record + 2)),
                            DecodeCoordinate(ReadLe16(record + 4)));
  vertex.u = record[kVertexUOffset];
  vertex.v = record[kVertexVOffset];
  return vertex;
}

MeshLod::~MeshLod() { Free(vertices); }

namespace {

// Texel shift for a texture width: the file's u and v span 0..255 across the whole picture.
uint32_t TexelShift(uint32_t width) {
  switch (width) {
    case 128:
      return 1;
    case 64:
      return 2;
    case 32:
      return 3;
    case 16:
      return 4;
    case 8:
      return 5;
    default:
      return 0;  // 256 wide, or a picture the content should not use
  }
}

}  // namespace

void MeshLod::ApplyTexture(const Surface* surface) {
  texture = surface;
  const uint32_t shift = surface != nullptr ? TexelShift(surface->width) : 0;
  for (uint32_t i = 0; i < vertexCount; ++i) {
    uint8_t* record = vertices + i * kVertexSize;
    record[kVertexUOffset] = static_cast<uint8_t>(record[kVertexUOffset] >> shift);
    record[kVertexVOffset] = static_cast<uint8_t>((255u - record[kVertexVOffset]) >> shift);
  }
}

Mesh::~Mesh() {
  for (MeshLod* lod : lods) delete lod;
}

const MeshLod* Mesh::SelectLod(uint32_t squaredDepth) const {
  for (uint16_t i = 0; i < lodCount; ++i) {
    if (static_cast<uint32_t>(lods[i]->switchDistance) > squaredDepth) return lods[i];
  }
  return nullptr;
}

MeshLibrary::~MeshLibrary() {
  meshes.DeleteAll();
  textures.DeleteAll();
  textureNames.FreeAll();
}

MeshLod* MeshLibrary::LoadLod(const ContentPack* pack, const char16_t* fileName) {
  DataBuffer file(pack, fileName);
  if (file.size < kHeaderSize) return nullptr;
  const uint32_t vertexCount = file.data[kVertexCountOffset];
  const uint32_t faceCount = file.data[kFaceCountOffset];
  const uint32_t vertexBytes = vertexCount * kVertexSize;
  const uint32_t blockBytes = vertexBytes + faceCount * kFaceSize;
  // A file cut short would have the copy below read past the buffer, and a face naming a
  // vertex past the count would have the renderer read past the block.
  if (file.size - kHeaderSize < blockBytes) return nullptr;
  const uint8_t* faceRecords = file.data + kHeaderSize + vertexBytes;
  for (uint32_t i = 0; i < faceCount; ++i) {
    const uint8_t* face = faceRecords + i * kFaceSize;
    if (face[0] >= vertexCount || face[1] >= vertexCount || face[2] >= vertexCount) return nullptr;
  }

  uint8_t* block = nullptr;
  if (blockBytes > 0) {
    block = static_cast<uint8_t*>(CheckedAlloc(blockBytes));
    if (block == nullptr) return nullptr;
    std::memcpy(block, file.data + kHeaderSize, blockBytes);
  }
  auto* lod = new MeshLod;
  lod->vertices = block;
  lod->faces = block != nullptr ? block + vertexBytes : nullptr;
  lod->vertexCount = static_cast<uint8_t>(vertexCount);
  lod->faceCount = static_cast<uint8_t>(faceCount);
  lod->radius = DecodeCoordinate(ReadLe16(file.data + kRadiusOffset));
  return lod;
}

Mesh* MeshLibrary::LoadMesh(const ContentPack* pack, const IniSection& section) {
  auto* mesh = new Mesh;
  CopyName(mesh->name, section.name);
  for (uint32_t i = 0; mesh->lodCount < kMaxMeshLods; ++i) {
    char keyName[16];
    std::snprintf(keyName, sizeof keyName, "Mesh %u", i);
    const IniKey* key = section.FindKey(WideFromCp1252(keyName).c_str());
    if (key == nullptr) break;
    if (key->values.Count() < 2) continue;
    MeshLod* lod = LoadLod(pack, ValueText(*key, 1));
    if (lod == nullptr) continue;
    lod->switchDistance = static_cast<fixed>(ValueInt(*key, 0) << 16);
    if (key->values.Count() >= 3) {
      const char16_t* textureName = ValueText(*key, 2);
      Surface* texture = FindTexture(textureName);
      if (texture == nullptr) texture = LoadTexture(pack, textureName);
      if (texture != nullptr) lod->ApplyTexture(texture);
    }
    mesh->lods[mesh->lodCount++] = lod;
  }
  if (mesh->lodCount == 0 || !meshes.Append(mesh)) {
    delete mesh;
    return nullptr;
  }
  return mesh;
}

Mesh* MeshLibrary::FindMesh(const char16_t* name) const {
  for (Mesh* mesh : meshes) {
    if (EqualsNoCase(mesh->name, name)) return mesh;
  }
  return nullptr;
}

Surface* MeshLibrary::FindTexture(const char16_t* fileName) const {
  for (uint16_t i = 0; i < textureNames.Count(); ++i) {
    if (EqualsNoCase(textureNames[i], fileName)) return textures[i];
  }
  return nullptr;
}

Surface* MeshLibrary::LoadTexture(const ContentPack* pack, const char16_t* fileName) {
  DataBuffer file(pack, fileName);
  if (file.Empty()) return nullptr;
  auto* surface = new Surface;
  DecodeJpeg(*surface, file);  // a broken picture leaves the surface empty; it is cached all the same
  char16_t* name = nullptr;
  if (DupString(&name, fileName) == nullptr || !textureNames.Append(name)) {
    FreeString(&name);
    delete surface;
    return nullptr;
  }
  if (!textures.Append(surface)) {
    char16_t* orphan = textureNames.RemoveAt(static_cast<uint16_t>(textureNames.Count() - 1));
    FreeString(&orphan);
    delete surface;
    return nullptr;
  }
  return surface;
}
