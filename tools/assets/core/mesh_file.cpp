#include "mesh_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace {

// The light the faces are shaded for, in the object's frame: from above, right and front.
const Vec3 kLight = Normalised({0.45, 1.0, 0.6});
constexpr float kBrightness[kShadeLevels] = {1.1f, 0.92f, 0.76f, 0.6f};
constexpr float kCoordinateScale = 32.0f;  // mesh units per metre
constexpr int kSamplesPerTexel = 4;

uint16_t EncodeCoordinate(double metres) {
  const long units = std::lround(std::fabs(metres) * kCoordinateScale);
  const uint16_t magnitude = static_cast<uint16_t>(std::min(units, 0x7FFFL));
  return metres < 0 && magnitude != 0 ? static_cast<uint16_t>(0x8000 | magnitude) : magnitude;
}

float DecodeCoordinate(uint16_t value) {
  const float magnitude = static_cast<float>(value & 0x7FFF) / kCoordinateScale;
  return (value & 0x8000) ? -magnitude : magnitude;
}

void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

int ShadeOf(const Vec3& normal) {
  const float brightness = 0.52f + 0.58f * static_cast<float>(std::max(0.0, Dot(normal, kLight)));
  int best = 0;
  for (int i = 1; i < kShadeLevels; ++i) {
    if (std::fabs(kBrightness[i] - brightness) < std::fabs(kBrightness[best] - brightness)) best = i;
  }
  return best;
}

float ShadeBrightness(int shade) { return kBrightness[shade]; }

bool TextureAtlas::Build(const std::vector<Material>& materials) {
  const auto capacity = [](int size) { return static_cast<size_t>(size / kAtlasTile * (size / kAtlasTile) / kShadeLevels); };
  size_ = materials.size() <= capacity(kLargestAtlas / 2) ? kLargestAtlas / 2 : kLargestAtlas;
  if (materials.size() > capacity(size_)) return false;
  materials_ = materials;
  const int tilesPerRow = size_ / kAtlasTile;
  Image image(size_, size_, Rgb(128, 128, 128));
  for (size_t m = 0; m < materials_.size(); ++m) {
    for (int shade = 0; shade < kShadeLevels; ++shade) {
      const int tileIndex = static_cast<int>(m) * kShadeLevels + shade;
      const int tileX = (tileIndex % tilesPerRow) * kAtlasTile;
      const int tileY = (tileIndex / tilesPerRow) * kAtlasTile;
      for (int y = 0; y < kAtlasTile; ++y) {
        for (int x = 0; x < kAtlasTile; ++x) {
          // The face maps its 0..1 onto the tile less a texel and a half at each edge; the
          // paint is stretched over that inner part and the border repeats its edge.
          Colour sum;
          for (int sy = 0; sy < kSamplesPerTexel; ++sy) {
            for (int sx = 0; sx < kSamplesPerTexel; ++sx) {
              const float tx = x + (sx + 0.5f) / kSamplesPerTexel;
              const float ty = y + (sy + 0.5f) / kSamplesPerTexel;
              const float u = std::clamp((tx - 1.5f) / (kAtlasTile - 3), 0.0f, 1.0f);
              const float v = std::clamp(1 - (ty - 1.5f) / (kAtlasTile - 3), 0.0f, 1.0f);
              const Colour c = Paint(materials_[m], u, v);
              sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
            }
          }
          image.Set(tileX + x, tileY + y, Scale(sum, kBrightness[shade] / (kSamplesPerTexel * kSamplesPerTexel)));
        }
      }
    }
  }
  picture_ = image.ToColourPicture();
  return true;
}

bool TextureAtlas::Holds(Material material) const {
  return std::find(materials_.begin(), materials_.end(), material) != materials_.end();
}

void TextureAtlas::TexelBytes(Material material, int shade, float u, float v, uint8_t* uByte, uint8_t* vByte) const {
  const int m = static_cast<int>(std::find(materials_.begin(), materials_.end(), material) - materials_.begin());
  const int tileIndex = m * kShadeLevels + shade;
  const int tilesPerRow = size_ / kAtlasTile;
  const float tileX = static_cast<float>((tileIndex % tilesPerRow) * kAtlasTile);
  const float tileY = static_cast<float>((tileIndex / tilesPerRow) * kAtlasTile);
  // Texel coordinates inside the tile, 1.5 texels in from its edges.
  const float column = tileX + 1.5f + std::clamp(u, 0.0f, 1.0f) * (kAtlasTile - 3);
  const float row = tileY + 1.5f + (1 - std::clamp(v, 0.0f, 1.0f)) * (kAtlasTile - 3);
  // The game turns a byte b into texel b >> s across and (255 - b) >> s down, where the texture
  // is 256 >> s texels wide.
  const float bytesPerTexel = 256.0f / static_cast<float>(size_);
  *uByte = static_cast<uint8_t>(std::clamp(std::lround(column * bytesPerTexel), 0L, 255L));
  *vByte = static_cast<uint8_t>(std::clamp(255 - std::lround(row * bytesPerTexel), 0L, 255L));
}

std::vector<uint8_t> EncodeMesh(const Model& model, const TextureAtlas& atlas, std::string& error) {
  using VertexRecord = std::array<uint16_t, 4>;  // x, y, z, u | v << 8
  std::map<VertexRecord, uint8_t> indexOf;
  std::vector<VertexRecord> vertices;
  std::vector<std::array<uint8_t, 3>> faces;
  double radius = 0;
  for (const ModelTriangle& triangle : model.triangles()) {
    if (!atlas.Holds(triangle.material)) {
      error = "a material is missing from the texture";
      return {};
    }
    const int shade = ShadeOf(triangle.Normal());
    std::array<uint8_t, 3> face{};
    std::array<VertexRecord, 3> records;
    for (int k = 0; k < 3; ++k) {
      const ModelVertex& c = triangle.corner[k];
      uint8_t u, v;
      atlas.TexelBytes(triangle.material, shade, c.u, c.v, &u, &v);
      records[k] = {EncodeCoordinate(c.position.x), EncodeCoordinate(c.position.y), EncodeCoordinate(c.position.z),
                    static_cast<uint16_t>(u | v << 8)};
    }
    // Corners that fall together at 1/32 m make a triangle of no area: nothing to draw.
    if (records[0] == records[1] || records[1] == records[2] || records[0] == records[2]) continue;
    for (int k = 0; k < 3; ++k) {
      auto found = indexOf.find(records[k]);
      if (found == indexOf.end()) {
        if (vertices.size() == 255) {
          error = "more than 255 vertices";
          return {};
        }
        found = indexOf.emplace(records[k], static_cast<uint8_t>(vertices.size())).first;
        vertices.push_back(records[k]);
        const double x = DecodeCoordinate(records[k][0]), y = DecodeCoordinate(records[k][1]),
                     z = DecodeCoordinate(records[k][2]);
        radius = std::max(radius, std::sqrt(x * x + y * y + z * z));
      }
      face[k] = found->second;
    }
    if (faces.size() == 255) {
      error = "more than 255 faces";
      return {};
    }
    faces.push_back(face);
  }
  std::vector<uint8_t> file = {0, 0, 0, 0, static_cast<uint8_t>(vertices.size()), static_cast<uint8_t>(faces.size())};
  // Rounded up, so that the sphere holds every corner.
  Put16(file, static_cast<uint16_t>(std::min(std::ceil(radius * kCoordinateScale), 32767.0)));
  for (const VertexRecord& v : vertices) {
    Put16(file, v[0]);
    Put16(file, v[1]);
    Put16(file, v[2]);
    Put16(file, v[3]);
  }
  for (const auto& face : faces) file.insert(file.end(), {face[0], face[1], face[2], 0});
  return file;
}

bool DecodeMesh(const std::vector<uint8_t>& file, DecodedMesh& mesh) {
  if (file.size() < 8) return false;
  const size_t v = file[4], f = file[5];
  if (file.size() < 8 + v * 8 + f * 4) return false;
  const auto get16 = [&file](size_t at) { return static_cast<uint16_t>(file[at] | file[at + 1] << 8); };
  mesh.radius = DecodeCoordinate(get16(6));
  mesh.vertices.clear();
  mesh.faces.clear();
  for (size_t i = 0; i < v; ++i) {
    const size_t at = 8 + i * 8;
    mesh.vertices.push_back({DecodeCoordinate(get16(at)), DecodeCoordinate(get16(at + 2)),
                             DecodeCoordinate(get16(at + 4)), file[at + 6], file[at + 7]});
  }
  for (size_t i = 0; i < f; ++i) {
    const size_t at = 8 + v * 8 + i * 4;
    if (file[at] >= v || file[at + 1] >= v || file[at + 2] >= v) return false;
    mesh.faces.push_back({file[at], file[at + 1], file[at + 2]});
  }
  return true;
}
