#include <gtest/gtest.h>

#include <algorithm>

#include "huffman_builder.h"
#include "pack_sources.h"
#include "pack_test_util.h"

using namespace pack_test;

namespace {

fs::path WriteArchive(const TempDir& dir, const Bytes& archive) {
  const fs::path path = dir.Path() / "pack.bin";
  WriteFile(path, archive);
  return path;
}

struct Variant {
  const char* what;
  bool store;
  bool solid;
};

class PackRoundTrip : public testing::TestWithParam<Variant> {};

// Every archive kestrel-pack writes must read back byte for byte through the game's reader
// and through an independent tool.
TEST_P(PackRoundTrip, VariedCorpusReadsBackThroughBothReaders) {
  ArchiveOptions options;
  options.store = GetParam().store;
  options.solid = GetParam().solid;
  std::vector<PackSource> files = Corpus();
  const Bytes archive = BuildArchive(files, options);
  TempDir dir;
  const fs::path path = WriteArchive(dir, archive);
  ExpectOurReaderReadsBack(path, files);
  ExpectUnarReadsBack(path, files);
}

INSTANTIATE_TEST_SUITE_P(Variants, PackRoundTrip,
                         testing::Values(Variant{"compressed", false, false}, Variant{"solid", false, true},
                                         Variant{"stored", true, false}),
                         [](const testing::TestParamInfo<Variant>& info) { return std::string(info.param.what); });

TEST(PackWriter, ManySmallFilesSolidReadBackThroughBothReaders) {
  std::vector<PackSource> files = SmallFiles(150);
  // An empty file in the middle restarts the solid stream; the files after it must still read.
  files.insert(files.begin() + 70, Source("objects\\obj069b.ini", {}));
  ArchiveOptions options;
  options.solid = true;
  ArchiveReport report;
  const Bytes archive = BuildArchive(files, options, &report);
  TempDir dir;
  const fs::path path = WriteArchive(dir, archive);
  ExpectOurReaderReadsBack(path, files);
  ExpectUnarReadsBack(path, files);

  // Solid packing shares the window between the files: smaller than packing each alone.
  options.solid = false;
  EXPECT_LT(archive.size() * 4, BuildArchive(files, options).size() * 3);
}

TEST(PackWriter, AlternativeMarkersReadBackThroughOurReader) {
  std::vector<PackSource> files = SmallFiles(5);
  files.push_back(Source("sound.wav", ReadFile(FixturesDir() + "BoatModernEnglish.wav")));
  for (const ArchiveMarker marker : {ArchiveMarker::kUnique, ArchiveMarker::kQuartz}) {
    for (const bool solid : {false, true}) {
      ArchiveOptions options;
      options.marker = marker;
      options.solid = solid;
      const Bytes archive = BuildArchive(files, options);
      EXPECT_EQ(archive[0], marker == ArchiveMarker::kUnique ? 'U' : 'Q');
      TempDir dir;
      ExpectOurReaderReadsBack(WriteArchive(dir, archive), files);
    }
  }
}

TEST(PackWriter, SameInputGivesTheSameBytes) {
  const std::vector<PackSource> files = SmallFiles(20);
  for (const bool solid : {false, true}) {
    ArchiveOptions options;
    options.solid = solid;
    EXPECT_TRUE(BuildArchive(files, options) == BuildArchive(files, options));
  }
}

TEST(PackWriter, ChoosesTheCodingPerFile) {
  const std::vector<PackSource> files = {Source("boat.wav", ReadFile(FixturesDir() + "BoatModernEnglish.wav")),
                                         Source("empty.txt", {}),
                                         Source("one.bin", {0x42}),
                                         Source("random.bin", RandomBytes(20000, 5)),
                                         Source("text.ini", Text(60000, 11)),
                                         Source("zeros.bin", Bytes(200000, 0))};
  ArchiveReport report;
  BuildArchive(files, ArchiveOptions{}, &report);
  ASSERT_EQ(report.entries.size(), files.size());
  auto entry = [&](const std::string& name) {
    return *std::find_if(report.entries.begin(), report.entries.end(),
                         [&](const PackedEntry& e) { return e.name == name; });
  };
  // 16-bit mono sound: two interleaved byte channels predict best.
  EXPECT_EQ(entry("boat.wav").mode, Pack20Encoder::Mode::kAudio);
  EXPECT_EQ(entry("boat.wav").audioChannels, 2u);
  EXPECT_LT(entry("boat.wav").packedSize, 56464u * 6 / 10);
  EXPECT_EQ(entry("text.ini").mode, Pack20Encoder::Mode::kLz);
  EXPECT_LT(entry("text.ini").packedSize, 60000u / 3);
  EXPECT_LT(entry("zeros.bin").packedSize, 200000u / 500);
  EXPECT_TRUE(entry("random.bin").stored);
  EXPECT_TRUE(entry("empty.txt").stored);
  EXPECT_TRUE(entry("one.bin").stored);
}

// The compressor uses every part of the method on input that calls for it: text and noise,
// long enough for several blocks, then sound, in one solid stream.
TEST(PackWriter, UsesEveryKindOfSymbol) {
  ArchiveOptions options;
  options.solid = true;
  Bytes mixed = Text(200000, 21);
  const Bytes noise = RandomBytes(40000, 22);
  mixed.insert(mixed.end(), noise.begin(), noise.end());
  const std::vector<PackSource> files = {Source("a.bin", mixed),
                                         Source("b.wav", ReadFile(FixturesDir() + "BoatModernEnglish.wav"))};
  ArchiveReport report;
  const Bytes archive = BuildArchive(files, options, &report);
  const Pack20Encoder::Statistics& s = report.statistics;
  EXPECT_GT(s.literals, 0u);
  EXPECT_GT(s.newMatches, 0u);
  EXPECT_GT(s.repeatLastMatch, 0u);
  EXPECT_GT(s.oldDistanceMatches, 0u);
  EXPECT_GT(s.shortMatches, 0u);
  EXPECT_GT(s.tableSets, 2u);  // several blocks in the text
  EXPECT_GT(s.additiveTableSets, 0u);
  EXPECT_EQ(s.audioEntries, 1u);
  TempDir dir;
  ExpectOurReaderReadsBack(WriteArchive(dir, archive), files);
}

TEST(HuffmanBuilder, LimitsCodeLengthsAndKeepsCodesPrefixFree) {
  // Fibonacci frequencies make the deepest possible tree: 39 levels without a limit.
  std::vector<uint32_t> frequencies;
  uint32_t a = 1, b = 1;
  for (int i = 0; i < 40; ++i) {
    frequencies.push_back(a);
    const uint32_t next = a + b;
    a = b;
    b = next;
  }
  frequencies.push_back(0);
  const std::vector<uint8_t> lengths = BuildCodeLengths(frequencies, 15);
  double kraft = 0;
  for (size_t i = 0; i < lengths.size(); ++i) {
    EXPECT_LE(lengths[i], 15);
    EXPECT_EQ(lengths[i] == 0, frequencies[i] == 0);
    if (lengths[i] > 0) kraft += 1.0 / (1u << lengths[i]);
  }
  EXPECT_LE(kraft, 1.0);
  // The most frequent symbols get the shortest codes.
  EXPECT_LE(lengths[39], lengths[0]);

  const HuffmanCode code = CanonicalCode(lengths);
  for (size_t i = 0; i < lengths.size(); ++i) {
    for (size_t j = 0; j < lengths.size(); ++j) {
      if (i == j || lengths[i] == 0 || lengths[j] == 0 || lengths[i] > lengths[j]) continue;
      EXPECT_NE(code.codes[j] >> (lengths[j] - lengths[i]), code.codes[i]) << i << " is a prefix of " << j;
    }
  }
}

TEST(HuffmanBuilder, OneUsedSymbolStillGetsARealCode) {
  const std::vector<uint8_t> lengths = BuildCodeLengths({0, 0, 9, 0}, 15);
  EXPECT_EQ(lengths[2], 1);
  EXPECT_EQ(std::count(lengths.begin(), lengths.end(), 1), 2);
  EXPECT_EQ(BuildCodeLengths({0, 0}, 15), (std::vector<uint8_t>{0, 0}));
}

TEST(PackWriter, DosTimes) {
  const struct {
    int64_t unix;
    uint32_t dos;
  } cases[] = {
      {0, (1u << 21) | (1u << 16)},          // before 1980: the earliest DOS time
      {315532800, (1u << 21) | (1u << 16)},  // 1980-01-01 00:00:00
      {1582979696, (40u << 25) | (2u << 21) | (29u << 16) | (12u << 11) | (34u << 5) | 28u},  // 2020-02-29 12:34:56
  };
  for (const auto& c : cases) EXPECT_EQ(DosTimeFromUnix(c.unix), c.dos) << c.unix;
}

TEST(PackSources, FoldersBecomeSortedBackslashNames) {
  TempDir dir;
  WriteFile(dir.Path() / "pack" / "content.ini", {'a'});
  WriteFile(dir.Path() / "pack" / "missions" / "b.ini", {'b'});
  WriteFile(dir.Path() / "pack" / "Zebra.txt", {'z'});
  WriteFile(dir.Path() / "pack" / "missions" / "a" / "deep.bin", {'d'});
  WriteFile(dir.Path() / "single.txt", {'s'});
  std::vector<PackSource> sources;
  std::string error;
  ASSERT_TRUE(CollectPackSources({(dir.Path() / "pack").string(), (dir.Path() / "single.txt").string()}, 1700000000,
                                 sources, error))
      << error;
  std::vector<std::string> names;
  for (const PackSource& s : sources) {
    names.push_back(s.name);
    EXPECT_EQ(s.dosTime, DosTimeFromUnix(1700000000));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Zebra.txt", "content.ini", "missions\\a\\deep.bin", "missions\\b.ini",
                                             "single.txt"}));
  EXPECT_TRUE(sources[1].data == Bytes{'a'});

  // The same name from two places cannot go into one pack.
  WriteFile(dir.Path() / "other" / "content.ini", {'x'});
  EXPECT_FALSE(
      CollectPackSources({(dir.Path() / "pack").string(), (dir.Path() / "other").string()}, 0, sources, error));
  EXPECT_NE(error.find("content.ini"), std::string::npos);
  EXPECT_FALSE(CollectPackSources({(dir.Path() / "missing").string()}, 0, sources, error));
}

}  // namespace
