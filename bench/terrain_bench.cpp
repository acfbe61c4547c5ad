// kestrel-bench terrain: speed of the voxel terrain renderer on a mission's landscape, with the
// far, near, filter and threshold values the game uses for the chosen draw distance and image
// quality. The camera flies forward one metre a frame at a constant height above the ground.
// With --objects the mission's meshes and objects are loaded too and drawn over the landscape
// as the game draws them. Prints the median milliseconds per frame and the frames per second.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_commands.h"
#include "content/content_pack.h"
#include "content/content_registry.h"
#include "content/data_buffer.h"
#include "content/ini.h"
#include "content/mission_loading.h"
#include "content/scene_object.h"
#include "core/fixed.h"
#include "core/wide_string.h"
#include "render/mesh_renderer.h"
#include "gfx/png.h"
#include "render/render_settings.h"
#include "render/scene_view.h"
#include "render/terrain_map.h"
#include "render/terrain_view.h"

namespace {

const char kUsage[] =
    "usage: kestrel-bench terrain --pack P --mission NAME [--quality 0..3] [--distance 0..3] [--landscape]\n"
    "                             [--single-row] [--frames N] [--x X --z Z --height H --yaw DEG] [--objects]\n"
    "                             [--png FILE]\n"
    "  X, Z: start in metres (default: the mission's helipad); H: metres above the ground (default 30);\n"
    "  DEG: heading in degrees, 0 along +z, 90 along +x (default 0). Frames default to 300.\n";

struct Options {
  const char* pack = nullptr;
  const char* mission = nullptr;
  uint32_t quality = 2;
  uint32_t distance = 2;
  bool landscape = false;
  bool singleRow = false;
  bool objects = false;
  int frames = 300;
  bool hasX = false, hasZ = false;
  double x = 0, z = 0, height = 30, yawDegrees = 0;
  const char* png = nullptr;
};

fixed FixedFromMetres(double metres) { return static_cast<fixed>(std::lround(metres * 65536.0)); }

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--landscape") {
      options.landscape = true;
    } else if (arg == "--single-row") {
      options.singleRow = true;
    } else if (arg == "--objects") {
      options.objects = true;
    } else if (!hasValue) {
      return false;
    } else if (arg == "--pack") {
      options.pack = argv[++i];
    } else if (arg == "--mission") {
      options.mission = argv[++i];
    } else if (arg == "--quality") {
      options.quality = static_cast<uint32_t>(std::atoi(argv[++i]));
    } else if (arg == "--distance") {
      options.distance = static_cast<uint32_t>(std::atoi(argv[++i]));
    } else if (arg == "--frames") {
      options.frames = std::atoi(argv[++i]);
    } else if (arg == "--x") {
      options.x = std::atof(argv[++i]);
      options.hasX = true;
    } else if (arg == "--z") {
      options.z = std::atof(argv[++i]);
      options.hasZ = true;
    } else if (arg == "--height") {
      options.height = std::atof(argv[++i]);
    } else if (arg == "--yaw") {
      options.yawDegrees = std::atof(argv[++i]);
    } else if (arg == "--png") {
      options.png = argv[++i];
    } else {
      return false;
    }
  }
  return options.pack != nullptr && options.mission != nullptr && options.quality < kSettingLevels &&
         options.distance < kSettingLevels && options.frames >= 1;
}

// The pack's missions, read the way the content registry reads them: the manifest's numbered
// "MissionFile" entries, each a list of missions.
void LoadMissions(const ContentPack& pack, ContentRegistry& registry) {
  const DataBuffer manifestFile(&pack, u"content.ini");
  if (manifestFile.Empty()) return;
  IniDocument manifest;
  manifest.LoadFromBuffer(manifestFile.data, manifestFile.size);
  const IniSection* section = manifest.FindSection(u"KestrelRun");
  const IniKey* count = section != nullptr ? section->FindKey(u"NoOfMissionFiles") : nullptr;
  if (count == nullptr || count->values.Empty()) return;
  const uint32_t files = count->values[0]->ToInt();
  for (uint32_t i = 0; i < files; ++i) {
    const std::u16string keyName = WideFromUtf8("MissionFile " + std::to_string(i));
    const IniKey* key = section->FindKey(keyName.c_str());
    if (key != nullptr && !key->values.Empty()) registry.LoadMissionList(&pack, key->values[0]->text);
  }
}

// Stands every placed object on the ground under it, as the game world keeps them.
void StandObjectsOnTheGround(MissionScene& scene, const TerrainMap& map) {
  for (SceneNode* root : scene.roots) {
    auto* object = static_cast<SceneObject*>(root);
    object->SetGround(map.GroundHeight(object->world.m[9], object->world.m[11]));
  }
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int RunTerrainBench(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  ContentPack pack;
  if (!pack.Open(WideFromUtf8(options.pack).c_str(), nullptr)) {
    std::fprintf(stderr, "kestrel-bench: cannot open %s\n", options.pack);
    return 1;
  }
  ContentRegistry registry;
  LoadMissions(pack, registry);
  const std::u16string missionName = WideFromUtf8(options.mission);
  const MissionDef* mission = nullptr;
  for (const MissionDef* candidate : registry.missions) {
    if (mission == nullptr && EqualsNoCase(candidate->name, missionName.c_str())) mission = candidate;
  }
  if (mission == nullptr) {
    std::fprintf(stderr, "kestrel-bench: no mission %s in %s\n", options.mission, options.pack);
    return 1;
  }
  TerrainMap map;
  if (!map.Load(mission->pack, mission->voxelHeight, mission->voxelTexture, mission->skyBackdrop)) {
    std::fprintf(stderr, "kestrel-bench: the landscape of mission %s is missing or broken\n", options.mission);
    return 1;
  }

  DepthSurface surface;
  if (!(options.landscape ? surface.Create(320, 240) : surface.Create(240, 320))) return 1;
  surface.Clear(0);
  surface.ClearDepth();
  surface.lineDouble = options.singleRow ? 0 : 1;

  const fixed far = FarDistanceFor(options.distance);
  const ImageQuality& quality = ImageQualityFor(options.quality);
  const Angle yaw = static_cast<Angle>(std::llround(options.yawDegrees * 65536.0 / 360.0) & 0xFFFF);
  // One metre forward a frame along the heading (yaw 0 is +z, a quarter turn is +x).
  const fixed stepX = FixedSin(yaw);
  const fixed stepZ = FixedCos(yaw);
  Vector3 position(options.hasX ? FixedFromMetres(options.x) : mission->helipad.x,
                   0, options.hasZ ? FixedFromMetres(options.z) : mission->helipad.z);
  const fixed heightAboveGround = FixedFromMetres(options.height);

  TerrainView view(map);
  MissionScene scene;
  int meshes = 0;
  int objects = 0;
  if (options.objects) {
    meshes = LoadMissionMeshes(*mission, scene);
    objects = LoadMissionObjects(*mission, scene);
    StandObjectsOnTheGround(scene, map);
  }
  SceneView objectView(&scene);

  std::vector<double> terrainMs;
  std::vector<double> objectMs;
  terrainMs.reserve(static_cast<size_t>(options.frames));
  for (int frame = 0; frame < options.frames; ++frame) {
    if (frame > 0) {
      position.x = WrapAdd(position.x, stepX);
      position.z = WrapAdd(position.z, stepZ);
    }
    position.y = WrapAdd(map.GroundHeight(position.x, position.z), heightAboveGround);
    view.SetCamera(position, yaw);
    const auto start = std::chrono::steady_clock::now();
    view.Render(surface, far, quality.nearDistance, quality.filterDistance, quality.stepThresholds);
    const auto terrainDone = std::chrono::steady_clock::now();
    terrainMs.push_back(std::chrono::duration<double, std::milli>(terrainDone - start).count());
    if (options.objects) {
      Matrix34 camera;
      camera.FromYawPitchRoll(yaw, 0, 0);
      camera.SetTranslation(position);
      objectView.SetCamera(camera);
      objectView.Prepare(surface.width, surface.height, far);
      DrawObjects(objectView, surface);
      objectMs.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - terrainDone).count());
    }
  }

  if (options.png != nullptr && !SavePng(surface, WideFromUtf8(options.png).c_str())) {
    std::fprintf(stderr, "kestrel-bench: cannot write %s\n", options.png);
    return 1;
  }
  const double terrain = Median(terrainMs);
  const double objectPass = Median(objectMs);
  const double total = terrain + objectPass;
  std::printf("terrain %s: %ux%u %s, quality %u, distance %u, %d frames\n", options.mission, surface.width,
              surface.height, options.singleRow ? "single-row" : "double-row", options.quality, options.distance,
              options.frames);
  if (options.objects) {
    std::printf("objects: %d meshes, %d placed, %u in view in the last frame; median %.3f ms for them\n", meshes,
                objects, objectView.visibleCount, objectPass);
  }
  std::printf("median %.3f ms per frame, %.0f frames per second\n", total, total > 0 ? 1000.0 / total : 0.0);
  return 0;
}
