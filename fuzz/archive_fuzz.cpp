// Whole archives through the reader the game uses: block headers, names, sizes, solid chains.
//
// The entries are listed the way kestrel-pack lists them, then each of the first few is
// extracted by name. Archives that declare an entry larger than the cap are skipped whole, so
// that one input costs well under a millisecond; the decoder target covers large outputs.
//
// Checked: an extraction either fails with nothing handed out, or hands out exactly the
// declared size.
#include <string>
#include <vector>

#include "archive_index.h"
#include "content/archive_reader.h"
#include "core/memory.h"
#include "fuzz_support.h"

namespace {

constexpr uint32_t kMaxDeclaredSize = 64u << 10;
constexpr size_t kMaxExtractions = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ScratchFile archive("archive", data, size);
  if (!archive.ok()) return 0;

  std::vector<ArchiveEntryInfo> entries;
  bool solid = false;
  std::string error;
  if (!ListArchive(archive.path().c_str(), entries, solid, error)) entries.clear();
  for (const ArchiveEntryInfo& entry : entries) {
    if (entry.unpackedSize > kMaxDeclaredSize) return 0;
  }
  // A name that is not there walks every header to the end.
  std::vector<std::string> names = {"missing"};
  for (size_t i = 0; i < entries.size() && i < kMaxExtractions; ++i) names.push_back(entries[i].name);

  for (const std::string& name : names) {
    uint8_t* bytes = nullptr;
    uint32_t extracted = 0;
    if (ArchiveReader::ExtractToMemory(&bytes, &extracted, name.c_str(), archive.path().c_str(), nullptr)) {
      FUZZ_CHECK(extracted <= kMaxDeclaredSize);
      Free(bytes);
    } else {
      FUZZ_CHECK(bytes == nullptr && extracted == 0);
    }
  }
  return 0;
}
