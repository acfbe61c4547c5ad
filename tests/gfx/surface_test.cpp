#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "core/memory.h"
#include "gfx/surface.h"
#include "test_pictures.h"

namespace {

constexpr uint32_t kOwned16 = 0x501;  // owns memory, 16 bits per pixel, one level
constexpr uint32_t kOwned32 = 0x601;  // the same with 32 bits per pixel

TEST(SurfaceTest, StartsEmptyAsANonOwningSixteenBitSurface) {
  Surface surface;
  EXPECT_EQ(surface.pixels, nullptr);
  EXPECT_EQ(surface.width, 0);
  EXPECT_EQ(surface.height, 0);
  EXPECT_EQ(surface.pitch, 0);
  EXPECT_EQ(surface.BitsPerPixel(), 16u);
  EXPECT_FALSE(surface.OwnsMemory());

  DepthSurface depth;
  EXPECT_EQ(depth.BitsPerPixel(), 32u);
  EXPECT_EQ(depth.lineDouble, 1);
  EXPECT_EQ(depth.pixels, nullptr);
}

TEST(SurfaceTest, CreateRoundsThePitchDownToWholeWords) {
  struct Case {
    bool depth;
    uint32_t width;
    uint16_t pitch;
  };
  const Case cases[] = {
      {false, 1, 4}, {false, 2, 4},   {false, 3, 8},  {false, 5, 12},
      {false, 240, 480}, {true, 1, 4}, {true, 3, 12}, {true, 320, 1280},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.depth ? "depth " : "plain ") << c.width);
    Surface plain;
    DepthSurface depth;
    Surface& surface = c.depth ? static_cast<Surface&>(depth) : plain;
    ASSERT_TRUE(surface.Create(c.width, 7));
    EXPECT_NE(surface.pixels, nullptr);
    EXPECT_EQ(surface.width, c.width);
    EXPECT_EQ(surface.height, 7);
    EXPECT_EQ(surface.pitch, c.pitch);
    EXPECT_EQ(surface.format, c.depth ? kOwned32 : kOwned16);
    // The whole last row is writable.
    std::memset(surface.Row(6), 0xAB, surface.pitch);
  }
}

TEST(SurfaceTest, CreateRefusesSizesThatDoNotFitTheSixteenBitFields) {
  Surface surface;
  EXPECT_TRUE(surface.Create(32766, 1));  // pitch 65532
  EXPECT_FALSE(surface.Create(32767, 1));  // pitch would be 65536
  EXPECT_EQ(surface.pixels, nullptr);
  EXPECT_EQ(surface.width, 0);
  EXPECT_FALSE(surface.Create(1, 65536));
  DepthSurface depth;
  EXPECT_TRUE(depth.Create(16383, 1));
  EXPECT_FALSE(depth.Create(16384, 1));
  EXPECT_FALSE(depth.HasPixels());
}

class FailingAllocationTest : public testing::Test {
 protected:
  static void* Refuse(void*, size_t) { return nullptr; }
  static void CountOutOfMemory() { ++outOfMemoryShown; }
  void TearDown() override { SetMemoryHooks(MemoryHooks{}); }
  static inline int outOfMemoryShown = 0;
};

TEST_F(FailingAllocationTest, CreateReportsFailureAndLeavesTheSurfaceEmpty) {
  Surface surface;
  ASSERT_TRUE(surface.Create(8, 8));
  outOfMemoryShown = 0;
  MemoryHooks hooks;
  hooks.reallocate = Refuse;
  hooks.showOutOfMemory = CountOutOfMemory;
  SetMemoryHooks(hooks);
  EXPECT_FALSE(surface.Create(16, 16));
  SetMemoryHooks(MemoryHooks{});
  EXPECT_EQ(outOfMemoryShown, 1);
  EXPECT_EQ(surface.pixels, nullptr);
  EXPECT_EQ(surface.width, 0);
  EXPECT_EQ(surface.height, 0);
  EXPECT_EQ(surface.pitch, 0);
  EXPECT_FALSE(surface.OwnsMemory());
  surface.Clear(0xFFFF);  // clearing an empty surface touches nothing
}

TEST(SurfaceTest, RecreatingAndReleasingFreeThePreviousPixels) {
  Surface surface;
  ASSERT_TRUE(surface.Create(10, 10));
  ASSERT_TRUE(surface.Create(3, 2));  // the sanitizer build reports the first block if it leaks
  EXPECT_EQ(surface.width, 3);
  EXPECT_EQ(surface.height, 2);
  surface.Release();
  EXPECT_FALSE(surface.HasPixels());
  EXPECT_EQ(surface.format, 0x400u | (16u << 4));
}

TEST(SurfaceTest, MovingHandsThePixelsOver) {
  Surface first;
  ASSERT_TRUE(first.Create(4, 3));
  FillSurface(first, 0x1234);
  uint16_t* const pixels = first.pixels;

  Surface second(std::move(first));
  EXPECT_EQ(second.pixels, pixels);
  EXPECT_EQ(second.width, 4);
  EXPECT_TRUE(second.OwnsMemory());
  EXPECT_EQ(first.pixels, nullptr);
  EXPECT_EQ(first.width, 0);
  EXPECT_FALSE(first.OwnsMemory());

  Surface third;
  ASSERT_TRUE(third.Create(2, 2));
  third = std::move(second);  // third's own block is freed
  EXPECT_EQ(third.pixels, pixels);
  EXPECT_EQ(third.Row(2)[3], 0x1234);
  EXPECT_EQ(second.pixels, nullptr);

  DepthSurface depth;
  ASSERT_TRUE(depth.Create(2, 2));
  depth.lineDouble = 0;
  DepthSurface movedDepth(std::move(depth));
  EXPECT_EQ(movedDepth.lineDouble, 0);
  EXPECT_EQ(movedDepth.BitsPerPixel(), 32u);
  EXPECT_EQ(movedDepth.pitch, 8);
}

TEST(SurfaceTest, ClearOfAnOddWidthAlsoFillsThePaddingPixel) {
  Surface surface;
  ASSERT_TRUE(surface.Create(3, 2));
  ASSERT_EQ(surface.pitch, 8);
  for (uint32_t y = 0; y < 2; ++y) {
    for (uint32_t x = 0; x < 4; ++x) surface.Row(y)[x] = 0x1111;
  }
  surface.Clear(0xABCD);
  for (uint32_t y = 0; y < 2; ++y) {
    for (uint32_t x = 0; x < 4; ++x) EXPECT_EQ(surface.Row(y)[x], 0xABCD) << x << "," << y;
  }
}

TEST(SurfaceTest, ClearFillsEvenWidthsExactly) {
  Surface surface;
  ASSERT_TRUE(surface.Create(6, 3));
  surface.Clear(0x07E0);
  EXPECT_EQ(Picture(surface, {{0x07E0, 'G'}}), (std::vector<std::string>{"GGGGGG", "GGGGGG", "GGGGGG"}));
}

// The colours and the depths of a DepthSurface share each row; clearing one never touches the
// other, also for odd widths where the rows have no padding.
TEST(SurfaceTest, DepthSurfaceClearsColoursAndDepthsApart) {
  for (uint32_t width : {4u, 3u}) {
    SCOPED_TRACE(width);
    DepthSurface surface;
    ASSERT_TRUE(surface.Create(width, 3));
    ASSERT_EQ(surface.pitch, width * 4);
    for (uint32_t y = 0; y < 3; ++y) {
      for (uint32_t x = 0; x < width; ++x) {
        surface.Row(y)[x] = 0x1111;
        surface.DepthRow(y)[x] = 0x2222;
      }
    }
    surface.Clear(0xF800);
    for (uint32_t y = 0; y < 3; ++y) {
      for (uint32_t x = 0; x < width; ++x) {
        EXPECT_EQ(surface.Row(y)[x], 0xF800);
        EXPECT_EQ(surface.DepthRow(y)[x], 0x2222);
      }
    }
    surface.ClearDepth();
    for (uint32_t y = 0; y < 3; ++y) {
      for (uint32_t x = 0; x < width; ++x) {
        EXPECT_EQ(surface.Row(y)[x], 0xF800);
        EXPECT_EQ(surface.DepthRow(y)[x], DepthSurface::kEmptyDepth);
      }
    }
  }
}

}  // namespace
