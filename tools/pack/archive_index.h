// Lists the file entries of a RAR 2.0 archive the way the game's reader walks it: blocks are
// stepped over by their sizes and a sub-block ends the list (the reader finds nothing after one).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ArchiveEntryInfo {
  std::string name;  // as stored (8-bit, "\" separators)
  uint32_t unpackedSize = 0;
  uint32_t packedSize = 0;
  uint32_t crc = 0;    // CRC-32 of the unpacked bytes
  uint8_t method = 0;  // 0x30 stored, 0x31..0x35 the version-20 compressor
  uint8_t unpackVersion = 0;
  uint16_t flags = 0;
};

// False with a message when the file cannot be read or its headers are damaged.
bool ListArchive(const std::string& path, std::vector<ArchiveEntryInfo>& entries, bool& solid, std::string& error);
