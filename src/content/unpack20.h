// The version-20 decompressor: turns the packed data of one archive entry into its bytes.
//
// LZ77 over a 1 MiB window with canonical Huffman codes, plus the audio mode in which every
// byte is predicted per channel and only the prediction error is coded (see method20.h). In a
// solid archive one decoder serves every entry in turn: the window, the last distances, the
// tables and the audio state carry over to an entry flagged as continuing the solid stream.
//
// Damaged input only ever produces wrong bytes or too few: every window index is masked, every
// table index is bounded, the bit reader never leaves its buffer, output that would run past the
// entry's size ends decoding, and so does reading past the entry's packed bytes (every step
// takes at least one bit, so decoding time is bounded by the packed size). The reader's size and
// CRC checks then reject the entry.
#pragma once

#include <cstdint>

#include "content/entry_stream.h"
#include "content/method20.h"

// One canonical code of a table set, built from its code lengths alone. Codes of up to
// kQuickBits bits are found with one look-up of the next kQuickBits input bits; longer ones by a
// search over the code lengths. Any lengths give a usable decoder: over-subscribed, incomplete or
// empty sets decode some symbol below the set's size, and always with a code of 1..15 bits.
class HuffmanDecoder {
 public:
  static constexpr uint32_t kQuickBits = 10;

  // `lengths[0..count)` (count at most method20::kLiteralLengthSymbols); only their low 4 bits
  // count. A decoder is always rebuilt with the same count (symbols of the last build may
  // linger where a damaged set leaves gaps, and they too are below that count).
  void Build(const uint8_t* lengths, uint32_t count);

  // The symbol whose code starts the 16 bits `bits` (first bit highest; higher bits are
  // ignored); `length` gets the length of that code.
  uint32_t Decode(uint32_t bits, uint32_t& length) const {
    const uint32_t quick = (bits >> (16 - kQuickBits)) & ((1u << kQuickBits) - 1);
    length = quickLength_[quick];
    if (length != 0) return quickSymbol_[quick];
    return Search(bits, kQuickBits + 1, length);
  }

  // What Decode does for codes longer than the look-up: finds the code length from
  // `firstLength` up. From 1 it decodes every code on its own.
  uint32_t Search(uint32_t bits, uint32_t firstLength, uint32_t& length) const;

 private:
  uint32_t maxNum_ = 0;
  uint32_t decodeLen_[16] = {};  // exclusive upper bound of the 16-bit codes of each length
  uint32_t decodePos_[16] = {};  // index in decodeNum_ of the first symbol of each length
  uint16_t decodeNum_[method20::kLiteralLengthSymbols] = {};  // symbols by (length, value)
  uint16_t quickSymbol_[1u << kQuickBits] = {};
  uint8_t quickLength_[1u << kQuickBits] = {};  // 0: the code is longer, search
};

class Unpack20 {
 public:
  // Packed input is read through a buffer of this many bytes. The last 32 are carried over to
  // the start on each refill so that a symbol may straddle the refill point.
  static constexpr uint32_t kInputBufferSize = 8192;

  // `window` holds method20::kWindowSize bytes and `input` kInputBufferSize bytes; both stay
  // owned by the caller and must outlive the decoder.
  Unpack20(uint8_t* window, uint8_t* input);

  // Decodes one entry of `unpackedSize` bytes (at most 2^31 - 1) from `stream` into its output.
  void Unpack(EntryStream& stream, uint32_t unpackedSize, bool continuesSolid);

 private:
  void ResetState();
  void FirstRefill();
  void Refill();
  // What runs for every byte (the bit reader, symbols, bytes and matches) is inline in the
  // decoding loop.
  // True once decoding has read past the last packed byte of the entry.
  inline bool InputUsedUp() const;
  uint32_t InputByte() const { return inBits_ >> 3; }
  inline uint32_t getbits() const;
  inline void addbits(uint32_t bits);
  inline uint32_t ReadExtraBits(uint32_t count);
  inline uint32_t DecodeSymbol(const HuffmanDecoder& decoder);
  void ReadTables();
  void ReadLastTables();
  void DecodeStep();
  void DecodeAudioStep();
  inline void PutByte(uint8_t byte);
  inline void CopyMatch(uint32_t length, uint32_t distance);
  void Flush();

  uint8_t* window_;
  uint8_t* input_;
  EntryStream* stream_ = nullptr;
  bool primed_ = false;  // state has been reset at least once

  bool windowFilled_ = false;  // every window byte written since the last reset
  uint32_t unpPtr_ = 0;        // next window position to write
  uint32_t wrPtr_ = 0;         // first window position not yet copied to the output
  uint32_t inBits_ = 0;        // bit position in the input buffer
  uint32_t readTop_ = 0;       // valid bytes in the input buffer
  uint32_t oldDist_[4] = {};
  uint32_t oldDistPtr_ = 0;
  uint32_t lastDist_ = 0;
  uint32_t lastLength_ = 0;
  int32_t destUnpSize_ = 0;

  bool audioBlock_ = false;
  uint32_t channels_ = 1;
  uint32_t curChannel_ = 0;
  int32_t channelDelta_ = 0;
  method20::AudioVariables audioVars_[method20::kMaxAudioChannels];

  uint8_t oldTable_[method20::kMaxTableSize] = {};
  HuffmanDecoder LD_;                               // literals, repeats and lengths (298 symbols)
  HuffmanDecoder DD_;                               // distance slots (48)
  HuffmanDecoder RD_;                               // length slots of the repeat symbols (28)
  HuffmanDecoder BD_;                               // code lengths of a table set (19)
  HuffmanDecoder MD_[method20::kMaxAudioChannels];  // audio errors per channel (257 each)
};
