// kestrel-bench unpack: speed of the game's archive reader over every entry of a pack, in MB
// (10^6 bytes) of output per second; every figure is the median of the repeats.
//
// Two readings: every entry in archive order through one decoder (what `kestrel-pack test`
// does), split by the kind of entry; and entry by entry through a ContentPack, as the game
// reads, both for the pack as given and for the same files repacked the other way (solid or
// not), so the cost of a solid stream shows against the same data without one.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "bench_commands.h"
#include "content/archive_format.h"
#include "content/content_pack.h"
#include "content/entry_decoder.h"
#include "content/entry_index.h"
#include "core/memory.h"
#include "core/wide_string.h"

namespace {

using Clock = std::chrono::steady_clock;

enum EntryKind { kStored, kLz, kAudio, kKindCount };
const char* const kKindNames[kKindCount] = {"stored", "lz", "audio"};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double MegabytesPerSecond(uint64_t bytes, double seconds) { return seconds > 0 ? bytes / seconds / 1e6 : 0.0; }

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The mode of the table set an entry's packed data starts with (its first bit); an entry that
// goes on with the tables of the one before it in a solid stream goes on in its mode.
std::vector<EntryKind> KindsOf(std::FILE* file, const EntryIndex& index) {
  std::vector<EntryKind> kinds;
  EntryKind previous = kLz;
  for (const IndexedEntry& entry : index.entries()) {
    if (entry.method == archive_format::kMethodStored) {
      kinds.push_back(kStored);
      continue;
    }
    if ((entry.flags & archive_format::kFileContinuesSolid) == 0) {
      uint8_t first = 0;
      std::fseek(file, static_cast<long>(entry.dataOffset), SEEK_SET);
      if (std::fread(&first, 1, 1, file) == 1) previous = (first & 0x80) ? kAudio : kLz;
    }
    kinds.push_back(previous);
  }
  return kinds;
}

struct KindTimes {
  uint32_t entries[kKindCount] = {};
  uint64_t bytes[kKindCount] = {};
  std::vector<double> seconds[kKindCount];
  std::vector<double> totalSeconds;
};

// One pass in archive order through one decoder, each entry timed on its own. With `files`,
// keeps every entry's bytes for the repacked copy.
bool InOrderPass(std::FILE* file, const EntryIndex& index, const std::vector<EntryKind>& kinds, KindTimes& times,
                 std::vector<PackSource>* files) {
  double seconds[kKindCount] = {};
  uint32_t entries[kKindCount] = {};
  uint64_t bytes[kKindCount] = {};
  EntryDecoder decoder;
  const auto passStart = Clock::now();
  for (size_t n = 0; n < index.entries().size(); ++n) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    const auto start = Clock::now();
    const bool whole = decoder.Extract(file, index, n, &data, &size);
    seconds[kinds[n]] += std::chrono::duration<double>(Clock::now() - start).count();
    if (!whole) {
      std::fprintf(stderr, "kestrel-bench: cannot extract %s\n", index.entries()[n].name.c_str());
      return false;
    }
    ++entries[kinds[n]];
    bytes[kinds[n]] += size;
    if (files) files->push_back({index.entries()[n].name, std::vector<uint8_t>(data, data + size)});
    Free(data);
  }
  times.totalSeconds.push_back(std::chrono::duration<double>(Clock::now() - passStart).count());
  for (int kind = 0; kind < kKindCount; ++kind) {
    times.entries[kind] = entries[kind];
    times.bytes[kind] = bytes[kind];
    times.seconds[kind].push_back(seconds[kind]);
  }
  return true;
}

// Every entry by name, in archive order, through a new ContentPack (which makes its index on
// the first read, as in the game); the seconds of the whole pass, or a negative number.
double ContentPackPass(const std::string& path, const EntryIndex& index) {
  const auto start = Clock::now();
  ContentPack pack;
  if (!pack.Open(WideFromUtf8(path).c_str(), nullptr)) return -1;
  for (const IndexedEntry& entry : index.entries()) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    const bool read = pack.Extract(WideFromCp1252(entry.name).c_str(), &data, &size);
    Free(data);
    if (!read) {
      std::fprintf(stderr, "kestrel-bench: cannot read %s from %s\n", entry.name.c_str(), path.c_str());
      return -1;
    }
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int RunUnpackBench(int argc, char** argv) {
  const char* archive = nullptr;
  int repeat = 5;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
      repeat = std::atoi(argv[++i]);
    } else if (archive == nullptr) {
      archive = argv[i];
    } else {
      archive = nullptr;
      break;
    }
  }
  if (archive == nullptr || repeat < 1) {
    std::fputs("usage: kestrel-bench unpack ARCHIVE [--repeat N]\n", stderr);
    return 2;
  }

  const FileHandle file(std::fopen(archive, "rb"));
  EntryIndex index;
  if (!file || !index.Build(file.get())) {
    std::fprintf(stderr, "kestrel-bench: %s is not a readable archive\n", archive);
    return 1;
  }
  const std::vector<EntryKind> kinds = KindsOf(file.get(), index);

  KindTimes times;
  std::vector<PackSource> files;
  for (int pass = 0; pass < repeat; ++pass) {
    if (!InOrderPass(file.get(), index, kinds, times, pass == 0 ? &files : nullptr)) return 1;
  }
  uint64_t totalBytes = 0;
  for (uint64_t bytes : times.bytes) totalBytes += bytes;
  std::printf("unpack %s: %zu entries%s, %llu bytes, median of %d passes\n", archive, index.entries().size(),
              index.solid() ? " (solid)" : "", static_cast<unsigned long long>(totalBytes), repeat);
  std::printf("in archive order through one decoder:\n");
  for (int kind = 0; kind < kKindCount; ++kind) {
    if (times.entries[kind] == 0) continue;
    const double seconds = Median(times.seconds[kind]);
    std::printf("  %-8s %5u entries %10llu bytes %9.3f ms %8.1f MB/s\n", kKindNames[kind], times.entries[kind],
                static_cast<unsigned long long>(times.bytes[kind]), seconds * 1000.0,
                MegabytesPerSecond(times.bytes[kind], seconds));
  }
  const double total = Median(times.totalSeconds);
  std::printf("  %-8s %5zu entries %10llu bytes %9.3f ms %8.1f MB/s\n", "total", index.entries().size(),
              static_cast<unsigned long long>(totalBytes), total * 1000.0, MegabytesPerSecond(totalBytes, total));

  // The same files the other way: solid when the pack is not, and the other way round.
  const bool otherSolid = !index.solid();
  ArchiveOptions options;
  options.solid = otherSolid;
  const auto packStart = Clock::now();
  const std::vector<uint8_t> repacked = BuildArchive(files, options);
  const double packSeconds = std::chrono::duration<double>(Clock::now() - packStart).count();
  const std::string repackedPath =
      (std::filesystem::temp_directory_path() / ("kestrel-bench-unpack-" + std::to_string(getpid()) + ".bin")).string();
  std::ofstream(repackedPath, std::ios::binary)
      .write(reinterpret_cast<const char*>(repacked.data()), static_cast<std::streamsize>(repacked.size()));

  std::vector<double> given, other;
  for (int pass = 0; pass < repeat; ++pass) {
    given.push_back(ContentPackPass(archive, index));
    other.push_back(ContentPackPass(repackedPath, index));
  }
  std::remove(repackedPath.c_str());
  if (*std::min_element(given.begin(), given.end()) < 0 || *std::min_element(other.begin(), other.end()) < 0) return 1;

  const double givenSeconds = Median(given);
  const double otherSeconds = Median(other);
  const double solidSeconds = otherSolid ? otherSeconds : givenSeconds;
  const double plainSeconds = otherSolid ? givenSeconds : otherSeconds;
  std::printf("entry by entry through a ContentPack, in archive order:\n");
  std::printf("  %-10s %9.3f ms %8.1f MB/s  (%s)\n", "non-solid", plainSeconds * 1000.0,
              MegabytesPerSecond(totalBytes, plainSeconds), otherSolid ? "as given" : "repacked");
  std::printf("  %-10s %9.3f ms %8.1f MB/s  (%s)\n", "solid", solidSeconds * 1000.0,
              MegabytesPerSecond(totalBytes, solidSeconds), otherSolid ? "repacked" : "as given");
  std::printf("  solid takes %.2fx the non-solid time (repacking took %.1f s, not counted)\n",
              plainSeconds > 0 ? solidSeconds / plainSeconds : 0.0, packSeconds);
  return 0;
}
