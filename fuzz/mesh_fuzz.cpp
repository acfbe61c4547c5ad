// Mesh files: the level loader, then the renderer drawing what it accepted. A level that loads
// is drawn at three distances into a small frame, textured by a 16 x 16 picture whose texel
// range is smaller than most meshes use, so the clamping at the texture's edge is exercised.
#include <memory>
#include <string>

#include "content/ini.h"
#include "content/scene_object.h"
#include "core/matrix34.h"
#include "core/wide_string.h"
#include "fuzz_support.h"
#include "gfx/jpeg.h"
#include "render/mesh_renderer.h"
#include "render/scene_view.h"

namespace {

constexpr size_t kMaxMeshFileSize = 8u << 10;  // 255 vertices and 255 faces fit in under 4 KiB

// A small texture on disk, written once per process.
std::string TexturePath() {
  static const std::string path = [] {
    const std::string file = fuzz::ScratchPath("texture.jpg");
    Surface texture;
    texture.Create(16, 16);
    for (uint32_t y = 0; y < 16; ++y) {
      for (uint32_t x = 0; x < 16; ++x) texture.Row(y)[x] = static_cast<uint16_t>(x * 0x0841 + y * 0x1000);
    }
    FUZZ_CHECK(SaveJpeg(texture, WideFromUtf8(file).c_str()));
    return file;
  }();
  return path;
}

std::unique_ptr<IniDocument> ParseIni(const std::string& text) {
  auto document = std::make_unique<IniDocument>();
  document->LoadFromBuffer(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()));
  return document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxMeshFileSize) return 0;
  fuzz::ScratchFile mesh("mesh.msh", data, size);
  if (!mesh.ok()) return 0;

  MissionScene scene;
  const auto meshes = ParseIni("[Shape]\nMesh 0 = 16 " + mesh.path() + " " + TexturePath() + "\n");
  if (scene.meshes.LoadMesh(nullptr, *meshes->sections[0]) == nullptr) return 0;

  const auto objects = ParseIni("[Object]\nMesh = Shape\nPos = 0 0 0\n");
  SceneObject* object = CreateSceneObject(scene, *objects->sections[0]);
  FUZZ_CHECK(object != nullptr);
  DepthSurface frame;
  FUZZ_CHECK(frame.Create(48, 64));
  SceneView view(&scene);
  for (const int32_t depth : {3, 12, 60}) {
    Matrix34 placement;
    placement.SetTranslation(Vector3(0, 0, IntToFixed(depth)));
    object->SetLocal(placement);
    frame.Clear(0);
    frame.ClearDepth();
    view.Prepare(frame.width, frame.height, IntToFixed(1200));
    DrawObjects(view, frame);
  }
  return 0;
}
