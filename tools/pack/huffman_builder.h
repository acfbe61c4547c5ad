// Canonical Huffman codes of limited length, as the version-20 format sends them: only the
// code lengths travel; codes of one length are consecutive and ordered by symbol value.
#pragma once

#include <cstdint>
#include <vector>

struct HuffmanCode {
  std::vector<uint8_t> lengths;  // 0 = symbol has no code
  std::vector<uint16_t> codes;   // valid where lengths > 0, `lengths` bits, highest first
};

// Code lengths for the given symbol frequencies, none longer than `maxLength`. Symbols of
// frequency 0 get no code. When only one symbol occurs a second one is given a code too, so
// that every used code has at least one bit and no decoder meets a one-symbol table.
std::vector<uint8_t> BuildCodeLengths(const std::vector<uint32_t>& frequencies, uint32_t maxLength);

// Canonical codes for the lengths, as a decoder builds them from the lengths alone.
HuffmanCode CanonicalCode(const std::vector<uint8_t>& lengths);
