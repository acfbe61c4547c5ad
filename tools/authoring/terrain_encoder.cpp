#include "terrain_encoder.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "gfx/colour.h"

namespace {

// Weights of the second end in the four palette entries sorted by value: e0, the 11:21 mix
// (index 2), the 21:11 mix (index 3), e1.
constexpr float kSortedWeights[4] = {0.0f, 11.0f / 32, 21.0f / 32, 1.0f};

// How many least-squares partitions are tried exactly after ranking.
constexpr int kExactCandidates = 3;

void PutLittleEndian(uint8_t* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

// A block's 16 wanted values as points of `Channels` dimensions.
template <int Channels>
using Point = std::array<float, Channels>;

// The best two ends for the 16 points if they are split, in the order given, into four runs
// that take the four palette entries sorted by value. Tries every split, ranks them by their
// least-squares residual and returns the ends of the best few (unquantised).
template <int Channels>
std::vector<std::array<Point<Channels>, 2>> ClusterFitEnds(const std::array<Point<Channels>, 16>& sorted) {
  std::array<Point<Channels>, 17> prefix{};
  float sumSquares = 0;
  for (int i = 0; i < 16; ++i) {
    for (int c = 0; c < Channels; ++c) {
      prefix[i + 1][c] = prefix[i][c] + sorted[i][c];
      sumSquares += sorted[i][c] * sorted[i][c];
    }
  }
  struct Candidate {
    float residual;
    std::array<Point<Channels>, 2> ends;
  };
  // The best few so far, sorted by residual.
  std::array<Candidate, kExactCandidates> best;
  int kept = 0;
  // Runs [0, s1), [s1, s2), [s2, s3), [s3, 16).
  for (int s1 = 0; s1 <= 16; ++s1) {
    for (int s2 = s1; s2 <= 16; ++s2) {
      for (int s3 = s2; s3 <= 16; ++s3) {
        const int bounds[5] = {0, s1, s2, s3, 16};
        float aa = 0, ab = 0, bb = 0;
        Point<Channels> ax{}, bx{};
        for (int g = 0; g < 4; ++g) {
          const int n = bounds[g + 1] - bounds[g];
          if (n == 0) continue;
          const float beta = kSortedWeights[g];
          const float alpha = 1 - beta;
          aa += n * alpha * alpha;
          ab += n * alpha * beta;
          bb += n * beta * beta;
          for (int c = 0; c < Channels; ++c) {
            const float sum = prefix[bounds[g + 1]][c] - prefix[bounds[g]][c];
            ax[c] += alpha * sum;
            bx[c] += beta * sum;
          }
        }
        const float det = aa * bb - ab * ab;
        if (std::fabs(det) < 1e-6f) continue;
        Candidate candidate{sumSquares, {}};
        for (int c = 0; c < Channels; ++c) {
          const float a = (bb * ax[c] - ab * bx[c]) / det;
          const float b = (aa * bx[c] - ab * ax[c]) / det;
          candidate.ends[0][c] = a;
          candidate.ends[1][c] = b;
          candidate.residual -= a * ax[c] + b * bx[c];
        }
        if (kept == kExactCandidates && candidate.residual >= best[kept - 1].residual) continue;
        int slot = kept < kExactCandidates ? kept++ : kept - 1;
        for (; slot > 0 && best[slot - 1].residual > candidate.residual; --slot) best[slot] = best[slot - 1];
        best[slot] = candidate;
      }
    }
  }
  std::vector<std::array<Point<Channels>, 2>> ends;
  for (int i = 0; i < kept; ++i) ends.push_back(best[i].ends);
  return ends;
}

struct HeightBlock {
  uint16_t e0 = 0, e1 = 0;
  uint32_t indices = 0;
  int64_t error = 0;
};

// Indices nearest to each value for the given ends, and the squared error they leave.
HeightBlock FitHeightIndices(const std::array<uint16_t, 16>& values, uint16_t e0, uint16_t e1) {
  HeightBlock block{e0, e1, 0, 0};
  const std::array<uint16_t, 4> palette = HeightPalette(e0, e1);
  for (int i = 0; i < 16; ++i) {
    int64_t bestError = INT64_MAX;
    uint32_t bestIndex = 0;
    for (uint32_t k = 0; k < 4; ++k) {
      const int64_t d = static_cast<int64_t>(palette[k]) - values[i];
      if (d * d < bestError) {
        bestError = d * d;
        bestIndex = k;
      }
    }
    block.error += bestError;
    block.indices |= bestIndex << (2 * i);
  }
  return block;
}

HeightBlock EncodeHeightBlock(const std::array<uint16_t, 16>& values) {
  const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
  HeightBlock best = FitHeightIndices(values, *lowest, *highest);
  if (best.error == 0) return best;
  std::array<Point<1>, 16> sorted;
  std::array<uint16_t, 16> order = values;
  std::sort(order.begin(), order.end());
  for (int i = 0; i < 16; ++i) sorted[i][0] = order[i];
  for (const auto& ends : ClusterFitEnds<1>(sorted)) {
    const float a = ends[0][0];
    const float b = ends[1][0];
    // Both roundings of both ends; e0 <= e1 always, since the game takes e1 as the block's top.
    for (float ra : {std::floor(a), std::ceil(a)}) {
      for (float rb : {std::floor(b), std::ceil(b)}) {
        const auto e0 = static_cast<uint16_t>(std::clamp(std::min(ra, rb), 0.0f, 65535.0f));
        const auto e1 = static_cast<uint16_t>(std::clamp(std::max(ra, rb), 0.0f, 65535.0f));
        const HeightBlock candidate = FitHeightIndices(values, e0, e1);
        if (candidate.error < best.error) best = candidate;
      }
    }
  }
  return best;
}

struct ColourBlock {
  uint16_t c0 = 0, c1 = 0;
  uint32_t indices = 0;
  int64_t error = 0;
};

int64_t ColourDistance(const Rgb8& a, const Rgb8& b) {
  const int64_t dr = a.r - b.r;
  const int64_t dg = a.g - b.g;
  const int64_t db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

ColourBlock FitColourIndices(const std::array<Rgb8, 16>& texels, uint16_t c0, uint16_t c1) {
  // The palette is symmetric in its ends (swapping them swaps entries 2 and 3), so the ends are
  // kept in order without losing anything.
  if (c0 > c1) std::swap(c0, c1);
  ColourBlock block{c0, c1, 0, 0};
  const std::array<uint16_t, 4> palette = ColourPalette(c0, c1);
  std::array<Rgb8, 4> colours;
  for (int k = 0; k < 4; ++k) colours[k] = Rgb8FromRgb565(palette[k]);
  for (int i = 0; i < 16; ++i) {
    int64_t bestError = INT64_MAX;
    uint32_t bestIndex = 0;
    for (uint32_t k = 0; k < 4; ++k) {
      const int64_t e = ColourDistance(colours[k], texels[i]);
      if (e < bestError) {
        bestError = e;
        bestIndex = k;
      }
    }
    block.error += bestError;
    block.indices |= bestIndex << (2 * i);
  }
  return block;
}

uint16_t Pack565(int r5, int g6, int b5) {
  return static_cast<uint16_t>((std::clamp(r5, 0, 31) << 11) | (std::clamp(g6, 0, 63) << 5) | std::clamp(b5, 0, 31));
}

uint16_t Quantise565(const Point<3>& c) {
  return Pack565(static_cast<int>(std::lround(c[0] / 255 * 31)), static_cast<int>(std::lround(c[1] / 255 * 63)),
                 static_cast<int>(std::lround(c[2] / 255 * 31)));
}

// Moves single channels of the ends by one step while that lowers the error.
ColourBlock RefineColourEnds(const std::array<Rgb8, 16>& texels, ColourBlock best) {
  for (int round = 0; round < 8 && best.error > 0; ++round) {
    bool improved = false;
    for (int end = 0; end < 2; ++end) {
      for (int channel = 0; channel < 3; ++channel) {
        for (int step : {-1, 1}) {
          uint16_t ends[2] = {best.c0, best.c1};
          const uint16_t c = ends[end];
          int parts[3] = {c >> 11, (c >> 5) & 63, c & 31};
          parts[channel] += step;
          const int limit = channel == 1 ? 63 : 31;
          if (parts[channel] < 0 || parts[channel] > limit) continue;
          ends[end] = Pack565(parts[0], parts[1], parts[2]);
          const ColourBlock candidate = FitColourIndices(texels, ends[0], ends[1]);
          if (candidate.error < best.error) {
            best = candidate;
            improved = true;
          }
        }
      }
    }
    if (!improved) break;
  }
  return best;
}

// Least-squares ends for the indices a block has now: each texel is the mix of the ends that
// its palette entry stands for.
bool RefitColourEnds(const std::array<Point<3>, 16>& points, uint32_t indices, Point<3>& a, Point<3>& b) {
  // The weight of the second end in each index's entry.
  constexpr float kWeight[4] = {0.0f, 1.0f, 11.0f / 32, 21.0f / 32};
  float aa = 0, ab = 0, bb = 0;
  Point<3> ax{}, bx{};
  for (int i = 0; i < 16; ++i) {
    const float beta = kWeight[(indices >> (2 * i)) & 3];
    const float alpha = 1 - beta;
    aa += alpha * alpha;
    ab += alpha * beta;
    bb += beta * beta;
    for (int c = 0; c < 3; ++c) {
      ax[c] += alpha * points[i][c];
      bx[c] += beta * points[i][c];
    }
  }
  const float det = aa * bb - ab * ab;
  if (std::fabs(det) < 1e-6f) return false;
  for (int c = 0; c < 3; ++c) {
    a[c] = std::clamp((bb * ax[c] - ab * bx[c]) / det, 0.0f, 255.0f);
    b[c] = std::clamp((aa * bx[c] - ab * ax[c]) / det, 0.0f, 255.0f);
  }
  return true;
}

ColourBlock EncodeColourBlock(const std::array<Rgb8, 16>& texels) {
  std::array<Point<3>, 16> points;
  Point<3> mean{};
  for (int i = 0; i < 16; ++i) {
    points[i] = {static_cast<float>(texels[i].r), static_cast<float>(texels[i].g), static_cast<float>(texels[i].b)};
    for (int c = 0; c < 3; ++c) mean[c] += points[i][c] / 16;
  }
  // Start from the two texels farthest apart along the colours' principal axis (power
  // iteration on their covariance).
  float cov[3][3] = {};
  for (const Point<3>& p : points) {
    for (int a = 0; a < 3; ++a) {
      for (int b = 0; b < 3; ++b) cov[a][b] += (p[a] - mean[a]) * (p[b] - mean[b]);
    }
  }
  Point<3> axis{1, 1, 1};
  for (int iteration = 0; iteration < 8; ++iteration) {
    Point<3> next{};
    for (int a = 0; a < 3; ++a) {
      for (int b = 0; b < 3; ++b) next[a] += cov[a][b] * axis[b];
    }
    const float length = std::sqrt(next[0] * next[0] + next[1] * next[1] + next[2] * next[2]);
    if (length < 1e-6f) break;
    for (int a = 0; a < 3; ++a) axis[a] = next[a] / length;
  }
  const auto along = [&](int i) { return points[i][0] * axis[0] + points[i][1] * axis[1] + points[i][2] * axis[2]; };
  int low = 0, high = 0;
  for (int i = 1; i < 16; ++i) {
    if (along(i) < along(low)) low = i;
    if (along(i) > along(high)) high = i;
  }
  ColourBlock best = FitColourIndices(texels, Quantise565(points[low]), Quantise565(points[high]));
  if (best.error == 0) return best;
  // Then alternate: the nearest entries for the ends, the best ends for those entries.
  ColourBlock current = best;
  for (int round = 0; round < 3; ++round) {
    Point<3> a, b;
    if (!RefitColourEnds(points, current.indices, a, b)) break;
    current = FitColourIndices(texels, Quantise565(a), Quantise565(b));
    if (current.error >= best.error) break;
    best = current;
  }
  return RefineColourEnds(texels, best);
}

}  // namespace

std::array<uint16_t, 4> HeightPalette(uint16_t e0, uint16_t e1) {
  // Products in full int precision; the sums are cut to 16 bits.
  const int a = e0, b = e1;
  return {e0, e1, static_cast<uint16_t>(b + (21 * a >> 5) - (21 * b >> 5)),
          static_cast<uint16_t>(a + (21 * b >> 5) - (21 * a >> 5))};
}

std::array<uint16_t, 4> ColourPalette(uint16_t c0, uint16_t c1) {
  const uint32_t lane0 = SpreadColour(c0);
  const uint32_t lane1 = SpreadColour(c1);
  return {c0, c1, PackSpreadColour(21 * lane0 + 11 * lane1), PackSpreadColour(11 * lane0 + 21 * lane1)};
}

uint16_t Rgb565FromRgb8(const Rgb8& c) { return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3)); }

Rgb8 Rgb8FromRgb565(uint16_t c) {
  const int r = c >> 11, g = (c >> 5) & 63, b = c & 31;
  return {static_cast<uint8_t>((r << 3) | (r >> 2)), static_cast<uint8_t>((g << 2) | (g >> 4)),
          static_cast<uint8_t>((b << 3) | (b >> 2))};
}

std::vector<uint8_t> EncodeHeightFile(const std::vector<uint16_t>& heights) {
  std::vector<uint8_t> file(kHeightFileSize);
  for (int bz = 0; bz < kHeightBlocks; ++bz) {
    for (int bx = 0; bx < kHeightBlocks; ++bx) {
      std::array<uint16_t, 16> values;
      for (int i = 0; i < 16; ++i) values[i] = heights[size_t{bz * 4u + i / 4} * kHeightSamples + bx * 4 + i % 4];
      const HeightBlock block = EncodeHeightBlock(values);
      uint8_t* out = &file[(size_t{bz * 1u} * kHeightBlocks + bx) * 8];
      PutLittleEndian(out, block.e0, 2);
      PutLittleEndian(out + 2, block.e1, 2);
      PutLittleEndian(out + 4, block.indices, 4);
    }
  }
  return file;
}

std::vector<uint8_t> EncodeTextureFile(const std::vector<Rgb8>& texels) {
  std::vector<uint8_t> file(kTextureFileSize);
  for (int bz = 0; bz < kTextureBlocks; ++bz) {
    for (int bx = 0; bx < kTextureBlocks; ++bx) {
      std::array<Rgb8, 16> block;
      for (int i = 0; i < 16; ++i) block[i] = texels[size_t{bz * 4u + i / 4} * kTexels + bx * 4 + i % 4];
      const ColourBlock encoded = EncodeColourBlock(block);
      uint8_t* out = &file[(size_t{bz * 1u} * kTextureBlocks + bx) * 8];
      PutLittleEndian(out, encoded.c0, 2);
      PutLittleEndian(out + 2, encoded.c1, 2);
      PutLittleEndian(out + 4, encoded.indices, 4);
    }
  }
  return file;
}

namespace {

// The file decoded with the game's own block decoder, so previews and checks see exactly what
// the game will draw.
std::vector<uint16_t> DecodeBlocks(const std::vector<uint8_t>& file, int blocksPerSide,
                                   void (*decodeBlock)(const uint8_t*, uint16_t*)) {
  const int side = blocksPerSide * 4;
  if (file.size() != size_t{1} * blocksPerSide * blocksPerSide * 8) return {};
  std::vector<uint16_t> values(size_t{1} * side * side);
  for (int bz = 0; bz < blocksPerSide; ++bz) {
    for (int bx = 0; bx < blocksPerSide; ++bx) {
      uint16_t block[16];
      decodeBlock(&file[(size_t{bz * 1u} * blocksPerSide + bx) * 8], block);
      for (int i = 0; i < 16; ++i) values[size_t{bz * 4u + i / 4} * side + bx * 4 + i % 4] = block[i];
    }
  }
  return values;
}

}  // namespace

std::vector<uint16_t> DecodeHeightFile(const std::vector<uint8_t>& file) {
  return DecodeBlocks(file, kHeightBlocks, &DecodeHeightBlock);
}

std::vector<uint16_t> DecodeTextureFile(const std::vector<uint8_t>& file) {
  return DecodeBlocks(file, kTextureBlocks, &DecodeTextureBlock);
}
