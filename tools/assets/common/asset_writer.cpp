#include "asset_writer.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

std::vector<uint8_t> EncodeJpegPicture(const Picture& picture, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // our own pictures: a library error is a bug, and ends the tool
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = picture.width;
  info.image_height = picture.height;
  info.input_components = picture.components;
  info.in_color_space = picture.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(picture.At(0, info.next_scanline));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

bool WriteBytesToFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return out.good();
}

bool WriteJpegPicture(const std::string& path, const Picture& picture, int quality) {
  return WriteBytesToFile(path, EncodeJpegPicture(picture, quality));
}

namespace {

// The PNG colour type of a picture with that many samples a pixel, or -1.
int PngColourType(int components) {
  switch (components) {
    case 1: return PNG_COLOR_TYPE_GRAY;
    case 3: return PNG_COLOR_TYPE_RGB;
    case 4: return PNG_COLOR_TYPE_RGBA;
    default: return -1;
  }
}

}  // namespace

bool WritePngPicture(const std::string& path, const Picture& picture) {
  const int colourType = PngColourType(picture.components);
  if (colourType < 0 || picture.width == 0 || picture.height == 0) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < picture.height; ++y) png_write_row(png, const_cast<png_bytep>(picture.At(0, y)));
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

std::vector<uint8_t> EncodeWavMono16(const std::vector<int16_t>& samples, uint32_t sampleRate) {
  std::vector<uint8_t> bytes;
  const auto put = [&bytes](uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  const auto tag = [&bytes](const char* text) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(text[i]));
  };
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(sampleRate, 4);
  put(sampleRate * 2, 4);
  put(2, 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  for (int16_t sample : samples) put(static_cast<uint16_t>(sample), 2);
  return bytes;
}
