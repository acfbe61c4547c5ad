#include "archive_writer.h"

#include <cstring>
#include <ctime>

#include "content/archive_format.h"
#include "content/crc32.h"

using namespace archive_format;

namespace {

uint16_t HeaderCrc(const uint8_t* header, size_t size) {
  return static_cast<uint16_t>(~Crc32(kCrc32Start, header + kBlockTypeOffset, size - kBlockTypeOffset) & 0xFFFF);
}

// The marker and the main header: the first 20 bytes of every archive.
std::vector<uint8_t> ArchiveStart(const ArchiveOptions& options) {
  const uint8_t* marker = options.marker == ArchiveMarker::kUnique   ? kUniqueMarker
                          : options.marker == ArchiveMarker::kQuartz ? kQuartzMarker
                                                                     : kRarMarker;
  std::vector<uint8_t> start(kMarkerSize + kMainHeaderSize, 0);
  std::memcpy(start.data(), marker, kMarkerSize);
  uint8_t* header = start.data() + kMarkerSize;
  header[kBlockTypeOffset] = kMainHeaderType;
  WriteLe16(header + kBlockFlagsOffset, options.solid ? kMainSolid : 0);
  WriteLe16(header + kBlockSizeOffset, kMainHeaderSize);
  WriteLe16(header + kBlockCrcOffset, HeaderCrc(header, kMainHeaderSize));
  return start;
}

void AppendFileHeader(std::vector<uint8_t>& out, const PackSource& file, uint32_t packedSize, uint8_t method,
                      uint16_t flags) {
  std::vector<uint8_t> header(kFileHeaderSize + file.name.size(), 0);
  uint8_t* h = header.data();
  h[kBlockTypeOffset] = kFileHeaderType;
  WriteLe16(h + kBlockFlagsOffset, flags | kBlockHasData | kFileDictionary1MiB);
  WriteLe16(h + kBlockSizeOffset, static_cast<uint16_t>(header.size()));
  WriteLe32(h + kFilePackedSizeOffset, packedSize);
  WriteLe32(h + kFileUnpackedSizeOffset, static_cast<uint32_t>(file.data.size()));
  h[kFileHostOffset] = kHostWindows;
  WriteLe32(h + kFileCrcOffset, ~Crc32(kCrc32Start, file.data.data(), file.data.size()));
  WriteLe32(h + kFileTimeOffset, file.dosTime);
  h[kFileVersionOffset] = kUnpackVersion20;
  h[kFileMethodOffset] = method;
  WriteLe16(h + kFileNameSizeOffset, static_cast<uint16_t>(file.name.size()));
  WriteLe32(h + kFileAttributesOffset, kAttributeArchive);
  std::memcpy(h + kFileHeaderSize, file.name.data(), file.name.size());
  WriteLe16(h + kBlockCrcOffset, HeaderCrc(h, header.size()));
  out.insert(out.end(), header.begin(), header.end());
}

}  // namespace

std::vector<uint8_t> BuildArchive(const std::vector<PackSource>& files, const ArchiveOptions& options,
                                  ArchiveReport* report) {
  std::vector<uint8_t> out = ArchiveStart(options);
  Pack20Encoder encoder(options.encoder);
  bool first = true;
  for (const PackSource& file : files) {
    const uint32_t size = static_cast<uint32_t>(file.data.size());
    PackedEntry entry;
    entry.name = file.name;
    entry.unpackedSize = size;

    std::vector<uint8_t> packed;
    uint16_t flags = 0;
    if (!options.store && size > 0) {
      const bool continues = options.solid && !first;
      packed = encoder.Encode(file.data.data(), size, continues);
      if (continues) flags |= kFileContinuesSolid;
      entry.mode = encoder.LastMode();
      entry.audioChannels = encoder.LastAudioChannels();
      first = false;
      // Only a separate stream may fall back to storing; in a solid one the decoder's window
      // must see every file.
      entry.stored = !options.solid && packed.size() >= size;
    } else {
      // An empty file is stored, and in a solid archive the stream starts afresh after it:
      // other tools do not carry the decoder state across an empty entry.
      entry.stored = true;
      first = true;
    }
    if (entry.stored) {
      AppendFileHeader(out, file, size, kMethodStored, 0);
      out.insert(out.end(), file.data.begin(), file.data.end());
      entry.packedSize = size;
    } else {
      AppendFileHeader(out, file, static_cast<uint32_t>(packed.size()), kMethodNormal, flags);
      out.insert(out.end(), packed.begin(), packed.end());
      entry.packedSize = static_cast<uint32_t>(packed.size());
    }
    if (report) report->entries.push_back(entry);
  }
  if (report) report->statistics = encoder.TotalStatistics();
  return out;
}

uint32_t DosTimeFromUnix(int64_t seconds) {
  constexpr int64_t k1980 = 315532800;  // 1980-01-01 00:00:00 UTC
  if (seconds < k1980) seconds = k1980;
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&t, &parts);
  int year = parts.tm_year + 1900 - 1980;
  if (year > 127) return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
  return (static_cast<uint32_t>(year) << 25) | (static_cast<uint32_t>(parts.tm_mon + 1) << 21) |
         (static_cast<uint32_t>(parts.tm_mday) << 16) | (static_cast<uint32_t>(parts.tm_hour) << 11) |
         (static_cast<uint32_t>(parts.tm_min) << 5) | static_cast<uint32_t>(parts.tm_sec / 2);
}
