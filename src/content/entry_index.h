// Where every entry of a RAR 2.0 archive lies, found by one walk over the block headers, so that
// reading an entry is a seek instead of a scan.
//
// The walk is the one the game has always made: blocks are stepped over by their sizes, other
// blocks than files are skipped, and it ends at the first sub-block, at the end of the file or at
// a header that cannot be right. Entries before that point stay readable; nothing after it is
// found. Names are 8-bit text; "\" and "/" are the same separator and case does not matter.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct IndexedEntry {
  std::string name;  // as stored, up to the first zero byte and at most kMaxNameLength bytes
  uint16_t flags = 0;
  uint64_t headerOffset = 0;
  uint64_t dataOffset = 0;  // after the whole header, which may hold more than the name
  uint32_t packedSize = 0;
  uint32_t unpackedSize = 0;
  uint32_t crc = 0;
  uint8_t method = 0;
  uint8_t unpackVersion = 0;
};

// A name as names are compared: cut to the stored length, both separators "_", upper case.
std::string ComparedEntryName(const char* name);

class EntryIndex {
 public:
  // Why the walk ended: at the end of the file, at a sub-block, or at damage (a header cut
  // short or impossible, or a block running past the end of the file).
  enum class End { kFileEnd, kSubBlock, kDamage };

  // Walks `file` from its start (the file position is left anywhere). False, with no entries,
  // when it does not start with a marker and a main header; damage further on only ends the
  // list.
  bool Build(std::FILE* file);

  bool solid() const { return solid_; }
  const std::vector<IndexedEntry>& entries() const { return entries_; }
  // The position in entries() of the first entry of that name.
  std::optional<size_t> Find(const char* name) const;

  End end() const { return end_; }
  // Where the block that ended the walk starts.
  uint64_t endOffset() const { return endOffset_; }

 private:
  bool solid_ = false;
  End end_ = End::kDamage;
  uint64_t endOffset_ = 0;
  std::vector<IndexedEntry> entries_;
  std::unordered_map<std::string, size_t> firstByName_;  // by ComparedEntryName
};
