// An offline renderer for the pictures of the core pack (intro frames, selection screens,
// mission splashes) and for the contact sheet's previews of the game data.
//
// It draws a landscape (from the decoded height and texture files, so pictures show what the
// game will show) by casting one ray per column, and models or game meshes as perspective-
// correct textured triangles with a depth buffer. The camera looks level along its heading;
// looking down is a vertical shift of the picture, as in the game's own terrain view, so the
// landscape and the objects line up. Everything is drawn at a multiple of the final size and
// averaged down.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "image.h"
#include "landscape.h"
#include "mesh_file.h"
#include "model.h"

struct Camera {
  Vec3 position;
  double heading = 0;  // degrees: 0 looks along +z, 90 along +x
  double tilt = 0;     // degrees looked down (a shift of the horizon)
  double fieldOfView = 60;  // horizontal, degrees
};

// A landscape as the game reads it back from its files.
struct TerrainData {
  std::vector<uint16_t> heights;  // 512 x 512, 1/64 m
  std::vector<uint16_t> texels;   // 1024 x 1024 RGB565
  Image sky;                      // as stored: 160 columns x 720 rows
  Colour haze;
  Vec3 sun;                       // toward the sun
  float HeightAt(double x, double z) const;  // bilinear, metres
  Colour TexelAt(double x, double z) const;  // bilinear
};

// Where a model's points go in the world: rotation rows (as the game's Matrix34) and a move.
struct Pose {
  Vec3 row[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  Vec3 translation;
  Vec3 Apply(const Vec3& p) const { return row[0] * p.x + row[1] * p.y + row[2] * p.z + translation; }
  Vec3 Rotate(const Vec3& p) const { return row[0] * p.x + row[1] * p.y + row[2] * p.z; }
  // The game's orientation from whole degrees, exactly as an object section's "YawPitchRoll".
  static Pose FromGameAngles(double yaw, double pitch, double roll, const Vec3& at);
  static Pose FromPlacement(const Placement& placement);
};

class Renderer {
 public:
  Renderer(int width, int height, int supersample);

  void SetCamera(const Camera& camera);
  const Camera& camera() const { return camera_; }
  // Fills every pixel with the backdrop (sky or a gradient) at the far depth.
  void Clear(const Colour& top, const Colour& bottom);
  void DrawTerrain(const TerrainData& terrain, double farDistance, double fogDistance);

  // Models are lit by a sun from `sunDirection` (toward the sun, world frame).
  void DrawModel(const Model& model, const Pose& pose, const Vec3& sunDirection);
  // Game meshes are drawn as the game draws them: texel colours, unlit, clockwise faces only.
  void DrawMesh(const DecodedMesh& mesh, const Picture& texture, const Pose& pose);

  // Screen position (final pixels) of a world point, false when it is behind the camera.
  bool Project(const Vec3& world, double* x, double* y) const;

  Image Resolve() const;
  // The same with alpha from what was drawn since Clear (models, terrain), so the result can be
  // laid over another picture.
  Image ResolveCoverage() const;

 private:
  struct ScreenVertex {
    double x, y, z;  // pixels of the working picture, and the depth along the heading
    double u, v;
  };
  using Shader = std::function<Colour(double u, double v)>;
  void DrawWorldTriangle(const std::array<Vec3, 3>& world, const std::array<Point2, 3>& uv, const Shader& shader);
  void Rasterise(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const Shader& shader);
  Vec3 ToCamera(const Vec3& world) const;

  int width_, height_, scale_;
  Camera camera_;
  double focal_ = 1, horizon_ = 0;  // working pixels
  Vec3 right_, forward_;
  Image image_;
  std::vector<double> depth_;
};

TerrainData ReadTerrain(const std::vector<uint8_t>& heightFile, const std::vector<uint8_t>& textureFile,
                        const Image& sky, const Colour& haze, const Vec3& sun);
