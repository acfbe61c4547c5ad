// Writing the generated pictures and sounds: JPEG (colour or greyscale, from 8-bit samples),
// WAV (PCM 16-bit mono) and PNG previews. Every writer is deterministic: the same samples give
// the same bytes, so two builds make identical assets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An 8-bit picture: `components` samples per pixel (3 for R, G, B; 4 for R, G, B and straight
// alpha; 1 for grey), rows top down.
struct Picture {
  uint32_t width = 0;
  uint32_t height = 0;
  int components = 3;
  std::vector<uint8_t> samples;

  Picture() = default;
  Picture(uint32_t w, uint32_t h, int c) : width(w), height(h), components(c), samples(size_t{w} * h * c, 0) {}
  uint8_t* At(uint32_t x, uint32_t y) { return &samples[(size_t{y} * width + x) * components]; }
  const uint8_t* At(uint32_t x, uint32_t y) const { return &samples[(size_t{y} * width + x) * components]; }
};

// Baseline JPEG in memory, quality 0..100.
std::vector<uint8_t> EncodeJpegPicture(const Picture& picture, int quality);

bool WriteBytesToFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteJpegPicture(const std::string& path, const Picture& picture, int quality);
// A PNG of the picture: grey, RGB or RGBA as its components say (contact sheets, icons). False
// for any other number of components or when the file cannot be written.
bool WritePngPicture(const std::string& path, const Picture& picture);
// RIFF/WAVE, PCM 16-bit mono.
std::vector<uint8_t> EncodeWavMono16(const std::vector<int16_t>& samples, uint32_t sampleRate);
