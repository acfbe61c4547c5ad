// A block of bytes read from a file in a content pack, a file on disk, or one of the program's
// own pictures: the one way the game reads a file.
#pragma once

#include <cstdint>

class ContentPack;

class DataBuffer {
 public:
  DataBuffer() = default;
  DataBuffer(const ContentPack* pack, const char16_t* name) { LoadFile(pack, name); }
  explicit DataBuffer(uint32_t pictureId) { LoadResource(pictureId); }
  ~DataBuffer() { Release(); }
  DataBuffer(const DataBuffer&) = delete;
  DataBuffer& operator=(const DataBuffer&) = delete;
  DataBuffer(DataBuffer&& other) noexcept;
  DataBuffer& operator=(DataBuffer&& other) noexcept;

  // With a pack, `name` is a path inside it; without one, a path on disk. The number of bytes
  // loaded; 0 (and an empty buffer) when the file is missing or memory ran out.
  uint32_t LoadFile(const ContentPack* pack, const char16_t* name);
  // One of the program's own pictures (a JPEG) by number; 0 when there is none. The bytes stay
  // part of the program: nothing is copied or freed.
  uint32_t LoadResource(uint32_t pictureId);
  void Release();

  bool Empty() const { return data == nullptr; }

  uint32_t size = 0;
  uint8_t* data = nullptr;

 private:
  bool fromResource_ = false;  // data views the program image and is not ours to free
};
