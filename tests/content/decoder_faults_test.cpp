// The classic faults of RAR decoders, one test each, named after the fault: every damaged input
// here must extract cleanly or fail cleanly (false, nothing handed out), in time proportional to
// its size. The sanitizer build turns any read or write out of bounds into a failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "archive_test_util.h"
#include "content/entry_stream.h"
#include "content/unpack20.h"

using namespace test_archive;
using namespace archive_format;

namespace {

// Decodes `packed` straight through the decoder as one entry claiming `declaredSize` bytes; the
// bytes it wrote.
Bytes DecodeDirect(const Bytes& packed, uint32_t declaredSize) {
  std::FILE* file = std::tmpfile();
  if (!packed.empty()) std::fwrite(packed.data(), 1, packed.size(), file);
  std::rewind(file);
  std::vector<uint8_t> window(method20::kWindowSize), input(Unpack20::kInputBufferSize), output(declaredSize);
  EntryStream stream(file, static_cast<uint32_t>(packed.size()), output.data(), declaredSize);
  Unpack20 decoder(window.data(), input.data());
  decoder.Unpack(stream, declaredSize, false);
  std::fclose(file);
  return Bytes(output.begin(), output.begin() + stream.Written());
}

// A table set written symbol by symbol with a bit-length code of its own: each of the 19
// bit-length symbols gets a 5-bit code equal to its value, so the run codes (16..18) can be
// sent, which the uniform tables of StreamWriter cannot.
class RawTables {
 public:
  explicit RawTables(StreamWriter& s, uint32_t header = 0) : s_(s) {
    s_.Bits(header, 2);
    for (uint32_t i = 0; i < method20::kBitLengthSymbols; ++i) s_.Bits(5, 4);
  }
  void Length(uint32_t length) { s_.Bits(length, 5); }
  void RepeatPrevious(uint32_t times) {  // 3..6
    s_.Bits(method20::kRepeatPreviousLength, 5);
    s_.Bits(times - 3, 2);
  }
  void LongZeroRun(uint32_t zeros) {  // 11..138
    s_.Bits(method20::kLongZeroRun, 5);
    s_.Bits(zeros - 11, 7);
  }

 private:
  StreamWriter& s_;
};

// 9-bit codes for the 298 literal/length symbols, 6-bit ones for the 48 distances and 5-bit ones
// for the 28 repeat lengths: the same codes StreamWriter writes with.
void UniformLengths(RawTables& tables) {
  for (uint32_t i = 0; i < method20::kLzTableSize; ++i) tables.Length(i < 298 ? 9 : i < 346 ? 6 : 5);
}

// --- The decoder ------------------------------------------------------------------------------

// A match that runs over the window's end goes on at its start, and one that runs past the
// entry's declared size is cut there: neither writes outside the window or the output block.
TEST(DecoderFaults, WindowOverrunNearTheEndOfABuffer) {
  // Past the window's end: one literal, then matches up to 40 bytes beyond 1 MiB.
  const uint32_t size = method20::kWindowSize + 40;
  StreamWriter s;
  s.LzTables();
  s.Literal('w');
  uint32_t written = 1;
  while (written < size) {
    const uint32_t length = size - written < 255 ? size - written : 255;
    if (length < 3) {
      s.Literal('w');
      ++written;
      continue;
    }
    s.Match(length, 1);
    written += length;
  }
  Bytes out;
  EXPECT_TRUE(ExtractFromBytes(Build({Compressed("e", s.Finish(), Bytes(size, 'w'))}), "e", out));
  EXPECT_EQ(out.size(), size);

  // Past the output's end: 260 bytes of match for an entry of 5.
  StreamWriter tooLong;
  tooLong.LzTables();
  tooLong.Literal('x');
  tooLong.Match(255, 1);
  EXPECT_LE(DecodeDirect(tooLong.Finish(), 5).size(), 5u);
}

// A distance reaching before the first byte decoded reads zeros, not memory before the window
// or bytes left in it by an earlier archive.
TEST(DecoderFaults, MatchDistanceBeforeTheStartOfTheOutput) {
  StreamWriter s;
  s.LzTables();
  s.Literals("ab");
  s.Match(5, method20::kWindowSize);  // the farthest distance there is, from position 2
  s.Literals("c");
  const Bytes expected = {'a', 'b', 0, 0, 0, 0, 0, 'c'};
  EXPECT_TRUE(DecodeDirect(s.Finish(), 8) == expected);
}

// Code length tables that no encoder would send: each decodes to something or stops, and a
// stream coded with them ends with its packed bytes.
TEST(DecoderFaults, HuffmanTableAbuse) {
  struct Case {
    const char* name;
    void (*write)(RawTables&);
  };
  const Case cases[] = {
      {"a repeat code at position 0",
       [](RawTables& t) {
         t.RepeatPrevious(6);
         UniformLengths(t);
       }},
      {"a zero run past the table's end",
       [](RawTables& t) {
         for (uint32_t i = 0; i < method20::kLzTableSize - 20; ++i) t.Length(9);
         t.LongZeroRun(138);
       }},
      {"all lengths zero", [](RawTables& t) {
         for (int i = 0; i < 3; ++i) t.LongZeroRun(138);
       }},
      {"over-subscribed lengths: every symbol 1 bit",
       [](RawTables& t) {
         for (uint32_t i = 0; i < method20::kLzTableSize; ++i) t.Length(1);
       }},
      {"over-subscribed lengths: 15-bit codes and far too many 2-bit ones",
       [](RawTables& t) {
         for (uint32_t i = 0; i < method20::kLzTableSize; ++i) t.Length(i % 2 == 0 ? 2 : 15);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StreamWriter s;
    RawTables tables(s);
    c.write(tables);
    for (int i = 0; i < 64; ++i) s.Bits(0x5A5A, 16);  // symbols of whatever code came out
    const Bytes packed = s.Finish();
    const Bytes direct = DecodeDirect(packed, 1u << 20);
    // Every symbol takes at least one bit: 1024 bits of symbols make at most 1024 steps, each
    // writing at most one match of 260 bytes.
    EXPECT_LE(direct.size(), 1024u * 260u);
    Bytes out;
    EXPECT_FALSE(ExtractFromBytes(Build({Compressed("e", packed, Bytes(1u << 20, 0))}), "e", out));
  }
}

// Audio blocks that change their channel count: from 4 channels (the last byte on channel 3)
// to 1, and from audio to LZ and back. Every delta still makes one byte, from a channel table
// that exists.
TEST(DecoderFaults, AudioModeChannelSwitches) {
  StreamWriter s;
  s.AudioTables(4);
  for (int i = 0; i < 7; ++i) s.Bits(0xFF - i, 9);  // channels 0..3, 0..2: next is channel 3
  s.Bits(method20::kAudioTableChange, 9);
  s.AudioTables(1);
  for (int i = 0; i < 5; ++i) s.Bits(0x100 - 3, 9);
  s.Bits(method20::kAudioTableChange, 9);
  s.LzTables();
  s.Literals("lz");
  s.Symbol(method20::kTableChange);
  s.AudioTables(2);
  for (int i = 0; i < 4; ++i) s.Bits(0x100 - 1, 9);
  const Bytes out = DecodeDirect(s.Finish(), 7 + 5 + 2 + 4);
  ASSERT_EQ(out.size(), 18u);
  // Each channel's first byte is predicted as zero: the byte is minus the error.
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[1], 2);
  EXPECT_EQ(out[2], 3);
  EXPECT_EQ(out[3], 4);
  EXPECT_EQ(out[12], 'l');
  EXPECT_EQ(out[13], 'z');
}

// Damaged entries fail in time proportional to their packed bytes: decoding stops when they are
// used up, instead of repeating matches that copy nothing for ever ...
TEST(DecoderFaults, MatchesThatCopyNothingForEver) {
  StreamWriter s;
  s.LzTables();
  for (int i = 0; i < 100; ++i) s.Symbol(method20::kRepeatLastMatch);  // no match yet: copies nothing
  // The step that reads past the end still lands: the last byte's padding bits and the zero
  // look-ahead decode as one literal. Then decoding stops.
  EXPECT_EQ(DecodeDirect(s.Finish(), 4u << 20).size(), 1u);
}

// ... or running on over stale buffer bytes up to a huge declared size.
TEST(DecoderFaults, DecodingOnOverStaleBufferBytes) {
  StreamWriter s;
  s.LzTables();
  s.Literal('a');
  s.Match(10, 1);  // 11 real bytes, and then the data ends
  EXPECT_EQ(DecodeDirect(s.Finish(), 4u << 20).size(), 11u + 1u);

  // Through the reader: a few hundred packed bytes claiming 4 MiB fail cleanly.
  Bytes out;
  EXPECT_FALSE(ExtractFromBytes(Build({Compressed("e", s.Finish(), Bytes(4u << 20, 'a'))}), "e", out));
}

// --- The archive around it ---------------------------------------------------------------------

// A pack cut short anywhere: the entries that lie wholly before the cut still extract; the one
// that is cut never hands out wrong bytes.
TEST(DecoderFaults, TruncationAtEveryByte) {
  StreamWriter s;
  s.LzTables();
  s.Literals("truncated ");
  s.Match(20, 10);
  const Bytes second = BytesOf("truncated truncated truncated ");
  const Bytes archive = Build({Stored("first", BytesOf("kept whole")), Compressed("second", s.Finish(), second)});
  const size_t secondEnd = archive.size();
  const size_t firstEnd = FileHeaderOffset(archive, 1);
  for (size_t cut = 0; cut < secondEnd; ++cut) {
    SCOPED_TRACE(cut);
    const Bytes truncated(archive.begin(), archive.begin() + cut);
    Bytes out;
    EXPECT_EQ(ExtractFromBytes(truncated, "first", out), cut >= firstEnd);
    if (ExtractFromBytes(truncated, "second", out)) {
      EXPECT_TRUE(out == second);
    }
  }
}

// Block headers whose sizes would keep the reader in place, or send it back, end the scan.
TEST(DecoderFaults, HeadersThatMakeNoProgress) {
  const Bytes good = Build({Stored("e", BytesOf("data"))});
  const size_t at = FileHeaderOffset(good, 0);
  const struct {
    const char* name;
    uint16_t headerSize;
    uint16_t flags;
    uint32_t dataSize;
  } cases[] = {
      {"header size 0", 0, 0, 0},
      {"header size shorter than a block header", 6, 0, 0},
      {"a data size that points 4 GiB on", 7, kBlockHasData, 0xFFFFFFF9u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes archive(good.begin(), good.begin() + static_cast<long>(at));
    Bytes block(11, 0);
    block[kBlockTypeOffset] = 0x7A;
    Put16(block, kBlockFlagsOffset, c.flags);
    Put16(block, kBlockSizeOffset, c.headerSize);
    Put32(block, kBlockDataSizeOffset, c.dataSize);
    archive.insert(archive.end(), block.begin(), block.end());
    archive.insert(archive.end(), good.begin() + static_cast<long>(at), good.end());
    Bytes out;
    EXPECT_FALSE(ExtractFromBytes(archive, "e", out));
  }
}

// Entries that claim more than any pack holds are refused before anything is allocated; one
// that claims the most allowed with a few packed bytes fails when they are used up.
TEST(DecoderFaults, HugeDeclaredSizes) {
  StreamWriter s;
  s.LzTables();
  s.Literals("small");
  for (const uint32_t declared : {0xFFFFFFFFu, ArchiveReader::kMaxUnpackedSize + 1, ArchiveReader::kMaxUnpackedSize}) {
    SCOPED_TRACE(declared);
    Entry entry = Compressed("e", s.Finish(), BytesOf("small"));
    entry.unpackedSize = declared;
    Bytes out;
    EXPECT_FALSE(ExtractFromBytes(Build({entry}), "e", out));
  }
}

// A name that claims to run past its header is damage; a header longer than its name (a comment
// after it) is not.
TEST(DecoderFaults, HeaderAndNameSizesThatDisagree) {
  const Bytes good = Build({Stored("name", BytesOf("data"))});
  const size_t nameSizeAt = FileHeaderOffset(good, 0) + kFileNameSizeOffset;
  const struct {
    uint16_t nameSize;
    bool extracts;
    const char* lookedFor;
  } cases[] = {
      {4, true, "name"},
      {5, false, "name"},       // one byte past the header
      {0xFFFF, false, "name"},  // far past it
      {2, true, "na"},          // the rest of the header is extra bytes
      {0, false, "name"},       // an empty name matches nothing asked for
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nameSize);
    Bytes archive = good;
    Put16(archive, nameSizeAt, c.nameSize);
    Bytes out;
    EXPECT_EQ(ExtractFromBytes(archive, c.lookedFor, out), c.extracts);
    if (c.extracts) {
      EXPECT_TRUE(out == BytesOf("data"));
    }
  }
}

// Tens of thousands of empty blocks before an entry are stepped over one by one, each for its
// seven bytes.
TEST(DecoderFaults, FloodsOfTinyHeaders) {
  const Bytes good = Build({Stored("after the flood", BytesOf("found"))});
  const size_t at = FileHeaderOffset(good, 0);
  Bytes archive(good.begin(), good.begin() + static_cast<long>(at));
  Bytes block(7, 0);
  block[kBlockTypeOffset] = 0x7A;
  Put16(block, kBlockSizeOffset, 7);
  for (int i = 0; i < 50000; ++i) archive.insert(archive.end(), block.begin(), block.end());
  archive.insert(archive.end(), good.begin() + static_cast<long>(at), good.end());
  Bytes out;
  ASSERT_TRUE(ExtractFromBytes(archive, "after the flood", out));
  EXPECT_TRUE(out == BytesOf("found"));
  EXPECT_FALSE(ExtractFromBytes(archive, "missing", out));
}

// In a solid pack an entry whose packed bytes are damaged spoils the window for the entries
// after it: they fail their check, before and after the one ahead of it is read.
TEST(DecoderFaults, SolidChainAfterACorruptEntry) {
  StreamWriter first;
  first.LzTables();
  first.Literals("first entry");
  StreamWriter second;
  second.Literals("second");
  StreamWriter third;
  third.Match(6, 6);  // "second" again, from the window the second entry made
  Bytes damaged = second.Finish();
  damaged[0] ^= 0xFF;

  ArchiveShape solid;
  solid.solid = true;
  const Bytes archive = Build({Compressed("one", first.Finish(), BytesOf("first entry")),
                               Compressed("two", damaged, BytesOf("second"), kFileContinuesSolid),
                               Compressed("three", third.Finish(), BytesOf("second"), kFileContinuesSolid)},
                              solid);
  TempFile file(archive);
  Bytes out;
  EXPECT_FALSE(Extract(file.Path(), "two", out));
  EXPECT_FALSE(Extract(file.Path(), "three", out));
  ASSERT_TRUE(Extract(file.Path(), "one", out));
  EXPECT_TRUE(out == BytesOf("first entry"));
  EXPECT_FALSE(Extract(file.Path(), "three", out));
}

}  // namespace
