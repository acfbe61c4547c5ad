// One content pack: a RAR 2.0 archive of game files beside the program.
//
// A pack holds no open file between reads: every Extract opens the archive by its stored path,
// reads one entry and closes it again, so packs cost no file handles while the game runs. What
// the reads learn stays: the EntryIndex, made by the first read and made again when the file's
// identity, size or time have changed since, and the EntryDecoder with the state of a solid
// stream, so that a solid pack read entry by entry in archive order is decoded once. Memory per
// pack: the index, and after the first compressed entry one decoder (a 1 MiB window and about
// 40 KiB more).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class ContentPack {
 public:
  ContentPack();
  ~ContentPack();
  ContentPack(const ContentPack&) = delete;
  ContentPack& operator=(const ContentPack&) = delete;

  // True when the file exists and can be read; the path (and the password, when given) are
  // stored for later reads.
  bool Open(const char16_t* path, const char16_t* password);
  void Close();

  // The bytes of the named entry ("\" and "/" alike, case ignored) in a new block from
  // CheckedAlloc, owned by the caller. False, with null and 0, when the entry is missing or
  // damaged or the pack is gone. Reads may run from several threads at once: one of them uses
  // the kept state, the others read on their own from the start of the archive.
  bool Extract(const char16_t* name, uint8_t** data, uint32_t* size) const;

  const std::string& archivePath() const { return archivePath_; }

 private:
  struct ReadState;

  std::string archivePath_;  // UTF-8, as the file system takes it
  std::string password_;     // Windows-1252; empty for every pack the game opens
  // Reads do not change what the pack holds, only what it knows of its file.
  mutable std::mutex readMutex_;
  mutable std::unique_ptr<ReadState> readState_;
};
