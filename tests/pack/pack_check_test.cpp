// kestrel-pack check: the core pack passes as the build makes it, and each kind of mistake
// planted in an unpacked copy of it is named, with its file and key, both in the folder and in
// a pack made of that folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include "archive_index.h"
#include "core/wide_string.h"
#include "gfx/jpeg.h"
#include "pack_test_util.h"

using namespace pack_test;

namespace {

const std::string kCorePack = KESTREL_CORE_PACK;

// Every entry of `archive` below `folder`, through the game's reader ("\" becomes "/").
void Unpack(const std::string& archive, const fs::path& folder) {
  std::vector<ArchiveEntryInfo> entries;
  bool solid = false;
  std::string error;
  ASSERT_TRUE(ListArchive(archive, entries, solid, error)) << error;
  for (const ArchiveEntryInfo& entry : entries) {
    uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(ArchiveReader::ExtractToMemory(&data, &size, entry.name.c_str(), archive.c_str(), nullptr))
        << entry.name;
    std::string path = entry.name;
    for (char& c : path) c = c == '\\' ? '/' : c;
    WriteFile(folder / path, Bytes(data, data + size));
    Free(data);
  }
}

void Replace(const fs::path& file, const std::string& from, const std::string& to) {
  const Bytes bytes = ReadFile(file);
  std::string text(bytes.begin(), bytes.end());
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << "no \"" << from << "\" in " << file;
  text.replace(at, from.size(), to);
  WriteFile(file, Bytes(text.begin(), text.end()));
}

void Truncate(const fs::path& file, size_t size) { fs::resize_file(file, size); }

// A plain colour JPEG of that size, written by the game's own encoder.
void WriteJpeg(const fs::path& file, uint32_t width, uint32_t height) {
  Surface picture;
  ASSERT_TRUE(picture.Create(width, height));
  picture.Clear(0x07E0);
  ASSERT_TRUE(SaveJpeg(picture, WideFromUtf8(file.string()).c_str()));
}

std::string ReadFileText(const fs::path& file) {
  const Bytes bytes = ReadFile(file);
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A report line "FILE:LINE: KEY: problem" taken apart; false for a line of another form.
struct ReportLine {
  std::string file;
  int number = 0;
  std::string rest;  // "KEY: problem"
};

bool Parse(const std::string& line, ReportLine& parsed) {
  static const std::regex form(R"(^([^:]+):([0-9]+): (.*)$)");
  std::smatch match;
  if (!std::regex_match(line, match, form)) return false;
  parsed = {match[1], std::stoi(match[2]), match[3]};
  return true;
}

// Whether a line of the output, with its line number left out, starts with `start`.
bool HasLineStartingWith(const std::string& output, const std::string& start) {
  for (const std::string& line : Lines(output)) {
    ReportLine parsed;
    const std::string shown = Parse(line, parsed) ? parsed.file + ": " + parsed.rest : line;
    if (shown.compare(0, start.size(), start) == 0) return true;
  }
  return false;
}

struct Mistake {
  const char* what;
  std::function<void(const fs::path&)> plant;
  const char* line;    // the start of the line that names it
  bool alone = false;  // undoes or hides another mistake when planted with the rest
};

// The mistakes, planted in a folder laid out like the core pack.
const std::vector<Mistake>& Mistakes() {
  static const std::vector<Mistake> mistakes = {
      {"a mesh with no levels",
       // Its keys move to a section of their own: [Hangar] is left with none.
       [](const fs::path& d) { Replace(d / "meshes.ini", "[Hangar]", "[Hangar]\n[HangarKeys]"); },
       "meshes.ini: [Hangar]: no level loads"},
      {"a texture smaller than the mesh's u,v range",
       [](const fs::path& d) { WriteJpeg(d / "meshes" / "truck.jpg", 4, 4); },
       "meshes.ini: [Truck] Mesh 0: the texture \"meshes/truck.jpg\" (4 x 4) is smaller than the mesh's u,v range"},
      {"a goal naming no object",
       [](const fs::path& d) {
         Replace(d / "missions" / "islands.ini", "Goal = Destroy PatrolRadar", "Goal = Destroy Tank9");
       },
       "missions/islands.ini: [Island Patrol] Goal #1: names no object \"Tank9\""},
      {"a missing sky", [](const fs::path& d) { fs::remove(d / "terrain" / "canyons_sky.jpg"); },
       "missions/canyons.ini: [Canyon Run] Resource SkyBackdrop: names \"terrain/canyons_sky.jpg\", which is not in "
       "the pack"},
      {"a height file of the wrong size", [](const fs::path& d) { Truncate(d / "terrain" / "islands.hgt", 100000); },
       "missions/islands.ini: [Island Patrol] Resource VoxelHeight: \"terrain/islands.hgt\" is 100000 bytes; it must "
       "be 131072"},
      {"a texture file of the wrong size", [](const fs::path& d) { Truncate(d / "terrain" / "canyons.tex", 262144); },
       "missions/canyons.ini: [Hold the Pass] Resource VoxelTexture: \"terrain/canyons.tex\" is 262144 bytes; it "
       "must be 524288"},
      {"a sky too small for the screen",
       [](const fs::path& d) { WriteJpeg(d / "terrain" / "islands_sky.jpg", 160, 480); },
       "missions/islands.ini: [Castaways] Resource SkyBackdrop: \"terrain/islands_sky.jpg\" is 160 x 480; the "
       "terrain view needs a sky of at least 160 x 720"},
      {"a missing texture", [](const fs::path& d) { fs::remove(d / "meshes" / "tank.jpg"); },
       "meshes.ini: [Tank] Mesh 0: names the texture \"meshes/tank.jpg\", which is not in the pack"},
      {"a mesh file cut short", [](const fs::path& d) { Truncate(d / "meshes" / "house1.msh", 20); },
       "meshes.ini: [House] Mesh 1: \"meshes/house1.msh\" is not a mesh file the game reads"},
      {"a parent that does not exist",
       [](const fs::path& d) {
         Replace(d / "missions" / "islands.ini", "Parent = PatrolRadar", "Parent = PatrolRadr");
       },
       "missions/islands.ini: [PatrolDish] Parent: names no object \"PatrolRadr\""},
      {"a goal naming an object with a parent",
       [](const fs::path& d) {
         Replace(d / "missions" / "islands.ini", "Goal = Destroy PatrolRadar", "Goal = Destroy PatrolDish");
       },
       "missions/islands.ini: [Island Patrol] Goal #1: names \"PatrolDish\", an object with a parent", true},
      {"a helipad off the map",
       [](const fs::path& d) { Replace(d / "missions" / "islands.ini", "Helipad = 760 1320", "Helipad = 760 2100"); },
       "missions/islands.ini: [Island Patrol] Helipad: z = 2100 is off the map"},
      {"a name plate of the wrong size",
       [](const fs::path& d) { WriteJpeg(d / "choppers" / "pelican_title.jpg", 120, 28); },
       "choppers.ini: [Pelican] Resource Title: \"choppers/pelican_title.jpg\" is 120 x 28; the name plate of the "
       "helicopter screen needs 100 x 28"},
      {"a background of the wrong size",
       [](const fs::path& d) { WriteJpeg(d / "weapons" / "heatseeker_splash.jpg", 240, 300); },
       "weapons.ini: [Heatseeker] Resource Splash: \"weapons/heatseeker_splash.jpg\" is 240 x 300; the loadout "
       "screen needs 240 x 320"},
      {"a list file that is missing", [](const fs::path& d) { fs::remove(d / "choppers.ini"); },
       "content.ini: [KestrelRun] ChopperFile 0: names \"choppers.ini\", which is not in the pack", true},
  };
  return mistakes;
}

class PackCheck : public testing::Test {
 protected:
  // The core pack unpacked once for every test.
  static void SetUpTestSuite() {
    unpacked_ = new TempDir;
    Unpack(kCorePack, unpacked_->Path() / "core");
  }
  static void TearDownTestSuite() {
    delete unpacked_;
    unpacked_ = nullptr;
  }

  // A fresh copy of the unpacked core pack, named `name`, in the test's folder.
  fs::path Copy(const std::string& name) const {
    const fs::path copy = dir_.Path() / name;
    fs::copy(unpacked_->Path() / "core", copy, fs::copy_options::recursive);
    return copy;
  }

  static TempDir* unpacked_;
  TempDir dir_;
};

TempDir* PackCheck::unpacked_ = nullptr;

TEST_F(PackCheck, TheCorePackPassesAsBuiltAndUnpacked) {
  const Result pack = RunPack(dir_.Path(), "check '" + kCorePack + "'");
  EXPECT_EQ(pack.status, 0) << pack.err;
  EXPECT_EQ(pack.out, "");
  EXPECT_EQ(pack.err, "");

  const Result folder = RunPack(dir_.Path(), "check '" + (unpacked_->Path() / "core").string() + "'");
  EXPECT_EQ(folder.status, 0) << folder.err;
  EXPECT_EQ(folder.out, "");
}

TEST_F(PackCheck, TheExamplePackPassesAsBuilt) {
  const Result pack = RunPack(dir_.Path(), "check '" KESTREL_EXAMPLE_PACK "'");
  EXPECT_EQ(pack.status, 0) << pack.err;
  EXPECT_EQ(pack.out, "");
  EXPECT_EQ(pack.err, "");
}

TEST_F(PackCheck, EachPlantedMistakeIsNamedWithItsFileAndKey) {
  int number = 0;
  for (const Mistake& mistake : Mistakes()) {
    SCOPED_TRACE(mistake.what);
    const fs::path folder = Copy("case" + std::to_string(number++));
    mistake.plant(folder);
    const Result result = RunPack(dir_.Path(), "check '" + folder.string() + "'");
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_TRUE(HasLineStartingWith(result.out, mistake.line)) << result.out;
  }
}

TEST_F(PackCheck, AFolderAndThePackMadeOfItGiveTheSameReport) {
  const fs::path folder = Copy("damaged");
  for (const Mistake& mistake : Mistakes()) {
    if (!mistake.alone) mistake.plant(folder);
  }
  const Result fromFolder = RunPack(dir_.Path(), "check damaged");
  EXPECT_EQ(fromFolder.status, 1) << fromFolder.err;
  for (const Mistake& mistake : Mistakes()) {
    if (!mistake.alone) {
      EXPECT_TRUE(HasLineStartingWith(fromFolder.out, mistake.line)) << mistake.what << "\n" << fromFolder.out;
    }
  }
  // Each problem once, every line "FILE:LINE: [Section] Key: problem", its line number that of
  // the key in the file, or of the section's header when the key is missing.
  const std::vector<std::string> lines = Lines(fromFolder.out);
  EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), lines.size());
  for (const std::string& line : lines) {
    ReportLine parsed;
    ASSERT_TRUE(Parse(line, parsed)) << line;
    const std::vector<std::string> fileLines = Lines(std::string(ReadFileText(folder / parsed.file)));
    ASSERT_LE(parsed.number, static_cast<int>(fileLines.size())) << line;
    const std::string pointed = fileLines[parsed.number - 1];
    const std::string section = parsed.rest.substr(0, parsed.rest.find(']') + 1);
    std::string key = parsed.rest[section.size()] == ' ' ? parsed.rest.substr(section.size() + 1) : "";
    key = key.substr(0, std::min(key.find(':'), key.find(" #")));
    const bool atKey = !key.empty() && pointed.find(key) != std::string::npos;
    EXPECT_TRUE(atKey || pointed.find(section) != std::string::npos) << line << "\npoints at: " << pointed;
  }
  EXPECT_TRUE(HasLineStartingWith(fromFolder.out, "missions/islands.ini: [Island Patrol] Goal #1"));
  for (const std::string& line : lines) {
    ReportLine parsed;
    if (Parse(line, parsed) && parsed.rest.rfind("[Island Patrol] Goal #1", 0) == 0) {
      EXPECT_EQ(Lines(ReadFileText(folder / parsed.file))[parsed.number - 1], "Goal = Destroy Tank9");
    }
  }

  ASSERT_EQ(RunPack(dir_.Path(), "create damaged.bin damaged").status, 0);
  const Result fromPack = RunPack(dir_.Path(), "check damaged.bin");
  EXPECT_EQ(fromPack.status, 1);
  EXPECT_EQ(fromPack.out, fromFolder.out);
}

TEST_F(PackCheck, APackWithoutItsManifestOrWithADamagedEntry) {
  const fs::path folder = Copy("nomanifest");
  fs::remove(folder / "content.ini");
  const Result missing = RunPack(dir_.Path(), "check nomanifest");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(
      missing.out,
      "content.ini: [KestrelRun]: content.ini is not in the pack: the game ignores a pack without its manifest\n");

  // A picture whose bytes are damaged inside the pack reads as damaged, not as missing.
  ASSERT_EQ(RunPack(dir_.Path(), "create --store whole.bin '" + (unpacked_->Path() / "core").string() + "'").status, 0);
  Bytes pack = ReadFile(dir_.Path() / "whole.bin");
  const Bytes sky = ReadFile(unpacked_->Path() / "core" / "terrain" / "canyons_sky.jpg");
  const auto at = std::search(pack.begin(), pack.end(), sky.begin(), sky.end());
  ASSERT_NE(at, pack.end());
  at[sky.size() / 2] ^= 0x55;
  WriteFile(dir_.Path() / "broken.bin", pack);
  const Result damaged = RunPack(dir_.Path(), "check broken.bin");
  EXPECT_EQ(damaged.status, 1);
  EXPECT_TRUE(HasLineStartingWith(damaged.out,
                                  "missions/canyons.ini: [Canyon Run] Resource SkyBackdrop: names "
                                  "\"terrain/canyons_sky.jpg\", which is damaged in the pack"))
      << damaged.out;
}

}  // namespace
