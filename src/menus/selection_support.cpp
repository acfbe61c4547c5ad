#include "menus/selection_support.h"

#include "app/menu_screen.h"
#include "content/data_buffer.h"
#include "content/pictures.h"
#include "gfx/blit.h"
#include "gfx/draw.h"
#include "gfx/font.h"

namespace {

constexpr uint16_t kFirstColours[3] = {0xC7F8, 0x4608, 0x0400};
constexpr uint16_t kSecondColours[3] = {0xFE18, 0xC208, 0x8000};
constexpr uint32_t kBarLength = 100;

}  // namespace

void ShownValue::MoveTo(fixed target) {
  map_.Init(0, IntToFixed(MenuScreen::kCrossFadeMs), map_.y, target);
}

uint16_t NeighbourIndex(uint16_t index, uint16_t count, bool forward) {
  if (forward) return static_cast<uint16_t>(index + 1 >= count ? 0 : index + 1);
  return static_cast<uint16_t>(index == 0 ? count - 1 : index - 1);
}

void DrawFigureBar(Surface& surface, int32_t x, int32_t top, fixed value, fixed largest, bool secondColours) {
  if (largest <= 0 || value <= 0) return;
  const int64_t length = static_cast<int64_t>(value) * kBarLength / largest;
  const uint16_t* colours = secondColours ? kSecondColours : kFirstColours;
  for (int32_t row = 0; row < 3; ++row) {
    FillRect(surface, x, top + row, static_cast<int32_t>(length), 1, colours[row], false, 255);
  }
}

void DrawMaskedPicture(Surface& surface, const Surface& picture, int32_t x, int32_t y) {
  BlitAlpha(surface, x, y, picture, 0, 0, picture.width, picture.height);
}

std::unique_ptr<Surface> PackBackground(const ContentPack* pack, const char16_t* fileName) {
  auto picture = std::make_unique<Surface>();
  if (fileName != nullptr) DecodeJpeg(*picture, DataBuffer(pack, fileName));
  return picture;
}

void LoadPackSprite(Surface& target, const ContentPack* pack, const char16_t* colour, const char16_t* mask) {
  target.Release();
  if (colour == nullptr || mask == nullptr) return;
  const DataBuffer colourFile(pack, colour);
  const DataBuffer maskFile(pack, mask);
  if (colourFile.Empty() || maskFile.Empty() || !DecodeJpegWithMask(target, colourFile, maskFile)) target.Release();
}

void DrawEmptyListNotice(Surface& surface, const char16_t* text) {
  const Font* font = FindFont(u"sysfontSqTinyBold");
  const int32_t width = TextWidth(font, text) + 16;
  DrawPanel(surface, (surface.width - width) / 2, 140, width, 22, 0x2104, true, 200);
  DrawText(surface, font, 0x87F0, text, surface.width / 2, 147, nullptr, HorizontalAlign::Centre, VerticalAlign::Top);
}
