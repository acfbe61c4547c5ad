#include "content/archive_reader.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

#include "content/archive_format.h"
#include "content/crc32.h"
#include "content/entry_stream.h"
#include "content/method20.h"
#include "content/unpack20.h"
#include "core/memory.h"

using namespace archive_format;

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

struct BlockFree {
  void operator()(uint8_t* block) const { Free(block); }
};
using Block = std::unique_ptr<uint8_t, BlockFree>;

Block AllocBlock(uint32_t size) { return Block(static_cast<uint8_t*>(CheckedAlloc(size))); }

// Names as compared: at most this many bytes, "\" and "/" both "_", upper case.
constexpr size_t kMaxComparedName = 512;

void NormalizeName(const char* name, char (&out)[kMaxComparedName + 1]) {
  size_t i = 0;
  for (; i < kMaxComparedName && name[i] != 0; ++i) {
    const char c = (name[i] == '\\' || name[i] == '/') ? '_' : name[i];
    out[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  out[i] = 0;
}

struct FileHeader {
  uint16_t flags = 0;
  uint16_t headerSize = 0;
  uint32_t packedSize = 0;
  uint32_t unpackedSize = 0;
  uint32_t crc = 0;
  uint8_t unpackVersion = 0;
  uint8_t method = 0;
  char name[kMaxNameLength + 1] = {};
};

enum class ScanResult { kFileHeader, kSubBlock, kNothing };

// The state of one extraction: the open archive, the header being looked at, the window and
// input buffer of the decompressor and the output block.
class Extraction {
 public:
  bool Run(const char* entryName, const char* archivePath, Block& output, uint32_t& outputSize);

 private:
  bool ReadMarkerAndMainHeader();
  ScanResult FindNextFileHeader();
  bool ProcessEntry(uint8_t* output);

  FileHandle file_;
  bool solid_ = false;
  FileHeader header_;
  long blockStart_ = 0;
  long nextBlock_ = 0;
  Block window_;
  Block input_;
  std::unique_ptr<Unpack20> unpack_;
  uint32_t written_ = 0;
};

bool Extraction::ReadMarkerAndMainHeader() {
  uint8_t marker[kMarkerSize];
  if (std::fread(marker, 1, kMarkerSize, file_.get()) != kMarkerSize) return false;
  // Files with the old 4-byte marker or with no known marker have no main header that could
  // be skipped by a known length; no pack uses them, so they are refused.
  if (std::memcmp(marker, kRarMarker, kMarkerSize) != 0 && std::memcmp(marker, kUniqueMarker, kMarkerSize) != 0 &&
      std::memcmp(marker, kQuartzMarker, kMarkerSize) != 0) {
    return false;
  }
  uint8_t mainHeader[kMainHeaderSize];
  if (std::fread(mainHeader, 1, kMainHeaderSize, file_.get()) != kMainHeaderSize) return false;
  solid_ = (ReadLe16(mainHeader + kBlockFlagsOffset) & kMainSolid) != 0;
  const uint16_t headerSize = ReadLe16(mainHeader + kBlockSizeOffset);
  if (headerSize < kMainHeaderSize) return false;
  return std::fseek(file_.get(), headerSize - static_cast<long>(kMainHeaderSize), SEEK_CUR) == 0;
}

// Steps over blocks until a file header or a sub-block. On a file header the name has been
// read and the file stands after it.
ScanResult Extraction::FindNextFileHeader() {
  for (;;) {
    blockStart_ = std::ftell(file_.get());
    if (blockStart_ < 0) return ScanResult::kNothing;
    uint8_t raw[kFileHeaderSize] = {};
    const size_t read = std::fread(raw, 1, kFileHeaderSize, file_.get());
    if (read < kBlockHeaderSize) return ScanResult::kNothing;

    const uint8_t type = raw[kBlockTypeOffset];
    const uint16_t flags = ReadLe16(raw + kBlockFlagsOffset);
    const uint16_t headerSize = ReadLe16(raw + kBlockSizeOffset);
    if (headerSize < kBlockHeaderSize) return ScanResult::kNothing;
    long next = blockStart_ + headerSize;
    if (flags & kBlockHasData) {
      if (read < kBlockDataSizeOffset + 4) return ScanResult::kNothing;
      next += static_cast<long>(ReadLe32(raw + kBlockDataSizeOffset));
    }
    if (next <= blockStart_) return ScanResult::kNothing;
    nextBlock_ = next;

    if (type == kSubBlockType) return ScanResult::kSubBlock;
    if (type != kFileHeaderType) {
      if (std::fseek(file_.get(), nextBlock_, SEEK_SET) != 0) return ScanResult::kNothing;
      continue;
    }

    // A file header cut short, or one whose name would run past its own end, is damage.
    const uint16_t nameSize = ReadLe16(raw + kFileNameSizeOffset);
    if (read < kFileHeaderSize || kFileHeaderSize + nameSize > headerSize) return ScanResult::kNothing;
    header_ = FileHeader{};
    header_.flags = flags;
    header_.headerSize = headerSize;
    header_.packedSize = ReadLe32(raw + kFilePackedSizeOffset);
    header_.unpackedSize = ReadLe32(raw + kFileUnpackedSizeOffset);
    header_.crc = ReadLe32(raw + kFileCrcOffset);
    header_.unpackVersion = raw[kFileVersionOffset];
    header_.method = raw[kFileMethodOffset];
    const size_t nameBytes = nameSize < kMaxNameLength ? nameSize : kMaxNameLength;
    if (std::fread(header_.name, 1, nameBytes, file_.get()) != nameBytes) return ScanResult::kNothing;
    header_.name[nameBytes] = 0;
    return ScanResult::kFileHeader;
  }
}

// Decodes the current entry: into `output` when it is the wanted one, otherwise (solid archive)
// only into the window.
bool Extraction::ProcessEntry(uint8_t* output) {
  if (header_.unpackVersion < kMinUnpackVersion || header_.unpackVersion > kMaxUnpackVersion) return false;
  if (header_.unpackedSize > ArchiveReader::kMaxUnpackedSize) return false;
  // The data starts after the whole header, which may hold more than the name (a comment).
  if (std::fseek(file_.get(), blockStart_ + header_.headerSize, SEEK_SET) != 0) return false;

  EntryStream stream(file_.get(), header_.packedSize, output, output ? header_.unpackedSize : 0);
  if (header_.method == kMethodStored) {
    // A stored entry never passes through the window, so one that is not wanted is skipped.
    if (output != nullptr) written_ = stream.ReadPacked(output, header_.unpackedSize);
    return true;
  }
  if (!unpack_) {
    window_ = AllocBlock(method20::kWindowSize);
    input_ = AllocBlock(Unpack20::kInputBufferSize);
    if (!window_ || !input_) return false;
    // The input buffer is read a little past its valid bytes on damaged input; keep that
    // deterministic.
    std::memset(input_.get(), 0, Unpack20::kInputBufferSize);
    unpack_ = std::make_unique<Unpack20>(window_.get(), input_.get());
  }
  unpack_->Unpack(stream, header_.unpackedSize, (header_.flags & kFileContinuesSolid) != 0);
  written_ = stream.Written();
  return true;
}

bool Extraction::Run(const char* entryName, const char* archivePath, Block& output, uint32_t& outputSize) {
  char wanted[kMaxComparedName + 1];
  char storedName[kMaxComparedName + 1];
  {
    // Callers hand over names of at most 259 characters; longer ones are cut like stored ones.
    char copy[kMaxNameLength + 1] = {};
    std::strncpy(copy, entryName, kMaxNameLength);
    NormalizeName(copy, wanted);
  }

  file_.reset(std::fopen(archivePath, "rb"));
  if (!file_) return false;
  if (!ReadMarkerAndMainHeader()) return false;

  for (;;) {
    if (FindNextFileHeader() != ScanResult::kFileHeader) return false;
    NormalizeName(header_.name, storedName);
    const bool found = std::strcmp(wanted, storedName) == 0;
    if (found) {
      if (header_.unpackedSize > ArchiveReader::kMaxUnpackedSize) return false;
      output = AllocBlock(header_.unpackedSize);
      if (!output) return false;
    }
    if (found || solid_) {
      written_ = 0;
      if (!ProcessEntry(found ? output.get() : nullptr)) return false;
      if (found) {
        // Short output (damaged or truncated data) never reaches the CRC check, which would
        // otherwise read bytes that were never written.
        if (written_ != header_.unpackedSize) return false;
        if (~Crc32(kCrc32Start, output.get(), header_.unpackedSize) != header_.crc) return false;
        outputSize = written_;
        return true;
      }
    }
    if (std::fseek(file_.get(), nextBlock_, SEEK_SET) != 0) return false;
  }
}

}  // namespace

bool ArchiveReader::ExtractToMemory(uint8_t** data, uint32_t* size, const char* entryName, const char* archivePath,
                                    const char* /*password: nothing is decrypted*/) {
  *data = nullptr;
  *size = 0;
  if (entryName == nullptr || archivePath == nullptr) return false;

  Extraction extraction;
  Block output;
  uint32_t outputSize = 0;
  if (!extraction.Run(entryName, archivePath, output, outputSize)) return false;
  *data = output.release();
  *size = outputSize;
  return true;
}
