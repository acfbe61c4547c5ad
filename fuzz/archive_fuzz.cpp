// Whole archives through both readers: the pack the game keeps open (an entry index built once,
// a solid stream's decoder kept between reads) and the one-shot extraction the tools use.
//
// The entries are listed from the index, then each of the first few is read by name, forward and
// then backward, so the kept decoder goes on, starts again and follows a failed read. Archives
// that declare an entry larger than the cap are skipped whole; the decoder target covers large
// outputs. An input still costs about 2 ms under AddressSanitizer, most of it spent clearing each
// new decoder's 1 MiB window and building its tables.
//
// Checked: both readers agree on every entry, and a read either fails with nothing handed out or
// hands out exactly the declared size.
#include <cstdio>
#include <string>
#include <vector>

#include "content/archive_reader.h"
#include "content/content_pack.h"
#include "content/entry_index.h"
#include "core/memory.h"
#include "core/wide_string.h"
#include "fuzz_support.h"

namespace {

constexpr uint32_t kMaxDeclaredSize = 64u << 10;
constexpr size_t kMaxReads = 4;

struct Read {
  bool ok = false;
  std::vector<uint8_t> bytes;
};

Read Checked(bool ok, uint8_t* data, uint32_t size, uint32_t declared) {
  Read read;
  read.ok = ok;
  if (ok) {
    FUZZ_CHECK(size == declared);
    read.bytes.assign(data, data + size);
  } else {
    FUZZ_CHECK(data == nullptr && size == 0);
  }
  Free(data);
  return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ScratchFile archive("archive", data, size);
  if (!archive.ok()) return 0;

  EntryIndex index;
  {
    std::FILE* file = std::fopen(archive.path().c_str(), "rb");
    if (file == nullptr) return 0;
    index.Build(file);
    std::fclose(file);
  }
  std::vector<const IndexedEntry*> wanted;
  for (const IndexedEntry& entry : index.entries()) {
    if (entry.unpackedSize > kMaxDeclaredSize) return 0;
    if (wanted.size() < kMaxReads) wanted.push_back(&entry);
  }

  ContentPack pack;
  FUZZ_CHECK(pack.Open(WideFromUtf8(archive.path()).c_str(), nullptr));
  const auto compare = [&](const IndexedEntry& named) {
    // Both readers serve the first entry of a name.
    const IndexedEntry& entry = index.entries()[index.Find(named.name.c_str()).value()];
    uint8_t* bytes = nullptr;
    uint32_t extracted = 0;
    const bool kept = pack.Extract(WideFromCp1252(entry.name).c_str(), &bytes, &extracted);
    const Read fromPack = Checked(kept, bytes, extracted, entry.unpackedSize);
    bytes = nullptr;
    extracted = 0;
    const bool once = ArchiveReader::ExtractToMemory(&bytes, &extracted, entry.name.c_str(), archive.path().c_str(), nullptr);
    const Read oneShot = Checked(once, bytes, extracted, entry.unpackedSize);
    FUZZ_CHECK(fromPack.ok == oneShot.ok && fromPack.bytes == oneShot.bytes);
  };
  for (const IndexedEntry* entry : wanted) compare(*entry);
  for (auto entry = wanted.rbegin(); entry != wanted.rend(); ++entry) compare(**entry);

  uint8_t* bytes = nullptr;
  uint32_t extracted = 0;
  FUZZ_CHECK(!pack.Extract(u"not in any pack", &bytes, &extracted) && bytes == nullptr && extracted == 0);
  return 0;
}
