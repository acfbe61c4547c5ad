#include "content/entry_index.h"

#include <cctype>
#include <cstring>

#include "content/archive_format.h"

using namespace archive_format;

std::string ComparedEntryName(const char* name) {
  std::string compared;
  for (size_t i = 0; i < kMaxNameLength && name[i] != 0; ++i) {
    const char c = (name[i] == '\\' || name[i] == '/') ? '_' : name[i];
    compared.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  }
  return compared;
}

namespace {

bool ReadMarkerAndMainHeader(std::FILE* file, bool& solid, uint64_t& end) {
  uint8_t marker[kMarkerSize];
  if (std::fread(marker, 1, kMarkerSize, file) != kMarkerSize) return false;
  // Files with the old 4-byte marker or with no known marker have no main header that could
  // be skipped by a known length; no pack uses them, so they are refused.
  if (std::memcmp(marker, kRarMarker, kMarkerSize) != 0 && std::memcmp(marker, kUniqueMarker, kMarkerSize) != 0 &&
      std::memcmp(marker, kQuartzMarker, kMarkerSize) != 0) {
    return false;
  }
  uint8_t mainHeader[kMainHeaderSize];
  if (std::fread(mainHeader, 1, kMainHeaderSize, file) != kMainHeaderSize) return false;
  solid = (ReadLe16(mainHeader + kBlockFlagsOffset) & kMainSolid) != 0;
  const uint16_t headerSize = ReadLe16(mainHeader + kBlockSizeOffset);
  if (headerSize < kMainHeaderSize) return false;
  end = kMarkerSize + headerSize;
  return true;
}

}  // namespace

bool EntryIndex::Build(std::FILE* file) {
  solid_ = false;
  entries_.clear();
  firstByName_.clear();
  end_ = End::kDamage;
  endOffset_ = 0;
  if (std::fseek(file, 0, SEEK_END) != 0) return false;
  const long fileLength = std::ftell(file);
  uint64_t position = 0;
  if (fileLength < 0 || std::fseek(file, 0, SEEK_SET) != 0 || !ReadMarkerAndMainHeader(file, solid_, position)) {
    solid_ = false;
    return false;
  }

  // Every block moves the walk on by at least its 7 header bytes, and it stops at the length
  // the file had when it began, whatever the sizes claim and however the file changes.
  const uint64_t length = static_cast<uint64_t>(fileLength);
  for (;;) {
    endOffset_ = position;
    if (position == length) {
      end_ = End::kFileEnd;
      break;
    }
    if (position > length || std::fseek(file, static_cast<long>(position), SEEK_SET) != 0) break;
    uint8_t raw[kFileHeaderSize] = {};
    const size_t read = std::fread(raw, 1, kFileHeaderSize, file);
    if (read < kBlockHeaderSize) break;
    const uint8_t type = raw[kBlockTypeOffset];
    const uint16_t flags = ReadLe16(raw + kBlockFlagsOffset);
    const uint16_t headerSize = ReadLe16(raw + kBlockSizeOffset);
    if (headerSize < kBlockHeaderSize) break;
    uint64_t next = position + headerSize;
    if (flags & kBlockHasData) {
      if (read < kBlockDataSizeOffset + 4) break;
      next += ReadLe32(raw + kBlockDataSizeOffset);
    }
    if (type == kSubBlockType) {
      end_ = End::kSubBlock;
      break;
    }

    if (type == kFileHeaderType) {
      // A file header cut short, or one whose name would run past its own end, is damage.
      const uint16_t nameSize = ReadLe16(raw + kFileNameSizeOffset);
      if (read < kFileHeaderSize || kFileHeaderSize + nameSize > headerSize) break;
      char name[kMaxNameLength + 1] = {};
      const size_t nameBytes = nameSize < kMaxNameLength ? nameSize : kMaxNameLength;
      if (std::fread(name, 1, nameBytes, file) != nameBytes) break;

      IndexedEntry entry;
      entry.name = name;
      entry.flags = flags;
      entry.headerOffset = position;
      entry.dataOffset = position + headerSize;
      entry.packedSize = ReadLe32(raw + kFilePackedSizeOffset);
      entry.unpackedSize = ReadLe32(raw + kFileUnpackedSizeOffset);
      entry.crc = ReadLe32(raw + kFileCrcOffset);
      entry.method = raw[kFileMethodOffset];
      entry.unpackVersion = raw[kFileVersionOffset];
      firstByName_.emplace(ComparedEntryName(entry.name.c_str()), entries_.size());
      entries_.push_back(std::move(entry));
    }
    position = next;
  }
  return true;
}

std::optional<size_t> EntryIndex::Find(const char* name) const {
  const auto found = firstByName_.find(ComparedEntryName(name));
  if (found == firstByName_.end()) return std::nullopt;
  return found->second;
}
