#include <gtest/gtest.h>

#include <png.h>

#include "gfx/png.h"
#include "test_pictures.h"

namespace {

// The picture read back with libpng as 8-bit RGB; width 0 when it is not a readable PNG.
struct ReadBack {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgb;
};

ReadBack ReadPng(const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  ReadBack result;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return result;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return result;
  result.width = image.width;
  result.height = image.height;
  result.rgb = rgb;
  return result;
}

class SavePngTest : public testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(SavePngTest, WritesTheColoursWidenedByRepeatingTheirTopBits) {
  Surface surface;
  ASSERT_TRUE(surface.Create(3, 2));
  const uint16_t colours[6] = {0xF800, 0x07E0, 0x001F, 0x8410, 0x0000, 0xFFFF};
  FillSurface(surface, [&colours](uint32_t x, uint32_t y) { return colours[y * 3 + x]; });
  const std::u16string path = folder.WidePath("shot.png");
  ASSERT_TRUE(SavePng(surface, path.c_str()));

  const std::vector<uint8_t> bytes = ReadFileBytes(folder.path() / "shot.png");
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_TRUE(std::equal(signature, signature + 8, bytes.begin()));

  const ReadBack picture = ReadPng(folder.path() / "shot.png");
  EXPECT_EQ(picture.width, 3u);
  EXPECT_EQ(picture.height, 2u);
  // 0x8410 is red 16, green 32, blue 16: 16 -> 132 (10000 100), 32 -> 130 (100000 10).
  const std::vector<uint8_t> expected = {255, 0, 0,   0,   255, 0, 0, 0, 255,
                                         132, 130, 132, 0, 0,   0, 255, 255, 255};
  EXPECT_EQ(picture.rgb, expected);
}

TEST_F(SavePngTest, DepthSurfaceSavesOnlyItsColours) {
  DepthSurface frame;
  ASSERT_TRUE(frame.Create(3, 2));
  frame.Clear(0x001F);
  frame.ClearDepth();
  const std::u16string path = folder.WidePath("frame.png");
  ASSERT_TRUE(SavePng(frame, path.c_str()));
  const ReadBack picture = ReadPng(folder.path() / "frame.png");
  EXPECT_EQ(picture.width, 3u);
  EXPECT_EQ(picture.height, 2u);
  std::vector<uint8_t> expected;
  for (int i = 0; i < 6; ++i) expected.insert(expected.end(), {0, 0, 255});
  EXPECT_EQ(picture.rgb, expected);
}

TEST_F(SavePngTest, RefusesWhatCannotBeWritten) {
  Surface surface;
  ASSERT_TRUE(surface.Create(4, 4));
  surface.Clear(0);
  const std::u16string missingFolder = folder.WidePath("no such folder/shot.png");
  EXPECT_FALSE(SavePng(surface, missingFolder.c_str()));

  Surface empty;
  const std::u16string path = folder.WidePath("empty.png");
  EXPECT_FALSE(SavePng(empty, path.c_str()));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "empty.png"));
}

}  // namespace
