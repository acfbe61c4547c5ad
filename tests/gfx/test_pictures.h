// Helpers for the graphics tests: surfaces filled and read back as small text pictures, JPEG
// pictures made on the spot with libjpeg, and a temporary folder for written files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gfx/surface.h"

// Fills the colours of every pixel (x < width) with pixel(x, y).
void FillSurface(Surface& surface, const std::function<uint16_t(uint32_t x, uint32_t y)>& pixel);
void FillSurface(Surface& surface, uint16_t colour);

// The surface as rows of characters, one per pixel, named by legend ('?' for any other colour).
std::vector<std::string> Picture(const Surface& surface, const std::map<uint16_t, char>& legend);

// A baseline JPEG of quality 100 made in memory. components is 3 (RGB, pixel writes three
// bytes) or 1 (greyscale, pixel writes one).
std::vector<uint8_t> EncodeJpeg(uint32_t width, uint32_t height, int components,
                                const std::function<void(uint32_t x, uint32_t y, uint8_t* out)>& pixel);
std::vector<uint8_t> EncodeFlatJpeg(uint32_t width, uint32_t height, int components, uint8_t value);

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // The file's path as the game's wide text.
  std::u16string WidePath(const std::string& fileName) const;

 private:
  std::filesystem::path path_;
};
