// Replays fuzz inputs through a target without libFuzzer: every file named on the command line,
// and every file in every folder named, once, in name order. Any crash, sanitizer report or
// hang fails the test that runs it; the target's own checks abort on a wrong result.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& path) {
  std::vector<std::filesystem::path> inputs;
  if (std::filesystem::is_directory(path)) {
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
  } else if (std::filesystem::is_regular_file(path)) {
    inputs.push_back(path);
  }
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const std::filesystem::path& input : InputsOf(argv[i])) {
      std::ifstream file(input, std::ios::binary);
      const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
      if (!file.good() && !file.eof()) {
        std::fprintf(stderr, "cannot read %s\n", input.c_str());
        return 1;
      }
      // Each input in its own block: a read past its end is a read past the block.
      std::vector<uint8_t> exact(bytes.begin(), bytes.end());
      LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
      ++replayed;
    }
  }
  // A corpus folder that went missing must not pass as "nothing crashed".
  if (replayed == 0) {
    std::fprintf(stderr, "no inputs found\n");
    return 1;
  }
  std::printf("%zu inputs replayed\n", replayed);
  return 0;
}
