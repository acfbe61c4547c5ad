// Reads entries of a RAR 2.0 archive (a content pack) into memory.
//
// Each call opens the archive by path, finds the entry through an EntryIndex, decodes it, checks
// its CRC-32 and closes the archive again; nothing stays open between calls. Names are 8-bit
// text: "\" and "/" are the same separator and case does not matter. Every call keeps its own
// state, so extractions may overlap.
#pragma once

#include <cstdint>

class ArchiveReader {
 public:
  // Entries that claim more than this many unpacked bytes are refused instead of allocated;
  // the largest file of any pack (a terrain texture) is half a megabyte.
  static constexpr uint32_t kMaxUnpackedSize = 256u << 20;

  // On success (true) *data is a new block from CheckedAlloc holding the entry's bytes, to be
  // released with Free, and *size its length. On failure *data is null and *size 0.
  // `password` may be null or empty. Encrypted entries are not decrypted (no pack is
  // encrypted), so they fail their CRC check like any damaged entry. In a solid archive every
  // entry before the wanted one is decoded too: to read many entries, use a ContentPack or an
  // EntryDecoder, which keep the decoder between reads.
  static bool ExtractToMemory(uint8_t** data, uint32_t* size, const char* entryName, const char* archivePath,
                              const char* password);
};
