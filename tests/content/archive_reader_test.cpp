#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "archive_test_util.h"

using namespace test_archive;

namespace {

const std::string kFixtures = std::string(KESTREL_FIXTURES) + "/rar20/";

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Crc32, IsTheCommonCrc32) {
  const Bytes check = BytesOf("123456789");
  EXPECT_EQ(CrcOf(check), 0xCBF43926u);
  EXPECT_EQ(CrcOf({}), 0u);
  // Long enough for eight bytes at a time and a tail; the sum runs on across split calls.
  const Bytes fox = BytesOf("The quick brown fox jumps over the lazy dog");
  EXPECT_EQ(CrcOf(fox), 0x414FA339u);
  for (size_t split = 0; split <= fox.size(); ++split) {
    const uint32_t first = Crc32(kCrc32Start, fox.data(), split);
    EXPECT_EQ(~Crc32(first, fox.data() + split, fox.size() - split), 0x414FA339u) << split;
  }
}

// Archives made by the archiver's own 2.x compressor: the ground truth for the decoder.
TEST(ArchiveReaderFixtures, ExtractEveryEntryExactly) {
  const Bytes wav = ReadFile(kFixtures + "BoatModernEnglish.wav");
  ASSERT_EQ(wav.size(), 56464u);
  const struct {
    const char* archive;
    const char* entry;
    Bytes expected;  // empty: only the size is known (the CRC check vouches for the bytes)
    uint32_t size;
  } cases[] = {
      {"BoatModernEnglish-regular-unpack20.rar", "BoatModernEnglish.wav", wav, 56464},
      {"BoatModernEnglish-regular-unpack20.rar", "LICENSE.txt", {}, 107},
      {"BoatModernEnglish-audio-text-unpack20.rar", "BoatModernEnglish.wav", wav, 56464},
      {"BoatModernEnglish-audio-text-unpack20.rar", "LICENSE.txt", {}, 107},
      {"rar2-unix-owner.rar", "file.txt", {}, 4},
      {"rar202-comment-nopsw.rar", "FILE1.TXT", BytesOf("file1\r\n"), 7},
      {"rar202-comment-nopsw.rar", "FILE2.TXT", BytesOf("file2\r\n"), 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.archive) + " " + c.entry);
    Bytes out;
    ASSERT_TRUE(Extract((kFixtures + c.archive).c_str(), c.entry, out));
    EXPECT_EQ(out.size(), c.size);
    if (!c.expected.empty()) {
      EXPECT_TRUE(out == c.expected);
    }
  }
  // Both archives hold the same licence text, once compressed in LZ mode and once stored.
  Bytes regular, audio;
  ASSERT_TRUE(Extract((kFixtures + "BoatModernEnglish-regular-unpack20.rar").c_str(), "license.txt", regular));
  ASSERT_TRUE(Extract((kFixtures + "BoatModernEnglish-audio-text-unpack20.rar").c_str(), "LICENSE.TXT", audio));
  EXPECT_TRUE(regular == audio);
}

TEST(ArchiveReaderFixtures, DamagedAndMissingEntriesFailCleanly) {
  Bytes out;
  // Its data asks for a copy from before the start of the window.
  EXPECT_FALSE(Extract((kFixtures + "void-dist-v20.rar").c_str(), "void20", out));
  EXPECT_FALSE(Extract((kFixtures + "rar2-unix-owner.rar").c_str(), "root", out));
  EXPECT_FALSE(Extract((kFixtures + "no-such-archive.rar").c_str(), "file.txt", out));
}

TEST(ArchiveReader, StoredEntryComesBackByteForByte) {
  Bytes data(300);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  const Bytes archive = Build({Stored("first.bin", BytesOf("abc")), Stored("data\\all.bin", data)});
  Bytes out;
  ASSERT_TRUE(ExtractFromBytes(archive, "data\\all.bin", out));
  EXPECT_TRUE(out == data);
}

TEST(ArchiveReader, NamesMatchWithEitherSeparatorAndAnyCase) {
  const Bytes archive =
      Build({Stored("INTRO/000.JPG", BytesOf("slash")), Stored("intro_001.jpg", BytesOf("underscore"))});
  const struct {
    const char* wanted;
    const char* expected;  // null: not found
  } cases[] = {
      {"intro\\000.jpg", "slash"},
      {"Intro/000.Jpg", "slash"},
      {"intro\\001.jpg", "underscore"},
      {"INTRO_000.JPG", "slash"},
      {"intro\\002.jpg", nullptr},
      {"000.jpg", nullptr},
      {"", nullptr},
  };
  TempFile file(archive);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wanted);
    Bytes out;
    const bool found = Extract(file.Path(), c.wanted, out);
    EXPECT_EQ(found, c.expected != nullptr);
    if (found && c.expected) {
      EXPECT_TRUE(out == BytesOf(c.expected));
    }
  }
}

TEST(ArchiveReader, MissingNameFailsEvenAfterDamagedEntries) {
  // In a non-solid archive entries that are not wanted are stepped over unread, so damage in
  // them does not matter until one of them is asked for.
  Entry broken = Stored("broken.txt", BytesOf("hello"));
  broken.crc ^= 1;
  const Bytes archive = Build({broken, Stored("good.txt", BytesOf("fine"))});
  Bytes out;
  EXPECT_TRUE(ExtractFromBytes(archive, "good.txt", out));
  EXPECT_FALSE(ExtractFromBytes(archive, "broken.txt", out));
  EXPECT_FALSE(ExtractFromBytes(archive, "missing.txt", out));
}

TEST(ArchiveReader, MainHeaderOfSize20SkipsSevenBytes) {
  ArchiveShape shape;
  shape.mainHeaderSize = 20;
  const Bytes archive = Build({Stored("a.txt", BytesOf("after the long main header"))}, shape);
  Bytes out;
  ASSERT_TRUE(ExtractFromBytes(archive, "a.txt", out));
  EXPECT_TRUE(out == BytesOf("after the long main header"));
}

TEST(ArchiveReader, AcceptsTheThreeMarkers) {
  for (const uint8_t* marker :
       {archive_format::kRarMarker, archive_format::kUniqueMarker, archive_format::kQuartzMarker}) {
    ArchiveShape shape;
    shape.marker = marker;
    Bytes out;
    EXPECT_TRUE(ExtractFromBytes(Build({Stored("x", BytesOf("y"))}, shape), "x", out));
  }
}

TEST(ArchiveReader, HeaderLongerThanItsNameLeadsToTheData) {
  Entry entry = Stored("note.txt", BytesOf("the data"));
  entry.headerExtra = BytesOf("a comment that is not data");
  Bytes out;
  ASSERT_TRUE(ExtractFromBytes(Build({entry, Stored("next.txt", BytesOf("next"))}), "note.txt", out));
  EXPECT_TRUE(out == BytesOf("the data"));
  ASSERT_TRUE(ExtractFromBytes(Build({entry, Stored("next.txt", BytesOf("next"))}), "next.txt", out));
  EXPECT_TRUE(out == BytesOf("next"));
}

TEST(ArchiveReader, OtherBlocksAreSteppedOverAndASubBlockEndsTheSearch) {
  Bytes archive = Build({Stored("before.txt", BytesOf("before"))});
  // A comment-like block (type 0x75) with 3 bytes of data, then a sub-block, then a file.
  const Bytes other = {0, 0, 0x75, 0x00, 0x80, 11, 0, 3, 0, 0, 0, 'x', 'y', 'z'};
  const Bytes sub = {0, 0, 0x77, 0x00, 0x00, 7, 0};
  const Bytes after = Build({Stored("after.txt", BytesOf("after"))});
  archive.insert(archive.begin() + FileHeaderOffset(archive, 0), other.begin(), other.end());
  archive.insert(archive.end(), sub.begin(), sub.end());
  archive.insert(archive.end(), after.begin() + 20, after.end());  // its file block only

  Bytes out;
  ASSERT_TRUE(ExtractFromBytes(archive, "before.txt", out));
  EXPECT_TRUE(out == BytesOf("before"));
  EXPECT_FALSE(ExtractFromBytes(archive, "after.txt", out));
}

// Nothing is decrypted (no pack is encrypted): an encrypted entry keeps its scrambled bytes and
// fails its CRC check, with or without a password.
TEST(ArchiveReader, EncryptedEntriesFailTheirCrcCheck) {
  const Bytes plain = BytesOf("secret mission");
  Entry entry = Stored("secret.ini", plain);
  for (uint8_t& b : entry.packed) b ^= 0x5A;
  entry.flags = archive_format::kFileEncrypted;
  TempFile file(Build({entry}));
  for (const char* password : {static_cast<const char*>(nullptr), "", "swordfish"}) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    EXPECT_FALSE(ArchiveReader::ExtractToMemory(&data, &size, "secret.ini", file.Path(), password));
    EXPECT_EQ(data, nullptr);
  }
}

TEST(ArchiveReader, CorruptedStoredByteFailsTheCrcCheck) {
  Bytes archive = Build({Stored("a.txt", BytesOf("precious bytes"))});
  archive.back() ^= 0x20;
  Bytes out;
  EXPECT_FALSE(ExtractFromBytes(archive, "a.txt", out));
}

// Damage anywhere in the headers or the data must end in a clean refusal (or, where the damage
// misses everything that matters, in the right bytes), never in a crash or a read or write
// outside a buffer; the sanitizer build checks the latter.
TEST(ArchiveReaderDamage, HeadersThatLieAreRefused) {
  using namespace archive_format;
  const Entry good = Stored("a.txt", BytesOf("some text"));
  const size_t header = FileHeaderOffset(Build({good}), 0);
  const struct {
    const char* what;
    size_t offset;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"main header size below 13", kMarkerSize + kBlockSizeOffset, {5, 0}},
      {"file header size below 7", header + kBlockSizeOffset, {3, 0}},
      {"file header shorter than its fields", header + kBlockSizeOffset, {20, 0}},
      {"name size beyond the header", header + kFileNameSizeOffset, {200, 0}},
      {"name size beyond the file", header + kFileNameSizeOffset, {0xFF, 0xFF}},
      {"absurd unpacked size", header + kFileUnpackedSizeOffset, {0xFF, 0xFF, 0xFF, 0x7F}},
      {"largest unpacked size", header + kFileUnpackedSizeOffset, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"just over 256 MiB", header + kFileUnpackedSizeOffset, {0x01, 0x00, 0x00, 0x10}},
      {"stored entry shorter than its unpacked size", header + kFilePackedSizeOffset, {3, 0, 0, 0}},
      {"unpack version 29", header + kFileVersionOffset, {29}},
      {"unpack version 12", header + kFileVersionOffset, {12}},
      {"old marker", 0, {'R', 'E', '~', '^', 0, 0, 0}},
      {"no marker", 0, {'P', 'K', 3, 4, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes archive = Build({good});
    std::copy(c.bytes.begin(), c.bytes.end(), archive.begin() + c.offset);
    Bytes out;
    EXPECT_FALSE(ExtractFromBytes(archive, "a.txt", out));
  }
}

TEST(ArchiveReaderDamage, TruncatedArchivesFailCleanly) {
  StreamWriter stream;
  stream.LzTables();
  stream.Literals("abcabcabc");
  stream.Match(20, 3);
  const std::string text = "abcabcabc" + std::string("abcabcabcabcabcabcab");
  const Bytes archive =
      Build({Stored("s.txt", BytesOf("stored")), Compressed("c.txt", stream.Finish(), BytesOf(text))});
  for (size_t length = 0; length < archive.size(); ++length) {
    SCOPED_TRACE(length);
    const Bytes cut(archive.begin(), archive.begin() + length);
    Bytes out;
    EXPECT_FALSE(ExtractFromBytes(cut, "c.txt", out));
    const bool stored = ExtractFromBytes(cut, "s.txt", out);
    EXPECT_EQ(stored, length >= FileHeaderOffset(archive, 1));
  }
  Bytes out;
  ASSERT_TRUE(ExtractFromBytes(archive, "c.txt", out));
  EXPECT_TRUE(out == BytesOf(text));
}

TEST(ArchiveReaderDamage, FlippedBitsInCompressedDataNeverEscapeTheBuffers) {
  for (const char* name : {"BoatModernEnglish-regular-unpack20.rar", "BoatModernEnglish-audio-text-unpack20.rar"}) {
    const Bytes original = ReadFile(kFixtures + name);
    ASSERT_GT(original.size(), 200u);
    const Bytes wav = ReadFile(kFixtures + "BoatModernEnglish.wav");
    // The table sets sit at the start of the data, so the first bytes get the closest look.
    const size_t dataStart = FileHeaderOffset(original, 0) + 32 + 21;
    for (size_t bit = 0; bit < (original.size() - dataStart) * 8; bit += bit < 4096 ? 29 : 7919) {
      SCOPED_TRACE(bit);
      Bytes damaged = original;
      damaged[dataStart + bit / 8] ^= static_cast<uint8_t>(1 << (bit % 8));
      Bytes out;
      if (ExtractFromBytes(damaged, "BoatModernEnglish.wav", out)) {
        EXPECT_TRUE(out == wav);
      }
    }
  }
}

TEST(ArchiveReader, ExtractionsMayRunAtTheSameTime) {
  const Bytes wav = ReadFile(kFixtures + "BoatModernEnglish.wav");
  const std::string archives[] = {kFixtures + "BoatModernEnglish-regular-unpack20.rar",
                                  kFixtures + "BoatModernEnglish-audio-text-unpack20.rar"};
  bool results[4] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      bool all = true;
      for (int round = 0; round < 3; ++round) {
        uint8_t* data = nullptr;
        uint32_t size = 0;
        all = all &&
              ArchiveReader::ExtractToMemory(&data, &size, "BoatModernEnglish.wav", archives[(t + round) % 2].c_str(),
                                             nullptr) &&
              size == wav.size() && std::memcmp(data, wav.data(), size) == 0;
        Free(data);
      }
      results[t] = all;
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (bool result : results) EXPECT_TRUE(result);
}

}  // namespace
