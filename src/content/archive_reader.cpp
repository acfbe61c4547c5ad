#include "content/archive_reader.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "content/entry_decoder.h"
#include "content/entry_index.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool ArchiveReader::ExtractToMemory(uint8_t** data, uint32_t* size, const char* entryName, const char* archivePath,
                                    const char* /*password: nothing is decrypted*/) {
  *data = nullptr;
  *size = 0;
  if (entryName == nullptr || archivePath == nullptr) return false;

  const FileHandle file(std::fopen(archivePath, "rb"));
  if (!file) return false;
  EntryIndex index;
  if (!index.Build(file.get())) return false;
  const std::optional<size_t> n = index.Find(entryName);
  if (!n) return false;
  EntryDecoder decoder;
  return decoder.Extract(file.get(), index, *n, data, size);
}
