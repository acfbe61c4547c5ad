// The corpus kestrel-pack is tested on, generated here so nothing binary is committed, and the
// two independent ways of reading an archive back: the game's reader and Debian's unar.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "content/archive_reader.h"
#include "core/memory.h"

namespace pack_test {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

inline Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& path, const Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fixed-seed generator, so every run packs the same bytes.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<uint32_t>(state_ >> 16);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint64_t state_;
};

inline Bytes Text(size_t size, uint64_t seed) {
  static const char* const kWords[] = {"helicopter",   "mission", "fuel", "rotor",     "the",      "a",
                                       "of",           "landing", "pad",  "target",    "altitude", "speed",
                                       "NoOfMissions", "=",       "\r\n", "[Chopper]", "Mesh",     "rescue",
                                       "destroy",      "and",     "is",   "to",        "0",        "100"};
  Random random(seed);
  Bytes out;
  while (out.size() < size) {
    const std::string word = kWords[random.Below(sizeof(kWords) / sizeof(kWords[0]))];
    out.insert(out.end(), word.begin(), word.end());
    out.push_back(random.Below(7) == 0 ? '\n' : ' ');
  }
  out.resize(size);
  return out;
}

inline Bytes RandomBytes(size_t size, uint64_t seed) {
  Random random(seed);
  Bytes out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(random.Next());
  return out;
}

// Shaped like a baseline JPEG: markers, tables and entropy-coded bytes with stuffed 0xFF.
inline Bytes JpegLike(size_t size, uint64_t seed) {
  Bytes out = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F',  'I',  'F', 0,    1, 1,
               0,    0,    1,    0,    1,    0,    0,   0xFF, 0xDB, 0,   0x43, 0};
  for (int i = 0; i < 64; ++i) out.push_back(static_cast<uint8_t>(1 + i / 4));
  const Bytes header = {0xFF, 0xC0, 0, 11, 8, 1, 0x40, 0, 0xF0, 1, 1, 0x11, 0, 0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 0x3F, 0};
  out.insert(out.end(), header.begin(), header.end());
  Random random(seed);
  while (out.size() + 2 < size) {
    const uint8_t b = static_cast<uint8_t>(random.Below(5) == 0 ? random.Below(16) : random.Next());
    out.push_back(b);
    if (b == 0xFF) out.push_back(0);
  }
  out.resize(size - 2);
  out.push_back(0xFF);
  out.push_back(0xD9);
  return out;
}

// Over 1 MiB, so the decoder's window wraps: text, noise, and copies from far back.
inline Bytes Large(uint64_t seed) {
  Bytes out = Text(350000, seed);
  const Bytes noise = RandomBytes(150000, seed + 1);
  out.insert(out.end(), noise.begin(), noise.end());
  const Bytes more = Text(250000, seed + 2);
  out.insert(out.end(), more.begin(), more.end());
  auto repeat = [&out](size_t from, size_t to) {
    const Bytes copy(out.begin() + from, out.begin() + to);
    out.insert(out.end(), copy.begin(), copy.end());
  };
  repeat(1000, 250000);    // a million bytes back
  repeat(400000, 450000);  // noise seen 600 KB before
  const Bytes tail = Text(30000, seed + 3);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

inline std::string FixturesDir() { return std::string(KESTREL_FIXTURES) + "/rar20/"; }

inline PackSource Source(const std::string& name, Bytes data) {
  PackSource source;
  source.name = name;
  source.data = std::move(data);
  source.dosTime = DosTimeFromUnix(1700000000);
  return source;
}

// The varied corpus, in the sorted order kestrel-pack would use.
inline std::vector<PackSource> Corpus() {
  std::vector<PackSource> files = {
      Source("audio\\boat.wav", ReadFile(FixturesDir() + "BoatModernEnglish.wav")),
      Source("empty.txt", {}),
      Source("large\\mixed.bin", Large(7)),
      Source("one.bin", {0x42}),
      Source("pictures\\sky.jpg", JpegLike(60000, 3)),
      Source("random.bin", RandomBytes(70000, 5)),
      Source("text\\missions.ini", Text(120000, 11)),
      Source("zeros.bin", Bytes(200000, 0)),
  };
  return files;
}

inline std::vector<PackSource> SmallFiles(int count) {
  std::vector<PackSource> files;
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "objects\\obj%03d.ini", i);
    files.push_back(Source(name, Text(100 + (i * 37) % 400, 100 + i)));
  }
  return files;
}

class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    path_ =
        fs::path(::testing::TempDir()) / ("kestrel_pack_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

inline void ExpectOurReaderReadsBack(const fs::path& archive, const std::vector<PackSource>& files) {
  for (const PackSource& file : files) {
    SCOPED_TRACE(file.name);
    uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(ArchiveReader::ExtractToMemory(&data, &size, file.name.c_str(), archive.c_str(), nullptr));
    EXPECT_TRUE(Bytes(data, data + size) == file.data);
    Free(data);
  }
}

// Unpacks with Debian's unar and compares the whole tree with the files.
inline void ExpectUnarReadsBack(const fs::path& archive, const std::vector<PackSource>& files) {
  TempDir out;
  const std::string command = "unar -q -nr -D -f -o '" + out.Path().string() + "' '" + archive.string() + "' > '" +
                              (out.Path() / "unar.log").string() + "' 2>&1";
  const int status = std::system(command.c_str());
  if (status != 0) {
    FAIL() << "unar failed (is it installed? scripts/install-deps.sh): " << command << "\n"
           << std::string(reinterpret_cast<const char*>(ReadFile(out.Path() / "unar.log").data()),
                          ReadFile(out.Path() / "unar.log").size());
  }
  fs::remove(out.Path() / "unar.log");
  std::map<std::string, Bytes> unpacked;
  for (const auto& entry : fs::recursive_directory_iterator(out.Path())) {
    if (entry.is_regular_file())
      unpacked[entry.path().lexically_relative(out.Path()).string()] = ReadFile(entry.path());
  }
  EXPECT_EQ(unpacked.size(), files.size());
  for (const PackSource& file : files) {
    std::string path = file.name;
    for (char& c : path) c = c == '\\' ? '/' : c;
    SCOPED_TRACE(path);
    const auto it = unpacked.find(path);
    ASSERT_NE(it, unpacked.end());
    EXPECT_TRUE(it->second == file.data);
  }
}

// What a run of kestrel-pack gave: exit status (-1 when it did not exit), output and errors.
struct Result {
  int status;
  std::string out;
  std::string err;
};

// Runs kestrel-pack in `folder` with `arguments` (shell words) and an optional environment
// prefix; the output goes through files beside the folder.
inline Result RunPack(const fs::path& folder, const std::string& arguments, const std::string& environment = "") {
  const fs::path out = folder.string() + ".stdout.txt";
  const fs::path err = folder.string() + ".stderr.txt";
  const std::string command = "cd '" + folder.string() + "' && " + environment + " '" KESTREL_PACK_BINARY "' " +
                              arguments + " > '" + out.string() + "' 2> '" + err.string() + "'";
  const int status = std::system(command.c_str());
  const Bytes outBytes = ReadFile(out);
  const Bytes errBytes = ReadFile(err);
  fs::remove(out);
  fs::remove(err);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(outBytes.begin(), outBytes.end()),
          std::string(errBytes.begin(), errBytes.end())};
}

// The regular files below `folder`, by path relative to it ("/" separators), with their bytes.
inline std::map<std::string, Bytes> FilesBelow(const fs::path& folder) {
  std::map<std::string, Bytes> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file())
      files[entry.path().lexically_relative(folder).generic_string()] = ReadFile(entry.path());
  }
  return files;
}

}  // namespace pack_test
