// The binary mesh file of one level of detail, as packs store it (little-endian):
//
//   offset 0   4 bytes   not read
//   offset 4   1 byte    vertex count V (at most 255)
//   offset 5   1 byte    face count F (at most 255)
//   offset 6   2 bytes   bounding radius, coordinate encoding
//   offset 8   8 x V     vertices: x, y, z (2 bytes each, coordinate encoding), u, v (1 byte each)
//   8 + 8 x V  4 x F     faces: three vertex indices, one unused byte
//
// Coordinates are sign and magnitude in 1/32 metre steps: bit 15 is the sign, bits 0-14 the
// magnitude. Shared by the loader and by whatever writes mesh files (tools, tests).
#pragma once

#include <cstdint>

#include "core/fixed.h"

namespace mesh_format {

constexpr uint32_t kHeaderSize = 8;
constexpr uint32_t kVertexCountOffset = 4;
constexpr uint32_t kFaceCountOffset = 5;
constexpr uint32_t kRadiusOffset = 6;
constexpr uint32_t kVertexSize = 8;
constexpr uint32_t kVertexUOffset = 6;
constexpr uint32_t kVertexVOffset = 7;
constexpr uint32_t kFaceSize = 4;  // the fourth byte is not used

constexpr uint16_t kSignBit = 0x8000;
constexpr uint16_t kMagnitudeMask = 0x7FFF;

inline uint16_t ReadLe16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

// 1/32 metre is 2048 in 16.16, so the magnitude is shifted left 11: 0x0020 is 1.0 and 0x8005
// is -5/32 (raw -10240).
constexpr fixed DecodeCoordinate(uint16_t encoded) {
  const fixed magnitude = static_cast<fixed>(encoded & kMagnitudeMask) << 11;
  return (encoded & kSignBit) != 0 ? -magnitude : magnitude;
}

// The nearest encodable value toward zero (sub-1/32 parts are dropped); magnitudes beyond the
// 15 bits are cut to the largest.
constexpr uint16_t EncodeCoordinate(fixed value) {
  const int64_t wide = value;
  const uint64_t magnitude = static_cast<uint64_t>(wide < 0 ? -wide : wide) >> 11;
  const uint16_t bits = static_cast<uint16_t>(magnitude > kMagnitudeMask ? kMagnitudeMask : magnitude);
  return value < 0 && bits != 0 ? static_cast<uint16_t>(bits | kSignBit) : bits;
}

}  // namespace mesh_format
