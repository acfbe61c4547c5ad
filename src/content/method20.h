// The version-20 compression method: symbol alphabets and the length and distance tables that
// the decompressor (unpack20) and kestrel-pack's compressor share.
//
// The packed stream is LZ77 over a 1 MiB window with canonical Huffman codes of at most 15
// bits. A table set is sent at the start and after every table-change symbol: 19 bit-length
// code lengths of 4 bits each, then the code lengths of every symbol coded with that bit-length
// code, either absolute or as additions modulo 16 to the previous table set.
#pragma once

#include <cstdint>

namespace method20 {

constexpr uint32_t kWindowSize = 0x100000;  // bytes
constexpr uint32_t kWindowMask = kWindowSize - 1;

// Symbol alphabets.
constexpr uint32_t kLiteralLengthSymbols = 298;  // literals, repeats, short distances, lengths
constexpr uint32_t kDistanceSymbols = 48;
constexpr uint32_t kRepeatLengthSymbols = 28;
constexpr uint32_t kBitLengthSymbols = 19;
constexpr uint32_t kAudioSymbols = 257;  // 256 deltas and the table change
constexpr uint32_t kMaxAudioChannels = 4;
// Code lengths in one table set: 374 in LZ mode, up to 1028 in audio mode.
constexpr uint32_t kLzTableSize = kLiteralLengthSymbols + kDistanceSymbols + kRepeatLengthSymbols;
constexpr uint32_t kMaxTableSize = kMaxAudioChannels * kAudioSymbols;
constexpr uint32_t kMaxCodeLength = 15;

// Literal/length symbols.
constexpr uint32_t kRepeatLastMatch = 256;     // the previous match again, same length and distance
constexpr uint32_t kFirstOldDistance = 257;    // 257..260: one of the last four distances, new length
constexpr uint32_t kFirstShortDistance = 261;  // 261..268: length 2 at distance 1..256
constexpr uint32_t kTableChange = 269;
constexpr uint32_t kFirstLengthSymbol = 270;  // 270..297: a new match, length slot N - 270
constexpr uint32_t kAudioTableChange = 256;

// Bit-length symbols: 0..15 are lengths (or additions), then the three run codes.
constexpr uint32_t kRepeatPreviousLength = 16;  // 2 bits: 3..6 copies of the previous length
constexpr uint32_t kShortZeroRun = 17;          // 3 bits: 3..10 zeros
constexpr uint32_t kLongZeroRun = 18;           // 7 bits: 11..138 zeros

// Table-set header bits (the first two bits of the set).
constexpr uint32_t kAudioBlockBit = 0x8000;
constexpr uint32_t kKeepOldTableBit = 0x4000;

constexpr uint32_t kLengthSlots = 28;
constexpr uint8_t LDecode[kLengthSlots] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  10,  12,  14,  16,  20,
                                           24, 28, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224};
constexpr uint8_t LBits[kLengthSlots] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                         2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};

constexpr uint32_t kDistanceSlots = 48;
constexpr uint32_t DDecode[kDistanceSlots] = {
    0,      1,      2,      3,      4,      6,      8,      12,     16,     24,     32,     48,
    64,     96,     128,    192,    256,    384,    512,    768,    1024,   1536,   2048,   3072,
    4096,   6144,   8192,   12288,  16384,  24576,  32768,  49152,  65536,  98304,  131072, 196608,
    262144, 327680, 393216, 458752, 524288, 589824, 655360, 720896, 786432, 851968, 917504, 983040};
constexpr uint8_t DBits[kDistanceSlots] = {0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                           7,  7,  8,  8,  9,  9,  10, 10, 11, 11, 12, 12, 13, 13, 14, 14,
                                           15, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};

constexpr uint32_t kShortDistanceSlots = 8;
constexpr uint8_t SDDecode[kShortDistanceSlots] = {0, 4, 8, 16, 32, 64, 128, 192};
constexpr uint8_t SDBits[kShortDistanceSlots] = {2, 2, 3, 4, 5, 6, 6, 6};

// Far matches are worth a byte or two more than their length code says: a new match gains one
// byte at distance 0x2000 and one more at 0x40000; a match at one of the last four distances
// also gains one from 0x101.
constexpr uint32_t NewMatchLengthBonus(uint32_t distance) {
  return (distance >= 0x2000 ? 1u : 0u) + (distance >= 0x40000 ? 1u : 0u);
}
constexpr uint32_t OldDistanceLengthBonus(uint32_t distance) {
  return (distance >= 0x101 ? 1u : 0u) + NewMatchLengthBonus(distance);
}

// Audio mode: each byte is predicted from the previous bytes of its channel by an adaptive
// linear predictor; the stream carries the prediction error. The encoder runs the same model.
struct AudioVariables {
  int32_t K1 = 0, K2 = 0, K3 = 0, K4 = 0, K5 = 0;  // predictor weights
  int32_t D1 = 0, D2 = 0, D3 = 0, D4 = 0;          // previous deltas
  int32_t lastDelta = 0;
  uint32_t dif[11] = {};  // error sums of each candidate weight change
  uint32_t byteCount = 0;
  int32_t lastChar = 0;
};

// The byte that follows when the channel `v` sees the error `delta`; updates `v` and the
// shared `channelDelta` exactly as the decoder does.
uint8_t DecodeAudioByte(AudioVariables& v, int32_t& channelDelta, uint8_t delta);
// The error the stream must carry for the channel `v` to produce `byte` (its prediction minus
// the byte, modulo 256). Does not change the state; follow it with DecodeAudioByte.
uint8_t AudioDeltaFor(const AudioVariables& v, int32_t channelDelta, uint8_t byte);

}  // namespace method20
