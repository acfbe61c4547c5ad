#include "content/unpack20.h"

#include <cstring>

using namespace method20;

namespace {

// Refill points in the input buffer; every read of bits takes the four bytes from the current
// one on. The main loop refills with room for the longest step (a literal/length code, its
// extra bits, a distance code and 16 extra bits: 51 bits); a table read refills before its
// 80-bit header and again before each code length it reads (a code, then up to 7 bits of run),
// so no read ever goes past the buffer's end.
constexpr uint32_t kMainLoopRefill = 8162;
constexpr uint32_t kTableStartRefill = 8167;
constexpr uint32_t kTableSymbolRefill = 8186;
constexpr uint32_t kCarryOver = 32;

// The window position that is about to be overwritten must stay this far ahead of the first
// byte not yet copied out; the longest match is 260 bytes.
constexpr uint32_t kFlushMargin = 270;

}  // namespace

uint32_t HuffmanDecoder::Search(uint32_t bits, uint32_t firstLength, uint32_t& length) const {
  const uint32_t bitField = bits & 0xFFFE;
  length = kMaxCodeLength;
  for (uint32_t candidate = firstLength; candidate < kMaxCodeLength; ++candidate) {
    if (bitField < decodeLen_[candidate]) {
      length = candidate;
      break;
    }
  }
  // Unsigned arithmetic: a code outside the table (damaged input) gives a large index, which
  // the bound below catches.
  uint32_t index = decodePos_[length] + ((bitField - decodeLen_[length - 1]) >> (16 - length));
  if (index >= maxNum_) index = 0;
  return decodeNum_[index];
}

void HuffmanDecoder::Build(const uint8_t* lengths, uint32_t count) {
  uint32_t lengthCount[16] = {};
  for (uint32_t i = 0; i < count; ++i) ++lengthCount[lengths[i] & 15];
  lengthCount[0] = 0;

  decodeLen_[0] = 0;
  decodePos_[0] = 0;
  uint32_t code = 0;
  for (uint32_t length = 1; length < 16; ++length) {
    code = 2 * (code + lengthCount[length]);
    const uint32_t limit = code << (15 - length);
    decodeLen_[length] = limit > 0xFFFF ? 0xFFFF : limit;
    decodePos_[length] = decodePos_[length - 1] + lengthCount[length - 1];
  }

  uint32_t next[16];
  std::memcpy(next, decodePos_, sizeof(next));
  for (uint32_t symbol = 0; symbol < count; ++symbol) {
    const uint32_t length = lengths[symbol] & 15;
    if (length != 0) decodeNum_[next[length]++] = static_cast<uint16_t>(symbol);
  }
  maxNum_ = count;

  // The limits of lengths up to kQuickBits are multiples of 2^(16 - kQuickBits), or 0xFFFF when
  // the lengths over-subscribe the code (above every masked bit field): so the first kQuickBits
  // bits decide whether the search stops at such a length, and at which symbol. The limits never
  // fall as the length grows, so the prefixes of each length follow those of the one before.
  constexpr uint32_t kPrefixShift = 16 - kQuickBits;
  uint32_t prefix = 0;
  for (uint32_t length = 1; length <= kQuickBits; ++length) {
    const uint32_t end = decodeLen_[length] == 0xFFFF ? (1u << kQuickBits) : decodeLen_[length] >> kPrefixShift;
    for (; prefix < end; ++prefix) {
      uint32_t index = decodePos_[length] + (((prefix << kPrefixShift) - decodeLen_[length - 1]) >> (16 - length));
      if (index >= maxNum_) index = 0;
      quickSymbol_[prefix] = decodeNum_[index];
      quickLength_[prefix] = static_cast<uint8_t>(length);
    }
  }
  for (; prefix < (1u << kQuickBits); ++prefix) quickLength_[prefix] = 0;
}

Unpack20::Unpack20(uint8_t* window, uint8_t* input) : window_(window), input_(input) {}

void Unpack20::ResetState() {
  channelDelta_ = 0;
  curChannel_ = 0;
  for (AudioVariables& v : audioVars_) v = AudioVariables{};
  std::memset(oldDist_, 0, sizeof(oldDist_));
  oldDistPtr_ = 0;
  lastDist_ = 0;
  lastLength_ = 0;
  // The window counts as all zeros until it has been written round once (see CopyMatch); that
  // spares clearing a megabyte for every small file.
  windowFilled_ = false;
  std::memset(oldTable_, 0, sizeof(oldTable_));
  unpPtr_ = 0;
  wrPtr_ = 0;
}

void Unpack20::FirstRefill() {
  readTop_ = stream_->ReadPacked(input_, kInputBufferSize);
  inBits_ = 0;
}

void Unpack20::Refill() {
  // Of the bytes carried over, only those that came from the stream count.
  const uint32_t carriedValid =
      readTop_ > kInputBufferSize - kCarryOver ? readTop_ - (kInputBufferSize - kCarryOver) : 0;
  std::memmove(input_, input_ + kInputBufferSize - kCarryOver, kCarryOver);
  inBits_ %= kCarryOver * 8;
  const uint32_t read = stream_->ReadPacked(input_ + kCarryOver, kInputBufferSize - kCarryOver);
  readTop_ = read > 0 ? kCarryOver + read : carriedValid;
}

bool Unpack20::InputUsedUp() const {
  // A valid stream ends within its packed bytes; reading past them means the rest is not data.
  return inBits_ > readTop_ * 8;
}

uint32_t Unpack20::getbits() const {
  uint32_t bytes;
  std::memcpy(&bytes, input_ + (inBits_ >> 3), sizeof(bytes));
  return (__builtin_bswap32(bytes) >> (16 - (inBits_ & 7))) & 0xFFFF;
}

void Unpack20::addbits(uint32_t bits) { inBits_ += bits; }

uint32_t Unpack20::ReadExtraBits(uint32_t count) {
  if (count == 0) return 0;
  const uint32_t value = getbits() >> (16 - count);
  addbits(count);
  return value;
}

uint32_t Unpack20::DecodeSymbol(const HuffmanDecoder& decoder) {
  uint32_t length;
  const uint32_t symbol = decoder.Decode(getbits(), length);
  addbits(length);
  return symbol;
}

void Unpack20::ReadTables() {
  if (InputByte() > kTableStartRefill) Refill();
  const uint32_t header = getbits();
  audioBlock_ = (header & kAudioBlockBit) != 0;
  if ((header & kKeepOldTableBit) == 0) std::memset(oldTable_, 0, sizeof(oldTable_));
  addbits(2);

  uint32_t tableSize;
  if (audioBlock_) {
    channels_ = ((header >> 12) & 3) + 1;
    if (curChannel_ >= channels_) curChannel_ = 0;
    addbits(2);
    tableSize = channels_ * kAudioSymbols;
  } else {
    tableSize = kLzTableSize;
  }

  uint8_t bitLengths[kBitLengthSymbols];
  for (uint8_t& length : bitLengths) {
    length = static_cast<uint8_t>(getbits() >> 12);
    addbits(4);
  }
  BD_.Build(bitLengths, kBitLengthSymbols);

  // Lengths past tableSize stay zero; they still reach oldTable_, as the whole set does.
  uint8_t table[kMaxTableSize] = {};
  for (uint32_t i = 0; i < tableSize;) {
    if (InputByte() > kTableSymbolRefill) Refill();
    if (InputUsedUp()) return;  // a damaged table: the main loop stops on it
    const uint32_t symbol = DecodeSymbol(BD_);
    if (symbol < 16) {
      table[i] = static_cast<uint8_t>((symbol + oldTable_[i]) & 15);
      ++i;
    } else if (symbol == kRepeatPreviousLength) {
      uint32_t n = (getbits() >> 14) + 3;
      addbits(2);
      for (; n > 0 && i < tableSize; --n, ++i) table[i] = i > 0 ? table[i - 1] : 0;
    } else {
      uint32_t n;
      if (symbol == kShortZeroRun) {
        n = (getbits() >> 13) + 3;
        addbits(3);
      } else {
        n = (getbits() >> 9) + 11;
        addbits(7);
      }
      for (; n > 0 && i < tableSize; --n, ++i) table[i] = 0;
    }
  }

  if (audioBlock_) {
    for (uint32_t channel = 0; channel < channels_; ++channel)
      MD_[channel].Build(table + channel * kAudioSymbols, kAudioSymbols);
  } else {
    LD_.Build(table, kLiteralLengthSymbols);
    DD_.Build(table + kLiteralLengthSymbols, kDistanceSymbols);
    RD_.Build(table + kLiteralLengthSymbols + kDistanceSymbols, kRepeatLengthSymbols);
  }
  std::memcpy(oldTable_, table, sizeof(oldTable_));
}

// A table change that sits at the very end of an entry belongs to the next entry of a solid
// archive; read it now so that entry starts with the right tables.
void Unpack20::ReadLastTables() {
  if (readTop_ < InputByte() + 5) return;
  if (audioBlock_) {
    if (DecodeSymbol(MD_[curChannel_]) == kAudioTableChange) ReadTables();
  } else if (DecodeSymbol(LD_) == kTableChange) {
    ReadTables();
  }
}

void Unpack20::PutByte(uint8_t byte) {
  window_[unpPtr_] = byte;
  unpPtr_ = (unpPtr_ + 1) & kWindowMask;
  if (unpPtr_ == 0) windowFilled_ = true;
}

void Unpack20::CopyMatch(uint32_t length, uint32_t distance) {
  oldDist_[oldDistPtr_++ & 3] = distance;
  lastDist_ = distance;
  lastLength_ = length;
  destUnpSize_ -= static_cast<int32_t>(length);
  if (windowFilled_ || distance <= unpPtr_) {
    const uint32_t before = unpPtr_;
    const uint32_t from = (unpPtr_ - distance) & kWindowMask;
    if (from + length <= kWindowSize && unpPtr_ + length <= kWindowSize) {
      // Neither end wraps. A match overlapping itself (distance < length) repeats its pattern:
      // every byte read must already have been written. Eight bytes at a time keep that from a
      // distance of eight on; nothing past the match is written, as far matches still need the
      // oldest bytes, which lie just ahead of it.
      uint8_t* to = window_ + unpPtr_;
      const uint8_t* source = window_ + from;
      uint32_t i = 0;
      if (distance >= 8) {
        for (; i + 8 <= length; i += 8) {
          uint64_t chunk;
          std::memcpy(&chunk, source + i, 8);
          std::memcpy(to + i, &chunk, 8);
        }
      }
      for (; i < length; ++i) to[i] = source[i];
      unpPtr_ = (unpPtr_ + length) & kWindowMask;
    } else {
      for (; length > 0; --length) {
        window_[unpPtr_] = window_[(unpPtr_ - distance) & kWindowMask];
        unpPtr_ = (unpPtr_ + 1) & kWindowMask;
      }
    }
    if (unpPtr_ < before) windowFilled_ = true;
    return;
  }
  // Damaged data reaching back before the first byte: what lies there is zero.
  for (; length > 0; --length) PutByte(distance <= unpPtr_ ? window_[unpPtr_ - distance] : 0);
}

void Unpack20::Flush() {
  if (!stream_->HasOutput()) return;
  bool written;
  if (unpPtr_ >= wrPtr_) {
    written = stream_->Write(window_ + wrPtr_, unpPtr_ - wrPtr_, nullptr, 0);
  } else {
    written = stream_->Write(window_ + wrPtr_, kWindowSize - wrPtr_, window_, unpPtr_);
  }
  if (!written) destUnpSize_ = -1;  // more output than the entry holds: stop
}

void Unpack20::DecodeAudioStep() {
  const uint32_t delta = DecodeSymbol(MD_[curChannel_]);
  if (delta == kAudioTableChange) {
    ReadTables();
    return;
  }
  PutByte(DecodeAudioByte(audioVars_[curChannel_], channelDelta_, static_cast<uint8_t>(delta)));
  if (++curChannel_ == channels_) curChannel_ = 0;
  --destUnpSize_;
}

void Unpack20::DecodeStep() {
  const uint32_t symbol = DecodeSymbol(LD_);
  if (symbol < 256) {
    PutByte(static_cast<uint8_t>(symbol));
    --destUnpSize_;
  } else if (symbol >= kFirstLengthSymbol) {
    const uint32_t lengthSlot = symbol - kFirstLengthSymbol;
    uint32_t length = LDecode[lengthSlot] + 3 + ReadExtraBits(LBits[lengthSlot]);
    const uint32_t distanceSlot = DecodeSymbol(DD_);
    const uint32_t distance = DDecode[distanceSlot] + 1 + ReadExtraBits(DBits[distanceSlot]);
    length += NewMatchLengthBonus(distance);
    CopyMatch(length, distance);
  } else if (symbol == kTableChange) {
    ReadTables();
  } else if (symbol == kRepeatLastMatch) {
    CopyMatch(lastLength_, lastDist_);
  } else if (symbol < kFirstShortDistance) {
    const uint32_t distance = oldDist_[(oldDistPtr_ - (symbol - 256)) & 3];
    const uint32_t lengthSlot = DecodeSymbol(RD_);
    const uint32_t length =
        LDecode[lengthSlot] + 2 + ReadExtraBits(LBits[lengthSlot]) + OldDistanceLengthBonus(distance);
    CopyMatch(length, distance);
  } else {
    const uint32_t slot = symbol - kFirstShortDistance;
    const uint32_t distance = SDDecode[slot] + 1 + ReadExtraBits(SDBits[slot]);
    CopyMatch(2, distance);
  }
}

void Unpack20::Unpack(EntryStream& stream, uint32_t unpackedSize, bool continuesSolid) {
  stream_ = &stream;
  if (!continuesSolid || !primed_) ResetState();
  primed_ = true;
  FirstRefill();
  if (!continuesSolid) ReadTables();

  destUnpSize_ = static_cast<int32_t>(unpackedSize) - 1;
  while (destUnpSize_ >= 0) {
    if (InputByte() > kMainLoopRefill) Refill();
    if (((wrPtr_ - unpPtr_) & kWindowMask) < kFlushMargin && wrPtr_ != unpPtr_) {
      Flush();
      wrPtr_ = unpPtr_;
    }
    if (audioBlock_) {
      DecodeAudioStep();
    } else {
      DecodeStep();
    }
    // Every step takes at least one bit, so a damaged stream ends with its packed bytes: it
    // can neither run on over stale buffer bytes to a huge declared size nor repeat empty
    // matches for ever. What was written falls short of the size, and the entry fails.
    if (InputUsedUp()) break;
  }
  ReadLastTables();
  Flush();
  wrPtr_ = unpPtr_;
  stream_ = nullptr;
}
