// What the parts of `kestrel-pack check` share: the report, the pack being checked, and the
// checks of pictures. Only pack_check*.cpp include this.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "content/content_pack.h"
#include "content/ini.h"
#include "gfx/surface.h"

class ChopperDef;
class MissionDef;
class WeaponDef;

namespace pack_check {

// A text of the game (UTF-16) as UTF-8; "" for null.
std::string Show(const char16_t* text);
// A file name inside the pack as people write it: "/" between the parts.
std::string ShowFile(const char16_t* name);
// The text in double quotes; QuoteFile shows a file name as ShowFile does.
std::string Quote(const char16_t* text);
std::string QuoteFile(const char16_t* name);
// "[Section] Key" (or "[Section]" for an empty key): where in an INI file a problem is.
std::string KeyOf(const IniSection& section, const std::string& key);
std::string KeyOf(const IniSection& section, const char16_t* key);
// True, with the number, when `value` is a whole number the game's INI reader takes as it is
// written: decimal digits, or "0x" and hexadecimal digits, below 2^32. ("-5" reads as 0,
// "12.5" as 12.)
bool WholeNumber(const IniValue& value, uint64_t& number);
// A stored entry name as the game's reader matches it: "\" separators, ASCII in lower case.
std::string MatchName(const std::string& stored);

// Where a problem is: the INI file (a name in the pack) and the key within it.
struct Where {
  const char16_t* file;
  std::string key;
};

// Finds the line of an INI file of the pack that a Where names.
class LineFinder {
 public:
  void SetPack(const ContentPack* pack) { pack_ = pack; }
  // The line (from 1) of the key of `where` ("[Section] Key", "[Section] Goal #2" for the
  // section's second Goal key, "[Section]"); the section's own line when the key is not in it
  // (a missing key); 0 when the section is not found either.
  int LineOf(const char16_t* file, const std::string& where);

 private:
  const std::vector<std::u16string>& Lines(const char16_t* file);  // read once

  const ContentPack* pack_ = nullptr;
  std::map<std::string, std::vector<std::u16string>> files_;  // by name as the reader matches it
};

// The problems found, one line each ("FILE:LINE: KEY: problem", or "FILE: KEY: problem" where no
// line is known), in the order found, each once.
class Report {
 public:
  explicit Report(LineFinder& lines) : lineFinder_(lines) {}
  void Add(const Where& where, const std::string& problem);
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  LineFinder& lineFinder_;
  std::vector<std::string> lines_;
  std::set<std::string> seen_;
};

// The pack under check and what every part needs to know about it.
struct Context {
  const ContentPack* pack = nullptr;
  std::map<std::string, uint32_t> entrySizes;  // unpacked sizes by name as the reader matches it (MatchName)
  LineFinder lineFinder;
  Report report{lineFinder};
  std::set<std::string> meshesChecked;  // sections of meshes.ini already checked (MatchName)
  IniDocument meshList;                 // the pack's meshes.ini, once read
  bool meshListRead = false;
  bool meshListPresent = false;

  // Whether the pack has an entry of that name (readable or not).
  bool Listed(const char16_t* name) const;
  // Why a file that read as empty did so: "not in the pack", or damaged.
  std::string WhyMissing(const char16_t* name) const;
  // Reads meshes.ini into meshList the first time; false when the pack has none.
  bool ReadMeshList();
};

// Every menu screen is laid out for the 240 x 320 portrait surface and draws its background
// picture at (0, 0); the intro plays its frames the same way.
constexpr uint32_t kScreenWidth = 240, kScreenHeight = 320;

// The size a screen lays a pack's picture out for.
struct PictureNeed {
  const char* shownBy;  // "the mission screen"
  uint32_t width, height;
};

// Width and height from a JPEG's frame header; false when it has none.
bool JpegSize(const uint8_t* bytes, uint32_t size, uint32_t& width, uint32_t& height);

// The picture named by the key at `where` (null: the key is missing or short): in the pack,
// decoded by the game's decoder and of the size `need` gives. Reports what is wrong; true when
// nothing is.
bool CheckPicture(Context& context, const Where& where, const char16_t* picture, const PictureNeed& need);
// A colour picture with its mask, as the selection screens load name plates: both present, the
// colour picture as CheckPicture wants it, the mask decodable with it and of the same size.
void CheckMaskedPicture(Context& context, const Where& where, const char16_t* colour, const char16_t* mask,
                        const PictureNeed& need);

void CheckChopper(Context& context, const char16_t* listFile, const IniSection& section, const ChopperDef& chopper);
void CheckWeapon(Context& context, const char16_t* listFile, const IniSection& section, const WeaponDef& weapon);
// The intro frames intro\000.jpg, intro\001.jpg, ... that a manifest with "Intro" plays.
void CheckIntro(Context& context, const IniSection& manifest);
// A section of meshes.ini, once per pack: each level loads through MeshLibrary::LoadMesh, its
// texture is there, decodes and covers the u,v range of the level's faces, and at least one
// level loads.
void CheckMeshSection(Context& context, const IniSection& section);
// A mission: its pictures, helipad, landscape, meshes, objects and goals, loaded the way a
// mission starts. `list` is its list file, parsed, which holds its objects.
void CheckMission(Context& context, const IniDocument& list, const IniSection& section, const MissionDef& mission);

}  // namespace pack_check
