// Pieces shared by the menu pictures: the look (the HUD's greens on dark olive panels), name
// plates, and scenes of a landscape with models standing on it where the game would put them.
#pragma once

#include <string>
#include <vector>

#include "generator.h"
#include "image.h"
#include "model.h"
#include "shared_layout.h"
#include "renderer.h"
#include "text.h"

// The game's HUD colours: text 0x47E8, titles 0x87F0, panels 0x2104.
constexpr Colour kHudText = Rgb(66, 255, 66);
constexpr Colour kHudTitle = Rgb(132, 255, 132);
constexpr Colour kHudPanel = Rgb(33, 33, 33);

// Name plates of the selection screens (colour and mask): 100 x 28, drawn centred on x = 130
// (helicopters) or ending at x = 175 (weapons) at y = 265, between the frame's arrows (up to
// x = 64) and its OK button (from x = 180).
constexpr int kTitleWidth = 100;
constexpr int kTitleHeight = 28;
// The loadout screen's plan of the helicopter, drawn at (0, 0) above the weapon figures, whose
// labels start at y = 150.
constexpr int kLoadoutWidth = 240;
constexpr int kLoadoutHeight = 150;
// Pylon pictures share the size of the program's pylon mask (picture 271).
constexpr int kPylonWidth = kPylonPictureWidth;
constexpr int kPylonHeight = kPylonPictureHeight;

// A plate with the name in the game's bold font, as large as fits; its alpha is the mask.
Image NamePlate(const std::string& name, const Colour& accent);

struct SceneItem {
  const Model* model;
  Pose pose;
};

// The objects of a mission where the game places them: ground objects on the terrain (flat per
// 4 m cell, as the game samples it), helicopters at their height, children on their parents.
std::vector<SceneItem> MissionScene(const Generator& g, const MissionSource& mission, const TerrainData& terrain);

// A landscape picture with models, `width` x `height`, hazy toward `farDistance`.
Image RenderScene(const TerrainData& terrain, const Camera& camera, const std::vector<SceneItem>& items,
                  const Vec3& sun, int width, int height, double farDistance = 1600, double fogDistance = 2600);

// The terrain for a mission (its height file), or null.
const TerrainData* TerrainOf(const Generator& g, const MissionDef& mission);

// Darkens the rows [top, bottom) toward black by `amount` at the far edge (a legible backdrop).
void ShadeRows(Image& image, int top, int bottom, float fromAmount, float toAmount);
