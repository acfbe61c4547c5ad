#include "content/content_pack.h"

#include <cstdio>

#include "content/archive_reader.h"
#include "core/wide_string.h"

bool ContentPack::Open(const char16_t* path, const char16_t* password) {
  Close();
  if (path == nullptr) return false;
  const std::string utf8 = Utf8FromWide(path);
  std::FILE* file = std::fopen(utf8.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  archivePath_ = utf8;
  if (password != nullptr) password_ = Cp1252FromWide(password);
  return true;
}

void ContentPack::Close() {
  archivePath_.clear();
  password_.clear();
}

bool ContentPack::Extract(const char16_t* name, uint8_t** data, uint32_t* size) const {
  *data = nullptr;
  *size = 0;
  if (name == nullptr || archivePath_.empty()) return false;
  // Names inside packs are 8-bit Windows-1252 text.
  const std::string entry = Cp1252FromWide(name);
  return ArchiveReader::ExtractToMemory(data, size, entry.c_str(), archivePath_.c_str(), password_.c_str());
}
