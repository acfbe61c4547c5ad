// kestrel-bench meshes: speed of the object pass of a frame (SceneView::Prepare and
// DrawObjects) on a 240 x 320 frame, over a scene of placed objects ahead of the camera (a mix of
// helicopters, cubes and pyramids, 100 by default). The meshes are the test shapes of
// tests/render/mesh_shapes.h, packed and loaded the way the game loads a mission's meshes. The
// camera turns a little every frame; the median time per frame is reported.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "bench_commands.h"
#include "content/content_pack.h"
#include "content/ini.h"
#include "content/scene_object.h"
#include "core/wide_string.h"
#include "render/mesh_renderer.h"
#include "gfx/png.h"
#include "render/scene_view.h"
#include "mesh_shapes.h"

namespace {

constexpr uint16_t kBackground = 0xB65B;
constexpr fixed kFarDistance = IntToFixed(800);  // the game's default draw distance

// The shape pack in a temporary file, removed again when the bench ends.
class TemporaryPack {
 public:
  TemporaryPack() {
    path_ = std::filesystem::temp_directory_path() / ("kestrel-bench-meshes-" + std::to_string(getpid()) + ".bin");
    std::vector<PackSource> sources;
    for (const auto& file : mesh_shapes::ShapePackFiles()) sources.push_back({file.name, file.data});
    ArchiveOptions options;
    options.store = true;
    const std::vector<uint8_t> archive = BuildArchive(sources, options);
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
    opened_ = pack.Open(WideFromUtf8(path_.string()).c_str(), nullptr);
  }
  ~TemporaryPack() {
    std::error_code error;
    std::filesystem::remove(path_, error);
  }
  bool opened() const { return opened_; }

  ContentPack pack;

 private:
  std::filesystem::path path_;
  bool opened_ = false;
};

// Objects on a grid ahead of the camera, 20 to 200 m away, spread across the view.
std::string ObjectSections(int count) {
  const char* meshes[] = {"Helicopter", "Cube", "Pyramid"};
  std::string ini;
  const int columns = 10;
  const int rows = (count + columns - 1) / columns;
  for (int i = 0; i < count; ++i) {
    const int row = i / columns;
    const int column = i % columns;
    const int z = 20 + (rows > 1 ? row * 180 / (rows - 1) : 0);
    const int x = (column - columns / 2) * z / 12 + 1000;  // "Pos" takes no sign: the world is offset
    ini += "[Object" + std::to_string(i) + "]\nMesh = " + meshes[i % 3] + "\nPos = " + std::to_string(x) + " " +
           std::to_string(z + 1000) + " 0\nYawPitchRoll = " + std::to_string((i * 37) % 360) + "\n";
  }
  return ini;
}

}  // namespace

int RunMeshBench(int argc, char** argv) {
  int frames = 2000;
  int objects = 100;
  const char* png = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      frames = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--objects") == 0 && i + 1 < argc) {
      objects = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
      png = argv[++i];
    } else {
      frames = 0;
      break;
    }
  }
  if (frames < 1 || objects < 1 || objects > 1000) {
    std::fputs("usage: kestrel-bench meshes [--frames N] [--objects N] [--png FILE]\n", stderr);
    return 2;
  }

  TemporaryPack pack;
  if (!pack.opened()) {
    std::fputs("kestrel-bench: cannot write the temporary mesh pack\n", stderr);
    return 1;
  }
  MissionScene scene;
  for (const auto& file : mesh_shapes::ShapePackFiles()) {
    if (file.name != "meshes.ini") continue;
    IniDocument meshes;
    meshes.LoadFromBuffer(file.data.data(), static_cast<uint32_t>(file.data.size()));
    for (const IniSection* section : meshes.sections) scene.meshes.LoadMesh(&pack.pack, *section);
  }
  IniDocument placed;
  const std::string sections = ObjectSections(objects);
  placed.LoadFromBuffer(reinterpret_cast<const uint8_t*>(sections.data()), static_cast<uint32_t>(sections.size()));
  for (const IniSection* section : placed.sections) CreateSceneObject(scene, *section);
  if (scene.meshes.meshes.Count() != 3 || scene.nodes.Count() != objects) {
    std::fputs("kestrel-bench: the test meshes did not load\n", stderr);
    return 1;
  }

  DepthSurface surface;
  surface.Create(240, 320);
  SceneView view(&scene);
  std::vector<double> milliseconds;
  uint64_t listed = 0;
  uint64_t triangles = 0;
  for (int frame = 0; frame < frames; ++frame) {
    // A slow look from side to side, from 15 m above the ground behind the grid.
    const double degrees = 5.0 * std::sin(frame * 0.01);
    Matrix34 camera;
    camera.FromYawPitchRoll(static_cast<Angle>(static_cast<int32_t>(degrees * 182.04444444444445)),
                            AngleFromDegrees(10), 0);
    camera.SetTranslation(Vector3(IntToFixed(1000), IntToFixed(15), IntToFixed(990)));
    view.SetCamera(camera);
    surface.Clear(kBackground);
    surface.ClearDepth();

    const auto start = std::chrono::steady_clock::now();
    view.Prepare(surface.width, surface.height, kFarDistance);
    DrawObjects(view, surface);
    milliseconds.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());

    listed += view.visibleCount;
    for (uint16_t i = 0; i < view.visibleCount; ++i) {
      const VisibleObject& entry = view.entries[view.order[i]];
      const int32_t depth = entry.transform.m[11] >> 16;
      if (const MeshLod* lod = entry.object->mesh->SelectLod(static_cast<uint32_t>(depth * depth)))
        triangles += lod->faceCount;
    }
  }
  if (png != nullptr && !SavePng(surface, WideFromUtf8(png).c_str())) {
    std::fprintf(stderr, "kestrel-bench: cannot write %s\n", png);
    return 1;
  }

  std::sort(milliseconds.begin(), milliseconds.end());
  const double median = milliseconds[milliseconds.size() / 2];
  std::printf("meshes: %d objects, %.1f listed and %.0f triangles submitted per frame, 240 x 320, %d frames\n", objects,
              static_cast<double>(listed) / frames, static_cast<double>(triangles) / frames, frames);
  std::printf("median %.3f ms per frame (Prepare + DrawObjects), %.0f frames per second\n", median,
              median > 0 ? 1000.0 / median : 0.0);
  return 0;
}
