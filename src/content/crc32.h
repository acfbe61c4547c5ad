// CRC-32 of ISO-HDLC and zlib (reflected polynomial 0xEDB88320), the check of archive entries.
// A header CRC is the low 16 bits of the same sum over the header from its type byte on.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kCrc32Start = 0xFFFFFFFF;

// One table-driven update: crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8) for each byte. The
// check value of a whole block is ~Crc32(kCrc32Start, bytes, count).
uint32_t Crc32(uint32_t crc, const uint8_t* bytes, size_t count);
