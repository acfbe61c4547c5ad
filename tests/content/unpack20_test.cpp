// The version-20 decoder, fed hand-written streams (see StreamWriter) through the reader.
#include <gtest/gtest.h>

#include "archive_test_util.h"

using namespace test_archive;

namespace {

Bytes Repeat(const std::string& pattern, size_t length) {
  Bytes out;
  while (out.size() < length) out.push_back(static_cast<uint8_t>(pattern[out.size() % pattern.size()]));
  return out;
}

Bytes Decode(const Bytes& packed, const Bytes& expected) {
  Bytes out;
  EXPECT_TRUE(ExtractFromBytes(Build({Compressed("e", packed, expected)}), "e", out));
  return out;
}

TEST(Unpack20, MatchOfDistanceOneRepeatsThePreviousByte) {
  StreamWriter s;
  s.LzTables();
  s.Literal('x');
  s.Match(10, 1);
  EXPECT_TRUE(Decode(s.Finish(), BytesOf("xxxxxxxxxxx")) == BytesOf("xxxxxxxxxxx"));
}

// The window starts out as zeros; damaged data that copies from before the first byte gets
// those zeros (and the entry then fails its CRC check, unless the CRC says zeros).
TEST(Unpack20, CopyFromBeforeTheStartReadsZeros) {
  StreamWriter s;
  s.LzTables();
  s.Literal('a');
  s.Match(3, 2);        // 0 from before the start, then 'a', then that 0 again
  s.Match(5, 0x80000);  // the shortest match that far back
  const Bytes expected = {'a', 0, 'a', 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(Decode(s.Finish(), expected) == expected);
}

TEST(Unpack20, OverlappingMatchRepeatsItsPattern) {
  StreamWriter s;
  s.LzTables();
  s.Literals("abc");
  s.Match(250, 3);
  const Bytes expected = Repeat("abc", 253);
  EXPECT_TRUE(Decode(s.Finish(), expected) == expected);
}

// Far matches are longer than their length code: +1 from distance 0x2000, +2 from 0x40000.
// Build the history quickly with a repeating 256-byte pattern, then copy from exactly there.
TEST(Unpack20, FarMatchesGainLength) {
  for (uint32_t distance : {0x1FFFu, 0x2000u, 0x3FFFFu, 0x40000u, 0xFFFFFu}) {
    SCOPED_TRACE(distance);
    StreamWriter s;
    s.LzTables();
    std::string pattern;
    for (int i = 0; i < 251; ++i) pattern += static_cast<char>(i * 37 + 11);
    s.Literals(pattern);
    size_t produced = pattern.size();
    while (produced < distance) {
      const uint32_t length = static_cast<uint32_t>(std::min<size_t>(258, distance - produced));
      if (length < 3) {
        s.Literal(static_cast<uint8_t>(pattern[produced % pattern.size()]));
        ++produced;
        continue;
      }
      s.Match(length, 251);
      produced += length;
    }
    // The stream carries the length code for 5 bytes; the decoder adds the bonus.
    const uint32_t length = 5 + method20::NewMatchLengthBonus(distance);
    s.Match(length, distance);
    Bytes expected = Repeat(pattern, distance);
    for (uint32_t i = 0; i < length; ++i) expected.push_back(expected[expected.size() - distance]);
    EXPECT_TRUE(Decode(s.Finish(), expected) == expected);
  }
}

// The text a list of copies produces, for checking the decoder against.
class Reference {
 public:
  explicit Reference(const std::string& start) : text_(start) {}
  void Copy(uint32_t length, uint32_t distance) {
    for (uint32_t i = 0; i < length; ++i) text_ += text_[text_.size() - distance];
  }
  Bytes Result() const { return BytesOf(text_); }

 private:
  std::string text_;
};

TEST(Unpack20, RepeatSymbolsUseTheLastDistancesRing) {
  const std::string start = "0123456789abcdefghij";
  StreamWriter s;
  s.LzTables();
  s.Literals(start);
  Reference r(start);
  const uint32_t distances[] = {20, 7, 13, 5};  // ring after these: 20 7 13 5
  for (uint32_t d : distances) {
    s.Match(3, d);
    r.Copy(3, d);
  }
  s.Symbol(method20::kRepeatLastMatch);  // 3 at 5 again; ring: 7 13 5 5
  r.Copy(3, 5);
  s.OldDistanceMatch(4, 6, 7);  // fourth last: 7; ring: 13 5 5 7
  r.Copy(6, 7);
  s.OldDistanceMatch(4, 4, 13);  // ring: 5 5 7 13
  r.Copy(4, 13);
  s.OldDistanceMatch(2, 2, 7);  // second last: 7; ring: 5 7 13 7
  r.Copy(2, 7);
  s.OldDistanceMatch(3, 9, 7);  // third last: 7; ring: 7 13 7 7
  r.Copy(9, 7);
  s.ShortMatch(1);
  r.Copy(2, 1);
  s.ShortMatch(17);
  r.Copy(2, 17);
  s.Symbol(method20::kRepeatLastMatch);  // 2 at 17
  r.Copy(2, 17);
  const Bytes expected = r.Result();
  EXPECT_TRUE(Decode(s.Finish(), expected) == expected);
}

TEST(Unpack20, OldDistanceFrom0x101GainsOne) {
  std::string start;
  for (int i = 0; i < 0x120; ++i) start += static_cast<char>('a' + i % 23);
  StreamWriter s;
  s.LzTables();
  s.Literals(start);
  Reference r(start);
  s.Match(3, 0x101);
  r.Copy(3, 0x101);
  s.OldDistanceMatch(1, 7, 0x101);  // coded as 4 more, the decoder adds one
  r.Copy(7, 0x101);
  const Bytes expected = r.Result();
  EXPECT_TRUE(Decode(s.Finish(), expected) == expected);
}

TEST(Unpack20, TableSetsReplaceOrAddToThePreviousOne) {
  const std::string text = "table sets";
  for (const bool additions : {false, true}) {
    SCOPED_TRACE(additions);
    StreamWriter s;
    s.LzTables();
    s.Literals("ab");
    s.Symbol(method20::kTableChange);
    // Absolute lengths as before, or every length one longer than before: literals then take
    // 10-bit codes, which only decode if the decoder added the new lengths to the old ones.
    s.LzTables(additions, 1);
    s.Literals(text);
    s.Match(4, 2);
    Reference r("ab" + text);
    r.Copy(4, 2);
    const Bytes expected = r.Result();
    EXPECT_TRUE(Decode(s.Finish(), expected) == expected);
  }
}

TEST(Unpack20, AudioModeInterleavesChannels) {
  // Three channels of distinct slopes; the encoder side of the predictor gives the errors.
  Bytes target;
  for (int i = 0; i < 300; ++i)
    target.push_back(static_cast<uint8_t>(i % 3 == 0 ? i : i % 3 == 1 ? 200 - i / 2 : 7 * i));
  StreamWriter s;
  s.AudioTables(3);
  method20::AudioVariables vars[3];
  int32_t channelDelta = 0;
  for (size_t i = 0; i < target.size(); ++i) {
    method20::AudioVariables& v = vars[i % 3];
    const uint8_t delta = method20::AudioDeltaFor(v, channelDelta, target[i]);
    method20::DecodeAudioByte(v, channelDelta, delta);
    s.Bits(delta, 9);
  }
  EXPECT_TRUE(Decode(s.Finish(), target) == target);
}

// The first audio bytes can be worked out by hand: every prediction starts at 0, so the byte
// is minus the error, and channels do not see each other's bytes.
TEST(Unpack20, AudioPredictorStartsFromZeroPerChannel) {
  StreamWriter s;
  s.AudioTables(2);
  s.Bits(0x100 - 10, 9);  // channel 0: 0 - (-10) = 10
  s.Bits(0x100 - 50, 9);  // channel 1: 50, predicted from channel 1's own zero state
  const Bytes expected = {10, 50};
  EXPECT_TRUE(Decode(s.Finish(), expected) == expected);
}

TEST(Unpack20, SolidEntriesKeepWindowRingAndTables) {
  StreamWriter first;
  first.LzTables();
  first.Literals("solid window ");
  first.Match(5, 7);  // "windo", ring: 7
  Reference r1("solid window ");
  r1.Copy(5, 7);
  const Bytes firstBytes = r1.Result();

  // No table set at its start: the second entry goes on with the first one's codes, reaches
  // back into its bytes and repeats its last match.
  StreamWriter second;
  second.Symbol(method20::kRepeatLastMatch);
  second.Literal('!');
  second.Match(6, 19);
  Reference r2(std::string(firstBytes.begin(), firstBytes.end()));
  r2.Copy(5, 7);
  const size_t firstSize = firstBytes.size();
  Bytes all = r2.Result();
  all.push_back('!');
  for (int i = 0; i < 6; ++i) all.push_back(all[all.size() - 19]);
  const Bytes secondBytes(all.begin() + firstSize, all.end());

  StreamWriter third;
  third.OldDistanceMatch(2, 3, 5);  // ring 7, 7, 19 -> second last is 7
  Bytes thirdBytes;
  for (int i = 0; i < 3; ++i) all.push_back(all[all.size() - 7]);
  thirdBytes.assign(all.end() - 3, all.end());

  ArchiveShape solid;
  solid.solid = true;
  const Bytes archive = Build({Compressed("one", first.Finish(), firstBytes),
                               Compressed("two", second.Finish(), secondBytes, archive_format::kFileContinuesSolid),
                               Compressed("three", third.Finish(), thirdBytes, archive_format::kFileContinuesSolid)},
                              solid);
  TempFile file(archive);
  Bytes out;
  ASSERT_TRUE(Extract(file.Path(), "three", out));
  EXPECT_TRUE(out == thirdBytes);
  ASSERT_TRUE(Extract(file.Path(), "two", out));
  EXPECT_TRUE(out == secondBytes);
  ASSERT_TRUE(Extract(file.Path(), "one", out));
  EXPECT_TRUE(out == firstBytes);

  // The same entries in an archive not marked solid: the second one starts from an empty
  // window and no tables, so it cannot decode.
  const Bytes notSolid = Build({Compressed("one", first.Finish(), firstBytes),
                                Compressed("two", second.Finish(), secondBytes, archive_format::kFileContinuesSolid)});
  EXPECT_FALSE(ExtractFromBytes(notSolid, "two", out));
}

// A table change as the last symbol of an entry belongs to the next entry of a solid archive.
TEST(Unpack20, TableChangeAtTheEndOfAnEntryIsReadForTheNext) {
  StreamWriter first;
  first.LzTables();
  first.Literals("end");
  first.Symbol(method20::kTableChange);
  first.LzTables(true, 1);  // every code one bit longer from here on
  StreamWriter second;      // no table set of its own: 10-bit literal codes
  for (char c : std::string("new")) second.Bits(static_cast<uint8_t>(c), 10);
  ArchiveShape solid;
  solid.solid = true;
  const Bytes archive = Build({Compressed("one", first.Finish(), BytesOf("end")),
                               Compressed("two", second.Finish(), BytesOf("new"), archive_format::kFileContinuesSolid)},
                              solid);
  Bytes out;
  ASSERT_TRUE(ExtractFromBytes(archive, "two", out));
  EXPECT_TRUE(out == BytesOf("new"));
}

TEST(Unpack20, OutputBeyondTheEntrySizeStopsDecoding) {
  StreamWriter s;
  s.LzTables();
  s.Literal('a');
  s.Match(200, 1);  // 201 bytes for an entry that claims 50
  Entry entry = Compressed("e", s.Finish(), Bytes(50, 'a'));
  Bytes out;
  EXPECT_FALSE(ExtractFromBytes(Build({entry}), "e", out));
}

}  // namespace
