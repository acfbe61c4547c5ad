#include "landscape_import.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "render/terrain_map.h"
#include "terrain_encoder.h"

namespace {

constexpr double kHighestHeight = 65535.0 / kHeightUnitsPerMetre;

std::string Size(uint32_t width, uint32_t height) { return std::to_string(width) + " x " + std::to_string(height); }

std::string Pixel(uint32_t x, uint32_t y) { return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

std::string Metres(double metres) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f m", metres);
  return text;
}

// Picture row of sample row z: the picture's top row is the north edge, the largest z.
uint32_t PictureRow(uint32_t z, uint32_t side) { return side - 1 - z; }

// Averages `in` (n values a stride apart) down or across to `count` values, each the mean of the
// stretch of input it covers (parts of a value weighed by how much of it falls inside).
std::vector<double> AverageDown(const std::vector<double>& in, uint32_t count) {
  std::vector<double> out(count, 0);
  const double scale = static_cast<double>(in.size()) / count;
  for (uint32_t i = 0; i < count; ++i) {
    const double from = i * scale, to = (i + 1) * scale;
    double sum = 0;
    for (auto k = static_cast<size_t>(from); k < in.size() && static_cast<double>(k) < to; ++k) {
      const double overlap = std::min(to, k + 1.0) - std::max(from, static_cast<double>(k));
      sum += in[k] * overlap;
    }
    out[i] = sum / scale;
  }
  return out;
}

}  // namespace

double DefaultMetresPerLevel(int bits) { return bits == 16 ? 1.0 / kHeightUnitsPerMetre : 1.0; }

bool MakeLandscapeFiles(const GreyPicture& heights, const std::string& heightsName, const Picture& texture,
                        const std::string& textureName, double metresPerLevel, LandscapeFiles& files,
                        std::string& error) {
  if (heights.width != kHeightSamples || heights.height != kHeightSamples) {
    error = heightsName + " is " + Size(heights.width, heights.height) + "; a height picture must be " +
            Size(kHeightSamples, kHeightSamples);
    return false;
  }
  if (texture.width != kTexels || texture.height != kTexels) {
    error = textureName + " is " + Size(texture.width, texture.height) + "; a landscape texture must be " +
            Size(kTexels, kTexels);
    return false;
  }
  if (!(metresPerLevel > 0)) {
    error = "the metres per grey level must be above 0";
    return false;
  }
  // The highest pixel decides whether the landscape fits under the file's ceiling.
  const auto highest = std::max_element(heights.samples.begin(), heights.samples.end());
  const double highestMetres = *highest * metresPerLevel;
  if (highestMetres > kHighestHeight) {
    const auto at = static_cast<uint32_t>(highest - heights.samples.begin());
    error = heightsName + ": " + Pixel(at % heights.width, at / heights.width) + " stands for " +
            Metres(highestMetres) + "; a landscape is at most " + Metres(kHighestHeight) +
            " high (use fewer metres per grey level)";
    return false;
  }

  std::vector<uint16_t> samples(size_t{kHeightSamples} * kHeightSamples);
  for (uint32_t z = 0; z < kHeightSamples; ++z) {
    for (uint32_t x = 0; x < kHeightSamples; ++x) {
      const double metres = heights.At(x, PictureRow(z, kHeightSamples)) * metresPerLevel;
      samples[size_t{z} * kHeightSamples + x] = static_cast<uint16_t>(std::lround(metres * kHeightUnitsPerMetre));
    }
  }
  std::vector<Rgb8> texels(size_t{kTexels} * kTexels);
  for (uint32_t z = 0; z < kTexels; ++z) {
    for (uint32_t x = 0; x < kTexels; ++x) {
      const uint8_t* rgb = texture.At(x, PictureRow(z, kTexels));
      texels[size_t{z} * kTexels + x] = {rgb[0], rgb[1], rgb[2]};
    }
  }
  files.heightFile = EncodeHeightFile(samples);
  files.textureFile = EncodeTextureFile(texels);

  // Measured on what the game will read back, against the picture itself.
  const std::vector<uint16_t> decoded = DecodeHeightFile(files.heightFile);
  files.largestHeightError = -1;
  for (uint32_t z = 0; z < kHeightSamples; ++z) {
    for (uint32_t x = 0; x < kHeightSamples; ++x) {
      const uint32_t row = PictureRow(z, kHeightSamples);
      const double wanted = heights.At(x, row) * metresPerLevel;
      const double error = std::fabs(decoded[size_t{z} * kHeightSamples + x] / kHeightUnitsPerMetre - wanted);
      if (error > files.largestHeightError) {
        files.largestHeightError = error;
        files.errorX = x;
        files.errorY = row;
      }
    }
  }
  return true;
}

bool LayOutSky(const Picture& panorama, const std::string& panoramaName, Picture& sky, std::string& error) {
  const double proportion = static_cast<double>(panorama.width) / std::max(1u, panorama.height);
  const double wanted = static_cast<double>(kSkyPanoramaWidth) / kSkyPanoramaHeight;
  if (panorama.width < kSkyPanoramaWidth || panorama.height < kSkyPanoramaHeight ||
      std::fabs(proportion / wanted - 1) > 0.02) {
    error = panoramaName + " is " + Size(panorama.width, panorama.height) + "; a sky panorama must be at least " +
            Size(kSkyPanoramaWidth, kSkyPanoramaHeight) + " and 9 : 4 in proportion (1440 x 640, 2160 x 960, ...)";
    return false;
  }
  constexpr uint32_t directions = TerrainMap::kSkyRows;
  constexpr uint32_t columns = TerrainMap::kMinSkyColumns;
  // Down each panorama column to the sky's columns, then across each of those rows to the
  // directions; the result is stored turned over its diagonal.
  sky = Picture(columns, directions, 3);
  for (int channel = 0; channel < 3; ++channel) {
    std::vector<std::vector<double>> shortColumns(panorama.width);
    std::vector<double> column(panorama.height);
    for (uint32_t x = 0; x < panorama.width; ++x) {
      for (uint32_t y = 0; y < panorama.height; ++y) column[y] = panorama.At(x, y)[channel];
      shortColumns[x] = AverageDown(column, columns);
    }
    std::vector<double> row(panorama.width);
    for (uint32_t c = 0; c < columns; ++c) {
      for (uint32_t x = 0; x < panorama.width; ++x) row[x] = shortColumns[x][c];
      const std::vector<double> narrow = AverageDown(row, directions);
      for (uint32_t r = 0; r < directions; ++r) {
        sky.At(c, r)[channel] = static_cast<uint8_t>(std::clamp(std::lround(narrow[r]), 0L, 255L));
      }
    }
  }
  return true;
}
