// One content pack: a RAR 2.0 archive of game files beside the program.
//
// A pack holds no open file between reads: every Extract opens the archive by its stored path,
// reads one entry and closes it again, so packs cost no file handles while the game runs.
#pragma once

#include <cstdint>
#include <string>

class ContentPack {
 public:
  // True when the file exists and can be read; the path (and the password, when given) are
  // stored for later reads.
  bool Open(const char16_t* path, const char16_t* password);
  void Close();

  // The bytes of the named entry ("\" and "/" alike, case ignored) in a new block from
  // CheckedAlloc, owned by the caller. False, with null and 0, when the entry is missing or
  // damaged or the pack is gone.
  bool Extract(const char16_t* name, uint8_t** data, uint32_t* size) const;

  const std::string& archivePath() const { return archivePath_; }

 private:
  std::string archivePath_;  // UTF-8, as the file system takes it
  std::string password_;     // Windows-1252; empty for every pack the game opens
};
