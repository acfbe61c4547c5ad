// Writes RAR 2.0 archives (content packs) that the game's reader and other RAR tools accept:
// correct header CRCs, MS-DOS times, Windows attributes and "\" separators in names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pack20.h"

enum class ArchiveMarker { kRar, kUnique, kQuartz };

// One file to pack: its name inside the archive (8-bit text, "\" between folders), its bytes
// and its modification time as an MS-DOS date and time.
struct PackSource {
  std::string name;
  std::vector<uint8_t> data;
  uint32_t dosTime = 0;
};

struct ArchiveOptions {
  bool store = false;  // store every file as it is
  bool solid = false;  // one compressed stream through all files, in order
  ArchiveMarker marker = ArchiveMarker::kRar;
  Pack20Encoder::Options encoder;
};

// What became of each file, for the tool's report.
struct PackedEntry {
  std::string name;
  uint32_t unpackedSize = 0;
  uint32_t packedSize = 0;
  bool stored = false;
  Pack20Encoder::Mode mode = Pack20Encoder::Mode::kLz;
  uint32_t audioChannels = 0;
};

struct ArchiveReport {
  std::vector<PackedEntry> entries;
  Pack20Encoder::Statistics statistics;  // of the compressed entries
};

// The archive's bytes. Files are written in the order given. In a non-solid archive each file
// is compressed on its own and stored instead when that is not smaller; in a solid archive
// every file is compressed and the window carries over from one to the next. Empty files are
// always stored (and a solid stream starts afresh after one).
std::vector<uint8_t> BuildArchive(const std::vector<PackSource>& files, const ArchiveOptions& options,
                                  ArchiveReport* report = nullptr);

// MS-DOS date and time (local fields taken as UTC, 2-second steps) of a Unix time; times
// before 1980 become 1980-01-01 00:00:00.
uint32_t DosTimeFromUnix(int64_t seconds);
