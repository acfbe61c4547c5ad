#include "mesh_file.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The light the faces are shaded for, in the object's frame: from above, right and front.
const Vec3 kLight = Normalised({0.45, 1.0, 0.6});
constexpr float kBrightness[kShadeLevels] = {1.1f, 0.92f, 0.76f, 0.6f};
constexpr int kSamplesPerTexel = 4;

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
  std::vector<MeshTriangle> triangles;
  for (const ModelTriangle& triangle : model.triangles()) {
    if (!atlas.Holds(triangle.material)) {
      error = "a material is missing from the texture";
      return {};
    }
    const int shade = ShadeOf(triangle.Normal());
    MeshTriangle& out = triangles.emplace_back();
    for (int k = 0; k < 3; ++k) {
      const ModelVertex& c = triangle.corner[k];
      MeshCorner& corner = out.corner[k];
      corner = {c.position.x, c.position.y, c.position.z};
      atlas.TexelBytes(triangle.material, shade, c.u, c.v, &corner.u, &corner.v);
    }
  }
  EncodedMesh mesh;
  if (!EncodeMeshFile(triangles, mesh, error)) return {};
  return mesh.file;
}
