// The index of an archive's entries: one walk over the block headers, fed here through memory
// streams as a fuzzer would feed it.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "archive_test_util.h"
#include "content/entry_index.h"

using namespace test_archive;
using namespace archive_format;

namespace {

// Builds `index` from `bytes`; false when Build refuses them.
bool BuildIndex(const Bytes& bytes, EntryIndex& index) {
  if (bytes.empty()) return false;  // a memory stream needs at least one byte
  std::FILE* file = fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
  if (file == nullptr) {
    ADD_FAILURE() << "fmemopen failed";
    return false;
  }
  const bool built = index.Build(file);
  std::fclose(file);
  return built;
}

bool SameEntry(const IndexedEntry& a, const IndexedEntry& b) {
  return a.name == b.name && a.flags == b.flags && a.headerOffset == b.headerOffset && a.dataOffset == b.dataOffset &&
         a.packedSize == b.packedSize && a.unpackedSize == b.unpackedSize && a.crc == b.crc && a.method == b.method &&
         a.unpackVersion == b.unpackVersion;
}

std::vector<Entry> ThreeEntries() {
  StreamWriter stream;
  stream.LzTables();
  stream.Literals("packed");
  Entry commented = Stored("docs\\note.txt", BytesOf("after a comment"));
  commented.headerExtra = BytesOf("a comment inside the file header");
  Entry old = Compressed("Packed.BIN", stream.Finish(), BytesOf("packed"), kFileContinuesSolid);
  old.version = 15;
  return {Stored("first.txt", BytesOf("one")), commented, old};
}

TEST(EntryIndex, RecordsWhereEveryEntryAndItsDataLie) {
  const std::vector<Entry> entries = ThreeEntries();
  ArchiveShape solid;
  solid.solid = true;
  const Bytes archive = Build(entries, solid);
  EntryIndex index;
  ASSERT_TRUE(BuildIndex(archive, index));
  EXPECT_TRUE(index.solid());
  EXPECT_EQ(index.end(), EntryIndex::End::kFileEnd);
  EXPECT_EQ(index.endOffset(), archive.size());
  ASSERT_EQ(index.entries().size(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(entries[i].name);
    const IndexedEntry& found = index.entries()[i];
    EXPECT_EQ(found.name, entries[i].name);
    EXPECT_EQ(found.flags, entries[i].flags | kBlockHasData);
    EXPECT_EQ(found.headerOffset, FileHeaderOffset(archive, static_cast<int>(i)));
    EXPECT_EQ(found.packedSize, entries[i].packed.size());
    EXPECT_EQ(found.unpackedSize, entries[i].unpackedSize);
    EXPECT_EQ(found.crc, entries[i].crc);
    EXPECT_EQ(found.method, entries[i].method);
    EXPECT_EQ(found.unpackVersion, entries[i].version);
    // The data starts after the whole header, comment included.
    ASSERT_LE(found.dataOffset + found.packedSize, archive.size());
    EXPECT_TRUE(Bytes(archive.begin() + found.dataOffset, archive.begin() + found.dataOffset + found.packedSize) ==
                entries[i].packed);
  }
  EntryIndex notSolid;
  ASSERT_TRUE(BuildIndex(Build(entries), notSolid));
  EXPECT_FALSE(notSolid.solid());
}

TEST(EntryIndex, FindTakesTheFirstOfEachNameWithEitherSeparatorAndAnyCase) {
  const std::string longName(300, 'n');
  const Bytes archive = Build({Stored("Data\\One.txt", BytesOf("first")), Stored("data/one.TXT", BytesOf("second")),
                               Stored("two", BytesOf("2")), Stored(longName + "stored tail", BytesOf("long"))});
  EntryIndex index;
  ASSERT_TRUE(BuildIndex(archive, index));
  const struct {
    std::string wanted;
    std::optional<size_t> expected;
  } cases[] = {
      {"DATA/ONE.TXT", 0},
      {"data\\one.txt", 0},
      {"data_one.txt", 0},
      {"TWO", 2},
      {"three", std::nullopt},
      {"", std::nullopt},
      // Names are compared on their first 259 bytes, as they are stored.
      {longName + "another tail", 3},
      {std::string(258, 'n'), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wanted.substr(0, 20));
    EXPECT_EQ(index.Find(c.wanted.c_str()), c.expected);
  }
}

TEST(EntryIndex, OtherBlocksAreSteppedOverAndASubBlockEndsTheWalk) {
  Bytes archive = Build({Stored("before.txt", BytesOf("before")), Stored("middle.txt", BytesOf("middle"))});
  // A comment-like block (type 0x75) with 3 bytes of data before each file, then a sub-block,
  // then one more file.
  const Bytes other = {0, 0, 0x75, 0x00, 0x80, 11, 0, 3, 0, 0, 0, 'x', 'y', 'z'};
  const Bytes sub = {0, 0, 0x77, 0x00, 0x00, 7, 0};
  const Bytes after = Build({Stored("after.txt", BytesOf("after"))});
  archive.insert(archive.begin() + FileHeaderOffset(archive, 1), other.begin(), other.end());
  archive.insert(archive.begin() + FileHeaderOffset(archive, 0), other.begin(), other.end());
  const size_t subBlockAt = archive.size();
  archive.insert(archive.end(), sub.begin(), sub.end());
  archive.insert(archive.end(), after.begin() + kMarkerSize + kMainHeaderSize, after.end());

  EntryIndex index;
  ASSERT_TRUE(BuildIndex(archive, index));
  ASSERT_EQ(index.entries().size(), 2u);
  EXPECT_EQ(index.entries()[1].name, "middle.txt");
  const size_t firstBlockSize = kFileHeaderSize + std::string("before.txt").size() + std::string("before").size();
  EXPECT_EQ(index.entries()[1].headerOffset, kMarkerSize + kMainHeaderSize + 2 * other.size() + firstBlockSize);
  EXPECT_EQ(index.end(), EntryIndex::End::kSubBlock);
  EXPECT_EQ(index.endOffset(), subBlockAt);
  EXPECT_FALSE(index.Find("after.txt"));
}

TEST(EntryIndex, DamageEndsTheWalkAndKeepsTheEntriesBeforeIt) {
  const Bytes good = Build(ThreeEntries());
  const size_t second = FileHeaderOffset(good, 1);
  const size_t third = FileHeaderOffset(good, 2);
  const size_t secondHeaderSize = ReadLe16(good.data() + second + kBlockSizeOffset);
  const struct {
    const char* what;
    size_t offset;  // where `bytes` go
    Bytes bytes;
    size_t cut;  // the archive's new length; 0 keeps it whole
    size_t kept;
    uint64_t endOffset;  // where the block that ended the walk starts
  } cases[] = {
      {"header size below 7", second + kBlockSizeOffset, {3, 0}, 0, 1, second},
      {"file header shorter than its fields", second + kBlockSizeOffset, {20, 0}, 0, 1, second},
      {"name running past its header", second + kFileNameSizeOffset, {200, 0}, 0, 1, second},
      {"cut inside a block header", 0, {}, second + 5, 1, second},
      {"cut inside a file header", 0, {}, second + 20, 1, second},
      {"cut inside a name", 0, {}, second + kFileHeaderSize + 3, 1, second},
      {"cut inside the data", 0, {}, third - 2, 2, third},
      {"data size beyond the file", second + kBlockDataSizeOffset, {0, 0, 0, 0x80}, 0, 2,
       second + secondHeaderSize + 0x80000000ull},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes damaged = good;
    std::copy(c.bytes.begin(), c.bytes.end(), damaged.begin() + c.offset);
    if (c.cut != 0) damaged.resize(c.cut);
    EntryIndex index;
    ASSERT_TRUE(BuildIndex(damaged, index));
    EXPECT_EQ(index.end(), EntryIndex::End::kDamage);
    EXPECT_EQ(index.endOffset(), c.endOffset);
    ASSERT_EQ(index.entries().size(), c.kept);
    EXPECT_EQ(index.entries()[0].name, "first.txt");
  }
}

TEST(EntryIndex, EveryCutOfAnArchiveIndexesAPrefixOfItsEntries) {
  const Bytes archive = Build(ThreeEntries());
  EntryIndex whole;
  ASSERT_TRUE(BuildIndex(archive, whole));
  for (size_t length = 1; length <= archive.size(); ++length) {
    SCOPED_TRACE(length);
    EntryIndex index;
    const bool built = BuildIndex(Bytes(archive.begin(), archive.begin() + length), index);
    EXPECT_EQ(built, length >= kMarkerSize + kMainHeaderSize);
    ASSERT_LE(index.entries().size(), whole.entries().size());
    for (size_t i = 0; i < index.entries().size(); ++i) EXPECT_TRUE(SameEntry(index.entries()[i], whole.entries()[i]));
    if (built && index.end() == EntryIndex::End::kFileEnd) {
      EXPECT_EQ(index.endOffset(), length);
    }
  }
}

TEST(EntryIndex, NoArchiveWithoutMarkerAndMainHeader) {
  ArchiveShape shortMain;
  shortMain.mainHeaderSize = 5;
  const Bytes cases[] = {
      BytesOf("PK\x03\x04 something else entirely"),
      Build({Stored("x", BytesOf("y"))}, shortMain),
  };
  for (const Bytes& bytes : cases) {
    EntryIndex index;
    EXPECT_FALSE(BuildIndex(bytes, index));
    EXPECT_TRUE(index.entries().empty());
    EXPECT_FALSE(index.Find("x"));
  }
}

}  // namespace
