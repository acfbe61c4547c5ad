// Small helpers of the render tests: content packs written on the spot, INI sections parsed from
// text, and scenes loaded with the shapes of mesh_shapes.h.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "content/content_pack.h"
#include "content/ini.h"
#include "content/scene_object.h"
#include "gfx/test_pictures.h"
#include "mesh_shapes.h"

namespace render_test {

// A content pack in a temporary folder holding the given files (stored, not compressed).
class TestPack {
 public:
  explicit TestPack(const std::vector<mesh_shapes::PackFile>& files) {
    std::vector<PackSource> sources;
    for (const auto& file : files) sources.push_back({file.name, file.data});
    ArchiveOptions options;
    options.store = true;
    const std::vector<uint8_t> archive = BuildArchive(sources, options);
    std::ofstream(folder_.path() / "test.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
    opened_ = pack.Open(folder_.WidePath("test.bin").c_str(), nullptr);
  }
  bool opened() const { return opened_; }

  ContentPack pack;

 private:
  TempFolder folder_;
  bool opened_ = false;
};

// The document of an INI text.
inline std::unique_ptr<IniDocument> ParseIni(const std::string& text) {
  auto document = std::make_unique<IniDocument>();
  document->LoadFromBuffer(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()));
  return document;
}

// A mission scene whose library holds every mesh of mesh_shapes::ShapePackFiles, with objects
// made from the sections of an INI text, in order.
class ShapeScene {
 public:
  ShapeScene() {
    const std::vector<mesh_shapes::PackFile> files = mesh_shapes::ShapePackFiles();
    pack_ = std::make_unique<TestPack>(files);
    for (const auto& file : files) {
      if (file.name != "meshes.ini") continue;
      const auto meshesIni = ParseIni(std::string(file.data.begin(), file.data.end()));
      for (const IniSection* section : meshesIni->sections) scene.meshes.LoadMesh(&pack_->pack, *section);
    }
  }

  // Creates one object per section of `objectsIni`; the objects made (null where none was).
  std::vector<SceneObject*> AddObjects(const std::string& objectsIni) {
    const auto document = ParseIni(objectsIni);
    std::vector<SceneObject*> made;
    for (const IniSection* section : document->sections) made.push_back(CreateSceneObject(scene, *section));
    return made;
  }

  MissionScene scene;

 private:
  std::unique_ptr<TestPack> pack_;
};

}  // namespace render_test
