// The shared parts of the generator's stages: writing pack files and contact sheets, and the
// check that every definition of the sources has art.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "generator.h"
#include "object_models.h"
#include "text.h"

namespace fs = std::filesystem;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Generator::WriteFile(const std::string& packName, const std::vector<uint8_t>& bytes) {
  const fs::path path = fs::path(outputFolder) / PathOfPackName(packName);
  std::error_code ignored;
  fs::create_directories(path.parent_path(), ignored);
  if (!WriteBytesToFile(path.string(), bytes)) return Fail("cannot write " + path.string());
  return true;
}

bool Generator::WriteJpeg(const std::string& packName, const Picture& picture, int quality) {
  return WriteFile(packName, EncodeJpegPicture(picture, quality));
}

bool Generator::Fail(const std::string& message) {
  if (error.empty()) error = message;
  return false;
}

bool ContactSheet::Add(const std::string& name, const Picture& picture) {
  std::error_code ignored;
  fs::create_directories(folder_, ignored);
  return WritePngPicture((fs::path(folder_) / (name + ".png")).string(), picture);
}

bool ContactSheet::AddSheet(const std::string& name, const std::vector<std::pair<std::string, Image>>& pictures,
                            int cellWidth, int cellHeight, int columns) {
  constexpr int kLabel = 12;
  const int rows = (static_cast<int>(pictures.size()) + columns - 1) / columns;
  Image sheet(columns * (cellWidth + 8) + 8, rows * (cellHeight + kLabel + 8) + 8, Rgb(48, 52, 56));
  const TextStyle label{1, false, Rgb(230, 236, 220)};
  for (size_t i = 0; i < pictures.size(); ++i) {
    const int x = 8 + static_cast<int>(i % columns) * (cellWidth + 8);
    const int y = 8 + static_cast<int>(i / columns) * (cellHeight + kLabel + 8);
    const Image& picture = pictures[i].second;
    // Whole-pixel shrinking keeps the preview sharp enough to judge.
    int factor = 1;
    while (picture.width() / factor > cellWidth || picture.height() / factor > cellHeight) ++factor;
    const Image thumb = factor > 1 ? picture.Downsample(factor) : picture;
    for (int py = 0; py < thumb.height(); ++py) {
      for (int px = 0; px < thumb.width(); ++px) {
        const bool light = ((px / 6 + py / 6) & 1) != 0;
        sheet.Set(x + px, y + py, light ? Rgb(110, 110, 110) : Rgb(80, 80, 80));
        sheet.Blend(x + px, y + py, thumb.Get(px, py), thumb.Alpha(px, py));
      }
    }
    DrawText(sheet, pictures[i].first, static_cast<float>(x), static_cast<float>(y + cellHeight + 2), label);
  }
  return Add(name, sheet.ToColourPicture());
}

bool CheckSources(Generator& g) {
  for (const auto& chopper : g.sources.choppers) {
    if (!HasChopperArt(Narrow(chopper->name))) {
      return g.Fail("choppers.ini names a helicopter [" + Narrow(chopper->name) + "] the generator cannot draw");
    }
  }
  for (const auto& weapon : g.sources.weapons) {
    if (!HasWeaponArt(Narrow(weapon->name))) {
      return g.Fail("weapons.ini names a weapon [" + Narrow(weapon->name) + "] the generator cannot draw");
    }
  }
  for (const IniSection* section : g.sources.meshes->sections) {
    Model model;
    if (!BuildObjectModel(Narrow(section->name), 0, model)) {
      return g.Fail("meshes.ini names a mesh [" + Narrow(section->name) + "] the generator cannot build");
    }
  }
  return true;
}

