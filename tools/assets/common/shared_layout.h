// Sizes that the program's pictures and the content packs' pictures must agree on.
#pragma once

// Pylon buttons of the loadout screen. The program's picture 271 is the mask of every pylon
// picture, its own and every weapon's in a pack. Eight pylons sit 45 pixels apart across and 37
// down; four sit 35 apart down on the diagonal: 45 x 35 is the largest button that overlaps in
// no layout.
constexpr int kPylonPictureWidth = 45;
constexpr int kPylonPictureHeight = 35;
