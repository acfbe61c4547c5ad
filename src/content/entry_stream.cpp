#include "content/entry_stream.h"

#include <cstring>

uint32_t EntryStream::ReadPacked(uint8_t* dest, uint32_t count) {
  if (count > packedLeft_) count = packedLeft_;
  if (count == 0) return 0;
  const size_t read = std::fread(dest, 1, count, file_);
  packedLeft_ -= static_cast<uint32_t>(read);
  return static_cast<uint32_t>(read);
}

bool EntryStream::Write(const uint8_t* first, uint32_t firstCount, const uint8_t* second, uint32_t secondCount) {
  if (output_ == nullptr) return false;
  const uint64_t end = static_cast<uint64_t>(written_) + firstCount + secondCount;
  if (end > outputSize_) return false;
  if (firstCount > 0) std::memcpy(output_ + written_, first, firstCount);
  if (secondCount > 0) std::memcpy(output_ + written_ + firstCount, second, secondCount);
  written_ = static_cast<uint32_t>(end);
  return true;
}
