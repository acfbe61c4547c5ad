// kestrel-pack from the command line: create, list, extract, test and their exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <sstream>

#include "pack_test_util.h"

using namespace pack_test;

namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

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

  // Runs kestrel-pack with `arguments` (shell words) and an optional environment prefix.
  Result Run(const std::string& arguments, const std::string& environment = "") const {
    const fs::path out = dir_.Path() / "stdout.txt";
    const fs::path err = dir_.Path() / "stderr.txt";
    const std::string command = "cd '" + dir_.Path().string() + "' && " + environment + " '" KESTREL_PACK_BINARY "' " +
                                arguments + " > '" + out.string() + "' 2> '" + err.string() + "'";
    const int status = std::system(command.c_str());
    const Bytes outBytes = ReadFile(out);
    const Bytes errBytes = ReadFile(err);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(outBytes.begin(), outBytes.end()),
            std::string(errBytes.begin(), errBytes.end())};
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
  std::vector<std::string> names;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string name, unpacked, packed, method;
    std::getline(fields, name, '\t');
    std::getline(fields, unpacked, '\t');
    std::getline(fields, packed, '\t');
    std::getline(fields, method, '\t');
    names.push_back(name);
    if (name == "sounds\\boat.wav") {
      EXPECT_EQ(unpacked, "56464");
      EXPECT_LT(std::stoul(packed), 56464u);
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
  EXPECT_NE(Run("list stored.bin").out.find("content.ini\t"), std::string::npos);
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
      {"extract pack.bin", 2, "usage"},
      {"check pack.bin", 2, "usage"},
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

}  // namespace
