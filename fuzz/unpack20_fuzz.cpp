// The version-20 decoder fed packed bytes directly, without an archive around them: most of what
// can go wrong in reading a pack goes wrong here, and here a fuzzer finds it in minutes.
//
// Input: one flags byte (bit 0: a second entry continues the first as in a solid archive), three
// bytes of declared size, two bytes where the second entry's packed bytes start, then the packed
// bytes. Declared sizes are capped so that one input costs well under a millisecond.
//
// Checked: the decoder never writes more than an entry declares, and what it writes does not
// depend on what an earlier input left in the window (it counts as zeros until written).
#include <cstdio>
#include <cstring>
#include <vector>

#include "content/entry_stream.h"
#include "content/method20.h"
#include "content/unpack20.h"
#include "fuzz_support.h"

namespace {

constexpr uint32_t kMaxDeclaredSize = 16u << 10;
constexpr size_t kHeaderBytes = 6;

// One decoder with its own window and input buffer, reused across inputs as the reader reuses
// one along a solid archive.
struct Decoder {
  explicit Decoder(uint8_t fill) : window(method20::kWindowSize, fill), input(Unpack20::kInputBufferSize, 0) {}
  std::vector<uint8_t> window;
  std::vector<uint8_t> input;
  Unpack20 unpack{window.data(), input.data()};
};

// Decodes one entry; returns the bytes written.
std::vector<uint8_t> DecodeEntry(Decoder& decoder, const uint8_t* packed, size_t packedSize, uint32_t declared,
                                 bool continuesSolid) {
  std::vector<uint8_t> output(declared);
  // fmemopen refuses an empty buffer; an entry with no packed bytes reads from a one-byte one
  // of which it may take nothing.
  static uint8_t nothing = 0;
  std::FILE* file = packedSize > 0 ? fmemopen(const_cast<uint8_t*>(packed), packedSize, "rb") : fmemopen(&nothing, 1, "rb");
  FUZZ_CHECK(file != nullptr);
  EntryStream stream(file, static_cast<uint32_t>(packedSize), output.data(), declared);
  decoder.unpack.Unpack(stream, declared, continuesSolid);
  std::fclose(file);
  FUZZ_CHECK(stream.Written() <= declared);
  output.resize(stream.Written());
  return output;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderBytes) return 0;
  static Decoder zeroed(0x00);
  static Decoder stale(0xA5);  // a window full of another stream's leftovers

  const bool twoEntries = (data[0] & 1) != 0;
  const uint32_t declared = (data[1] | (data[2] << 8) | (data[3] << 16)) % (kMaxDeclaredSize + 1);
  const size_t packedSize = size - kHeaderBytes;
  const size_t split = twoEntries ? (data[4] | (data[5] << 8)) % (packedSize + 1) : packedSize;
  const uint8_t* packed = data + kHeaderBytes;

  FUZZ_CHECK(DecodeEntry(zeroed, packed, split, declared, false) == DecodeEntry(stale, packed, split, declared, false));
  if (twoEntries) {
    FUZZ_CHECK(DecodeEntry(zeroed, packed + split, packedSize - split, declared, true) ==
               DecodeEntry(stale, packed + split, packedSize - split, declared, true));
  }
  return 0;
}
