// kestrel-fuzz-seeds: writes the decoder target's seed inputs from ordinary files. Each file is
// packed by kestrel-pack's encoder and written in the target's input layout (see
// unpack20_fuzz.cpp); every second file also becomes a pair of entries of one solid stream, the
// file cut in two halves.
//
// usage: kestrel-fuzz-seeds OUTPUT_FOLDER FILE...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pack20.h"

namespace {

// The target caps declared sizes at 16 KiB; larger files are cut to that.
constexpr size_t kMaxSeedSize = 16u << 10;

std::vector<uint8_t> ReadFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() > kMaxSeedSize) bytes.resize(kMaxSeedSize);
  return bytes;
}

std::vector<uint8_t> Seed(bool twoEntries, uint32_t declared, uint32_t split, const std::vector<uint8_t>& packed) {
  std::vector<uint8_t> seed = {static_cast<uint8_t>(twoEntries ? 1 : 0),
                               static_cast<uint8_t>(declared),
                               static_cast<uint8_t>(declared >> 8),
                               static_cast<uint8_t>(declared >> 16),
                               static_cast<uint8_t>(split),
                               static_cast<uint8_t>(split >> 8)};
  seed.insert(seed.end(), packed.begin(), packed.end());
  return seed;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file.good();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: kestrel-fuzz-seeds OUTPUT_FOLDER FILE...\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (int i = 2; i < argc; ++i) {
    const std::vector<uint8_t> data = ReadFile(argv[i]);
    const std::string name = std::filesystem::path(argv[i]).filename().string();
    Pack20Encoder encoder;
    const std::vector<uint8_t> whole = encoder.Encode(data.data(), static_cast<uint32_t>(data.size()), false);
    bool written = WriteFile(folder / (name + ".seed"), Seed(false, static_cast<uint32_t>(data.size()), 0, whole));

    // Two halves of one solid stream; the target gives both the same declared size.
    if (i % 2 == 0 && data.size() >= 2) {
      const uint32_t half = static_cast<uint32_t>(data.size() / 2);
      Pack20Encoder solid;
      std::vector<uint8_t> packed = solid.Encode(data.data(), half, false);
      const uint32_t split = static_cast<uint32_t>(packed.size());
      const std::vector<uint8_t> second = solid.Encode(data.data() + half, half, true);
      packed.insert(packed.end(), second.begin(), second.end());
      if (split <= 0xFFFF) written = written && WriteFile(folder / (name + ".solid.seed"), Seed(true, half, split, packed));
    }
    if (!written) {
      std::fprintf(stderr, "kestrel-fuzz-seeds: cannot write seeds of %s\n", argv[i]);
      return 1;
    }
  }
  return 0;
}
