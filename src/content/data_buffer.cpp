#include "content/data_buffer.h"

#include <cstdio>
#include <utility>

#include "content/content_pack.h"
#include "core/memory.h"
#include "core/wide_string.h"
#include "platform/resources.h"

DataBuffer::DataBuffer(DataBuffer&& other) noexcept
    : size(std::exchange(other.size, 0)),
      data(std::exchange(other.data, nullptr)),
      fromResource_(std::exchange(other.fromResource_, false)) {}

DataBuffer& DataBuffer::operator=(DataBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    size = std::exchange(other.size, 0);
    data = std::exchange(other.data, nullptr);
    fromResource_ = std::exchange(other.fromResource_, false);
  }
  return *this;
}

uint32_t DataBuffer::LoadFile(const ContentPack* pack, const char16_t* name) {
  Release();
  if (name == nullptr) return 0;
  if (pack != nullptr) {
    pack->Extract(name, &data, &size);
    return size;
  }
  std::FILE* file = std::fopen(Utf8FromWide(name).c_str(), "rb");
  if (file == nullptr) return 0;
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
  if (length > 0 && length <= static_cast<long>(UINT32_MAX) && std::fseek(file, 0, SEEK_SET) == 0) {
    data = static_cast<uint8_t*>(CheckedAlloc(static_cast<uint32_t>(length)));
    if (data != nullptr && std::fread(data, 1, static_cast<size_t>(length), file) == static_cast<size_t>(length)) {
      size = static_cast<uint32_t>(length);
    } else {
      Free(data);  // a file that changed under us reads as missing rather than half-filled
      data = nullptr;
    }
  }
  std::fclose(file);
  return size;
}

uint32_t DataBuffer::LoadResource(uint32_t pictureId) {
  Release();
  const ResourceBytes bytes = FindResource(ResourceKind::Picture, pictureId);
  if (bytes.data == nullptr) return 0;
  data = const_cast<uint8_t*>(bytes.data);
  size = bytes.size;
  fromResource_ = true;
  return size;
}

void DataBuffer::Release() {
  if (data != nullptr && !fromResource_) Free(data);
  data = nullptr;
  size = 0;
  fromResource_ = false;
}
