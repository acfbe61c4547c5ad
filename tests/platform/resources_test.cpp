#include <gtest/gtest.h>

#include <cstring>

#include "gfx/jpeg.h"
#include "platform/resources.h"

namespace {

TEST(EmbeddedResources, PicturesAndSoundsAreFoundByNumber) {
  const ResourceBytes picture = FindResource(ResourceKind::Picture, 101);
  ASSERT_NE(picture.data, nullptr);
  Surface surface;
  ASSERT_TRUE(DecodeJpeg(surface, picture.data, picture.size));
  EXPECT_EQ(surface.width, 16);
  EXPECT_EQ(surface.height, 8);

  const ResourceBytes sound = FindResource(ResourceKind::Sound, 140);
  ASSERT_GE(sound.size, 44u);
  EXPECT_EQ(std::memcmp(sound.data, "RIFF", 4), 0);
  EXPECT_EQ(std::memcmp(sound.data + 8, "WAVE", 4), 0);
}

TEST(EmbeddedResources, UnknownNumbersAndKindsGiveNothing) {
  const struct {
    ResourceKind kind;
    uint32_t id;
  } cases[] = {{ResourceKind::Picture, 999}, {ResourceKind::Picture, 140}, {ResourceKind::Sound, 101},
               {ResourceKind::Picture, 0}};
  for (const auto& c : cases) {
    const ResourceBytes bytes = FindResource(c.kind, c.id);
    EXPECT_EQ(bytes.data, nullptr) << c.id;
    EXPECT_EQ(bytes.size, 0u) << c.id;
  }
}

}  // namespace
