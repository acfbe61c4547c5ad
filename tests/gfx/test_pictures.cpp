#include "test_pictures.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <jpeglib.h>

#include "core/wide_string.h"

void FillSurface(Surface& surface, const std::function<uint16_t(uint32_t x, uint32_t y)>& pixel) {
  for (uint32_t y = 0; y < surface.height; ++y) {
    uint16_t* row = surface.Row(y);
    for (uint32_t x = 0; x < surface.width; ++x) row[x] = pixel(x, y);
  }
}

void FillSurface(Surface& surface, uint16_t colour) {
  FillSurface(surface, [colour](uint32_t, uint32_t) { return colour; });
}

std::vector<std::string> Picture(const Surface& surface, const std::map<uint16_t, char>& legend) {
  std::vector<std::string> rows;
  for (uint32_t y = 0; y < surface.height; ++y) {
    std::string row;
    for (uint32_t x = 0; x < surface.width; ++x) {
      const auto found = legend.find(surface.Row(y)[x]);
      row.push_back(found == legend.end() ? '?' : found->second);
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<uint8_t> EncodeJpeg(uint32_t width, uint32_t height, int components,
                                const std::function<void(uint32_t x, uint32_t y, uint8_t* out)>& pixel) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(width * static_cast<uint32_t>(components));
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) pixel(x, y, &row[x * static_cast<uint32_t>(components)]);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

std::vector<uint8_t> EncodeFlatJpeg(uint32_t width, uint32_t height, int components, uint8_t value) {
  return EncodeJpeg(width, height, components, [components, value](uint32_t, uint32_t, uint8_t* out) {
    for (int i = 0; i < components; ++i) out[i] = value;
  });
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TempFolder::TempFolder() {
  std::error_code error;
  std::string pattern = (std::filesystem::temp_directory_path(error) / "kestrel-gfx-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

std::u16string TempFolder::WidePath(const std::string& fileName) const {
  return WideFromUtf8((path_ / fileName).string());
}
