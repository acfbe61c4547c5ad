#include "renderer.h"

#include <algorithm>
#include <cmath>

#include "core/matrix34.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNear = 0.25;  // metres

Colour FromRgb565(uint16_t c) {
  const Rgb8 rgb = Rgb8FromRgb565(c);
  return Rgb(rgb.r, rgb.g, rgb.b);
}

double FixedToDouble(int32_t v) { return v / 65536.0; }

}  // namespace

float TerrainData::HeightAt(double x, double z) const {
  const double sx = x / kMetresPerSample, sz = z / kMetresPerSample;
  const double fx = std::floor(sx), fz = std::floor(sz);
  const int x0 = static_cast<int>(fx), z0 = static_cast<int>(fz);
  const auto h = [this](int ix, int iz) {
    return heights[size_t(iz & (kHeightSamples - 1)) * kHeightSamples + (ix & (kHeightSamples - 1))] /
           kHeightUnitsPerMetre;
  };
  const double tx = sx - fx, tz = sz - fz;
  const double top = h(x0, z0) + (h(x0 + 1, z0) - h(x0, z0)) * tx;
  const double bottom = h(x0, z0 + 1) + (h(x0 + 1, z0 + 1) - h(x0, z0 + 1)) * tx;
  return static_cast<float>(top + (bottom - top) * tz);
}

Colour TerrainData::TexelAt(double x, double z) const {
  const double sx = x / kMetresPerTexel - 0.5, sz = z / kMetresPerTexel - 0.5;
  const double fx = std::floor(sx), fz = std::floor(sz);
  const int x0 = static_cast<int>(fx), z0 = static_cast<int>(fz);
  const auto t = [this](int ix, int iz) {
    return FromRgb565(texels[size_t(iz & (kTexels - 1)) * kTexels + (ix & (kTexels - 1))]);
  };
  const float tx = static_cast<float>(sx - fx), tz = static_cast<float>(sz - fz);
  return Mix(Mix(t(x0, z0), t(x0 + 1, z0), tx), Mix(t(x0, z0 + 1), t(x0 + 1, z0 + 1), tx), tz);
}

TerrainData ReadTerrain(const std::vector<uint8_t>& heightFile, const std::vector<uint8_t>& textureFile,
                        const Image& sky, const Colour& haze, const Vec3& sun) {
  return {DecodeHeightFile(heightFile), DecodeTextureFile(textureFile), sky, haze, sun};
}

Pose Pose::FromGameAngles(double yaw, double pitch, double roll, const Vec3& at) {
  // Degrees to the game's binary angles exactly as the object reader converts them.
  const auto angle = [](double degrees) { return static_cast<Angle>(static_cast<uint32_t>(degrees * 182.04444444444445)); };
  Matrix34 m;
  m.FromYawPitchRoll(angle(yaw), angle(pitch), angle(roll));
  Pose pose;
  for (int r = 0; r < 3; ++r) {
    pose.row[r] = {FixedToDouble(m.m[r * 3]), FixedToDouble(m.m[r * 3 + 1]), FixedToDouble(m.m[r * 3 + 2])};
  }
  pose.translation = at;
  return pose;
}

Pose Pose::FromPlacement(const Placement& placement) {
  Pose pose;
  pose.row[0] = placement.Rotate({1, 0, 0});
  pose.row[1] = placement.Rotate({0, 1, 0});
  pose.row[2] = placement.Rotate({0, 0, 1});
  pose.translation = placement.offset;
  return pose;
}

Renderer::Renderer(int width, int height, int supersample)
    : width_(width * supersample), height_(height * supersample), scale_(supersample),
      image_(width * supersample, height * supersample),
      depth_(size_t(width) * supersample * height * supersample, 1e30) {
  SetCamera(Camera());
}

void Renderer::SetCamera(const Camera& camera) {
  camera_ = camera;
  const double h = camera.heading * kPi / 180;
  right_ = {std::cos(h), 0, -std::sin(h)};
  forward_ = {std::sin(h), 0, std::cos(h)};
  focal_ = (width_ / 2.0) / std::tan(camera.fieldOfView * kPi / 360);
  horizon_ = height_ / 2.0 - focal_ * std::tan(camera.tilt * kPi / 180);  // looking down lifts the horizon
}

void Renderer::Clear(const Colour& top, const Colour& bottom) {
  for (int y = 0; y < height_; ++y) {
    const Colour c = Mix(top, bottom, static_cast<float>(y) / std::max(1, height_ - 1));
    for (int x = 0; x < width_; ++x) image_.Set(x, y, c);
  }
  std::fill(depth_.begin(), depth_.end(), 1e30);
}

Vec3 Renderer::ToCamera(const Vec3& world) const {
  const Vec3 d = world - camera_.position;
  return {Dot(d, right_), d.y, Dot(d, forward_)};
}

bool Renderer::Project(const Vec3& world, double* x, double* y) const {
  const Vec3 c = ToCamera(world);
  if (c.z < kNear) return false;
  *x = (width_ / 2.0 + focal_ * c.x / c.z) / scale_;
  *y = (horizon_ - focal_ * c.y / c.z) / scale_;
  return true;
}

void Renderer::DrawTerrain(const TerrainData& terrain, double farDistance, double fogDistance) {
  const double fogFade = 1 / fogDistance;
  for (int x = 0; x < width_; ++x) {
    const double across = (x + 0.5 - width_ / 2.0) / focal_;
    const Vec3 direction = forward_ + right_ * across;
    int filledTop = height_;  // rows from here down are filled
    for (double t = 1.0; t < farDistance && filledTop > 0;) {
      const double px = camera_.position.x + direction.x * t;
      const double pz = camera_.position.z + direction.z * t;
      const double ground = terrain.HeightAt(px, pz);
      // The ground covers the pixels whose centres lie below its top edge.
      const double row = horizon_ - focal_ * (ground - camera_.position.y) / t - 0.5;
      const int top = std::max(0, static_cast<int>(std::ceil(row)));
      if (top < filledTop) {
        const Colour texel = terrain.TexelAt(px, pz);
        const Colour c = Mix(texel, terrain.haze, static_cast<float>(1 - std::exp(-t * fogFade)));
        for (int y = top; y < filledTop; ++y) {
          const size_t i = size_t(y) * width_ + x;
          if (t < depth_[i]) {
            image_.Set(x, y, c);
            depth_[i] = t;
          }
        }
        filledTop = top;
      }
      t += std::max(0.2, t * 0.004);
    }
    const int lowest = filledTop;
    // The sky backdrop as the game lays it out: picture row by direction in quarter degrees
    // (mirrored past 720), picture column by screen row, two rows a column, 160 rows above the
    // horizon.
    const double angle = std::atan2(direction.z, -direction.x) * 180 / kPi;
    int quarter = static_cast<int>(std::floor((angle < 0 ? angle + 360 : angle) * 4)) % 1440;
    const int skyRow = quarter < 720 ? quarter : 1439 - quarter;
    for (int y = 0; y < lowest; ++y) {
      const size_t i = size_t(y) * width_ + x;
      if (depth_[i] < 1e29) continue;
      const double screenRow = (y + 0.5) / scale_ - (horizon_ / scale_ - 160);
      const int column = std::clamp(static_cast<int>(screenRow / 2), 0, terrain.sky.width() - 1);
      image_.Set(x, y, terrain.sky.Get(column, std::clamp(skyRow, 0, terrain.sky.height() - 1)));
    }
  }
}

void Renderer::DrawModel(const Model& model, const Pose& pose, const Vec3& sunDirection) {
  const Vec3 sun = Normalised(sunDirection);
  for (const ModelTriangle& triangle : model.triangles()) {
    const Vec3 normal = Normalised(pose.Rotate(triangle.Normal()));
    const float light =
        static_cast<float>(0.42 + 0.72 * std::max(0.0, Dot(normal, sun)) + 0.12 * std::max(0.0, normal.y));
    const Material material = triangle.material;
    std::array<Vec3, 3> world;
    std::array<Point2, 3> uv;
    for (int k = 0; k < 3; ++k) {
      world[k] = pose.Apply(triangle.corner[k].position);
      uv[k] = {triangle.corner[k].u, triangle.corner[k].v};
    }
    DrawWorldTriangle(world, uv, [material, light](double u, double v) {
      return Scale(Paint(material, static_cast<float>(std::clamp(u, 0.0, 1.0)),
                         static_cast<float>(std::clamp(v, 0.0, 1.0))),
                   light);
    });
  }
}

void Renderer::DrawMesh(const DecodedMesh& mesh, const Picture& texture, const Pose& pose) {
  // The game's mapping of the u, v bytes onto a texture of this width.
  int shift = 0;
  for (int s = 1, w = 128; s <= 5; ++s, w /= 2) {
    if (static_cast<int>(texture.width) == w) shift = s;
  }
  const Shader texel = [&texture, shift](double u, double v) {
    const int column = std::clamp(static_cast<int>(u) >> shift, 0, static_cast<int>(texture.width) - 1);
    const int row = std::clamp((255 - static_cast<int>(v)) >> shift, 0, static_cast<int>(texture.height) - 1);
    const uint8_t* p = texture.At(column, row);
    return Rgb(p[0], p[1], p[2]);
  };
  for (const auto& face : mesh.faces) {
    std::array<Vec3, 3> world;
    std::array<Point2, 3> uv;
    for (int k = 0; k < 3; ++k) {
      const DecodedMesh::Vertex& v = mesh.vertices[face[k]];
      world[k] = pose.Apply({v.x, v.y, v.z});
      uv[k] = {static_cast<float>(v.u) + 0.5f, static_cast<float>(v.v) + 0.5f};
    }
    DrawWorldTriangle(world, uv, texel);
  }
}

void Renderer::DrawWorldTriangle(const std::array<Vec3, 3>& world, const std::array<Point2, 3>& uv,
                                 const Shader& shader) {
  // Clip against the near plane, then fan the remaining polygon.
  struct ClipVertex {
    Vec3 c;
    double u, v;
  };
  std::vector<ClipVertex> polygon;
  for (int k = 0; k < 3; ++k) polygon.push_back({ToCamera(world[k]), uv[k].x, uv[k].y});
  std::vector<ClipVertex> clipped;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const ClipVertex& a = polygon[i];
    const ClipVertex& b = polygon[(i + 1) % polygon.size()];
    const bool aIn = a.c.z >= kNear, bIn = b.c.z >= kNear;
    if (aIn) clipped.push_back(a);
    if (aIn != bIn) {
      const double t = (kNear - a.c.z) / (b.c.z - a.c.z);
      clipped.push_back({a.c + (b.c - a.c) * t, a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t});
    }
  }
  if (clipped.size() < 3) return;
  std::vector<ScreenVertex> screen;
  for (const ClipVertex& v : clipped) {
    screen.push_back({width_ / 2.0 + focal_ * v.c.x / v.c.z, horizon_ - focal_ * v.c.y / v.c.z, v.c.z, v.u, v.v});
  }
  for (size_t i = 1; i + 1 < screen.size(); ++i) Rasterise(screen[0], screen[i], screen[i + 1], shader);
}

void Renderer::Rasterise(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const Shader& shader) {
  // Clockwise on the screen (y down) is the front, as in the game.
  const double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
  if (area <= 0) return;
  const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
  const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
  const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
  const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
  const double iza = 1 / a.z, izb = 1 / b.z, izc = 1 / c.z;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      // Barycentric weights; all three are positive inside a clockwise triangle.
      const double wa = ((b.x - px) * (c.y - py) - (c.x - px) * (b.y - py)) / area;
      const double wb = ((c.x - px) * (a.y - py) - (a.x - px) * (c.y - py)) / area;
      const double wc = 1 - wa - wb;
      if (wa < 0 || wb < 0 || wc < 0) continue;
      const double iz = wa * iza + wb * izb + wc * izc;
      const double z = 1 / iz;
      const size_t i = size_t(y) * width_ + x;
      if (z >= depth_[i]) continue;
      const double u = (wa * a.u * iza + wb * b.u * izb + wc * c.u * izc) * z;
      const double v = (wa * a.v * iza + wb * b.v * izb + wc * c.v * izc) * z;
      image_.Set(x, y, shader(u, v));
      depth_[i] = z;
    }
  }
}

Image Renderer::Resolve() const { return image_.Downsample(scale_); }

Image Renderer::ResolveCoverage() const {
  Image covered = image_;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      covered.Set(x, y, image_.Get(x, y), depth_[size_t(y) * width_ + x] < 1e29 ? 1.0f : 0.0f);
    }
  }
  return covered.Downsample(scale_);
}
