#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "gfx/blit.h"
#include "gfx/jpeg.h"
#include "test_pictures.h"

namespace {

bool Decode(Surface& target, const std::vector<uint8_t>& bytes) {
  return DecodeJpeg(target, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool DecodeWithMask(Surface& target, const std::vector<uint8_t>& colour, const std::vector<uint8_t>& mask) {
  return DecodeJpegWithMask(target, colour.data(), static_cast<uint32_t>(colour.size()), mask.data(),
                            static_cast<uint32_t>(mask.size()));
}

// A refused picture leaves nothing behind.
void ExpectEmpty(const Surface& surface) {
  EXPECT_EQ(surface.pixels, nullptr);
  EXPECT_EQ(surface.width, 0);
  EXPECT_EQ(surface.height, 0);
}

// A colour picture with detail everywhere, so that its compressed data is long and any cut
// falls in the middle of something.
std::vector<uint8_t> NoisyPicture(uint32_t width, uint32_t height) {
  std::mt19937 random(7);
  return EncodeJpeg(width, height, 3, [&random](uint32_t, uint32_t, uint8_t* out) {
    for (int i = 0; i < 3; ++i) out[i] = static_cast<uint8_t>(random());
  });
}

TEST(DecodeJpegTest, WhitePictureGivesAWhiteSurface) {
  Surface surface;
  ASSERT_TRUE(Decode(surface, EncodeFlatJpeg(240, 320, 3, 255)));
  EXPECT_EQ(surface.width, 240);
  EXPECT_EQ(surface.height, 320);
  EXPECT_EQ(surface.pitch, 480);
  EXPECT_EQ(Picture(surface, {{0xFFFF, 'W'}}), std::vector<std::string>(320, std::string(240, 'W')));
}

TEST(DecodeJpegTest, ColoursAreCutToFiveSixFiveBits) {
  // Flat grey comes back from the decoder exactly, so the cut is what shows: 127 is red and
  // blue 15 (not 16) and green 31 (not 32).
  Surface surface;
  ASSERT_TRUE(Decode(surface, EncodeFlatJpeg(16, 16, 3, 127)));
  EXPECT_EQ(Picture(surface, {{0x7BEF, '#'}}), std::vector<std::string>(16, std::string(16, '#')));
}

TEST(DecodeJpegTest, GreyscalePictureIsRefused) {
  const std::vector<uint8_t> grey = EncodeFlatJpeg(16, 8, 1, 200);
  Surface surface;
  EXPECT_FALSE(Decode(surface, grey));
  ExpectEmpty(surface);

  // Also when the surface held a picture before: false is never reported as success.
  ASSERT_TRUE(Decode(surface, EncodeFlatJpeg(8, 8, 3, 255)));
  EXPECT_FALSE(Decode(surface, grey));
  ExpectEmpty(surface);
}

TEST(DecodeJpegTest, PictureSidesAreLimited) {
  Surface surface;
  EXPECT_TRUE(Decode(surface, EncodeFlatJpeg(kMaxJpegSide, 1, 3, 255)));
  EXPECT_EQ(surface.width, kMaxJpegSide);
  EXPECT_FALSE(Decode(surface, EncodeFlatJpeg(kMaxJpegSide + 1, 1, 3, 255)));
  ExpectEmpty(surface);
  EXPECT_FALSE(Decode(surface, EncodeFlatJpeg(1, kMaxJpegSide + 1, 3, 255)));
  ExpectEmpty(surface);
}

TEST(DecodeJpegTest, HugeSizeInTheHeaderIsRefusedBeforeAnythingIsAllocated) {
  std::vector<uint8_t> bytes = EncodeFlatJpeg(8, 8, 3, 255);
  // The frame header: FF C0, length (2 bytes), precision (1 byte), height, width.
  size_t frame = 0;
  while (frame + 1 < bytes.size() && !(bytes[frame] == 0xFF && bytes[frame + 1] == 0xC0)) ++frame;
  ASSERT_LT(frame + 9, bytes.size());
  for (size_t i : {frame + 5, frame + 7}) {
    bytes[i] = 0xFD;  // 65000
    bytes[i + 1] = 0xE8;
  }
  Surface surface;
  EXPECT_FALSE(Decode(surface, bytes));
  ExpectEmpty(surface);
}

TEST(DecodeJpegTest, CutPicturesAreRefused) {
  const std::vector<uint8_t> whole = NoisyPicture(64, 48);
  Surface surface;
  ASSERT_TRUE(Decode(surface, whole));
  // Cuts in the markers, in the tables, in the middle of the compressed data, and just
  // before the end-of-image marker.
  for (size_t length : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, size_t{20}, size_t{200}, size_t{400},
                        whole.size() / 2, whole.size() - 100, whole.size() - 2}) {
    SCOPED_TRACE(length);
    ASSERT_TRUE(Decode(surface, whole));
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(Decode(surface, cut));
    ExpectEmpty(surface);
  }
  EXPECT_FALSE(DecodeJpeg(surface, nullptr, 0));
  EXPECT_FALSE(DecodeJpeg(surface, nullptr, 100));
  ExpectEmpty(surface);
}

TEST(DecodeJpegTest, RandomBytesAreRefused) {
  std::mt19937 random(11);
  for (int round = 0; round < 20; ++round) {
    std::vector<uint8_t> bytes(1 + random() % 2000);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    if (round % 2 == 1) {  // starting like a JPEG gets the bytes past the first check
      bytes[0] = 0xFF;
      bytes[1 % bytes.size()] = 0xD8;
    }
    Surface surface;
    EXPECT_FALSE(Decode(surface, bytes)) << "round " << round;
    ExpectEmpty(surface);
  }
}

TEST(DecodeJpegTest, PictureWhoseDataEndsEarlyIsRefused) {
  // Cut in the middle of the compressed data but closed with a proper end-of-image marker.
  const std::vector<uint8_t> whole = NoisyPicture(64, 48);
  std::vector<uint8_t> shortened(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
  shortened.push_back(0xFF);
  shortened.push_back(0xD9);
  Surface surface;
  EXPECT_FALSE(Decode(surface, shortened));
  ExpectEmpty(surface);
}

TEST(DecodeJpegTest, HarmlessPaddingBeforeTheEndMarkerIsAccepted) {
  // Some encoders leave a few stray bytes before the end-of-image marker; the picture is whole.
  std::vector<uint8_t> padded = EncodeFlatJpeg(16, 16, 3, 255);
  padded.insert(padded.end() - 2, {0x00, 0x00, 0x00});
  Surface surface;
  ASSERT_TRUE(Decode(surface, padded));
  EXPECT_EQ(Picture(surface, {{0xFFFF, 'W'}}), std::vector<std::string>(16, std::string(16, 'W')));
}

// Damage anywhere in a picture is refused with an empty surface, or else (where it changes
// only colours, or the size in the header to one the data still covers) gives a whole picture.
TEST(DecodeJpegTest, DamagedBytesNeverLeaveAHalfDecodedSurface) {
  const std::vector<uint8_t> whole = NoisyPicture(24, 16);
  for (size_t i = 0; i < whole.size(); ++i) {
    std::vector<uint8_t> damaged = whole;
    damaged[i] ^= 0xFF;
    Surface surface;
    if (Decode(surface, damaged)) {
      EXPECT_NE(surface.pixels, nullptr) << "byte " << i;
      EXPECT_GE(surface.width * surface.height, 1) << "byte " << i;
    } else {
      ExpectEmpty(surface);
    }
    if (i < 2) {
      EXPECT_EQ(surface.pixels, nullptr) << "byte " << i;
    }
  }
}

TEST(DecodeJpegTest, BrokenPicturesPrintNothing) {
  const std::vector<uint8_t> whole = NoisyPicture(32, 32);
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  Surface surface;
  Decode(surface, std::vector<uint8_t>(whole.begin(), whole.begin() + 300));
  std::vector<uint8_t> damaged = whole;
  for (size_t i = 300; i < damaged.size(); i += 7) damaged[i] = 0xFF;
  Decode(surface, damaged);
  Decode(surface, std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0x00});
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(DecodeJpegWithMaskTest, MaskGivesTheAlphaNibble) {
  const std::vector<uint8_t> white = EncodeFlatJpeg(16, 8, 3, 255);
  struct Case {
    uint8_t maskValue;
    uint16_t expected;
  };
  const Case cases[] = {{0, 0x0FFF}, {255, 0xFFFF}, {128, 0x8FFF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int{c.maskValue});
    Surface sprite;
    ASSERT_TRUE(DecodeWithMask(sprite, white, EncodeFlatJpeg(16, 8, 1, c.maskValue)));
    EXPECT_EQ(sprite.width, 16);
    EXPECT_EQ(sprite.height, 8);
    EXPECT_EQ(Picture(sprite, {{c.expected, '#'}}), std::vector<std::string>(8, std::string(16, '#')));
  }
}

TEST(DecodeJpegWithMaskTest, ColoursAreCutToFourBits) {
  Surface sprite;
  ASSERT_TRUE(DecodeWithMask(sprite, EncodeFlatJpeg(8, 8, 3, 0x9F), EncodeFlatJpeg(8, 8, 1, 255)));
  EXPECT_EQ(Picture(sprite, {{0xF999, '#'}}), std::vector<std::string>(8, std::string(8, '#')));
}

TEST(DecodeJpegWithMaskTest, BlackMaskDrawsNothingAndWhiteMaskDrawsOpaque) {
  const std::vector<uint8_t> white = EncodeFlatJpeg(4, 4, 3, 255);
  Surface screen;
  ASSERT_TRUE(screen.Create(4, 4));

  Surface hidden, shown;
  ASSERT_TRUE(DecodeWithMask(hidden, white, EncodeFlatJpeg(4, 4, 1, 0)));
  ASSERT_TRUE(DecodeWithMask(shown, white, EncodeFlatJpeg(4, 4, 1, 255)));
  screen.Clear(0x1234);
  BlitAlpha(screen, 0, 0, hidden, 0, 0, 4, 4);
  EXPECT_EQ(Picture(screen, {{0x1234, '.'}}), std::vector<std::string>(4, "...."));
  BlitAlpha(screen, 0, 0, shown, 0, 0, 4, 4);
  EXPECT_EQ(Picture(screen, {{0xFFFF, '#'}}), std::vector<std::string>(4, "####"));
}

TEST(DecodeJpegWithMaskTest, MaskOfAnotherSizeTouchesOnlyTheSharedArea) {
  const std::vector<uint8_t> white = EncodeFlatJpeg(16, 8, 3, 255);
  Surface sprite;
  ASSERT_TRUE(DecodeWithMask(sprite, white, EncodeFlatJpeg(24, 12, 1, 255)));
  EXPECT_EQ(Picture(sprite, {{0xFFFF, '#'}}), std::vector<std::string>(8, std::string(16, '#')));

  ASSERT_TRUE(DecodeWithMask(sprite, white, EncodeFlatJpeg(8, 4, 1, 255)));
  std::vector<std::string> expected(8, std::string(16, '.'));
  for (int y = 0; y < 4; ++y) expected[y].replace(0, 8, 8, '#');
  EXPECT_EQ(Picture(sprite, {{0xFFFF, '#'}, {0x0FFF, '.'}}), expected);

  // Wider but shorter, and narrower but taller.
  ASSERT_TRUE(DecodeWithMask(sprite, white, EncodeFlatJpeg(40, 2, 1, 255)));
  expected.assign(8, std::string(16, '.'));
  for (int y = 0; y < 2; ++y) expected[y] = std::string(16, '#');
  EXPECT_EQ(Picture(sprite, {{0xFFFF, '#'}, {0x0FFF, '.'}}), expected);
  ASSERT_TRUE(DecodeWithMask(sprite, white, EncodeFlatJpeg(3, 30, 1, 255)));
  expected.assign(8, "###.............");
  EXPECT_EQ(Picture(sprite, {{0xFFFF, '#'}, {0x0FFF, '.'}}), expected);
}

TEST(DecodeJpegWithMaskTest, BadColourOrMaskIsRefused) {
  const std::vector<uint8_t> colour = NoisyPicture(16, 16);
  const std::vector<uint8_t> mask = EncodeFlatJpeg(16, 16, 1, 255);
  struct Case {
    const char* name;
    std::vector<uint8_t> colour;
    std::vector<uint8_t> mask;
  };
  const Case cases[] = {
      {"greyscale colour picture", mask, mask},
      {"no mask", colour, {}},
      {"cut mask", colour, std::vector<uint8_t>(mask.begin(), mask.end() - 10)},
      {"cut colour picture", std::vector<uint8_t>(colour.begin(), colour.begin() + 300), mask},
      {"mask that is not a JPEG", colour, std::vector<uint8_t>(64, 0x55)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Surface sprite;
    ASSERT_TRUE(sprite.Create(2, 2));
    EXPECT_FALSE(DecodeWithMask(sprite, c.colour, c.mask));
    ExpectEmpty(sprite);
  }
}

class SaveJpegTest : public testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(SaveJpegTest, SavedPictureDecodesToTheSameSizeAndNearlyTheSameColours) {
  Surface original;
  ASSERT_TRUE(original.Create(48, 32));
  // Smooth ramps of every channel, as pictures of the game are.
  FillSurface(original, [](uint32_t x, uint32_t y) {
    const uint32_t red = x * 31 / 47, green = y * 63 / 31, blue = (x + y) * 31 / 78;
    return static_cast<uint16_t>(red << 11 | green << 5 | blue);
  });
  const std::u16string path = folder.WidePath("ramps.jpg");
  ASSERT_TRUE(SaveJpeg(original, path.c_str()));

  Surface decoded;
  ASSERT_TRUE(Decode(decoded, ReadFileBytes(folder.path() / "ramps.jpg")));
  ASSERT_EQ(decoded.width, 48);
  ASSERT_EQ(decoded.height, 32);
  int worstRed = 0, worstGreen = 0, worstBlue = 0;
  for (uint32_t y = 0; y < 32; ++y) {
    for (uint32_t x = 0; x < 48; ++x) {
      const int a = original.Row(y)[x], b = decoded.Row(y)[x];
      worstRed = std::max(worstRed, std::abs((a >> 11) - (b >> 11)));
      worstGreen = std::max(worstGreen, std::abs(((a >> 5) & 0x3F) - ((b >> 5) & 0x3F)));
      worstBlue = std::max(worstBlue, std::abs((a & 0x1F) - (b & 0x1F)));
    }
  }
  // Quality 100 with halved colour resolution: at most one step of the 5-bit and two of the
  // 6-bit channels.
  EXPECT_LE(worstRed, 1);
  EXPECT_LE(worstGreen, 2);
  EXPECT_LE(worstBlue, 1);
}

TEST_F(SaveJpegTest, WhiteStaysWhite) {
  Surface white;
  ASSERT_TRUE(white.Create(24, 16));
  white.Clear(0xFFFF);
  const std::u16string path = folder.WidePath("white.jpg");
  ASSERT_TRUE(SaveJpeg(white, path.c_str()));
  Surface decoded;
  ASSERT_TRUE(Decode(decoded, ReadFileBytes(folder.path() / "white.jpg")));
  EXPECT_EQ(Picture(decoded, {{0xFFFF, 'W'}}), std::vector<std::string>(16, std::string(24, 'W')));
}

TEST_F(SaveJpegTest, DepthSurfaceSavesOnlyItsColours) {
  DepthSurface frame;
  ASSERT_TRUE(frame.Create(16, 8));
  frame.Clear(0x0000);
  frame.ClearDepth();  // depths of 0xFFFF would show as white if they were read as colours
  const std::u16string path = folder.WidePath("frame.jpg");
  ASSERT_TRUE(SaveJpeg(frame, path.c_str()));
  Surface decoded;
  ASSERT_TRUE(Decode(decoded, ReadFileBytes(folder.path() / "frame.jpg")));
  EXPECT_EQ(Picture(decoded, {{0x0000, '.'}}), std::vector<std::string>(8, std::string(16, '.')));
}

TEST_F(SaveJpegTest, WideFileNameBecomesUtf8) {
  Surface surface;
  ASSERT_TRUE(surface.Create(8, 8));
  surface.Clear(0x07E0);
  const std::u16string path = folder.WidePath("Flug \u00fcber K\u00f6ln.jpg");
  ASSERT_TRUE(SaveJpeg(surface, path.c_str()));
  EXPECT_TRUE(std::filesystem::exists(folder.path() / u8"Flug \u00fcber K\u00f6ln.jpg"));
}

TEST_F(SaveJpegTest, RefusesWhatCannotBeWritten) {
  Surface surface;
  ASSERT_TRUE(surface.Create(8, 8));
  surface.Clear(0);
  const std::u16string missingFolder = folder.WidePath("no such folder/shot.jpg");
  EXPECT_FALSE(SaveJpeg(surface, missingFolder.c_str()));

  Surface empty;
  const std::u16string path = folder.WidePath("empty.jpg");
  EXPECT_FALSE(SaveJpeg(empty, path.c_str()));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "empty.jpg"));
  EXPECT_FALSE(SaveJpeg(surface, nullptr));
}

}  // namespace
