#include "contact_sheet.h"

#include <algorithm>
#include <string>

#include "asset_writer.h"
#include "gfx/blit.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/jpeg.h"
#include "gfx/surface.h"
#include "icon.h"

namespace {

constexpr int kSheetWidth = 1040;
constexpr int kMargin = 10;
constexpr int kLabelHeight = 12;
constexpr uint16_t kSheetBackground = 0x18C3;  // dark grey
constexpr uint16_t kLabelColour = 0xFFFF;
constexpr uint16_t kCheckLight = 0xC618;
constexpr uint16_t kCheckDark = 0x7BEF;

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

void Label(Surface& sheet, const std::string& text, int x, int y, uint16_t colour = kLabelColour) {
  const std::u16string wide = Wide(text);
  DrawText(sheet, &kSqTinyFont, colour, wide.c_str(), x, y, nullptr, HorizontalAlign::Left, VerticalAlign::Top);
}

bool Decode(const EncodedPictures& encoded, uint32_t id, Surface& target) {
  const auto found = encoded.find(id);
  if (found == encoded.end()) return false;
  return DecodeJpeg(target, found->second.data(), static_cast<uint32_t>(found->second.size()));
}

bool DecodeMasked(const EncodedPictures& encoded, uint32_t id, uint32_t maskId, Surface& target) {
  const auto colour = encoded.find(id), mask = encoded.find(maskId);
  if (colour == encoded.end() || mask == encoded.end()) return false;
  return DecodeJpegWithMask(target, colour->second.data(), static_cast<uint32_t>(colour->second.size()),
                            mask->second.data(), static_cast<uint32_t>(mask->second.size()));
}

// Copies an RGB565 surface into the sheet enlarged by a whole factor.
void PutScaled(Surface& sheet, const Surface& picture, int x, int y, int scale) {
  for (int py = 0; py < picture.height * scale; ++py) {
    if (y + py < 0 || y + py >= sheet.height) continue;
    const uint16_t* from = picture.Row(py / scale);
    uint16_t* to = sheet.Row(y + py);
    for (int px = 0; px < picture.width * scale; ++px) {
      if (x + px >= 0 && x + px < sheet.width) to[x + px] = from[px / scale];
    }
  }
}

// A grey mask as RGB565.
Surface MaskSurface(const Picture& mask) {
  Surface surface;
  surface.Create(mask.width, mask.height);
  for (uint32_t y = 0; y < mask.height; ++y) {
    for (uint32_t x = 0; x < mask.width; ++x) {
      const uint16_t v = *mask.At(x, y);
      surface.Row(y)[x] = static_cast<uint16_t>(((v >> 3) << 11) | ((v >> 2) << 5) | (v >> 3));
    }
  }
  return surface;
}

uint16_t CheckAt(uint32_t x, uint32_t y) { return ((x / 6 + y / 6) % 2) != 0 ? kCheckLight : kCheckDark; }

// The masked picture drawn by BlitAlpha over a checkerboard, as the game would draw it.
Surface OverCheckerboard(const Surface& sprite) {
  Surface surface;
  surface.Create(sprite.width, sprite.height);
  for (uint32_t y = 0; y < sprite.height; ++y) {
    for (uint32_t x = 0; x < sprite.width; ++x) surface.Row(y)[x] = CheckAt(x, y);
  }
  BlitAlpha(surface, 0, 0, sprite, 0, 0, sprite.width, sprite.height);
  return surface;
}

// An RGB565 colour widened to 8 bits per channel by repeating its top bits.
void Widen565(uint16_t colour, uint8_t rgb[3]) {
  const int r5 = colour >> 11, g6 = (colour >> 5) & 0x3F, b5 = colour & 0x1F;
  rgb[0] = static_cast<uint8_t>((r5 << 3) | (r5 >> 2));
  rgb[1] = static_cast<uint8_t>((g6 << 2) | (g6 >> 4));
  rgb[2] = static_cast<uint8_t>((b5 << 3) | (b5 >> 2));
}

// An RGBA picture (a desktop icon) over the checkerboard, as a desktop would blend it.
Surface RgbaOverCheckerboard(const Picture& picture) {
  Surface surface;
  surface.Create(picture.width, picture.height);
  for (uint32_t y = 0; y < picture.height; ++y) {
    for (uint32_t x = 0; x < picture.width; ++x) {
      const uint8_t* pixel = picture.At(x, y);
      uint8_t back[3];
      Widen565(CheckAt(x, y), back);
      int blended[3];
      for (int c = 0; c < 3; ++c) blended[c] = (pixel[c] * pixel[3] + back[c] * (255 - pixel[3]) + 127) / 255;
      surface.Row(y)[x] = static_cast<uint16_t>(((blended[0] >> 3) << 11) | ((blended[1] >> 2) << 5) | (blended[2] >> 3));
    }
  }
  return surface;
}

Picture ToPicture(const Surface& surface) {
  Picture picture(surface.width, surface.height, 3);
  for (uint32_t y = 0; y < surface.height; ++y) {
    for (uint32_t x = 0; x < surface.width; ++x) {
      Widen565(surface.Row(y)[x], picture.At(x, y));
    }
  }
  return picture;
}

// One cell: the label, then the tiles side by side.
struct Cell {
  std::string label;
  std::vector<Surface> tiles;
  int scale = 1;
  int Width() const {
    int width = 0;
    for (const Surface& tile : tiles) width += tile.width * scale + 4;
    return std::max(width, static_cast<int>(label.size()) * 5);
  }
  int Height() const {
    int height = 0;
    for (const Surface& tile : tiles) height = std::max(height, tile.height * scale);
    return height + kLabelHeight;
  }
};

std::vector<Cell> CellsOf(const PictureSet& set, const EncodedPictures& encoded, PictureGroup group) {
  std::vector<const ProgramPicture*> pictures;
  for (const ProgramPicture& picture : set.pictures()) {
    if (picture.group == group && !picture.isMask) pictures.push_back(&picture);
  }
  std::sort(pictures.begin(), pictures.end(), [](const auto* a, const auto* b) { return a->id < b->id; });
  std::vector<Cell> cells;
  for (const ProgramPicture* picture : pictures) {
    Cell cell;
    const int side = static_cast<int>(std::max(picture->picture.width, picture->picture.height));
    cell.scale = side <= 64 ? 3 : side <= 130 ? 2 : 1;
    Surface colour;
    Decode(encoded, picture->id, colour);
    if (picture->maskId == 0) {
      cell.label = std::to_string(picture->id) + " " + picture->title;
      cell.tiles.push_back(std::move(colour));
    } else {
      cell.label = std::to_string(picture->id) + "/" + std::to_string(picture->maskId) + " " + picture->title;
      cell.tiles.push_back(std::move(colour));
      if (const ProgramPicture* mask = set.Find(picture->maskId)) cell.tiles.push_back(MaskSurface(mask->picture));
      Surface sprite;
      DecodeMasked(encoded, picture->id, picture->maskId, sprite);
      cell.tiles.push_back(OverCheckerboard(sprite));
    }
    cells.push_back(std::move(cell));
  }
  return cells;
}

// The desktop icons at every size at 1:1, and the two smallest enlarged, where a blurred outline
// shows first.
void AddDesktopIconCells(std::vector<Cell>& cells) {
  Cell sizes, enlarged;
  sizes.label = "desktop icons, 16 to 256 pixels";
  enlarged.label = "16 and 32 pixels, enlarged 4 times";
  enlarged.scale = 4;
  for (int pixels : kProgramIconSizes) {
    const Picture icon = DrawProgramIcon(pixels).RgbaPicture();
    sizes.tiles.push_back(RgbaOverCheckerboard(icon));
    if (pixels <= 32) enlarged.tiles.push_back(RgbaOverCheckerboard(icon));
  }
  cells.push_back(std::move(sizes));
  cells.push_back(std::move(enlarged));
}

// Lays the cells out in rows, left to right, and writes the sheet.
bool WriteCellSheet(const std::string& path, const std::string& title, const std::vector<Cell>& cells) {
  struct Placed {
    int x, y;
  };
  std::vector<Placed> places;
  int x = kMargin, y = kMargin + 16, rowHeight = 0;
  for (const Cell& cell : cells) {
    if (x + cell.Width() > kSheetWidth - kMargin && x > kMargin) {
      x = kMargin;
      y += rowHeight + 10;
      rowHeight = 0;
    }
    places.push_back({x, y});
    x += cell.Width() + 14;
    rowHeight = std::max(rowHeight, cell.Height());
  }
  Surface sheet;
  if (!sheet.Create(kSheetWidth, static_cast<uint32_t>(y + rowHeight + kMargin))) return false;
  sheet.Clear(kSheetBackground);
  Label(sheet, title, kMargin, kMargin, 0x87F0);
  for (size_t i = 0; i < cells.size(); ++i) {
    const Cell& cell = cells[i];
    Label(sheet, cell.label, places[i].x, places[i].y);
    int tileX = places[i].x;
    for (const Surface& tile : cell.tiles) {
      PutScaled(sheet, tile, tileX, places[i].y + kLabelHeight, cell.scale);
      tileX += tile.width * cell.scale + 4;
    }
  }
  return WritePngPicture(path, ToPicture(sheet));
}

// --- Mock-ups of the screens --------------------------------------------------------------------

class MockScreen {
 public:
  MockScreen(const EncodedPictures& encoded, int width, int height) : encoded_(encoded) {
    surface.Create(width, height);
    surface.Clear(0);
  }
  // A full-screen picture; on a landscape mock-up it is enlarged to cover the width (nearest
  // pixel) and its middle shown, as a stand-in for the game view behind a landscape popup.
  void Background(uint32_t id) {
    Surface picture;
    if (!Decode(encoded_, id, picture)) return;
    if (surface.width <= picture.width) {
      Blit(surface, 0, 0, picture, 0, 0, picture.width, picture.height);
      return;
    }
    const int scaledHeight = picture.height * surface.width / picture.width;
    const int top = (scaledHeight - surface.height) / 2;
    for (int y = 0; y < surface.height; ++y) {
      const uint16_t* from = picture.Row((y + top) * picture.width / surface.width);
      for (int x = 0; x < surface.width; ++x) surface.Row(y)[x] = from[x * picture.width / surface.width];
    }
  }
  // Draws a masked picture with its top-left corner at (x, y); returns its size.
  void Sprite(uint32_t id, uint32_t maskId, int x, int y, int* width = nullptr, int* height = nullptr) {
    Surface sprite;
    DecodeMasked(encoded_, id, maskId, sprite);
    BlitAlpha(surface, x, y, sprite, 0, 0, sprite.width, sprite.height);
    if (width != nullptr) *width = sprite.width;
    if (height != nullptr) *height = sprite.height;
  }
  // Size of a picture without drawing it.
  void Size(uint32_t id, int* width, int* height) {
    Surface picture;
    Decode(encoded_, id, picture);
    *width = picture.width;
    *height = picture.height;
  }
  // A bar as the selection screens draw it: three one-pixel rows.
  void Bar(int x, int y, int length, bool second) {
    static constexpr uint16_t kFirst[3] = {0xC7F8, 0x4608, 0x0400};
    static constexpr uint16_t kSecond[3] = {0xFE18, 0xC208, 0x8000};
    for (int row = 0; row < 3; ++row) FillRect(surface, x, y + row, length, 1, second ? kSecond[row] : kFirst[row], false, 255);
  }
  // The menu frame: left bar, a bottom-left piece, the bottom centre and a bottom-right piece.
  void Frame(uint32_t bottomLeft, uint32_t bottomLeftMask, uint32_t bottomRight, uint32_t bottomRightMask) {
    Sprite(800, 801, 0, 0);
    Sprite(bottomLeft, bottomLeftMask, 0, 235);
    Sprite(804, 805, 70, 275);
    Sprite(bottomRight, bottomRightMask, 180, 250);
  }
  // A popup column centred at cx from top: (picture, gap) pairs, masks at picture + 1.
  void Popup(int cx, int top, const std::vector<std::pair<uint32_t, int>>& widgets) {
    int y = top;
    for (const auto& [id, gap] : widgets) {
      int width = 0, height = 0;
      Size(id, &width, &height);
      y += gap;
      Sprite(id, id + 1, cx - width / 2, y);
      y += height;
    }
  }

  Surface surface;

 private:
  const EncodedPictures& encoded_;
};

std::vector<Cell> MockScreens(const EncodedPictures& encoded) {
  std::vector<Cell> cells;
  const auto add = [&cells](const std::string& label, MockScreen& screen) {
    Cell cell;
    cell.label = label;
    cell.tiles.push_back(std::move(screen.surface));
    cells.push_back(std::move(cell));
  };
  {
    MockScreen intro(encoded, 240, 320);
    Surface art;
    Decode(encoded, 112, art);
    Blit(intro.surface, 0, 30, art, 0, 0, art.width, art.height);
    intro.Sprite(110, 111, 0, 0);
    add("intro: title art sliding, overlay", intro);
  }
  {
    MockScreen title(encoded, 240, 320);
    title.Background(501);
    title.Popup(120, 140, {{1000, 0}, {1020, 2}, {1030, 2}, {1040, 2}});
    int logoWidth = 0, logoHeight = 0;
    title.Size(150, &logoWidth, &logoHeight);
    title.Sprite(150, 151, (240 - logoWidth) / 2, 5);
    DrawText(title.surface, &kSqTinyFont, 0xFFFF, u"Version 1.1.2", 238, 0, nullptr, HorizontalAlign::Right,
             VerticalAlign::Top);
    title.Frame(802, 803, 806, 807);
    add("title screen (slide 501)", title);
  }
  {
    MockScreen options(encoded, 240, 320);
    options.Background(502);
    options.Popup(120, 140, {{1210, 0}, {1200, 2}, {1215, 2}, {1220, 2}, {1140, 5}});
    options.Frame(802, 803, 806, 807);
    add("graphics options popup", options);
  }
  {
    MockScreen chopper(encoded, 240, 320);
    chopper.Background(500);
    int labelsWidth = 0, labelsHeight = 0, legendWidth = 0, legendHeight = 0;
    chopper.Sprite(200, 201, 25, 2, &labelsWidth, &labelsHeight);
    chopper.Size(202, &legendWidth, &legendHeight);
    chopper.Sprite(202, 203, 240 - legendWidth, 2 + (labelsHeight - legendHeight) / 2);
    chopper.Sprite(208, 209, 25, labelsHeight + 2);
    static constexpr int kPairs[7] = {3, 14, 25, 35, 46, 57, 68};
    static constexpr int kEmpty[7] = {90, 60, 70, 85, 55, 80, 65};
    for (int i = 0; i < 7; ++i) {
      chopper.Bar(100, kPairs[i], kEmpty[i], false);
      chopper.Bar(100, kPairs[i] + 3, kEmpty[i] * 3 / 4, true);
    }
    chopper.Bar(100, 81, 70, false);
    chopper.Bar(100, 91, 50, false);
    int iconWidth = 0;
    for (int i = 0; i < 6; ++i) {
      chopper.Sprite(204, 205, 100 + i * iconWidth, 97, &iconWidth);
    }
    for (int i = 0, pylonWidth = 0; i < 4; ++i) chopper.Sprite(206, 207, 100 + i * pylonWidth, 111, &pylonWidth);
    chopper.Frame(818, 821, 814, 817);
    add("helicopter choice (splash: slide 500)", chopper);
  }
  {
    MockScreen loadout(encoded, 240, 320);
    loadout.Background(505);
    static constexpr int kPylons[8][2] = {{15, 30}, {195, 30}, {38, 67}, {172, 67}, {15, 104}, {195, 104}, {60, 104}, {150, 104}};
    for (int i = 0; i < 8; ++i) {
      const uint32_t id = i == 2 ? 270 : 262 + static_cast<uint32_t>(i);
      loadout.Sprite(id, 271, kPylons[i][0], kPylons[i][1]);
    }
    int warningWidth = 0, warningHeight = 0;
    loadout.Size(260, &warningWidth, &warningHeight);
    loadout.Sprite(260, 261, 240 - warningWidth, 210);
    loadout.Sprite(258, 259, 25, 2);
    loadout.Bar(120, 7, 80, true);
    loadout.Bar(120, 18, 100, false);
    loadout.Sprite(250, 251, 40, 150);
    static constexpr int kRows[5] = {153, 164, 175, 185, 196};
    static constexpr int kLengths[5] = {40, 90, 60, 75, 30};
    for (int i = 0; i < 5; ++i) loadout.Bar(100, kRows[i], kLengths[i], false);
    loadout.Sprite(254, 255, 100, 204);
    loadout.Frame(820, 821, 811, 813);
    add("loadout (8 pylons, one highlighted)", loadout);
  }
  {
    MockScreen debrief(encoded, 240, 320);
    debrief.Background(504);
    int width = 0, height = 0;
    debrief.Size(400, &width, &height);
    debrief.Sprite(400, 401, (240 - width) / 2, (320 - height) / 2);
    debrief.Frame(802, 803, 809, 810);
    add("debriefing (OK highlighted)", debrief);
  }
  {
    MockScreen quit(encoded, 320, 240);
    quit.Background(503);
    quit.Popup(160, 50, {{1410, 0}, {1420, 5}, {1430, 2}});
    add("quit question, landscape", quit);
  }
  {
    MockScreen chooser(encoded, 320, 240);
    chooser.Background(505);
    chooser.Popup(160, 50, {{1215, 0}, {1320, 0}, {1140, 24}});
    chooser.Sprite(900, 901, 110, 96);
    chooser.Sprite(910, 911, 110 + 33 - 5, 95);
    add("draw distance chooser, landscape", chooser);
  }
  return cells;
}

}  // namespace

bool WriteContactSheets(const std::string& folder, const PictureSet& set, const EncodedPictures& encoded) {
  struct Sheet {
    const char* file;
    const char* title;
    PictureGroup group;
  };
  static constexpr Sheet kSheets[] = {
      {"screens.png", "Full-screen pictures, logos and stamps", PictureGroup::Screens},
      {"menu-frame.png", "Menu frame (colour, mask, through the mask)", PictureGroup::MenuFrame},
      {"popups.png", "Popup labels and chooser (colour, mask, through the mask)", PictureGroup::Popups},
      {"selection.png", "Helicopter and loadout choice (colour, mask, through the mask)", PictureGroup::Selection},
      {"effects.png", "Effect sprites, 64 x 64 (colour, mask, through the mask)", PictureGroup::Effects},
      {"icons.png", "Window icon (colour, mask, through the mask) and desktop icons", PictureGroup::Icons},
  };
  bool ok = true;
  for (const Sheet& sheet : kSheets) {
    std::vector<Cell> cells = CellsOf(set, encoded, sheet.group);
    if (sheet.group == PictureGroup::Icons) AddDesktopIconCells(cells);
    ok = WriteCellSheet(folder + "/" + sheet.file, sheet.title, cells) && ok;
  }
  return WriteCellSheet(folder + "/mock-screens.png", "Screens assembled from the pieces", MockScreens(encoded)) && ok;
}
