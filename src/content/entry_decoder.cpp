#include "content/entry_decoder.h"

#include <climits>
#include <cstring>

#include "content/archive_format.h"
#include "content/archive_reader.h"
#include "content/crc32.h"
#include "content/entry_stream.h"
#include "content/method20.h"
#include "content/unpack20.h"
#include "core/memory.h"

using namespace archive_format;

void EntryDecoder::BlockFree::operator()(uint8_t* block) const { Free(block); }

EntryDecoder::EntryDecoder() = default;
EntryDecoder::~EntryDecoder() = default;

void EntryDecoder::Restart() {
  unpack_.reset();
  nextInStream_ = 0;
}

bool EntryDecoder::Extract(std::FILE* file, const EntryIndex& index, size_t n, uint8_t** data, uint32_t* size) {
  *data = nullptr;
  *size = 0;
  const std::vector<IndexedEntry>& entries = index.entries();
  if (n >= entries.size()) return false;
  if (!index.solid()) {
    // Every entry stands alone: even one flagged as continuing a stream starts from a new
    // decoder, as it would be read on its own.
    Restart();
    return ExtractWhole(file, entries[n], data, size);
  }

  if (n < nextInStream_) Restart();
  for (; nextInStream_ < n; ++nextInStream_) {
    uint32_t written = 0;
    if (!Decode(file, entries[nextInStream_], nullptr, written)) {
      Restart();
      return false;
    }
  }
  // A failed entry may have stopped early (its output full) where a pass that only fills the
  // window would have gone on; starting again next time keeps the later entries' results the same.
  const bool whole = ExtractWhole(file, entries[n], data, size);
  if (whole) {
    nextInStream_ = n + 1;
  } else {
    Restart();
  }
  return whole;
}

bool EntryDecoder::ExtractWhole(std::FILE* file, const IndexedEntry& entry, uint8_t** data, uint32_t* size) {
  if (entry.unpackedSize > ArchiveReader::kMaxUnpackedSize) return false;
  Block output(static_cast<uint8_t*>(CheckedAlloc(entry.unpackedSize)));
  if (!output) return false;
  uint32_t written = 0;
  if (!Decode(file, entry, output.get(), written)) return false;
  // Short output (damaged or truncated data) never reaches the CRC check, which would
  // otherwise read bytes that were never written.
  if (written != entry.unpackedSize) return false;
  if (~Crc32(kCrc32Start, output.get(), written) != entry.crc) return false;
  *data = output.release();
  *size = written;
  return true;
}

bool EntryDecoder::Decode(std::FILE* file, const IndexedEntry& entry, uint8_t* output, uint32_t& written) {
  if (entry.unpackVersion < kMinUnpackVersion || entry.unpackVersion > kMaxUnpackVersion) return false;
  if (entry.unpackedSize > ArchiveReader::kMaxUnpackedSize) return false;
  if (entry.dataOffset > static_cast<uint64_t>(LONG_MAX) ||
      std::fseek(file, static_cast<long>(entry.dataOffset), SEEK_SET) != 0) {
    return false;
  }

  EntryStream stream(file, entry.packedSize, output, output ? entry.unpackedSize : 0);
  if (entry.method == kMethodStored) {
    // A stored entry never passes through the window, so one that is not wanted is skipped.
    if (output != nullptr) written = stream.ReadPacked(output, entry.unpackedSize);
    return true;
  }
  if (!unpack_) {
    if (!window_) window_.reset(static_cast<uint8_t*>(CheckedAlloc(method20::kWindowSize)));
    if (!input_) input_.reset(static_cast<uint8_t*>(CheckedAlloc(Unpack20::kInputBufferSize)));
    if (!window_ || !input_) return false;
    // The input buffer is read a little past its valid bytes on damaged input; a new decoder
    // finds it as a new one would, whatever an earlier one left there.
    std::memset(input_.get(), 0, Unpack20::kInputBufferSize);
    unpack_ = std::make_unique<Unpack20>(window_.get(), input_.get());
  }
  unpack_->Unpack(stream, entry.unpackedSize, (entry.flags & kFileContinuesSolid) != 0);
  written = stream.Written();
  return true;
}
