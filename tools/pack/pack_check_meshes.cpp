// `kestrel-pack check`: the meshes of meshes.ini, one level at a time through the game's
// MeshLibrary, so that each problem is traced to its "Mesh N" key.
#include <string>

#include "content/data_buffer.h"
#include "content/definition_reading.h"
#include "content/mesh_format.h"
#include "content/mesh_library.h"
#include "core/wide_string.h"
#include "pack_check_internal.h"

namespace pack_check {
namespace {

// A section of the same name holding only `key`, renamed "Mesh 0": LoadMesh on it loads just
// that level.
void OneLevel(const IniSection& section, const IniKey& key, IniSection& level) {
  CopyName(level.name, section.name);
  auto* copy = new IniKey;
  CopyName(copy->name, u"Mesh 0");
  for (const IniValue* value : key.values) {
    auto* text = new IniValue(value->text, StringLength(value->text));
    if (!copy->values.Append(text)) delete text;
  }
  if (!level.keys.Append(copy)) delete copy;
}

// The index N of a key named "Mesh N" (any case), or -1.
long LevelIndex(const char16_t* name) {
  const std::string text = Show(name);
  if (text.size() < 6 || MatchName(text.substr(0, 5)) != "mesh ") return -1;
  long index = 0;
  for (size_t i = 5; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9' || index > 1000000) return -1;
    index = index * 10 + (text[i] - '0');
  }
  return index;
}

// The level's texture, as LoadMesh left it: there, decoded, and as large as the u,v range
// that its faces use once rescaled to texels.
void CheckTexture(Context& context, const Where& where, const MeshLibrary& library, const char16_t* name,
                  const MeshLod& lod) {
  const Surface* texture = library.FindTexture(name);
  if (texture == nullptr) {
    context.report.Add(where, "names the texture " + QuoteFile(name) + ", which is " + context.WhyMissing(name));
    return;
  }
  if (!texture->HasPixels()) {
    context.report.Add(where, "the texture " + QuoteFile(name) + " is not a colour JPEG the game can decode");
    return;
  }
  uint32_t maxU = 0, maxV = 0;
  for (uint32_t f = 0; f < lod.faceCount; ++f) {
    const uint8_t* face = lod.faces + f * mesh_format::kFaceSize;
    for (int corner = 0; corner < 3; ++corner) {
      const MeshVertex vertex = DecodeVertex(lod.vertices + face[corner] * mesh_format::kVertexSize);
      maxU = std::max<uint32_t>(maxU, vertex.u);
      maxV = std::max<uint32_t>(maxV, vertex.v);
    }
  }
  if (lod.faceCount > 0 && (maxU >= texture->width || maxV >= texture->height)) {
    context.report.Add(where, "the texture " + QuoteFile(name) + " (" + std::to_string(texture->width) + " x " +
                                  std::to_string(texture->height) +
                                  ") is smaller than the mesh's u,v range: its faces reach texel " +
                                  std::to_string(maxU) + ", " + std::to_string(maxV) +
                                  " (u,v span a square texture of 8, 16, 32, 64, 128 or 256 texels a side)");
  }
}

}  // namespace

void CheckMeshSection(Context& context, const IniSection& section) {
  if (!context.meshesChecked.insert(MatchName(Show(section.name))).second) return;
  const char16_t* file = u"meshes.ini";
  MeshLibrary library;  // this mesh's levels, one at a time, and their textures
  uint16_t loaded = 0;
  uint32_t previous = 0;  // the last loaded level's switch distance
  uint32_t index = 0;
  // The same walk as LoadMesh: "Mesh 0", "Mesh 1", ... up to the first missing key or the
  // fourth level that loads.
  for (; loaded < kMaxMeshLods; ++index) {
    const std::string keyName = "Mesh " + std::to_string(index);
    const IniKey* key = section.FindKey(WideFromUtf8(keyName).c_str());
    if (key == nullptr) break;
    const Where where{file, KeyOf(section, keyName)};
    if (key->values.Count() < 2) {
      context.report.Add(where, "needs a switch distance and a mesh file: the level is skipped");
      continue;
    }
    IniSection level;
    OneLevel(section, *key, level);
    const Mesh* mesh = library.LoadMesh(context.pack, level);
    const char16_t* meshFile = ValueText(*key, 1);
    if (mesh == nullptr) {
      const DataBuffer bytes(context.pack, meshFile);
      context.report.Add(where, bytes.Empty() ? "names " + QuoteFile(meshFile) + ", which is " +
                                                    context.WhyMissing(meshFile) + ": the level is skipped"
                                              : QuoteFile(meshFile) +
                                                    " is not a mesh file the game reads (shorter than its header says, "
                                                    "or a face names a vertex it does not have): the level is skipped");
      continue;
    }
    ++loaded;
    uint64_t distance = 0;
    const uint32_t switchDistance = static_cast<uint32_t>(mesh->lods[0]->switchDistance);
    if (!WholeNumber(*key->values[0], distance)) {
      context.report.Add(where, "the switch distance " + Quote(key->values[0]->text) + " is not a whole number");
    } else if (switchDistance <= previous) {
      context.report.Add(where, loaded == 1 ? "never drawn: its switch distance is 0"
                                            : "never drawn: its switch distance is not larger than the level before");
    }
    previous = std::max(previous, switchDistance);
    if (key->values.Count() >= 3) CheckTexture(context, where, library, ValueText(*key, 2), *mesh->lods[0]);
  }
  if (loaded == 0) {
    context.report.Add({file, KeyOf(section, "")},
                       "no level loads: the mesh is not drawn and the objects made of it are left out");
  }
  // Keys the walk above never reached.
  for (const IniKey* key : section.keys) {
    const long n = LevelIndex(key->name);
    if (n < static_cast<long>(index) || (n == static_cast<long>(index) && loaded < kMaxMeshLods)) continue;
    context.report.Add({file, KeyOf(section, key->name)},
                       loaded == kMaxMeshLods
                           ? "ignored: a mesh has at most 4 levels"
                           : "ignored: the levels end at the missing \"Mesh " + std::to_string(index) + "\"");
  }
}

}  // namespace pack_check
