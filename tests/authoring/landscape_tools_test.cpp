// kestrel-pack terrain and sky: an author's pictures turned into the landscape files, read back
// by the game's own landscape loader, and the pictures the commands refuse (with nothing left
// behind).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/wide_string.h"
#include "gfx/jpeg.h"
#include "landscape_import.h"
#include "pack_test_util.h"
#include "render/terrain_blocks.h"
#include "render/terrain_map.h"

using namespace pack_test;

namespace {

constexpr uint32_t kSide = kHeightSamplesPerSide;  // 512
constexpr uint32_t kTextureSide = kTexelsPerSide;  // 1024

GreyPicture HeightPicture(int bits, const std::function<uint16_t(uint32_t x, uint32_t y)>& level) {
  GreyPicture picture;
  picture.width = picture.height = kSide;
  picture.bits = bits;
  picture.samples.resize(size_t{kSide} * kSide);
  for (uint32_t y = 0; y < kSide; ++y) {
    for (uint32_t x = 0; x < kSide; ++x) picture.samples[size_t{y} * kSide + x] = level(x, y);
  }
  return picture;
}

Bytes Pgm(const GreyPicture& picture) {
  const std::string header = "P5\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n" +
                             (picture.bits == 16 ? "65535" : "255") + "\n";
  Bytes bytes(header.begin(), header.end());
  for (const uint16_t sample : picture.samples) {
    if (picture.bits == 16) bytes.push_back(static_cast<uint8_t>(sample >> 8));
    bytes.push_back(static_cast<uint8_t>(sample));
  }
  return bytes;
}

::Picture ColourPicture(uint32_t width, uint32_t height,
                        const std::function<void(uint32_t x, uint32_t y, uint8_t* rgb)>& colour) {
  ::Picture picture(width, height, 3);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) colour(x, y, picture.At(x, y));
  }
  return picture;
}

void WritePng(const fs::path& path, const ::Picture& picture) {
  fs::create_directories(path.parent_path());
  ASSERT_TRUE(WritePngPicture(path.string(), picture));
}

// Four flat quarters in colours that RGB565 holds exactly: red north-west (the picture's top
// left), green north-east, blue south-west, white south-east.
::Picture QuarterTexture() {
  return ColourPicture(kTextureSide, kTextureSide, [](uint32_t x, uint32_t y, uint8_t* rgb) {
    static const uint8_t kQuarters[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    const uint8_t* c = kQuarters[(y >= kTextureSide / 2) * 2 + (x >= kTextureSide / 2)];
    std::copy(c, c + 3, rgb);
  });
}

// A plain panorama: a band of sky blue over a haze, the same all round.
::Picture PlainPanorama() {
  return ColourPicture(kSkyPanoramaWidth, kSkyPanoramaHeight, [](uint32_t, uint32_t y, uint8_t* rgb) {
    rgb[0] = static_cast<uint8_t>(90 + y / 4);
    rgb[1] = static_cast<uint8_t>(140 + y / 5);
    rgb[2] = 230;
  });
}

TEST(TerrainTool, TheGameReadsTheHeightsBackWithinTheReportedError) {
  struct Case {
    const char* name;
    int bits;
    double metresPerLevel;
    std::function<uint16_t(uint32_t, uint32_t)> level;
  };
  const Case cases[] = {
      {"smooth hills, 16 bits", 16, 1.0 / 64,
       [](uint32_t x, uint32_t y) {
         return static_cast<uint16_t>(20000 + 4000 * std::sin(x / 60.0) * std::cos(y / 45.0));
       }},
      {"rough ground, 8 bits at 2 m", 8, 2.0,
       [](uint32_t x, uint32_t y) {
         uint32_t h = x * 73856093u ^ y * 19349663u;
         h ^= h >> 13;
         h *= 0x5bd1e995u;
         return static_cast<uint16_t>((h >> 15) % 256);
       }},
  };
  TempDir dir;
  ASSERT_NO_FATAL_FAILURE(WritePng(dir.Path() / "sky.png", PlainPanorama()));
  ::Picture sky;
  std::string error;
  ASSERT_TRUE(LayOutSky(PlainPanorama(), "sky.png", sky, error)) << error;
  WriteFile(dir.Path() / "sky.jpg", EncodeJpegPicture(sky, 90));
  std::vector<double> errors;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GreyPicture heights = HeightPicture(c.bits, c.level);
    LandscapeFiles files;
    ASSERT_TRUE(MakeLandscapeFiles(heights, "heights", QuarterTexture(), "texture", c.metresPerLevel, files, error))
        << error;
    WriteFile(dir.Path() / "land.hgt", files.heightFile);
    WriteFile(dir.Path() / "land.tex", files.textureFile);
    TerrainMap map;
    const std::u16string heightFile = WideFromUtf8((dir.Path() / "land.hgt").string());
    const std::u16string textureFile = WideFromUtf8((dir.Path() / "land.tex").string());
    const std::u16string skyFile = WideFromUtf8((dir.Path() / "sky.jpg").string());
    ASSERT_TRUE(map.Load(nullptr, heightFile.c_str(), textureFile.c_str(), skyFile.c_str()));

    // Sample (x, z) of the map is pixel (x, 511 - z): the picture's top row is the north edge.
    double largest = 0;
    for (uint32_t z = 0; z < kSide; ++z) {
      for (uint32_t x = 0; x < kSide; ++x) {
        const fixed ground = map.GroundHeight(IntToFixed(static_cast<int32_t>(x * 4 + 1)),
                                              IntToFixed(static_cast<int32_t>(z * 4 + 3)));
        const double wanted = heights.At(x, kSide - 1 - z) * c.metresPerLevel;
        largest = std::max(largest, std::fabs(ground / 65536.0 - wanted));
      }
    }
    EXPECT_NEAR(largest, files.largestHeightError, 1e-6);
    errors.push_back(files.largestHeightError);

    // The texture lies the same way round: its top left quarter is the north-west of the map.
    uint16_t colours[16];
    const auto texelAt = [&](uint32_t x, uint32_t z) {
      DecodeTextureBlock(map.textureBlocks() + ((z / 4) * kTextureBlocksPerSide + x / 4) * 8, colours);
      return colours[(x % 4) + 4 * (z % 4)];
    };
    EXPECT_EQ(texelAt(10, kTextureSide - 10), 0xF800);  // north-west: red
    EXPECT_EQ(texelAt(kTextureSide - 10, kTextureSide - 10), 0x07E0);  // north-east: green
    EXPECT_EQ(texelAt(10, 10), 0x001F);                                // south-west: blue
    EXPECT_EQ(texelAt(kTextureSide - 10, 10), 0xFFFF);                 // south-east: white
  }
  EXPECT_LT(errors[0], 1.0);        // slopes of up to a metre per sample: within a metre
  EXPECT_GT(errors[1], errors[0]);  // a field of random spikes cannot be held as well
}

TEST(TerrainTool, TheCommandWritesBothFilesAndNamesThemForTheMission) {
  TempDir dir;
  WriteFile(dir.Path() / "heights.pgm", Pgm(HeightPicture(8, [](uint32_t x, uint32_t) { return x / 2; })));
  ASSERT_NO_FATAL_FAILURE(WritePng(dir.Path() / "texture.png", QuarterTexture()));
  fs::create_directories(dir.Path() / "terrain");
  const Result run = RunPack(dir.Path(), "terrain heights.pgm texture.png -o terrain/isle --metres-per-level 0.5");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(dir.Path() / "terrain/isle.hgt").size(), kHeightFileSize);
  EXPECT_EQ(ReadFile(dir.Path() / "terrain/isle.tex").size(), kTextureFileSize);
  EXPECT_NE(run.out.find("0.5 m a grey level, largest height error "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Resource VoxelHeight = terrain\\isle.hgt\nResource VoxelTexture = terrain\\isle.tex\n"),
            std::string::npos)
      << run.out;
}

TEST(TerrainTool, PicturesItCannotUseAreRefusedAndNothingIsWritten) {
  const auto writeHeights = [](const fs::path& path, uint32_t side, int bits, uint16_t level) {
    GreyPicture picture = HeightPicture(bits, [=](uint32_t, uint32_t) { return level; });
    picture.width = picture.height = side;
    picture.samples.resize(size_t{side} * side);
    WriteFile(path, Pgm(picture));
  };
  struct Case {
    const char* name;
    std::function<void(const fs::path& folder)> make;  // writes h.pgm/h.png and t.png into the folder
    std::string arguments;
    int status;
    std::string message;
  };
  const auto goodTexture = [](const fs::path& folder) { WritePng(folder / "t.png", QuarterTexture()); };
  const Case cases[] = {
      {"heights too small",
       [&](const fs::path& f) {
         writeHeights(f / "h.pgm", 256, 8, 10);
         goodTexture(f);
       },
       "h.pgm t.png", 1, "h.pgm is 256 x 256; a height picture must be 512 x 512"},
      {"texture too small",
       [&](const fs::path& f) {
         writeHeights(f / "h.pgm", 512, 8, 10);
         WritePng(f / "t.png", ColourPicture(512, 512, [](uint32_t, uint32_t, uint8_t* rgb) { rgb[1] = 200; }));
       },
       "h.pgm t.png", 1, "t.png is 512 x 512; a landscape texture must be 1024 x 1024"},
      {"colour heights",
       [&](const fs::path& f) {
         WritePng(f / "h.png", ColourPicture(512, 512, [](uint32_t, uint32_t, uint8_t* rgb) { rgb[0] = 9; }));
         goodTexture(f);
       },
       "h.png t.png", 1, "h.png: it is a colour picture; heights need a greyscale one"},
      {"a pixel above the ceiling",
       [&](const fs::path& f) {
         GreyPicture picture = HeightPicture(16, [](uint32_t x, uint32_t y) { return x == 7 && y == 9 ? 65535 : 100; });
         WriteFile(f / "h.pgm", Pgm(picture));
         goodTexture(f);
       },
       "h.pgm t.png --metres-per-level 0.02", 1, "h.pgm: pixel (7, 9) stands for 1310.70 m; a landscape is at most"},
      {"a truncated PNG",
       [&](const fs::path& f) {
         // Grey, so that the refusal is about the damage, not the colour.
         GreyPicture grey = HeightPicture(8, [](uint32_t x, uint32_t y) { return (x ^ y) & 255; });
         ::Picture asPicture(512, 512, 1);
         for (size_t i = 0; i < grey.samples.size(); ++i) asPicture.samples[i] = static_cast<uint8_t>(grey.samples[i]);
         WritePng(f / "whole.png", asPicture);
         Bytes bytes = ReadFile(f / "whole.png");
         bytes.resize(bytes.size() / 2);
         WriteFile(f / "h.png", bytes);
         goodTexture(f);
       },
       "h.png t.png", 1, "h.png: "},
      {"a PGM shorter than its size",
       [&](const fs::path& f) {
         WriteFile(f / "h.pgm", Bytes{'P', '5', '\n', '5', '1', '2', ' ', '5', '1', '2', '\n', '2', '5', '5', '\n', 7, 7});
         goodTexture(f);
       },
       "h.pgm t.png", 1, "h.pgm: the file ends before its last pixel"},
      {"not a picture",
       [&](const fs::path& f) {
         WriteFile(f / "h.png", Bytes{'h', 'e', 'l', 'l', 'o'});
         goodTexture(f);
       },
       "h.png t.png", 1, "h.png: not a PNG or PGM picture"},
      {"a missing texture",
       [&](const fs::path& f) { writeHeights(f / "h.pgm", 512, 8, 10); }, "h.pgm t.png", 1, "cannot open t.png"},
      {"no metres per level",
       [&](const fs::path& f) {
         writeHeights(f / "h.pgm", 512, 8, 10);
         goodTexture(f);
       },
       "h.pgm t.png --metres-per-level 0", 2, "--metres-per-level needs a number above 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    c.make(dir.Path());
    fs::create_directories(dir.Path() / "out");
    const Result run = RunPack(dir.Path(), "terrain " + c.arguments + " -o out/land");
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_empty(dir.Path() / "out"));
  }
}

TEST(SkyTool, APanoramaBecomesTheTransposedSkyTheGameLoads) {
  // West (the left edge) red, the rest blue; the top quarter of the picture darker.
  const ::Picture panorama = ColourPicture(1440, 640, [](uint32_t x, uint32_t y, uint8_t* rgb) {
    const uint8_t shade = y < 160 ? 120 : 240;
    rgb[0] = x < 360 ? shade : 0;
    rgb[1] = 0;
    rgb[2] = x < 360 ? 0 : shade;
  });
  TempDir dir;
  ASSERT_NO_FATAL_FAILURE(WritePng(dir.Path() / "pano.png", panorama));
  const Result run = RunPack(dir.Path(), "sky pano.png -o isle_sky");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Resource SkyBackdrop = isle_sky.jpg"), std::string::npos) << run.out;
  const Bytes jpeg = ReadFile(dir.Path() / "isle_sky.jpg");
  Surface sky;
  ASSERT_TRUE(DecodeJpeg(sky, jpeg.data(), static_cast<uint32_t>(jpeg.size())));
  ASSERT_EQ(sky.width, TerrainMap::kMinSkyColumns);
  ASSERT_EQ(sky.height, TerrainMap::kSkyRows);
  const auto red = [](uint16_t c) { return c >> 11; };
  const auto blue = [](uint16_t c) { return c & 31; };
  // Row r is direction r (west at 0); column c is screen rows 2c and 2c + 1 (the top at 0).
  EXPECT_GT(red(sky.Row(20)[100]), 25);
  EXPECT_LT(blue(sky.Row(20)[100]), 4);
  EXPECT_GT(blue(sky.Row(600)[100]), 25);
  EXPECT_LT(red(sky.Row(600)[100]), 4);
  EXPECT_LT(blue(sky.Row(600)[10]), 18);  // the darker top
}

TEST(SkyTool, SizesItCannotServeAreRefused) {
  struct Case {
    uint32_t width, height;
    bool served;
  };
  const Case cases[] = {{720, 320, true},  {2160, 960, true},  {719, 320, false},
                        {720, 300, false}, {1440, 320, false}, {1600, 640, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    TempDir dir;
    ASSERT_NO_FATAL_FAILURE(WritePng(dir.Path() / "pano.png", ColourPicture(c.width, c.height, [](uint32_t, uint32_t,
                                                                                             uint8_t* rgb) {
                                       rgb[2] = 200;
                                     })));
    const Result run = RunPack(dir.Path(), "sky pano.png -o sky");
    EXPECT_EQ(run.status, c.served ? 0 : 1) << run.err;
    EXPECT_EQ(fs::exists(dir.Path() / "sky.jpg"), c.served);
    if (!c.served) {
      EXPECT_NE(run.err.find("a sky panorama must be at least 720 x 320 and 9 : 4"), std::string::npos);
    }
  }
}

}  // namespace

namespace {

TEST(PictureTool, MenuPicturesBecomeColourJpegsOfTheSizeAsked) {
  struct Case {
    const char* source;
    std::string size;  // "" for none
    int status;
    std::string message;
  };
  const Case cases[] = {
      {"splash.png", "240x320", 0, ""},
      {"splash.png", "", 0, ""},
      {"splash.png", "100x28", 1, "splash.png is 240 x 320; it should be 100 x 28"},
      {"splash.png", "240", 2, "--size needs WIDTHxHEIGHT"},
      {"nothing.png", "", 1, "cannot open nothing.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    TempDir dir;
    ASSERT_NO_FATAL_FAILURE(WritePng(dir.Path() / "splash.png", ColourPicture(240, 320, [](uint32_t x, uint32_t,
                                                                                          uint8_t* rgb) {
                                       rgb[0] = static_cast<uint8_t>(x);
                                     })));
    const Result run =
        RunPack(dir.Path(), std::string("picture ") + c.source + (c.size.empty() ? "" : " --size " + c.size) + " -o out");
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    const Bytes jpeg = ReadFile(dir.Path() / "out.jpg");
    if (c.status != 0) {
      EXPECT_TRUE(jpeg.empty());
      continue;
    }
    Surface decoded;
    ASSERT_TRUE(DecodeJpeg(decoded, jpeg.data(), static_cast<uint32_t>(jpeg.size())));
    EXPECT_EQ(decoded.width, 240u);
    EXPECT_EQ(decoded.height, 320u);
  }
}

}  // namespace
