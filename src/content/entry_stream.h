// The packed bytes of one archive entry as the decompressor reads them, and the block its
// unpacked bytes go to. Owned by the archive reader for the length of one entry.
#pragma once

#include <cstdint>
#include <cstdio>

class EntryStream {
 public:
  // `output` may be null: in a solid archive the entries before the wanted one are decoded
  // only to fill the window, and their bytes go nowhere.
  EntryStream(std::FILE* file, uint32_t packedSize, uint8_t* output, uint32_t outputSize)
      : file_(file), packedLeft_(packedSize), output_(output), outputSize_(outputSize) {}

  // Reads at most `count` bytes, never past the entry's packed size; returns the number read.
  uint32_t ReadPacked(uint8_t* dest, uint32_t count);

  bool HasOutput() const { return output_ != nullptr; }
  // Appends `first` then `second` (either may be empty). Refuses, writing nothing, when the
  // bytes would run past the end of the output block.
  bool Write(const uint8_t* first, uint32_t firstCount, const uint8_t* second, uint32_t secondCount);
  uint32_t Written() const { return written_; }

 private:
  std::FILE* file_;
  uint32_t packedLeft_;
  uint8_t* output_;
  uint32_t outputSize_;
  uint32_t written_ = 0;
};
