// The kestrel-pack commands that make a pack's files from an author's sources:
//
//   terrain HEIGHTS TEXTURE -o NAME [--metres-per-level M]   NAME.hgt and NAME.tex
//   sky PANORAMA -o NAME                                     NAME.jpg
//   mesh MODEL [--lod MODEL ...] [--texture PICTURE] [--distances D,D,...] -o NAME
//                                                            NAME0.msh, NAME1.msh, ... and NAME.jpg
//   picture PICTURE [--size WxH] -o NAME                     NAME.jpg
//
// Each prints what it wrote and the lines that name the files in the pack's INI files, and
// returns the exit status: 0, 1 when the sources are at fault (nothing is written then), 2 for
// a command line it does not understand.
#pragma once

#include <string>
#include <vector>

extern const char kAuthoringUsage[];

int TerrainCommand(const std::vector<std::string>& arguments);
int SkyCommand(const std::vector<std::string>& arguments);
int MeshCommand(const std::vector<std::string>& arguments);
int PictureCommand(const std::vector<std::string>& arguments);
