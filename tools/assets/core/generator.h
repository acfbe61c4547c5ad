// What the stages of the core content generator share: the INI sources, the pack folder being
// filled, the contact sheet, and what earlier stages made for later ones (the models, the
// landscapes as the game reads them).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "asset_writer.h"
#include "content_sources.h"
#include "image.h"
#include "model.h"
#include "renderer.h"

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kJpegQuality = 90;

// Previews for people to look at: one PNG per picture in a folder, and overview sheets.
class ContactSheet {
 public:
  explicit ContactSheet(std::string folder) : folder_(std::move(folder)) {}
  bool Add(const std::string& name, const Picture& picture);
  // One PNG of labelled thumbnails of `pictures`, each scaled to fit a cell.
  bool AddSheet(const std::string& name, const std::vector<std::pair<std::string, Image>>& pictures, int cellWidth,
                int cellHeight, int columns);

 private:
  std::string folder_;
};

struct Generator {
  const ContentSources& sources;
  std::string outputFolder;
  ContactSheet sheet;
  std::string error;

  // Mission object models at their finest level, by mesh name.
  std::map<std::string, Model> objectModels;
  // Landscapes as the game decodes them, by the height file's name in the pack (lower case).
  std::map<std::string, TerrainData> terrains;

  // Writes a file of the pack by its pack name ("missions\patrol.jpg").
  bool WriteFile(const std::string& packName, const std::vector<uint8_t>& bytes);
  bool WriteJpeg(const std::string& packName, const Picture& picture, int quality = kJpegQuality);
  bool Fail(const std::string& message);
};

// Whether the generator has art for a helicopter or a weapon of the sources, by section name.
bool HasChopperArt(const std::string& name);
bool HasWeaponArt(const std::string& name);

// The stages, in order; each returns false with g.error set. The first only checks, so that
// sources naming something the generator cannot make are refused before any work is done.
bool CheckSources(Generator& g);
bool GenerateMeshes(Generator& g);
bool GenerateLandscapes(Generator& g);
bool GenerateMissionPictures(Generator& g);
bool GenerateChopperPictures(Generator& g);
bool GenerateWeaponPictures(Generator& g);
bool GenerateIntro(Generator& g);

std::string Lower(std::string text);
