// Reading the pictures a pack author starts from: PNG (through libpng), JPEG (libjpeg) and the
// Netpbm formats PGM and PPM. Every failure comes back as a sentence that names the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "asset_writer.h"

// Grey samples at the file's own depth: 8 bits (0..255) or 16 bits (0..65535), rows top down.
struct GreyPicture {
  uint32_t width = 0;
  uint32_t height = 0;
  int bits = 8;
  std::vector<uint16_t> samples;
  uint16_t At(uint32_t x, uint32_t y) const { return samples[size_t{y} * width + x]; }
};

// A greyscale PNG (8 or 16 bits; 1, 2 and 4 bits are widened to 8) or a PGM (P5 or P2). A colour
// picture is refused rather than turned grey, since its brightness is not a height anyone chose.
bool ReadGreyPicture(const std::string& path, GreyPicture& picture, std::string& error);

// Any PNG (grey, palette or colour; alpha dropped, 16 bits cut to 8), a JPEG, or a PPM (P6 or
// P3), as 8-bit R, G, B.
bool ReadColourPicture(const std::string& path, Picture& picture, std::string& error);
// The same for bytes already read from the file `name` (for a caller that keeps the bytes too).
bool DecodeColourPicture(const std::vector<uint8_t>& bytes, const std::string& name, Picture& picture,
                         std::string& error);

// A whole source file; false with "cannot open PATH" or "cannot read PATH".
bool ReadSourceFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
