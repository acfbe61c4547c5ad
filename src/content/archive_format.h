// On-disk layout of RAR 2.0 archives, as read by the game's archive reader and written by
// kestrel-pack. Every multi-byte field is little-endian.
//
// An archive is a 7-byte marker, a 13-byte main header and then blocks back to back. Every
// block starts with the same 7 bytes (header CRC, type, flags, header size); a block whose
// flags carry kBlockHasData is followed by that many bytes of data after its header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace archive_format {

constexpr size_t kMarkerSize = 7;
// The standard marker and the two alternatives that packs made for this game may start with;
// the same layout follows all three.
constexpr uint8_t kRarMarker[kMarkerSize] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
constexpr uint8_t kUniqueMarker[kMarkerSize] = {'U', 'n', 'i', 'q', 'u', 'E', '!'};
constexpr uint8_t kQuartzMarker[kMarkerSize] = {'Q', 'u', 'a', 'r', 't', 'Z', '!'};

// Common block header: CRC 2, type 1, flags 2, header size 2.
constexpr size_t kBlockHeaderSize = 7;
constexpr size_t kBlockCrcOffset = 0;
constexpr size_t kBlockTypeOffset = 2;
constexpr size_t kBlockFlagsOffset = 3;
constexpr size_t kBlockSizeOffset = 5;
// Present when kBlockHasData is set: the size of the data after the header.
constexpr size_t kBlockDataSizeOffset = 7;
constexpr uint16_t kBlockHasData = 0x8000;

constexpr uint8_t kMainHeaderType = 0x73;
constexpr uint8_t kFileHeaderType = 0x74;
// A sub-block (owner, stream data); the reader stops looking for files at the first one.
constexpr uint8_t kSubBlockType = 0x77;

// Main header: the common 7 bytes, then 2 + 4 reserved bytes. Bytes beyond 13 are skipped.
constexpr size_t kMainHeaderSize = 13;
constexpr uint16_t kMainSolid = 0x0008;

// File header: 32 fixed bytes followed by the name (8-bit text, not terminated).
constexpr size_t kFileHeaderSize = 32;
constexpr size_t kFilePackedSizeOffset = 7;
constexpr size_t kFileUnpackedSizeOffset = 11;
constexpr size_t kFileHostOffset = 15;
constexpr size_t kFileCrcOffset = 16;
constexpr size_t kFileTimeOffset = 20;  // MS-DOS date and time
constexpr size_t kFileVersionOffset = 24;
constexpr size_t kFileMethodOffset = 25;
constexpr size_t kFileNameSizeOffset = 26;
constexpr size_t kFileAttributesOffset = 28;

constexpr uint16_t kFileEncrypted = 0x0004;
// The entry's packed data continues the decoder state (window, tables) of the previous one.
constexpr uint16_t kFileContinuesSolid = 0x0010;
// Dictionary size the entry was packed with, in bits 5-7: 0x00 = 64 KiB ... 0x80 = 1 MiB.
constexpr uint16_t kFileDictionary1MiB = 0x0080;

// Unpack versions this reader understands: 1.3 to 2.0, written as 13 to 20.
constexpr uint8_t kMinUnpackVersion = 13;
constexpr uint8_t kMaxUnpackVersion = 20;
constexpr uint8_t kUnpackVersion20 = 20;

constexpr uint8_t kMethodStored = 0x30;  // "0"; any other method is the version-20 compressor
constexpr uint8_t kMethodNormal = 0x33;  // "3"

// Host systems of the file header; names from Windows hosts use "\" as separator.
constexpr uint8_t kHostWindows = 2;
constexpr uint32_t kAttributeArchive = 0x20;

// Stored names longer than this are cut when read.
constexpr size_t kMaxNameLength = 259;

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline void WriteLe16(uint8_t* p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}
inline void WriteLe32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace archive_format
