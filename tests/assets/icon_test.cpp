// The desktop icons as the build writes them: a PNG with alpha at every size, round and
// transparent around the badge, with a dark helicopter that stands out from a light sky down to
// 16 pixels; and the SVG, a closed document with one element for each of the icon's shapes.
#include <gtest/gtest.h>

#include <png.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "icon_shapes.h"

namespace {

namespace fs = std::filesystem;

const fs::path kIcons = fs::path(KESTREL_PROGRAM_ASSETS_DIR) / "icons" / "hicolor";
constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path PngPath(int size) {
  const std::string folder = std::to_string(size) + "x" + std::to_string(size);
  return kIcons / folder / "apps" / "kestrel-run.png";
}

struct Rgba {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> samples;
  const uint8_t* At(int x, int y) const { return &samples[(static_cast<size_t>(y) * width + x) * 4]; }
};

// The header says how the file stores its pixels: 8-bit RGBA is colour type 6 at depth 8.
struct PngHeader {
  uint32_t width = 0, height = 0;
  int depth = 0, colourType = -1;
};

PngHeader ReadHeader(const std::string& bytes) {
  PngHeader header;
  if (bytes.size() < 33 || bytes.compare(12, 4, "IHDR") != 0) return header;
  const auto u32 = [&bytes](size_t at) {
    return uint32_t{static_cast<uint8_t>(bytes[at])} << 24 | uint32_t{static_cast<uint8_t>(bytes[at + 1])} << 16 |
           uint32_t{static_cast<uint8_t>(bytes[at + 2])} << 8 | uint32_t{static_cast<uint8_t>(bytes[at + 3])};
  };
  header.width = u32(16);
  header.height = u32(20);
  header.depth = static_cast<uint8_t>(bytes[24]);
  header.colourType = static_cast<uint8_t>(bytes[25]);
  return header;
}

bool DecodePng(const std::string& bytes, Rgba* picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
  image.format = PNG_FORMAT_RGBA;
  picture->width = image.width;
  picture->height = image.height;
  picture->samples.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, picture->samples.data(), 0, nullptr) != 0;
}

// Relative luminance (sRGB decoded to linear light), 0 for black to 1 for white.
double Luminance(const uint8_t* pixel) {
  const auto linear = [](uint8_t value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(pixel[0]) + 0.7152 * linear(pixel[1]) + 0.0722 * linear(pixel[2]);
}

TEST(DesktopIcons, EverySizeIsAnRgbaPngOpaqueInTheMiddleAndClearInTheCorners) {
  for (int size : kSizes) {
    SCOPED_TRACE(std::to_string(size) + " pixels");
    const std::string bytes = ReadText(PngPath(size));
    const PngHeader header = ReadHeader(bytes);
    EXPECT_EQ(header.width, static_cast<uint32_t>(size));
    EXPECT_EQ(header.height, static_cast<uint32_t>(size));
    EXPECT_EQ(header.depth, 8);
    EXPECT_EQ(header.colourType, PNG_COLOR_TYPE_RGBA);
    Rgba icon;
    ASSERT_TRUE(DecodePng(bytes, &icon));
    ASSERT_EQ(icon.width, static_cast<uint32_t>(size));
    const int last = size - 1, middle = size / 2;
    for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
      EXPECT_EQ(icon.At(x, y)[3], 0) << x << ", " << y;
    }
    EXPECT_EQ(icon.At(middle, middle)[3], 255);
    // The round edge is anti-aliased: where it crosses a row, pixels are partly covered.
    int partial = 0;
    for (int x = 0; x < size; ++x) {
      const uint8_t alpha = icon.At(x, middle / 2)[3];
      partial += alpha > 0 && alpha < 255 ? 1 : 0;
    }
    EXPECT_GT(partial, 0);
  }
}

// The middle of every icon, the quarter of its area inside the badge where the helicopter
// flies, must hold plenty of both: silhouette pixels below 2 % luminance and sky above 20 %, a
// contrast of at least 3.5 to 1 between any two of them. A missing or shrunken helicopter, a
// silhouette painted too light or a sky too dark fails here first at 16 pixels.
TEST(DesktopIcons, TheHelicopterStandsOutDarkAgainstALightSkyAtEverySize) {
  for (int size : kSizes) {
    SCOPED_TRACE(std::to_string(size) + " pixels");
    Rgba icon;
    ASSERT_TRUE(DecodePng(ReadText(PngPath(size)), &icon));
    int dark = 0, light = 0, total = 0;
    for (int y = size / 4; y < size - size / 4; ++y) {
      for (int x = size / 4; x < size - size / 4; ++x) {
        ASSERT_EQ(icon.At(x, y)[3], 255) << x << ", " << y;
        const double luminance = Luminance(icon.At(x, y));
        dark += luminance < 0.02 ? 1 : 0;
        light += luminance > 0.2 ? 1 : 0;
        ++total;
      }
    }
    EXPECT_GE(dark * 5, total);
    EXPECT_GE(light * 5, total);
  }
}

// Nothing may be drawn outside the circle the square's edges touch, at any size: the corners of
// every icon stay clear, and the badge is round on every desktop.
TEST(DesktopIcons, EveryShapeStaysInsideTheRoundBadge) {
  const auto inside = [](double x, double y) { return std::hypot(x - 0.5, y - 0.5) <= 0.5; };
  for (int size : kSizes) {
    for (const IconShape& shape : ProgramIconShapes(size)) {
      std::vector<double> outline = shape.points;
      if (shape.kind == IconShapeKind::Ellipse) {
        for (int step = 0; step < 64; ++step) {
          const double angle = step * 2 * std::numbers::pi / 64;
          outline.push_back(shape.cx + shape.rx * std::cos(angle));
          outline.push_back(shape.cy + shape.ry * std::sin(angle));
        }
      }
      for (size_t i = 0; i + 1 < outline.size(); i += 2) {
        EXPECT_TRUE(inside(outline[i], outline[i + 1])) << size << ": " << outline[i] << ", " << outline[i + 1];
      }
    }
  }
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Every element opened is closed, in order; false at the first one that is not.
bool TagsBalance(const std::string& text) {
  std::vector<std::string> open;
  for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
    const size_t end = text.find('>', at);
    if (end == std::string::npos) return false;
    const std::string tag = text.substr(at + 1, end - at - 1);
    const std::string name = tag.substr(tag[0] == '/' ? 1 : 0, tag.find_first_of(" />", 1) - (tag[0] == '/' ? 1 : 0));
    if (tag[0] == '/') {
      if (open.empty() || open.back() != name) return false;
      open.pop_back();
    } else if (tag.back() != '/') {
      open.push_back(name);
    }
  }
  return open.empty();
}

TEST(DesktopIcons, TheScalableIconIsAClosedSvgWithOneElementAShape) {
  const std::string svg = ReadText(kIcons / "scalable" / "apps" / "kestrel-run.svg");
  ASSERT_FALSE(svg.empty());
  EXPECT_EQ(svg.rfind("<svg ", 0), 0u);
  EXPECT_NE(svg.find("xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 256 256\""), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
  EXPECT_TRUE(TagsBalance(svg));
  // Self-contained: nothing fetched or run, and every paint it refers to is defined in it.
  EXPECT_EQ(svg.find("href"), std::string::npos);
  EXPECT_EQ(svg.find("<script"), std::string::npos);
  for (size_t at = svg.find("url(#"); at != std::string::npos; at = svg.find("url(#", at + 1)) {
    const std::string id = svg.substr(at + 5, svg.find(')', at) - at - 5);
    EXPECT_NE(svg.find("id=\"" + id + "\""), std::string::npos) << id;
  }
  const size_t elements = CountOf(svg, "<polygon ") + CountOf(svg, "<circle ") + CountOf(svg, "<ellipse ");
  EXPECT_EQ(elements, ProgramIconShapes(kIconScalableSize).size());
}

}  // namespace
