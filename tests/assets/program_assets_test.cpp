// The program's own pictures and sounds as the build generates them: every picture decodes
// through the game's JPEG glue at the size the screen that draws it needs, every mask is a
// greyscale picture of its colour picture's size, every sound loads through the game's Sound
// class and stays within its level limits, and the generator writes the same bytes every time.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gfx/jpeg.h"
#include "gfx/surface.h"
#include "platform/program_icon.h"
#include "sound/sound.h"
#include "sound/sound_test_support.h"

namespace {

namespace fs = std::filesystem;

const fs::path kAssets = KESTREL_PROGRAM_ASSETS_DIR;

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> Picture(uint32_t id) { return ReadFile(kAssets / "raw" / (std::to_string(id) + ".jpg")); }

// Width, height and component count from a JPEG's frame header, without decoding it (the game
// refuses to decode greyscale pictures on their own, so masks are measured here).
struct JpegFrame {
  uint32_t width = 0;
  uint32_t height = 0;
  int components = 0;
};

bool ReadJpegFrame(const std::vector<uint8_t>& bytes, JpegFrame* frame) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return false;
  size_t at = 2;
  while (at + 4 <= bytes.size()) {
    if (bytes[at] != 0xFF) return false;
    const uint8_t marker = bytes[at + 1];
    const size_t length = (size_t{bytes[at + 2]} << 8) | bytes[at + 3];
    if (marker >= 0xC0 && marker <= 0xC2) {  // baseline, extended or progressive frame
      if (at + 10 > bytes.size()) return false;
      frame->height = (uint32_t{bytes[at + 5]} << 8) | bytes[at + 6];
      frame->width = (uint32_t{bytes[at + 7]} << 8) | bytes[at + 8];
      frame->components = bytes[at + 9];
      return true;
    }
    at += 2 + length;
  }
  return false;
}

// Every picture of the program: its number, the mask it is drawn through (0 for a picture shown
// without one) and the size that the place where it is drawn needs.
struct PictureSize {
  uint32_t id;
  uint32_t maskId;
  uint32_t width;
  uint32_t height;
};

// The screen is 240 x 320 (menus are always portrait).
constexpr PictureSize kPictureSizes[] = {
    // Full-screen pictures: the maker's logo, the title art and its overlay, the credits, the
    // key layouts and the title screen's slides.
    {100, 0, 240, 320}, {110, 111, 240, 320}, {112, 0, 240, 320}, {160, 0, 240, 320}, {161, 0, 240, 320},
    {180, 0, 240, 320}, {181, 0, 240, 320}, {500, 0, 240, 320}, {501, 0, 240, 320}, {502, 0, 240, 320},
    {503, 0, 240, 320}, {504, 0, 240, 320}, {505, 0, 240, 320},
    // The title screen's logo, centred at y = 5 above the title menu (which starts at y = 140).
    {150, 151, 220, 50},
    // Helicopter choice: the labels at (25, 2) reach past the bar column (x = 100 + 100) and
    // down past the pylon icons (y = 111 + 12); the legend fills the 40 pixels right of the
    // bars; the passenger icon repeats along y = 97 and must end before the pylon row at 111;
    // the machine-gun line sits under the labels, as wide.
    {200, 201, 175, 122}, {202, 203, 40, 44}, {204, 205, 10, 12}, {206, 207, 12, 12}, {208, 209, 175, 12},
    // Loadout: the weapon chart at (40, 150) under bars from x = 100 to 200 and the guidance
    // picture at (100, 204); the guidance pictures; LOAD / CAPACITY at (25, 2) under bars from
    // x = 120 to 220 on rows 7-9 and 18-20; the too-many-kinds badge right of the chart.
    {250, 251, 160, 66}, {252, 253, 56, 12}, {254, 255, 56, 12}, {256, 257, 56, 12}, {258, 259, 200, 24},
    {260, 261, 40, 34},
    // Pylon buttons share mask 271 (so do the weapons' pylon pictures in the content packs):
    // 45 x 35, the largest size that no pylon layout overlaps (the eight-pylon rows put buttons
    // 45 pixels apart, the four-pylon layout 35 pixels apart vertically in shared columns).
    {262, 271, 45, 35}, {263, 271, 45, 35}, {264, 271, 45, 35}, {265, 271, 45, 35}, {266, 271, 45, 35},
    {267, 271, 45, 35}, {268, 271, 45, 35}, {269, 271, 45, 35}, {270, 271, 45, 35},
    // Effect sprites: the explosion and smoke colours share the puff mask 300.
    {301, 300, 64, 64}, {302, 300, 64, 64},
    // Mission stamps, centred on the debriefing screen.
    {400, 401, 200, 96}, {402, 403, 200, 96},
    // The menu frame: left bar at (0, 0) down to the bottom-left corner at (0, 235); bottom
    // centre at (70, 275); bottom-right pieces at (180, 250); all reach the screen's edges.
    {800, 801, 12, 235}, {802, 803, 70, 85}, {818, 821, 70, 85}, {819, 821, 70, 85}, {820, 821, 70, 85},
    {804, 805, 110, 45}, {806, 807, 60, 70}, {808, 810, 60, 70}, {809, 810, 60, 70}, {811, 813, 60, 70},
    {812, 813, 60, 70}, {814, 817, 60, 70}, {815, 817, 60, 70}, {816, 817, 60, 70},
    // The chooser: a bar of the 100 pixels its four values are spread over, and its knob.
    {900, 901, 100, 12}, {910, 911, 10, 14},
    // Popup labels, each with its mask at the next number: one width for the whole column,
    // the orientation toggle taller for its two device pictures, the quit question two lines.
    {1000, 1001, 160, 22}, {1020, 1021, 160, 22}, {1030, 1031, 160, 22}, {1040, 1041, 160, 22},
    {1100, 1101, 160, 22}, {1110, 1111, 160, 22}, {1120, 1121, 160, 22}, {1130, 1131, 160, 22},
    {1140, 1141, 160, 22}, {1200, 1201, 160, 22}, {1205, 1206, 160, 22}, {1210, 1211, 160, 22},
    {1215, 1216, 160, 22}, {1220, 1221, 160, 22}, {1225, 1226, 160, 22}, {1230, 1231, 160, 22},
    {1240, 1241, 160, 22}, {1245, 1246, 160, 22}, {1300, 1301, 160, 34}, {1310, 1311, 160, 34},
    {1320, 1321, 160, 22}, {1330, 1331, 160, 22}, {1340, 1341, 160, 22}, {1350, 1351, 160, 22},
    {1360, 1361, 160, 22}, {1370, 1371, 160, 22}, {1380, 1381, 160, 22}, {1400, 1401, 160, 22},
    {1410, 1411, 160, 40}, {1420, 1421, 160, 22}, {1430, 1431, 160, 22},
    // The window icon.
    {kProgramIconPicture, kProgramIconMask, 64, 64},
};

const PictureSize* FindSize(uint32_t id) {
  for (const PictureSize& size : kPictureSizes) {
    if (size.id == id) return &size;
  }
  return nullptr;
}

TEST(ProgramPictures, EveryPictureDecodesAtTheSizeItsScreenNeeds) {
  for (const PictureSize& expected : kPictureSizes) {
    SCOPED_TRACE("picture " + std::to_string(expected.id));
    const std::vector<uint8_t> colour = Picture(expected.id);
    ASSERT_FALSE(colour.empty());
    Surface surface;
    if (expected.maskId == 0) {
      ASSERT_TRUE(DecodeJpeg(surface, colour.data(), static_cast<uint32_t>(colour.size())));
    } else {
      const std::vector<uint8_t> mask = Picture(expected.maskId);
      ASSERT_TRUE(DecodeJpegWithMask(surface, colour.data(), static_cast<uint32_t>(colour.size()), mask.data(),
                                     static_cast<uint32_t>(mask.size())));
    }
    EXPECT_EQ(surface.width, expected.width);
    EXPECT_EQ(surface.height, expected.height);
  }
}

TEST(ProgramPictures, EveryMaskIsGreyscaleAtItsPicturesSize) {
  std::set<uint32_t> masks;
  for (const PictureSize& expected : kPictureSizes) {
    if (expected.maskId == 0) continue;
    SCOPED_TRACE("picture " + std::to_string(expected.id) + " with mask " + std::to_string(expected.maskId));
    JpegFrame colour, mask;
    ASSERT_TRUE(ReadJpegFrame(Picture(expected.id), &colour));
    ASSERT_TRUE(ReadJpegFrame(Picture(expected.maskId), &mask));
    EXPECT_EQ(colour.components, 3);
    EXPECT_EQ(mask.components, 1);
    EXPECT_EQ(mask.width, colour.width);
    EXPECT_EQ(mask.height, colour.height);
    masks.insert(expected.maskId);
  }
  // Masks are masks only: none is also listed as a picture of its own.
  for (uint32_t mask : masks) EXPECT_EQ(FindSize(mask), nullptr) << mask;
}

// A masked picture must actually show something and hide something where it is meant to: a
// mask that came out all black (or a colour picture drawn as a full opaque rectangle where a
// shape was meant) is caught here.
TEST(ProgramPictures, MasksHideTheCornersOfRoundShapesAndShowTheirMiddle) {
  const struct {
    uint32_t id, maskId;
  } shapes[] = {{301, 300}, {1000, 1001}, {262, 271}, {400, 401}, {110, 111}, {kProgramIconPicture, kProgramIconMask}};
  for (const auto& shape : shapes) {
    SCOPED_TRACE("picture " + std::to_string(shape.id));
    const auto colour = Picture(shape.id), mask = Picture(shape.maskId);
    Surface sprite;
    ASSERT_TRUE(DecodeJpegWithMask(sprite, colour.data(), static_cast<uint32_t>(colour.size()), mask.data(),
                                   static_cast<uint32_t>(mask.size())));
    const auto alpha = [&sprite](uint32_t x, uint32_t y) { return sprite.Row(y)[x] >> 12; };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(sprite.width - 1, sprite.height - 1), 0);
    uint32_t opaque = 0;
    for (uint32_t y = 0; y < sprite.height; ++y) {
      for (uint32_t x = 0; x < sprite.width; ++x) opaque += alpha(x, y) >= 8 ? 1 : 0;
    }
    EXPECT_GT(opaque, 0u);
  }
}

TEST(ProgramPictures, TheFolderHoldsExactlyTheListedPicturesAndMasks) {
  std::set<uint32_t> expected;
  for (const PictureSize& size : kPictureSizes) {
    expected.insert(size.id);
    if (size.maskId != 0) expected.insert(size.maskId);
  }
  std::set<uint32_t> found;
  for (const auto& entry : fs::directory_iterator(kAssets / "raw")) {
    found.insert(static_cast<uint32_t>(std::stoul(entry.path().stem().string())));
  }
  EXPECT_EQ(found, expected);
}

// --- Layouts ---------------------------------------------------------------------------------

struct Rect {
  int x0, y0, x1, y1;  // x1, y1 excluded
  bool Contains(const Rect& other) const {
    return other.x0 >= x0 && other.y0 >= y0 && other.x1 <= x1 && other.y1 <= y1;
  }
  bool Overlaps(const Rect& other) const { return x0 < other.x1 && other.x0 < x1 && y0 < other.y1 && other.y0 < y1; }
};

Rect Placed(uint32_t id, int x, int y) {
  const PictureSize* size = FindSize(id);
  return {x, y, x + static_cast<int>(size->width), y + static_cast<int>(size->height)};
}

// The frame pieces cover the stylus areas of their buttons (cut to the screen) where they are
// drawn, so a player sees a button wherever a tap counts.
TEST(ProgramPictures, FramePiecesCoverTheirButtonsStylusAreas) {
  const struct {
    uint32_t piece;
    int x, y;
    Rect area;
  } cases[] = {
      {818, 0, 235, {5, 250, 46, 291}},     // previous
      {818, 0, 235, {23, 273, 64, 314}},    // next
      {811, 180, 250, {205, 250, 240, 278}},  // cancel (its area runs one pixel off the screen)
      {808, 180, 250, {187, 265, 233, 314}},  // OK
      {814, 180, 250, {205, 250, 240, 278}},
      {814, 180, 250, {187, 265, 233, 314}},
  };
  for (const auto& c : cases) EXPECT_TRUE(Placed(c.piece, c.x, c.y).Contains(c.area)) << c.piece;
  // Together the pieces reach every edge of the screen they border.
  EXPECT_EQ(Placed(800, 0, 0).y1, 235);
  EXPECT_EQ(Placed(802, 0, 235).y1, 320);
  EXPECT_EQ(Placed(802, 0, 235).x1, 70);
  EXPECT_EQ(Placed(804, 70, 275).x1, 180);
  EXPECT_EQ(Placed(804, 70, 275).y1, 320);
  EXPECT_EQ(Placed(806, 180, 250).x1, 240);
  EXPECT_EQ(Placed(806, 180, 250).y1, 320);
}

TEST(ProgramPictures, PylonButtonsNeitherOverlapNorLeaveTheScreen) {
  const std::vector<std::vector<std::pair<int, int>>> layouts = {
      {{40, 75}, {170, 75}},
      {{20, 60}, {190, 60}, {60, 95}, {150, 95}},
      {{40, 55}, {170, 55}, {15, 100}, {195, 100}, {60, 100}, {150, 100}},
      {{15, 30}, {195, 30}, {38, 67}, {172, 67}, {15, 104}, {195, 104}, {60, 104}, {150, 104}},
  };
  const Rect screen{0, 0, 240, 320};
  for (const auto& layout : layouts) {
    SCOPED_TRACE(std::to_string(layout.size()) + " pylons");
    std::vector<Rect> buttons;
    for (const auto& [x, y] : layout) buttons.push_back(Placed(262, x, y));
    for (size_t i = 0; i < buttons.size(); ++i) {
      EXPECT_TRUE(screen.Contains(buttons[i]));
      for (size_t j = i + 1; j < buttons.size(); ++j) EXPECT_FALSE(buttons[i].Overlaps(buttons[j])) << i << " " << j;
    }
  }
}

// Every popup column fits its screen: from y = 140 above the bottom rail of the portrait menu
// frame (y = 308), and from y = 50 on the 240-pixel-high landscape screen.
TEST(ProgramPictures, PopupColumnsFitPortraitAndLandscapeScreens) {
  const struct {
    const char* name;
    std::vector<std::pair<uint32_t, int>> widgets;  // picture, gap above it
  } popups[] = {
      {"title menu", {{1000, 0}, {1020, 2}, {1030, 2}, {1040, 2}}},
      {"options", {{1100, 0}, {1110, 2}, {1120, 2}, {1130, 2}, {1140, 5}}},
      {"graphics", {{1210, 0}, {1200, 2}, {1215, 2}, {1220, 2}, {1140, 5}}},
      {"orientation", {{1210, 0}, {1300, 0}, {1140, 5}}},
      {"draw distance", {{1215, 0}, {1320, 0}, {900, 0}, {1140, 5}}},  // the chooser: value over bar
      {"sound", {{1225, 0}, {1140, 5}}},
      {"in-game menu", {{1100, 0}, {1110, 2}, {1400, 2}, {1140, 5}}},
      {"quit", {{1410, 0}, {1420, 5}, {1430, 2}}},
  };
  for (const auto& popup : popups) {
    int height = 0;
    uint32_t widest = 0;
    for (const auto& [id, gap] : popup.widgets) {
      height += gap + static_cast<int>(FindSize(id)->height);
      widest = std::max(widest, FindSize(id)->width);
    }
    EXPECT_LE(140 + height, 308) << popup.name;
    EXPECT_LE(50 + height, 240) << popup.name;
    EXPECT_LE(widest, 240u) << popup.name;
  }
}

// --- Sounds ----------------------------------------------------------------------------------

constexpr uint32_t kSoundIds[] = {100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200};
constexpr uint32_t kEngineSound = 100;
constexpr double kCeiling = 29204;  // -1 dBFS of 16-bit full scale: no sound may be louder

struct Wav {
  uint16_t formatTag = 0, channels = 0, bits = 0;
  uint32_t rate = 0;
  std::vector<int16_t> samples;
};

// The two chunks the generator writes, read as the RIFF layout says.
bool ParseWav(const std::vector<uint8_t>& bytes, Wav* wav) {
  const auto u32 = [&bytes](size_t at) {
    return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
           uint32_t{bytes[at + 3]} << 24;
  };
  const auto u16 = [&bytes](size_t at) { return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8); };
  if (bytes.size() < 44 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF") return false;
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const std::string id(bytes.begin() + at, bytes.begin() + at + 4);
    const uint32_t size = u32(at + 4);
    if (at + 8 + size > bytes.size()) return false;
    if (id == "fmt ") {
      wav->formatTag = u16(at + 8);
      wav->channels = u16(at + 10);
      wav->rate = u32(at + 12);
      wav->bits = u16(at + 22);
    } else if (id == "data") {
      for (uint32_t i = 0; i + 1 < size; i += 2) wav->samples.push_back(static_cast<int16_t>(u16(at + 8 + i)));
      return true;
    }
    at += 8 + size;
  }
  return false;
}

std::vector<uint8_t> SoundFile(uint32_t id) { return ReadFile(kAssets / "sound" / (std::to_string(id) + ".wav")); }

using ProgramSounds = MixerTest;  // a fresh mixer with a recording output for every case

TEST_F(ProgramSounds, EverySoundLoadsThroughTheGamesSoundClass) {
  for (uint32_t id : kSoundIds) {
    SCOPED_TRACE("sound " + std::to_string(id));
    const std::vector<uint8_t> bytes = SoundFile(id);
    Wav wav;
    ASSERT_TRUE(ParseWav(bytes, &wav));
    EXPECT_EQ(wav.formatTag, 1);  // PCM
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.rate, 11025u);
    EXPECT_EQ(wav.bits, 16);

    Sound sound;
    ASSERT_TRUE(sound.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())));
    EXPECT_EQ(sound.format().samplesPerSecond, 22050u);
    EXPECT_EQ(sound.format().bitsPerSample, 8);
    EXPECT_EQ(sound.format().channels, 1);
    // Twice the rate: about twice the samples, at one byte each.
    EXPECT_NEAR(static_cast<double>(sound.dataLength()), 2.0 * wav.samples.size(), 2.0);
    // The 8-bit form does not clip either: nothing sits at the ends of its range.
    const auto [low, high] = std::minmax_element(sound.data(), sound.data() + sound.dataLength());
    EXPECT_GT(*low, 0);
    EXPECT_LT(*high, 255);
  }
}

TEST(ProgramSoundLevels, EverySoundIsAudibleAndPeaksBelowMinusOneDecibel) {
  for (uint32_t id : kSoundIds) {
    Wav wav;
    ASSERT_TRUE(ParseWav(SoundFile(id), &wav)) << id;
    int peak = 0;
    for (int16_t sample : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(sample)));
    EXPECT_LT(peak, kCeiling) << id;
    EXPECT_GT(peak, 32767 / 10) << id;  // louder than -20 dBFS: nothing is accidentally silent
  }
}

// One-shots start and end on silence (no click when they start or run out); the engine loop's
// last sample runs into its first as smoothly as any two neighbouring samples do.
TEST(ProgramSoundLevels, OneShotsEndOnSilenceAndTheEngineLoopIsSeamless) {
  for (uint32_t id : kSoundIds) {
    Wav wav;
    ASSERT_TRUE(ParseWav(SoundFile(id), &wav)) << id;
    ASSERT_GT(wav.samples.size(), 100u) << id;
    if (id == kEngineSound) {
      double meanStep = 0;
      int largestStep = 0;
      for (size_t i = 1; i < wav.samples.size(); ++i) {
        const int step = std::abs(wav.samples[i] - wav.samples[i - 1]);
        meanStep += step;
        largestStep = std::max(largestStep, step);
      }
      meanStep /= static_cast<double>(wav.samples.size() - 1);
      const int seam = std::abs(wav.samples.front() - wav.samples.back());
      EXPECT_LE(seam, std::max(3.0 * meanStep, 1.0)) << "mean step " << meanStep;
      EXPECT_LE(seam, largestStep);
    } else {
      EXPECT_LE(std::abs(static_cast<int>(wav.samples.front())), 328) << id;  // 1 % of full scale
      EXPECT_LE(std::abs(static_cast<int>(wav.samples.back())), 328) << id;
    }
  }
}

// The warnings are restarted on every frame of a 256 ms blink phase and then play out; longer
// than that, they would run into the next phase and the beeping would never pause.
TEST(ProgramSoundLevels, WarningBeepsAreShorterThanTheirBlinkPhase) {
  for (uint32_t id : {110u, 120u, 130u}) {
    Wav wav;
    ASSERT_TRUE(ParseWav(SoundFile(id), &wav)) << id;
    EXPECT_LT(wav.samples.size(), 11025u * 256 / 1000) << id;
  }
}

// --- The generator ---------------------------------------------------------------------------

// Every file below folder, by its path relative to it.
std::map<std::string, std::vector<uint8_t>> FilesBelow(const fs::path& folder) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = ReadFile(entry.path());
  }
  return files;
}

TEST(ProgramAssetGenerator, TwoRunsWriteIdenticalBytesAndTheBuildUsedThem) {
  const fs::path base = fs::temp_directory_path() / ("kestrel-program-assets-" + std::to_string(getpid()));
  fs::remove_all(base);
  const fs::path first = base / "first", second = base / "second";
  for (const fs::path& folder : {first, second}) {
    const std::string command = std::string("\"") + KESTREL_PROGRAM_ASSETS_TOOL + "\" \"" + folder.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  const auto firstFiles = FilesBelow(first), secondFiles = FilesBelow(second);
  fs::remove_all(base);
  EXPECT_EQ(firstFiles.size(), secondFiles.size());
  EXPECT_TRUE(firstFiles == secondFiles);
  // The build's own folder (compiled into the game) holds the same bytes.
  for (const auto& [name, bytes] : firstFiles) EXPECT_TRUE(ReadFile(kAssets / name) == bytes) << name;
}

TEST(ProgramAssetGenerator, RefusesAFolderItCannotWriteTo) {
  // A plain file where the folder should be: nothing can be created below it.
  const fs::path blocker = fs::temp_directory_path() / ("kestrel-program-assets-file-" + std::to_string(getpid()));
  std::ofstream(blocker) << "not a folder";
  const std::string command =
      std::string("\"") + KESTREL_PROGRAM_ASSETS_TOOL + "\" \"" + blocker.string() + "\" 2>/dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
  fs::remove(blocker);
}

}  // namespace
