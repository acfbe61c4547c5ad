// What the fuzz targets share: a check that fails loudly, and a file of the process's own for
// the loaders that only read from disk.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A property every input must keep; a failure aborts, which libFuzzer and the replay tests both
// report with the input that caused it.
#define FUZZ_CHECK(condition)                                                              \
  do {                                                                                     \
    if (!(condition)) {                                                                    \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)

namespace fuzz {

// Fuzz targets run one input at a time per process, so one path per target and process is
// enough.
inline std::string ScratchPath(const char* tag) {
  // /dev/shm keeps the write and the read in memory where it exists.
  const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(folder) + "/kestrel-fuzz-" + std::to_string(getpid()) + "-" + tag;
}

inline bool WriteScratchFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

// Removes the file when the input is done, so nothing is left behind when the run ends.
class ScratchFile {
 public:
  ScratchFile(const char* tag, const uint8_t* data, size_t size) : path_(ScratchPath(tag)) {
    ok_ = WriteScratchFile(path_, data, size);
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  bool ok() const { return ok_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool ok_ = false;
};

}  // namespace fuzz
