// The application icon, drawn from the shapes of icon_shapes.h: the desktop icons (PNG with
// alpha at the usual sizes, and the SVG) and the window icon among the program's pictures.
#pragma once

#include <filesystem>

#include "canvas.h"
#include "picture_set.h"

// The raster sizes of the desktop icons, in pixels a side.
inline constexpr int kProgramIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon at pixels x pixels: coverage is the alpha, nothing is drawn outside the badge.
Canvas DrawProgramIcon(int pixels);

// The 64 x 64 icon as a colour picture with its own mask, at the numbers the game loads it from.
void AddProgramIconPicture(PictureSet& set);

// Writes icons/hicolor/<n>x<n>/apps/kestrel-run.png for every size and
// icons/hicolor/scalable/apps/kestrel-run.svg below assets; false when a file cannot be written.
bool WriteProgramIcons(const std::filesystem::path& assets);
