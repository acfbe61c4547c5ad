// kestrel-bench unpack: decompression speed of the game's archive reader over every entry of
// a pack, in MB (10^6 bytes) of output per second; the median of the repeats is reported.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive_index.h"
#include "bench_commands.h"
#include "content/archive_reader.h"
#include "core/memory.h"

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

  std::vector<ArchiveEntryInfo> entries;
  bool solid = false;
  std::string error;
  if (!ListArchive(archive, entries, solid, error)) {
    std::fprintf(stderr, "kestrel-bench: %s\n", error.c_str());
    return 1;
  }

  std::vector<double> seconds;
  uint64_t bytesPerPass = 0;
  for (int pass = 0; pass < repeat; ++pass) {
    uint64_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const ArchiveEntryInfo& entry : entries) {
      uint8_t* data = nullptr;
      uint32_t size = 0;
      if (!ArchiveReader::ExtractToMemory(&data, &size, entry.name.c_str(), archive, nullptr)) {
        std::fprintf(stderr, "kestrel-bench: cannot extract %s\n", entry.name.c_str());
        return 1;
      }
      bytes += size;
      Free(data);
    }
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    bytesPerPass = bytes;
  }
  std::sort(seconds.begin(), seconds.end());
  const double median = seconds[seconds.size() / 2];
  std::printf("unpack %s: %zu entries%s, %llu bytes per pass, %d passes\n", archive, entries.size(),
              solid ? " (solid)" : "", static_cast<unsigned long long>(bytesPerPass), repeat);
  std::printf("median %.3f ms per pass, %.1f MB/s\n", median * 1000.0, median > 0 ? bytesPerPass / median / 1e6 : 0.0);
  return 0;
}
