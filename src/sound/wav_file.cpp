#include "sound/wav_file.h"

#include <cstring>

namespace {

constexpr uint32_t kRiffHeaderBytes = 12;  // "RIFF", size, "WAVE"
constexpr uint32_t kChunkHeaderBytes = 8;  // id, size

uint16_t Read16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

uint32_t Read32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 | static_cast<uint32_t>(bytes[2]) << 16 |
         static_cast<uint32_t>(bytes[3]) << 24;
}

// The first 16 bytes of the record; the extra size, when present, follows them.
WaveFormat ReadFormatRecord(const uint8_t* bytes, bool hasExtraSize) {
  WaveFormat format;
  format.formatTag = Read16(bytes);
  format.channels = Read16(bytes + 2);
  format.samplesPerSecond = Read32(bytes + 4);
  format.averageBytesPerSecond = Read32(bytes + 8);
  format.blockAlign = Read16(bytes + 12);
  format.bitsPerSample = Read16(bytes + 14);
  format.extraSize = hasExtraSize ? Read16(bytes + 16) : 0;
  return format;
}

}  // namespace

bool ReadWavImage(const uint8_t* image, uint32_t size, WavContents* contents) {
  *contents = WavContents{};
  if (image == nullptr || size < kRiffHeaderBytes || std::memcmp(image, "RIFF", 4) != 0 ||
      std::memcmp(image + 8, "WAVE", 4) != 0) {
    return false;
  }
  uint32_t offset = kRiffHeaderBytes;
  while (size - offset > kChunkHeaderBytes) {
    const uint8_t* header = image + offset;
    const uint32_t chunkSize = Read32(header + 4);
    if (chunkSize > size - offset - kChunkHeaderBytes) break;  // claims more than there is
    const uint8_t* body = header + kChunkHeaderBytes;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (chunkSize >= 18) {
        contents->format = ReadFormatRecord(body, true);
      } else if (chunkSize == 16) {
        contents->format = ReadFormatRecord(body, false);
      }
    } else if (std::memcmp(header, "data", 4) == 0) {
      contents->samples = body;
      contents->size = chunkSize;
      return true;
    }
    offset += kChunkHeaderBytes + chunkSize;
  }
  return false;
}
