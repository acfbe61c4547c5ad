#include "archive_index.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "content/archive_format.h"

using namespace archive_format;

bool ListArchive(const std::string& path, std::vector<ArchiveEntryInfo>& entries, bool& solid, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  entries.clear();
  if (bytes.size() < kMarkerSize + kMainHeaderSize || (std::memcmp(bytes.data(), kRarMarker, kMarkerSize) != 0 &&
                                                       std::memcmp(bytes.data(), kUniqueMarker, kMarkerSize) != 0 &&
                                                       std::memcmp(bytes.data(), kQuartzMarker, kMarkerSize) != 0)) {
    error = path + " is not a RAR 2.0 archive (no marker)";
    return false;
  }
  const uint8_t* main = bytes.data() + kMarkerSize;
  solid = (ReadLe16(main + kBlockFlagsOffset) & kMainSolid) != 0;
  const uint16_t mainSize = ReadLe16(main + kBlockSizeOffset);
  if (mainSize < kMainHeaderSize) {
    error = path + ": damaged main header";
    return false;
  }

  uint64_t position = kMarkerSize + static_cast<uint64_t>(mainSize);
  while (position < bytes.size()) {
    const uint8_t* block = bytes.data() + position;
    const uint64_t available = bytes.size() - position;
    if (available < kBlockHeaderSize) {
      error = path + ": truncated block header at offset " + std::to_string(position);
      return false;
    }
    const uint8_t type = block[kBlockTypeOffset];
    const uint16_t flags = ReadLe16(block + kBlockFlagsOffset);
    const uint16_t headerSize = ReadLe16(block + kBlockSizeOffset);
    if (headerSize < kBlockHeaderSize || headerSize > available ||
        ((flags & kBlockHasData) && headerSize < kBlockDataSizeOffset + 4)) {
      error = path + ": damaged block header at offset " + std::to_string(position);
      return false;
    }
    const uint64_t dataSize = (flags & kBlockHasData) ? ReadLe32(block + kBlockDataSizeOffset) : 0;
    if (type == kSubBlockType) break;
    if (type == kFileHeaderType) {
      const uint16_t nameSize = headerSize >= kFileHeaderSize ? ReadLe16(block + kFileNameSizeOffset) : 0;
      if (headerSize < kFileHeaderSize || kFileHeaderSize + nameSize > headerSize) {
        error = path + ": damaged file header at offset " + std::to_string(position);
        return false;
      }
      ArchiveEntryInfo entry;
      entry.name.assign(reinterpret_cast<const char*>(block + kFileHeaderSize), nameSize);
      entry.packedSize = ReadLe32(block + kFilePackedSizeOffset);
      entry.unpackedSize = ReadLe32(block + kFileUnpackedSizeOffset);
      entry.crc = ReadLe32(block + kFileCrcOffset);
      entry.method = block[kFileMethodOffset];
      entry.unpackVersion = block[kFileVersionOffset];
      entry.flags = flags;
      entries.push_back(std::move(entry));
    }
    position += headerSize + dataSize;
  }
  if (position > bytes.size()) {
    error = path + ": truncated (the last entry's data runs past the end of the file)";
    return false;
  }
  return true;
}
