// The decoder's Huffman codes: the one-step look-up of short codes must give exactly what the
// search over code lengths gives, for every input and for any lengths a stream may send.
#include <gtest/gtest.h>

#include <vector>

#include "archive_test_util.h"
#include "content/unpack20.h"
#include "huffman_builder.h"

using namespace test_archive;

namespace {

std::vector<uint8_t> LengthsFor(uint32_t count, const std::vector<std::pair<uint32_t, uint8_t>>& coded) {
  std::vector<uint8_t> lengths(count, 0);
  for (const auto& [symbol, length] : coded) lengths[symbol] = length;
  return lengths;
}

// One symbol of each length 1..14 and two of 15: a complete code whose longest codes lie well
// beyond the look-up's bits.
std::vector<uint8_t> OneToFifteenBits(uint32_t count, uint32_t firstSymbol, uint32_t step) {
  std::vector<std::pair<uint32_t, uint8_t>> coded;
  for (uint8_t length = 1; length <= 14; ++length) coded.push_back({firstSymbol + (length - 1) * step, length});
  coded.push_back({firstSymbol + 14 * step, 15});
  coded.push_back({firstSymbol + 15 * step, 15});
  return LengthsFor(count, coded);
}

TEST(HuffmanDecoder, LookUpAgreesWithTheSearchOnEveryInput) {
  std::vector<uint8_t> nineAndFifteen(method20::kLiteralLengthSymbols, 15);
  for (uint32_t i = 0; i < 256; ++i) nineAndFifteen[i] = 9;
  std::vector<uint8_t> noisy(method20::kLiteralLengthSymbols);
  uint32_t seed = 12345;
  for (uint8_t& length : noisy) {
    seed = seed * 1103515245 + 12345;
    length = static_cast<uint8_t>(seed >> 16);  // the decoder takes the low 4 bits
  }
  const struct {
    const char* what;
    std::vector<uint8_t> lengths;
  } cases[] = {
      {"codes of 1 to 15 bits", OneToFifteenBits(method20::kLiteralLengthSymbols, 3, 17)},
      {"256 codes of 9 bits, the rest 15 bits", nineAndFifteen},
      {"uniform 6-bit distance codes", std::vector<uint8_t>(method20::kDistanceSymbols, 6)},
      {"over-subscribed: every symbol 1 bit", std::vector<uint8_t>(method20::kLiteralLengthSymbols, 1)},
      {"over-subscribed: far too many 2-bit codes", LengthsFor(method20::kRepeatLengthSymbols, {{0, 2}, {1, 2}, {2, 2},
                                                                                                {3, 2}, {4, 2}, {5, 15}})},
      {"incomplete: one 15-bit code", LengthsFor(method20::kAudioSymbols, {{200, 15}})},
      {"incomplete: one 1-bit code", LengthsFor(method20::kBitLengthSymbols, {{7, 1}})},
      {"all zero", std::vector<uint8_t>(method20::kAudioSymbols, 0)},
      {"noise in every bit of the lengths", noisy},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const uint32_t count = static_cast<uint32_t>(c.lengths.size());
    HuffmanDecoder decoder;
    decoder.Build(c.lengths.data(), count);
    int mismatches = 0;
    for (uint32_t bits = 0; bits <= 0xFFFF && mismatches < 5; ++bits) {
      uint32_t lookedUp = 0, searched = 0;
      const uint32_t symbol = decoder.Decode(bits, lookedUp);
      const uint32_t expected = decoder.Search(bits, 1, searched);
      if (symbol != expected || lookedUp != searched || lookedUp < 1 || lookedUp > 15 || symbol >= count) {
        ADD_FAILURE() << "bits " << bits << ": symbol " << symbol << " length " << lookedUp << ", search gives "
                      << expected << " length " << searched;
        ++mismatches;
      }
    }
  }
}

// The same code through the whole decoder: literals whose codes are up to 15 bits long come
// back, so the decoder takes the length the search found, not the look-up's.
TEST(HuffmanDecoder, LiteralsWithCodesOfUpTo15BitsDecode) {
  std::vector<uint8_t> lengths = OneToFifteenBits(method20::kLzTableSize, 'a', 1);
  const HuffmanCode code = CanonicalCode(lengths);

  StreamWriter s;
  s.Bits(0, 2);                                   // an LZ table set, not added to an old one
  for (int i = 0; i < 16; ++i) s.Bits(4, 4);      // the bit-length code: 0..15 each as 4 bits,
  for (int i = 16; i < 19; ++i) s.Bits(0, 4);     // so every length travels as itself
  for (uint8_t length : lengths) s.Bits(length, 4);
  const std::string text = "ponmlkjihgfedcbaaabponopponmlkjap";
  for (char c : text) {
    const auto symbol = static_cast<uint8_t>(c);
    s.Bits(code.codes[symbol], code.lengths[symbol]);
  }
  Bytes out;
  ASSERT_TRUE(ExtractFromBytes(Build({Compressed("e", s.Finish(), BytesOf(text))}), "e", out));
  EXPECT_TRUE(out == BytesOf(text));
}

// A table set read while the input buffer is about to be refilled: its code lengths, run codes
// among them, are read across the refill point with every bit alignment, and no read may go
// past the buffer's end (the sanitizer build checks that) or lose a bit.
TEST(HuffmanDecoder, TableSetsReadAcrossTheInputRefill) {
  const std::string tail = "after the refill";
  // Starts of the second table set from about byte 8035 to 8070 of the input buffer, so its
  // last lengths and runs fall on the bytes before the refill at 8186.
  for (uint32_t literals = 6960; literals < 7000; ++literals) {
    SCOPED_TRACE(literals);
    StreamWriter s;
    s.LzTables();
    Bytes expected;
    for (uint32_t i = 0; i < literals; ++i) expected.push_back(static_cast<uint8_t>('a' + i % 26));
    for (uint8_t c : expected) s.Literal(c);
    s.Symbol(method20::kTableChange);
    // Bit-length code: 0..14 in 4 bits (their values), 15 and the long zero run in 5 bits.
    s.Bits(0, 2);
    for (int i = 0; i < 15; ++i) s.Bits(4, 4);
    s.Bits(5, 4);
    s.Bits(0, 4);
    s.Bits(0, 4);
    s.Bits(5, 4);
    for (int i = 0; i < 256; ++i) s.Bits(8, 4);  // every literal an 8-bit code equal to itself
    for (uint32_t zeros : {method20::kLiteralLengthSymbols - 256, method20::kDistanceSymbols,
                           method20::kRepeatLengthSymbols}) {
      s.Bits(31, 5);  // the long zero run's code
      s.Bits(zeros - 11, 7);
    }
    for (char c : tail) s.Bits(static_cast<uint8_t>(c), 8);
    expected.insert(expected.end(), tail.begin(), tail.end());
    Bytes out;
    ASSERT_TRUE(ExtractFromBytes(Build({Compressed("e", s.Finish(), expected)}), "e", out));
    EXPECT_TRUE(out == expected);
  }
}

}  // namespace
