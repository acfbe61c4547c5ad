// Reads entries of one archive, found by its EntryIndex, through one decoder.
//
// In a solid archive an entry's packed data goes on from the decoder state (window, tables,
// distances) that all entries before it left, so reading entry n means decoding every entry
// before it. The decoder keeps that state after each read: a later entry of the same archive
// continues from there, and reading every entry in archive order decodes each of them once.
// Reading an earlier entry than the last starts again from the first; so does any read after a
// failed one, so a damaged entry gives the same results whatever was read before it.
//
// Memory: one 1 MiB window, one 8 KiB input buffer and one Unpack20 (about 32 KiB), allocated
// with the first compressed entry and kept until the decoder goes. Not for two threads at once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "content/entry_index.h"

class Unpack20;

class EntryDecoder {
 public:
  EntryDecoder();
  ~EntryDecoder();
  EntryDecoder(const EntryDecoder&) = delete;
  EntryDecoder& operator=(const EntryDecoder&) = delete;

  // Entry `n` of `index`, which was built from `file`: true when its bytes came back whole (its
  // size and CRC-32 agree), with *data a new block from CheckedAlloc to be released with Free and
  // *size its length; otherwise false with null and 0.
  bool Extract(std::FILE* file, const EntryIndex& index, size_t n, uint8_t** data, uint32_t* size);

  // Forgets the state of the solid stream, for when the archive under it has changed.
  void Restart();

 private:
  struct BlockFree {
    void operator()(uint8_t* block) const;
  };
  using Block = std::unique_ptr<uint8_t, BlockFree>;

  bool ExtractWhole(std::FILE* file, const IndexedEntry& entry, uint8_t** data, uint32_t* size);
  // Decodes into `output`, or with a null `output` only into the decoder state.
  bool Decode(std::FILE* file, const IndexedEntry& entry, uint8_t* output, uint32_t& written);

  Block window_;
  Block input_;
  std::unique_ptr<Unpack20> unpack_;
  size_t nextInStream_ = 0;  // solid archives: every entry before it has been decoded
};
