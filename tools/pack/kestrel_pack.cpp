// kestrel-pack: makes, lists, tests, checks and unpacks the game's content packs (RAR 2.0
// archives), and makes a pack's landscapes, skies and meshes from pictures and models.
// `extract` and `test` read through the game's own archive reader and `check` through its
// content loaders, so what they accept is exactly what the game will load.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "archive_index.h"
#include "archive_writer.h"
#include "atomic_file.h"
#include "content/archive_format.h"
#include "content/archive_reader.h"
#include "content/entry_decoder.h"
#include "content/entry_index.h"
#include "core/memory.h"
#include "core/wide_string.h"
#include "pack_authoring.h"
#include "pack_check.h"
#include "pack_extract.h"
#include "pack_sources.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: kestrel-pack create [--store] [--solid] [--marker rar|unique|quartz] ARCHIVE PATH...\n"
    "       kestrel-pack list ARCHIVE\n"
    "       kestrel-pack extract ARCHIVE [-o DIR]\n"
    "       kestrel-pack extract ARCHIVE NAME [-o FILE]\n"
    "       kestrel-pack test ARCHIVE\n"
    "       kestrel-pack check PACK|FOLDER\n"
    "%s"
    "list: size, packed size, ratio, method, CRC-32 and name of every entry.\n"
    "extract: every entry into DIR (default: the current folder), refusing names that would leave\n"
    "it; or one entry to FILE (default: standard output).\n"
    "check: loads everything the way the game does; one line per problem, exit 1 if any.\n"
    "Entry times come from the files, or from SOURCE_DATE_EPOCH (Unix seconds) when it is set.\n";

void PrintUsage(std::FILE* to) { std::fprintf(to, kUsage, kAuthoringUsage); }

int Usage(const char* problem) {
  if (problem) std::fprintf(stderr, "kestrel-pack: %s\n", problem);
  PrintUsage(stderr);
  return kExitUsage;
}

// Names inside packs are Windows-1252; the terminal and the command line speak UTF-8.
std::string DisplayName(const std::string& stored) { return Utf8FromWide(WideFromCp1252(stored).c_str()); }
std::string StoredName(const char* typed) { return Cp1252FromWide(WideFromUtf8(typed).c_str()); }

int Fail(const std::string& message) {
  std::fprintf(stderr, "kestrel-pack: %s\n", message.c_str());
  return kExitFailure;
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

// "stored", or the unpack version and method number ("v20-m3").
std::string MethodName(const ArchiveEntryInfo& entry) {
  if (entry.method == archive_format::kMethodStored) return "stored";
  return "v" + std::to_string(entry.unpackVersion) + "-m" + std::string(1, static_cast<char>(entry.method));
}

// Packed size as a percentage of the size, to a tenth, rounded; "-" for an empty entry.
std::string Ratio(uint32_t packed, uint32_t size) {
  if (size == 0) return "-";
  const uint64_t tenths = (static_cast<uint64_t>(packed) * 1000 + size / 2) / size;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

int List(int argc, char** argv) {
  if (argc != 1) return Usage("list needs exactly one archive");
  std::vector<ArchiveEntryInfo> entries;
  bool solid = false;
  std::string error;
  if (!ListArchive(argv[0], entries, solid, error)) return Fail(error);
  const char kRow[] = "%10s %10s %7s  %-7s %-8s  %s\n";
  std::printf(kRow, "Size", "Packed", "Ratio", "Method", "CRC-32", "Name");
  for (const ArchiveEntryInfo& entry : entries) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", entry.crc);
    std::printf(kRow, std::to_string(entry.unpackedSize).c_str(), std::to_string(entry.packedSize).c_str(),
                Ratio(entry.packedSize, entry.unpackedSize).c_str(), MethodName(entry).c_str(), crc,
                DisplayName(entry.name).c_str());
  }
  return 0;
}

// Every entry into a folder; names that would leave it are refused, one line each.
int ExtractEverything(const std::string& archive, const char* folder) {
  ExtractAllResult result;
  std::string error;
  if (!ExtractAll(archive, folder != nullptr ? folder : ".", result, error)) return Fail(error);
  for (const std::string& problem : result.problems) std::fprintf(stderr, "kestrel-pack: %s\n", problem.c_str());
  return result.problems.empty() ? 0 : kExitFailure;
}

int Extract(int argc, char** argv) {
  std::vector<std::string> positional;
  const char* outputPath = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "-o") == 0) {
      if (++i == argc) return Usage("-o needs a file or folder name");
      outputPath = argv[i];
    } else {
      positional.push_back(argv[i]);
    }
  }
  if (positional.size() == 1) return ExtractEverything(positional[0], outputPath);
  if (positional.size() != 2) return Usage("extract needs an archive and at most one entry name");

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
  const std::string path = argv[0];
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return Fail("cannot open " + path);
  EntryIndex index;
  if (!index.Build(file)) {
    std::fclose(file);
    return Fail(path + " is not a RAR 2.0 archive (no marker or main header)");
  }
  // One pass in archive order through one decoder: a solid stream is decoded once, not again
  // for every entry.
  EntryDecoder decoder;
  int failures = 0;
  for (size_t n = 0; n < index.entries().size(); ++n) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    const bool ok = decoder.Extract(file, index, n, &data, &size);
    Free(data);
    std::printf("%-6s %s\n", ok ? "OK" : "FAILED", DisplayName(index.entries()[n].name).c_str());
    if (!ok) ++failures;
  }
  std::fclose(file);
  std::printf("%zu entries, %d failed\n", index.entries().size(), failures);
  if (index.end() == EntryIndex::End::kDamage) {
    return Fail(path + ": damaged or truncated at offset " + std::to_string(index.endOffset()) +
                "; nothing after it was tested");
  }
  return failures == 0 ? 0 : kExitFailure;
}

int Check(int argc, char** argv) {
  if (argc != 1) return Usage("check needs exactly one pack or folder");
  std::vector<std::string> problems;
  std::string error;
  if (!CheckContent(argv[0], problems, error)) return Fail(error);
  for (const std::string& problem : problems) std::printf("%s\n", problem.c_str());
  return problems.empty() ? 0 : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(nullptr);
  const std::string command = argv[1];
  if (command == "create") return Create(argc - 2, argv + 2);
  if (command == "list") return List(argc - 2, argv + 2);
  if (command == "extract") return Extract(argc - 2, argv + 2);
  if (command == "test") return Test(argc - 2, argv + 2);
  if (command == "check") return Check(argc - 2, argv + 2);
  const std::vector<std::string> rest(argv + 2, argv + argc);
  if (command == "terrain") return TerrainCommand(rest);
  if (command == "sky") return SkyCommand(rest);
  if (command == "mesh") return MeshCommand(rest);
  if (command == "picture") return PictureCommand(rest);
  if (command == "--help" || command == "-h" || command == "help") {
    PrintUsage(stdout);
    return 0;
  }
  return Usage(("unknown command " + command).c_str());
}
