// Hand-made RAR 2.0 archives for the reader's tests: headers assembled field by field and
// packed streams written bit by bit, independent of kestrel-pack's writer.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "content/archive_format.h"
#include "content/archive_reader.h"
#include "content/crc32.h"
#include "content/method20.h"
#include "core/memory.h"

namespace test_archive {

using Bytes = std::vector<uint8_t>;

inline Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline uint32_t CrcOf(const Bytes& data) { return ~Crc32(kCrc32Start, data.data(), data.size()); }

struct Entry {
  std::string name;
  Bytes packed;
  uint32_t unpackedSize = 0;
  uint32_t crc = 0;
  uint8_t method = archive_format::kMethodStored;
  uint16_t flags = 0;
  uint8_t version = 20;
  Bytes headerExtra;  // bytes between the name and the data (a comment)
};

inline Entry Stored(const std::string& name, const Bytes& data) {
  Entry entry;
  entry.name = name;
  entry.packed = data;
  entry.unpackedSize = static_cast<uint32_t>(data.size());
  entry.crc = CrcOf(data);
  return entry;
}

// A version-20 entry whose packed stream must decode to `expected`.
inline Entry Compressed(const std::string& name, const Bytes& packed, const Bytes& expected, uint16_t flags = 0) {
  Entry entry;
  entry.name = name;
  entry.packed = packed;
  entry.unpackedSize = static_cast<uint32_t>(expected.size());
  entry.crc = CrcOf(expected);
  entry.method = archive_format::kMethodNormal;
  entry.flags = flags;
  return entry;
}

inline void Put16(Bytes& out, size_t at, uint16_t v) { archive_format::WriteLe16(out.data() + at, v); }
inline void Put32(Bytes& out, size_t at, uint32_t v) { archive_format::WriteLe32(out.data() + at, v); }

inline Bytes FileHeader(const Entry& e) {
  using namespace archive_format;
  Bytes h(kFileHeaderSize + e.name.size() + e.headerExtra.size(), 0);
  h[kBlockTypeOffset] = kFileHeaderType;
  Put16(h, kBlockFlagsOffset, static_cast<uint16_t>(e.flags | kBlockHasData));
  Put16(h, kBlockSizeOffset, static_cast<uint16_t>(h.size()));
  Put32(h, kFilePackedSizeOffset, static_cast<uint32_t>(e.packed.size()));
  Put32(h, kFileUnpackedSizeOffset, e.unpackedSize);
  Put32(h, kFileCrcOffset, e.crc);
  h[kFileVersionOffset] = e.version;
  h[kFileMethodOffset] = e.method;
  Put16(h, kFileNameSizeOffset, static_cast<uint16_t>(e.name.size()));
  std::copy(e.name.begin(), e.name.end(), h.begin() + kFileHeaderSize);
  std::copy(e.headerExtra.begin(), e.headerExtra.end(), h.begin() + kFileHeaderSize + e.name.size());
  return h;
}

struct ArchiveShape {
  bool solid = false;
  const uint8_t* marker = archive_format::kRarMarker;
  uint16_t mainHeaderSize = archive_format::kMainHeaderSize;
};

inline Bytes Build(const std::vector<Entry>& entries, const ArchiveShape& shape = {}) {
  using namespace archive_format;
  Bytes out(shape.marker, shape.marker + kMarkerSize);
  Bytes main(shape.mainHeaderSize < kMainHeaderSize ? kMainHeaderSize : shape.mainHeaderSize, 0xEE);
  std::memset(main.data(), 0, kMainHeaderSize);
  main[kBlockTypeOffset] = kMainHeaderType;
  Put16(main, kBlockFlagsOffset, shape.solid ? kMainSolid : 0);
  Put16(main, kBlockSizeOffset, shape.mainHeaderSize);
  out.insert(out.end(), main.begin(), main.end());
  for (const Entry& e : entries) {
    const Bytes header = FileHeader(e);
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), e.packed.begin(), e.packed.end());
  }
  return out;
}

// Offset of the n-th file header (0-based) in an archive built with a 13-byte main header.
inline size_t FileHeaderOffset(const Bytes& archive, int n) {
  size_t at = archive_format::kMarkerSize + archive_format::kMainHeaderSize;
  for (int i = 0; i < n; ++i) {
    at += archive_format::ReadLe16(archive.data() + at + archive_format::kBlockSizeOffset) +
          archive_format::ReadLe32(archive.data() + at + archive_format::kBlockDataSizeOffset);
  }
  return at;
}

// A file in the test's temporary folder, removed again at the end of the scope.
class TempFile {
 public:
  explicit TempFile(const Bytes& contents) {
    static int counter = 0;
    path_ =
        ::testing::TempDir() + "kestrel_archive_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + ".bin";
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (file) {
      if (!contents.empty()) std::fwrite(contents.data(), 1, contents.size(), file);
      std::fclose(file);
    }
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const char* Path() const { return path_.c_str(); }

 private:
  std::string path_;
};

// Extracts through the game's reader; on failure checks that both outputs were cleared.
inline bool Extract(const char* archivePath, const char* name, Bytes& out) {
  uint8_t* data = reinterpret_cast<uint8_t*>(1);
  uint32_t size = 12345;
  const bool ok = ArchiveReader::ExtractToMemory(&data, &size, name, archivePath, nullptr);
  out.clear();
  if (!ok) {
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
    return false;
  }
  out.assign(data, data + size);
  Free(data);
  return true;
}

inline bool ExtractFromBytes(const Bytes& archive, const char* name, Bytes& out) {
  TempFile file(archive);
  return Extract(file.Path(), name, out);
}

// A packed version-20 stream with uniform codes, simple enough to write by hand: every
// literal/length symbol has a 9-bit code equal to its value, every distance slot a 6-bit code,
// every repeat-length slot a 5-bit code and every audio symbol a 9-bit code. The bit-length code
// gives the values 0..15 4-bit codes equal to themselves, so each length travels as 4 bits.
class StreamWriter {
 public:
  void Bits(uint32_t value, uint32_t count) {
    for (uint32_t i = count; i > 0; --i) {
      if (bitCount_ % 8 == 0) bytes_.push_back(0);
      if ((value >> (i - 1)) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> (bitCount_ % 8));
      ++bitCount_;
    }
  }

  // An LZ table set; with `additions` the lengths are sent as `add` added to the previous ones.
  void LzTables(bool additions = false, uint8_t add = 0) {
    Bits(additions ? 1 : 0, 2);
    BitLengthCode();
    for (uint32_t i = 0; i < method20::kLzTableSize; ++i) {
      const uint8_t length = i < 298 ? 9 : i < 346 ? 6 : 5;
      Bits(additions ? add : length, 4);
    }
    literalBits_ += additions ? add : 9 - literalBits_;
    distanceBits_ += additions ? add : 6 - distanceBits_;
    repeatBits_ += additions ? add : 5 - repeatBits_;
  }

  void AudioTables(uint32_t channels) {
    Bits(2, 2);
    Bits(channels - 1, 2);
    BitLengthCode();
    for (uint32_t i = 0; i < channels * method20::kAudioSymbols; ++i) Bits(9, 4);
  }

  void Symbol(uint32_t symbol) { Bits(symbol, literalBits_); }
  void Literal(uint8_t byte) { Symbol(byte); }
  void Literals(const std::string& text) {
    for (char c : text) Literal(static_cast<uint8_t>(c));
  }

  // A new match (symbols 270..297); `length` is the number of bytes copied.
  void Match(uint32_t length, uint32_t distance) {
    using namespace method20;
    const uint32_t value = length - 3 - NewMatchLengthBonus(distance);
    uint32_t slot = kLengthSlots - 1;
    while (LDecode[slot] > value) --slot;
    Symbol(kFirstLengthSymbol + slot);
    Bits(value - LDecode[slot], LBits[slot]);
    uint32_t distanceSlot = kDistanceSlots - 1;
    while (DDecode[distanceSlot] > distance - 1) --distanceSlot;
    Bits(distanceSlot, distanceBits_);
    Bits(distance - 1 - DDecode[distanceSlot], DBits[distanceSlot]);
  }

  // A match at the n-th last distance (n = 1..4, symbols 257..260).
  void OldDistanceMatch(uint32_t n, uint32_t length, uint32_t distance) {
    using namespace method20;
    Symbol(256 + n);
    const uint32_t value = length - 2 - OldDistanceLengthBonus(distance);
    uint32_t slot = kLengthSlots - 1;
    while (LDecode[slot] > value) --slot;
    Bits(slot, repeatBits_);
    Bits(value - LDecode[slot], LBits[slot]);
  }

  // A length-2 match at distance 1..256 (symbols 261..268).
  void ShortMatch(uint32_t distance) {
    using namespace method20;
    uint32_t slot = kShortDistanceSlots - 1;
    while (SDDecode[slot] > distance - 1) --slot;
    Symbol(kFirstShortDistance + slot);
    Bits(distance - 1 - SDDecode[slot], SDBits[slot]);
  }

  const Bytes& Finish() { return bytes_; }

 private:
  void BitLengthCode() {
    for (int i = 0; i < 16; ++i) Bits(4, 4);
    for (int i = 16; i < 19; ++i) Bits(0, 4);
  }

  Bytes bytes_;
  uint32_t bitCount_ = 0;
  uint32_t literalBits_ = 9;
  uint32_t distanceBits_ = 6;
  uint32_t repeatBits_ = 5;
};

}  // namespace test_archive
