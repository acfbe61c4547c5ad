// kestrel-pack: makes, lists, tests and unpacks the game's content packs (RAR 2.0 archives).
// `extract` and `test` read through the game's own archive reader, so what they accept is
// exactly what the game will load.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "archive_index.h"
#include "archive_writer.h"
#include "content/archive_reader.h"
#include "core/memory.h"
#include "core/wide_string.h"
#include "pack_sources.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: kestrel-pack create [--store] [--solid] [--marker rar|unique|quartz] ARCHIVE PATH...\n"
    "       kestrel-pack list ARCHIVE\n"
    "       kestrel-pack extract ARCHIVE NAME [-o FILE]\n"
    "       kestrel-pack test ARCHIVE\n"
    "Entry times come from the files, or from SOURCE_DATE_EPOCH (Unix seconds) when it is set.\n";

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "kestrel-pack: %s\n", problem);
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

// Names inside packs are Windows-1252; the terminal and the command line speak UTF-8.
std::string DisplayName(const std::string& stored) { return Utf8FromWide(WideFromCp1252(stored).c_str()); }
std::string StoredName(const char* typed) { return Cp1252FromWide(WideFromUtf8(typed).c_str()); }

int Fail(const std::string& message) {
  std::fprintf(stderr, "kestrel-pack: %s\n", message.c_str());
  return kExitFailure;
}

// Writes through a temporary file and a rename, so a failed run never leaves half a pack.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) {
    error = "cannot write " + temporary + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) {
    error = "cannot write " + temporary;
    std::remove(temporary.c_str());
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool ParseSourceDateEpoch(std::optional<int64_t>& time, std::string& error) {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (text == nullptr || *text == 0) return true;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != 0 || value < 0) {
    error = "SOURCE_DATE_EPOCH must be a number of seconds, not \"" + std::string(text) + "\"";
    return false;
  }
  time = value;
  return true;
}

std::string Describe(const PackedEntry& entry) {
  if (entry.stored) return "stored";
  if (entry.mode == Pack20Encoder::Mode::kAudio) return "audio, " + std::to_string(entry.audioChannels) + " ch";
  return "lz";
}

int Create(int argc, char** argv) {
  ArchiveOptions options;
  std::vector<std::string> positional;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--store") {
      options.store = true;
    } else if (arg == "--solid") {
      options.solid = true;
    } else if (arg == "--marker") {
      if (++i == argc) return Usage("--marker needs rar, unique or quartz");
      const std::string marker = argv[i];
      if (marker == "rar") {
        options.marker = ArchiveMarker::kRar;
      } else if (marker == "unique") {
        options.marker = ArchiveMarker::kUnique;
      } else if (marker == "quartz") {
        options.marker = ArchiveMarker::kQuartz;
      } else {
        return Usage("--marker needs rar, unique or quartz");
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(("unknown option " + arg).c_str());
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() < 2) return Usage("create needs an archive and at least one file or folder");

  std::string error;
  std::optional<int64_t> fixedTime;
  if (!ParseSourceDateEpoch(fixedTime, error)) return Fail(error);
  std::vector<PackSource> sources;
  if (!CollectPackSources({positional.begin() + 1, positional.end()}, fixedTime, sources, error)) return Fail(error);

  ArchiveReport report;
  const std::vector<uint8_t> archive = BuildArchive(sources, options, &report);
  if (!WriteFileAtomically(positional[0], archive, error)) return Fail(error);

  uint64_t unpacked = 0;
  for (const PackedEntry& entry : report.entries) {
    std::printf("%10u -> %10u  %-12s %s\n", entry.unpackedSize, entry.packedSize, Describe(entry).c_str(),
                DisplayName(entry.name).c_str());
    unpacked += entry.unpackedSize;
  }
  std::printf("%zu files, %llu bytes -> %zu bytes: %s\n", report.entries.size(),
              static_cast<unsigned long long>(unpacked), archive.size(), positional[0].c_str());
  return 0;
}

int List(int argc, char** argv) {
  if (argc != 1) return Usage("list needs exactly one archive");
  std::vector<ArchiveEntryInfo> entries;
  bool solid = false;
  std::string error;
  if (!ListArchive(argv[0], entries, solid, error)) return Fail(error);
  for (const ArchiveEntryInfo& entry : entries) {
    const std::string method =
        entry.method == 0x30 ? "stored" : "v20-m" + std::string(1, static_cast<char>(entry.method));
    std::printf("%s\t%u\t%u\t%s\n", DisplayName(entry.name).c_str(), entry.unpackedSize, entry.packedSize,
                method.c_str());
  }
  return 0;
}

int Extract(int argc, char** argv) {
  std::vector<std::string> positional;
  const char* outputPath = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "-o") == 0) {
      if (++i == argc) return Usage("-o needs a file name");
      outputPath = argv[i];
    } else {
      positional.push_back(argv[i]);
    }
  }
  if (positional.size() != 2) return Usage("extract needs an archive and an entry name");

  uint8_t* data = nullptr;
  uint32_t size = 0;
  const std::string name = StoredName(positional[1].c_str());
  if (!ArchiveReader::ExtractToMemory(&data, &size, name.c_str(), positional[0].c_str(), nullptr)) {
    return Fail("cannot extract \"" + positional[1] + "\" from " + positional[0] +
                " (not in the archive, or damaged: CRC or data check failed)");
  }
  std::string error;
  bool written;
  if (outputPath) {
    written = WriteFileAtomically(outputPath, std::vector<uint8_t>(data, data + size), error);
  } else {
    written = std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
    if (!written) error = "cannot write to standard output";
  }
  Free(data);
  return written ? 0 : Fail(error);
}

int Test(int argc, char** argv) {
  if (argc != 1) return Usage("test needs exactly one archive");
  std::vector<ArchiveEntryInfo> entries;
  bool solid = false;
  std::string error;
  if (!ListArchive(argv[0], entries, solid, error)) return Fail(error);
  int failures = 0;
  for (const ArchiveEntryInfo& entry : entries) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    const bool ok = ArchiveReader::ExtractToMemory(&data, &size, entry.name.c_str(), argv[0], nullptr);
    Free(data);
    std::printf("%-6s %s\n", ok ? "OK" : "FAILED", DisplayName(entry.name).c_str());
    if (!ok) ++failures;
  }
  std::printf("%zu entries, %d failed\n", entries.size(), failures);
  return failures == 0 ? 0 : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(nullptr);
  const std::string command = argv[1];
  if (command == "create") return Create(argc - 2, argv + 2);
  if (command == "list") return List(argc - 2, argv + 2);
  if (command == "extract") return Extract(argc - 2, argv + 2);
  if (command == "test") return Test(argc - 2, argv + 2);
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  return Usage(("unknown command " + command).c_str());
}
