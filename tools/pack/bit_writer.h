// Most-significant-bit-first bit output, the order in which the version-20 decoder reads.
#pragma once

#include <cstdint>
#include <vector>

class BitWriter {
 public:
  // Appends the low `count` bits of `value` (count <= 24), highest first.
  void Write(uint32_t value, uint32_t count) {
    accumulator_ = (accumulator_ << count) | (value & ((1u << count) - 1));
    pending_ += count;
    while (pending_ >= 8) {
      pending_ -= 8;
      bytes_.push_back(static_cast<uint8_t>(accumulator_ >> pending_));
    }
  }

  uint64_t BitCount() const { return bytes_.size() * 8 + pending_; }

  // Pads the last byte with zero bits and hands over the bytes.
  std::vector<uint8_t> Finish() {
    if (pending_ > 0) Write(0, 8 - pending_);
    return std::move(bytes_);
  }

 private:
  std::vector<uint8_t> bytes_;
  uint64_t accumulator_ = 0;
  uint32_t pending_ = 0;
};
