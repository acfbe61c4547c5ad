// kestrel-pack from the command line: create, list, extract, test and their exit statuses.
// (check has pack_check_test.cpp.)
#include <gtest/gtest.h>

#include <sstream>

#include "pack_test_util.h"

using namespace pack_test;

namespace {

class PackCommandLine : public testing::Test {
 protected:
  void SetUp() override {
    pack_ = dir_.Path() / "mypack";
    WriteFile(pack_ / "content.ini",
              BytesOf("[KestrelRun]\r\nNoOfMissionFiles=1\r\nMissionFile 0=missions\\list.ini\r\n"));
    WriteFile(pack_ / "missions" / "list.ini", Text(5000, 1));
    WriteFile(pack_ / "sounds" / "boat.wav", ReadFile(FixturesDir() + "BoatModernEnglish.wav"));
    WriteFile(pack_ / "caf\xC3\xA9.txt", BytesOf("accent"));  // UTF-8 on disk, Windows-1252 in the pack
  }

  static Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

  // Runs kestrel-pack in the test's folder.
  Result Run(const std::string& arguments, const std::string& environment = "") const {
    return RunPack(dir_.Path(), arguments, environment);
  }

  TempDir dir_;
  fs::path pack_;
};

TEST_F(PackCommandLine, CreateListExtractAndTest) {
  ASSERT_EQ(Run("create --solid pack.bin mypack").status, 0);

  const Result list = Run("list pack.bin");
  ASSERT_EQ(list.status, 0) << list.err;
  std::istringstream lines(list.out);
  std::string line;
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_EQ(line, "      Size     Packed   Ratio  Method  CRC-32    Name");
  std::vector<std::string> names;
  while (std::getline(lines, line)) {
    // Size, packed size, ratio, method, CRC-32, then the name (the rest of the line).
    std::istringstream fields(line);
    std::string unpacked, packed, ratio, method, crc, name;
    fields >> unpacked >> packed >> ratio >> method >> crc >> std::ws;
    std::getline(fields, name);
    names.push_back(name);
    EXPECT_EQ(crc.size(), 8u) << line;
    EXPECT_EQ(line.find(name), line.size() - name.size()) << line;
    if (name == "sounds\\boat.wav") {
      EXPECT_EQ(unpacked, "56464");
      EXPECT_LT(std::stoul(packed), 56464u);
      const unsigned long tenths = (std::stoul(packed) * 1000 + 56464 / 2) / 56464;
      EXPECT_EQ(ratio, std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%");
      EXPECT_EQ(method, "v20-m3");
    }
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"caf\xC3\xA9.txt", "content.ini", "missions\\list.ini", "sounds\\boat.wav"}));
  // Letters beyond ASCII match only in their own case, as the C library's toupper has it.
  const Result accented = Run("extract pack.bin 'CAF\xC3\xA9.TXT'");
  EXPECT_EQ(accented.status, 0);
  EXPECT_EQ(accented.out, "accent");

  // Either separator, any case; to a file or to standard output.
  ASSERT_EQ(Run("extract pack.bin 'SOUNDS/Boat.WAV' -o boat.wav").status, 0);
  EXPECT_TRUE(ReadFile(dir_.Path() / "boat.wav") == ReadFile(pack_ / "sounds" / "boat.wav"));
  const Result shown = Run("extract pack.bin 'missions\\list.ini'");
  ASSERT_EQ(shown.status, 0);
  EXPECT_TRUE(BytesOf(shown.out) == ReadFile(pack_ / "missions" / "list.ini"));

  const Result test = Run("test pack.bin");
  EXPECT_EQ(test.status, 0) << test.out;
  EXPECT_NE(test.out.find("4 entries, 0 failed"), std::string::npos) << test.out;

  ASSERT_EQ(Run("create --store stored.bin mypack").status, 0);
  EXPECT_NE(Run("list stored.bin").out.find("stored  "), std::string::npos);
  EXPECT_EQ(Run("list stored.bin").out.find("v20"), std::string::npos);
  for (const char* marker : {"unique", "quartz"}) {
    ASSERT_EQ(Run(std::string("create --marker ") + marker + " m.bin mypack").status, 0);
    EXPECT_EQ(Run("test m.bin").status, 0) << marker;
  }
}

TEST_F(PackCommandLine, FailuresExitNonZeroWithAMessage) {
  ASSERT_EQ(Run("create pack.bin mypack").status, 0);
  Bytes damaged = ReadFile(dir_.Path() / "pack.bin");
  damaged[damaged.size() - 100] ^= 0x55;  // inside the last entry's data (the sound)
  WriteFile(dir_.Path() / "damaged.bin", damaged);
  WriteFile(dir_.Path() / "notapack.bin", BytesOf("PK\x03\x04 this is something else"));

  const struct {
    const char* arguments;
    int status;
    const char* message;  // expected in the error output
  } cases[] = {
      {"extract pack.bin nothere.txt", 1, "nothere.txt"},
      {"extract missing.bin content.ini", 1, "missing.bin"},
      {"test damaged.bin", 1, ""},
      {"extract damaged.bin sounds\\\\boat.wav", 1, "damaged"},
      {"list notapack.bin", 1, "not a RAR 2.0 archive"},
      {"test notapack.bin", 1, "not a RAR 2.0 archive"},
      {"create out.bin no-such-folder", 1, "no-such-folder"},
      {"", 2, "usage"},
      {"pack everything", 2, "unknown command"},
      {"create --marker zip out.bin mypack", 2, "--marker"},
      {"create out.bin", 2, "usage"},
      {"extract", 2, "usage"},
      {"extract pack.bin content.ini missions\\\\list.ini", 2, "usage"},
      {"extract missing.bin -o out", 1, "missing.bin"},
      {"check", 2, "usage"},
      {"check pack.bin notapack.bin", 2, "usage"},
      {"check missing.bin", 1, "missing.bin"},
      {"check notapack.bin", 1, "not a RAR 2.0 archive"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  const Result test = Run("test damaged.bin");
  EXPECT_NE(test.out.find("FAILED sounds\\boat.wav"), std::string::npos) << test.out;
  EXPECT_NE(test.out.find("OK     content.ini"), std::string::npos) << test.out;
  EXPECT_FALSE(fs::exists(dir_.Path() / "out.bin"));
}

TEST_F(PackCommandLine, SourceDateEpochMakesPacksReproducible) {
  const std::string epoch = "SOURCE_DATE_EPOCH=1600000000";
  ASSERT_EQ(Run("create --solid first.bin mypack", epoch).status, 0);
  fs::last_write_time(pack_ / "content.ini", fs::last_write_time(pack_ / "content.ini") - std::chrono::hours(48));
  ASSERT_EQ(Run("create --solid second.bin mypack", epoch).status, 0);
  EXPECT_TRUE(ReadFile(dir_.Path() / "first.bin") == ReadFile(dir_.Path() / "second.bin"));

  // Without it the files' own times go into the headers.
  ASSERT_EQ(Run("create --solid third.bin mypack").status, 0);
  EXPECT_FALSE(ReadFile(dir_.Path() / "first.bin") == ReadFile(dir_.Path() / "third.bin"));
  EXPECT_EQ(Run("create x.bin mypack", "SOURCE_DATE_EPOCH=soon").status, 1);
}

TEST_F(PackCommandLine, ListShowsSizesRatioMethodAndCrcInColumns) {
  // Worked out by hand: "hello" stored is 5 bytes either way (100.0 %), CRC-32 0x3610A686; an
  // empty file is stored with CRC 0 and has no ratio.
  ArchiveOptions stored;
  stored.store = true;
  WriteFile(dir_.Path() / "hello.bin",
            BuildArchive({Source("empty.txt", {}), Source("hello.txt", BytesOf("hello"))}, stored));
  const Result list = Run("list hello.bin");
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out,
            "      Size     Packed   Ratio  Method  CRC-32    Name\n"
            "         0          0       -  stored  00000000  empty.txt\n"
            "         5          5  100.0%  stored  3610a686  hello.txt\n");
}

TEST_F(PackCommandLine, ExtractWithoutNamesUnpacksEveryEntryIntoTheFolder) {
  ASSERT_EQ(Run("create pack.bin mypack").status, 0);
  const Result result = Run("extract pack.bin -o unpacked/here");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(FilesBelow(dir_.Path() / "unpacked" / "here") == FilesBelow(pack_));

  // Without -o, into the current folder; files already there are replaced.
  fs::create_directories(dir_.Path() / "current");
  WriteFile(dir_.Path() / "current" / "content.ini", BytesOf("old"));
  EXPECT_EQ(RunPack(dir_.Path() / "current", "extract ../pack.bin").status, 0);
  EXPECT_TRUE(FilesBelow(dir_.Path() / "current") == FilesBelow(pack_));
}

TEST_F(PackCommandLine, ExtractRefusesNamesThatWouldLeaveTheFolder) {
  ArchiveOptions stored;
  stored.store = true;
  const fs::path work = dir_.Path() / "work";
  WriteFile(work / "evil.bin", BuildArchive({Source("..\\evil", BytesOf("up")), Source("/abs", BytesOf("root")),
                                             Source("C:drive", BytesOf("drive")), Source("sub\\ok.txt", BytesOf("ok"))},
                                            stored));
  const bool absoluteThere = fs::exists("/abs");
  const Result result = RunPack(work, "extract evil.bin -o out");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  // One line for each refused name, naming it; the rest is extracted all the same.
  std::istringstream lines(result.err);
  std::vector<std::string> refused;
  for (std::string line; std::getline(lines, line);) refused.push_back(line);
  ASSERT_EQ(refused.size(), 3u) << result.err;
  EXPECT_NE(refused[0].find("refused \"..\\evil\""), std::string::npos) << refused[0];
  EXPECT_NE(refused[1].find("refused \"/abs\""), std::string::npos) << refused[1];
  EXPECT_NE(refused[2].find("refused \"C:drive\""), std::string::npos) << refused[2];
  EXPECT_TRUE(FilesBelow(work) == (std::map<std::string, Bytes>{{"evil.bin", ReadFile(work / "evil.bin")},
                                                                {"out/sub/ok.txt", BytesOf("ok")}}));
  EXPECT_FALSE(fs::exists(dir_.Path() / "evil"));
  EXPECT_EQ(fs::exists("/abs"), absoluteThere);

  // A symbolic link left in the folder does not carry a file out of it either.
  fs::create_directories(work / "linked");
  fs::create_directories(dir_.Path() / "elsewhere");
  fs::create_directory_symlink(dir_.Path() / "elsewhere", work / "linked" / "sub");
  const Result linked = RunPack(work, "extract evil.bin -o linked");
  EXPECT_EQ(linked.status, 1);
  EXPECT_NE(linked.err.find("refused \"sub\\ok.txt\""), std::string::npos) << linked.err;
  EXPECT_TRUE(fs::is_empty(dir_.Path() / "elsewhere"));
}

}  // namespace
