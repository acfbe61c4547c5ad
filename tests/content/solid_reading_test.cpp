// Reading a pack entry by entry through a ContentPack, which keeps the index and the decoder of
// a solid stream between reads: any order of reads gives the bytes a fresh read gives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "archive_test_util.h"
#include "archive_writer.h"
#include "content/content_pack.h"
#include "content/entry_index.h"
#include "core/wide_string.h"

using namespace test_archive;

namespace {

namespace fs = std::filesystem;

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes Noise(size_t size, uint32_t seed) {
  Bytes out(size);
  for (uint8_t& b : out) {
    seed = seed * 1103515245 + 12345;
    b = static_cast<uint8_t>(seed >> 16);
  }
  return out;
}

// Files whose later members repeat earlier ones, so that a solid stream reaches back across
// entries; an empty file in the middle, which the writer stores and after which the stream
// starts afresh.
std::vector<PackSource> Sources() {
  const Bytes noise = Noise(30000, 7);
  Bytes text;
  for (int i = 0; text.size() < 20000; ++i) {
    const std::string line = "line " + std::to_string(i % 97) + " of the mission briefing\r\n";
    text.insert(text.end(), line.begin(), line.end());
  }
  Bytes mixed(text.begin(), text.begin() + 5000);
  mixed.insert(mixed.end(), noise.begin() + 1000, noise.begin() + 9000);
  return {{"text.ini", text},   {"noise.bin", noise}, {"copy.bin", noise},
          {"mixed.bin", mixed}, {"empty.txt", {}},    {"again.ini", text}};
}

void WriteArchive(const fs::path& path, const std::vector<PackSource>& sources, bool solid) {
  ArchiveOptions options;
  options.solid = solid;
  const Bytes archive = BuildArchive(sources, options);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
}

class SolidReading : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(testing::TempDir()) / ("kestrel_solid_" + std::to_string(getpid()));
    fs::create_directories(folder_);
    path_ = folder_ / "pack.bin";
  }
  void TearDown() override { fs::remove_all(folder_); }

  bool Open(ContentPack& pack) const { return pack.Open(WideFromUtf8(path_.string()).c_str(), nullptr); }

  static bool Read(const ContentPack& pack, const std::string& name, Bytes& out) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    const bool read = pack.Extract(WideFromCp1252(name).c_str(), &data, &size);
    out.assign(data, data + size);
    Free(data);
    return read;
  }

  fs::path folder_;
  fs::path path_;
};

TEST_F(SolidReading, AnyOrderOfReadsGivesEveryEntrysBytes) {
  const std::vector<PackSource> sources = Sources();
  const struct {
    const char* what;
    std::vector<size_t> order;
  } orders[] = {
      {"in archive order", {0, 1, 2, 3, 4, 5}},
      {"backwards", {5, 4, 3, 2, 1, 0}},
      {"the same entry again and again", {2, 2, 2, 5, 5, 0, 0}},
      {"skipping back and forth", {3, 0, 5, 1, 4, 2, 3}},
  };
  for (const bool solid : {true, false}) {
    WriteArchive(path_, sources, solid);
    for (const auto& order : orders) {
      SCOPED_TRACE(std::string(order.what) + (solid ? ", solid" : ", not solid"));
      ContentPack pack;
      ASSERT_TRUE(Open(pack));
      for (size_t n : order.order) {
        Bytes out;
        EXPECT_TRUE(Read(pack, sources[n].name, out)) << sources[n].name;
        EXPECT_TRUE(out == sources[n].data) << sources[n].name;
      }
      Bytes out;
      EXPECT_FALSE(Read(pack, "missing.txt", out));
      EXPECT_TRUE(out.empty());
    }
  }
}

// Damage in the middle of a solid stream fails that entry and those that copy from it, whatever
// was read before; entries before it still read after the failures.
TEST_F(SolidReading, ADamagedEntryFailsItAndLaterOnesButNotEarlierOnes) {
  const std::vector<PackSource> sources = Sources();
  WriteArchive(path_, sources, true);
  {
    std::FILE* file = std::fopen(path_.c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    EntryIndex index;
    ASSERT_TRUE(index.Build(file));
    const IndexedEntry& noise = index.entries()[1];  // "copy.bin" is made of matches into it
    ASSERT_EQ(noise.name, "noise.bin");
    const long middle = static_cast<long>(noise.dataOffset + noise.packedSize / 2);
    std::fseek(file, middle, SEEK_SET);
    const int byte = std::fgetc(file);
    std::fseek(file, middle, SEEK_SET);
    std::fputc(byte ^ 0x10, file);
    std::fclose(file);
  }
  const struct {
    size_t entry;
    bool whole;
  } reads[] = {{2, false}, {1, false}, {0, true}, {2, false}, {0, true}, {1, false}, {2, false}, {0, true}};
  ContentPack pack;
  ASSERT_TRUE(Open(pack));
  for (const auto& read : reads) {
    const PackSource& source = sources[read.entry];
    SCOPED_TRACE(source.name);
    Bytes out;
    EXPECT_EQ(Read(pack, source.name, out), read.whole);
    if (read.whole) {
      EXPECT_TRUE(out == source.data);
    }
    // A read on its own, from the start of the archive, agrees.
    EXPECT_EQ(Extract(path_.c_str(), source.name.c_str(), out), read.whole);
  }
}

TEST_F(SolidReading, APackChangedOnDiskIsReadAfresh) {
  const std::vector<PackSource> sources = Sources();
  WriteArchive(path_, sources, true);
  ContentPack pack;
  ASSERT_TRUE(Open(pack));
  Bytes out;
  ASSERT_TRUE(Read(pack, "mixed.bin", out));

  // Rewritten in place at the same size: two names of eight letters trade places, so every
  // offset stays and only what a name finds changes. Same size and same time would look
  // unchanged; the clock moves on by a second.
  Bytes bytes = ReadFile(path_);
  const std::string text = "text.ini", copy = "copy.bin";
  const auto textAt = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
  const auto copyAt = std::search(bytes.begin(), bytes.end(), copy.begin(), copy.end());
  ASSERT_TRUE(textAt != bytes.end() && copyAt != bytes.end());
  std::swap_ranges(textAt, textAt + 8, copyAt);
  const fs::file_time_type before = fs::last_write_time(path_);
  std::ofstream(path_, std::ios::binary | std::ios::in)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  fs::last_write_time(path_, before + std::chrono::seconds(1));
  EXPECT_TRUE(Read(pack, "text.ini", out) && out == sources[2].data);
  EXPECT_TRUE(Read(pack, "copy.bin", out) && out == sources[0].data);

  // Replaced under the same name by another pack. Its second entry copies from its first, and
  // the decoder of the old stream stands just after the old first entry: only a decoder
  // started afresh gets it right.
  const std::vector<PackSource> other = {sources[1], sources[2], sources[0], {"extra.txt", BytesOf("one more")}};
  const fs::path replacement = folder_ / "replacement.bin";
  WriteArchive(replacement, other, true);
  fs::rename(replacement, path_);
  EXPECT_TRUE(Read(pack, "copy.bin", out) && out == sources[2].data);
  EXPECT_TRUE(Read(pack, "extra.txt", out) && out == BytesOf("one more"));

  // Cut short, then gone: clean failures.
  fs::resize_file(path_, 30);
  EXPECT_FALSE(Read(pack, "extra.txt", out));
  EXPECT_TRUE(out.empty());
  fs::remove(path_);
  EXPECT_FALSE(Read(pack, "mixed.bin", out));
}

TEST_F(SolidReading, ReadsMayRunFromSeveralThreadsAtOnce) {
  const std::vector<PackSource> sources = Sources();
  WriteArchive(path_, sources, true);
  ContentPack pack;
  ASSERT_TRUE(Open(pack));
  bool results[4] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      bool all = true;
      for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < sources.size(); ++i) {
          const PackSource& source = sources[(i * (t + 1) + round) % sources.size()];
          Bytes out;
          all = all && Read(pack, source.name, out) && out == source.data;
        }
      }
      results[t] = all;
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (bool result : results) EXPECT_TRUE(result);
}

}  // namespace
