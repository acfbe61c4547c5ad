#include "content/content_pack.h"

#include <sys/stat.h>

#include <cstdio>
#include <optional>

#include "content/archive_reader.h"
#include "content/entry_decoder.h"
#include "content/entry_index.h"
#include "core/wide_string.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// What tells that the file under a path is no longer the one indexed: replaced (another inode),
// or rewritten in place (size or time).
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified = {};

  bool operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

std::optional<FileIdentity> IdentityOf(std::FILE* file) {
  struct stat info;
  if (fstat(fileno(file), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

}  // namespace

struct ContentPack::ReadState {
  // Makes the index again when the file is not the one it was made from. The file may still
  // change between this check and the reads; then the entry fails its checks, as any damaged
  // one does, and the next read sees the change.
  bool Refresh(std::FILE* file) {
    const std::optional<FileIdentity> now = IdentityOf(file);
    if (!now) return false;
    if (indexed && *now == identity) return true;
    decoder.Restart();
    identity = *now;
    indexed = index.Build(file);
    return indexed;
  }

  bool indexed = false;
  FileIdentity identity;
  EntryIndex index;
  EntryDecoder decoder;
};

ContentPack::ContentPack() = default;
ContentPack::~ContentPack() = default;

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
  const std::lock_guard lock(readMutex_);
  readState_.reset();
}

bool ContentPack::Extract(const char16_t* name, uint8_t** data, uint32_t* size) const {
  *data = nullptr;
  *size = 0;
  if (name == nullptr || archivePath_.empty()) return false;
  // Names inside packs are 8-bit Windows-1252 text.
  const std::string entry = Cp1252FromWide(name);

  std::unique_lock lock(readMutex_, std::try_to_lock);
  if (!lock.owns_lock()) {
    // Another thread is reading this pack: rather than wait, read on our own from the start.
    return ArchiveReader::ExtractToMemory(data, size, entry.c_str(), archivePath_.c_str(), password_.c_str());
  }
  const FileHandle file(std::fopen(archivePath_.c_str(), "rb"));
  if (!file) return false;
  if (!readState_) readState_ = std::make_unique<ReadState>();
  if (!readState_->Refresh(file.get())) return false;
  const std::optional<size_t> n = readState_->index.Find(entry.c_str());
  if (!n) return false;
  return readState_->decoder.Extract(file.get(), readState_->index, *n, data, size);
}
