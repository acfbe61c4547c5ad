// `kestrel-pack check`: the pictures of helicopters, weapons and the introduction, decoded the way
// the screens that show them decode them and measured against the room those screens give them.
#include <cstdio>

#include "content/chopper_def.h"
#include "content/data_buffer.h"
#include "content/pictures.h"
#include "content/weapon_def.h"
#include "pack_check_internal.h"
#include "shared_layout.h"

namespace pack_check {
namespace {

// Name plates sit between the frame's arrows (up to x = 64) and its OK button (from x = 180) at
// y = 265: the helicopter screen centres them on x = 130, the loadout screen ends them at x = 175.
constexpr uint32_t kNamePlateWidth = 100, kNamePlateHeight = 28;
// The loadout screen draws the helicopter's plan at (0, 0), above the weapon figures at y = 150.
constexpr uint32_t kPlanWidth = 240, kPlanHeight = 150;
// LoadoutScreen::kMaxPylons: pylons beyond eight find no place on the screen.
constexpr uint16_t kMostPylons = 8;

std::string Size(uint32_t width, uint32_t height) { return std::to_string(width) + " x " + std::to_string(height); }

// A picture's bytes, already read, against what its screen needs.
bool CheckPictureBytes(Context& context, const Where& where, const char16_t* picture, const DataBuffer& bytes,
                       const PictureNeed& need, Surface& decoded) {
  if (picture == nullptr) {
    context.report.Add(where, "needs a file name");
    return false;
  }
  if (bytes.Empty()) {
    context.report.Add(where, "names " + QuoteFile(picture) + ", which is " + context.WhyMissing(picture));
    return false;
  }
  if (!DecodeJpeg(decoded, bytes)) {
    context.report.Add(where, QuoteFile(picture) + " is not a colour JPEG the game can decode");
    return false;
  }
  if (decoded.width != need.width || decoded.height != need.height) {
    context.report.Add(where, QuoteFile(picture) + " is " + Size(decoded.width, decoded.height) + "; " + need.shownBy +
                                  " needs " + Size(need.width, need.height));
    return false;
  }
  return true;
}

// The key's file names, when it has `count` of them; otherwise the key is reported.
bool HasFiles(Context& context, const Where& where, const IniSection& section, const char16_t* key, uint16_t count,
              const char* shownBy) {
  const IniKey* found = section.FindKey(key);
  if (found == nullptr) {
    context.report.Add(where, std::string("missing: ") + shownBy + " has no picture to show");
    return false;
  }
  if (found->values.Count() < count) {
    context.report.Add(where, count == 1 ? "needs a file name" : "needs " + std::to_string(count) + " file names");
    return false;
  }
  return true;
}

}  // namespace

bool CheckPicture(Context& context, const Where& where, const char16_t* picture, const PictureNeed& need) {
  const DataBuffer bytes(context.pack, picture);
  Surface decoded;
  return CheckPictureBytes(context, where, picture, bytes, need, decoded);
}

void CheckMaskedPicture(Context& context, const Where& where, const char16_t* colour, const char16_t* mask,
                        const PictureNeed& need) {
  const DataBuffer colourBytes(context.pack, colour);
  Surface decoded;
  if (!CheckPictureBytes(context, where, colour, colourBytes, need, decoded)) return;
  const DataBuffer maskBytes(context.pack, mask);
  if (maskBytes.Empty()) {
    context.report.Add(where, "names the mask " + QuoteFile(mask) + ", which is " + context.WhyMissing(mask));
    return;
  }
  Surface sprite;
  uint32_t width = 0, height = 0;
  if (!DecodeJpegWithMask(sprite, colourBytes, maskBytes) || !JpegSize(maskBytes.data, maskBytes.size, width, height)) {
    context.report.Add(where, "the mask " + QuoteFile(mask) + " is not a JPEG the game can decode");
  } else if (width != decoded.width || height != decoded.height) {
    context.report.Add(where, "the mask " + QuoteFile(mask) + " is " + Size(width, height) + ", its picture " +
                                  Size(decoded.width, decoded.height) + ": the two must be the same size");
  }
}

void CheckChopper(Context& context, const char16_t* listFile, const IniSection& section, const ChopperDef& chopper) {
  const auto where = [&](const char16_t* key) { return Where{listFile, KeyOf(section, key)}; };
  if (HasFiles(context, where(u"Resource Splash"), section, u"Resource Splash", 1, "the helicopter screen")) {
    CheckPicture(context, where(u"Resource Splash"), chopper.splashPicture,
                 {"the helicopter screen", kScreenWidth, kScreenHeight});
  }
  if (HasFiles(context, where(u"Resource Title"), section, u"Resource Title", 2,
               "the helicopter screen's name plate")) {
    CheckMaskedPicture(context, where(u"Resource Title"), chopper.titlePicture, chopper.titleMask,
                       {"the name plate of the helicopter screen", kNamePlateWidth, kNamePlateHeight});
  }
  if (HasFiles(context, where(u"Resource Weapon"), section, u"Resource Weapon", 1, "the loadout screen")) {
    CheckPicture(context, where(u"Resource Weapon"), chopper.weaponPicture,
                 {"the loadout screen's plan of the helicopter", kPlanWidth, kPlanHeight});
  }
  // The loadout screen shows at most eight pylons, and has places for 2, 4, 6 or 8 of them.
  const uint16_t shown = chopper.pylons < kMostPylons ? chopper.pylons : kMostPylons;
  if (shown % 2 != 0) {
    context.report.Add(where(u"Pylons"), std::to_string(chopper.pylons) +
                                             ": the loadout screen lays out 2, 4, 6 or 8 pylons, so none can be armed");
  } else if (chopper.pylons > kMostPylons) {
    context.report.Add(where(u"Pylons"),
                       std::to_string(chopper.pylons) + ": the loadout screen shows 8 pylons at most");
  }
}

void CheckWeapon(Context& context, const char16_t* listFile, const IniSection& section, const WeaponDef& weapon) {
  const auto where = [&](const char16_t* key) { return Where{listFile, KeyOf(section, key)}; };
  if (HasFiles(context, where(u"Resource Splash"), section, u"Resource Splash", 1, "the loadout screen")) {
    CheckPicture(context, where(u"Resource Splash"), weapon.splashPicture,
                 {"the loadout screen", kScreenWidth, kScreenHeight});
  }
  if (HasFiles(context, where(u"Resource Title"), section, u"Resource Title", 2, "the loadout screen's name plate")) {
    CheckMaskedPicture(context, where(u"Resource Title"), weapon.titlePicture, weapon.titleMask,
                       {"the name plate of the loadout screen", kNamePlateWidth, kNamePlateHeight});
  }
  // Both pylon pictures go under the program's one pylon mask, so they must have its size.
  const PictureNeed pylon = {"a pylon button (the program's pylon mask)", kPylonPictureWidth, kPylonPictureHeight};
  if (HasFiles(context, where(u"Resource Pylon"), section, u"Resource Pylon", 2, "the loadout screen's pylon")) {
    CheckPicture(context, where(u"Resource Pylon"), weapon.pylonPicture1, pylon);
    CheckPicture(context, where(u"Resource Pylon"), weapon.pylonPicture2, pylon);
  }
}

void CheckIntro(Context& context, const IniSection& manifest) {
  const Where where{u"content.ini", KeyOf(manifest, u"Intro")};
  // The intro screen plays intro\000.jpg, intro\001.jpg, ... up to the first that is missing.
  for (uint32_t number = 0; number < 1000; ++number) {
    char name[32];
    std::snprintf(name, sizeof name, "intro\\%03u.jpg", number);
    const std::u16string frame(name, name + std::char_traits<char>::length(name));
    const DataBuffer bytes(context.pack, frame.c_str());
    if (bytes.Empty()) {
      if (number == 0 || context.Listed(frame.c_str())) {
        context.report.Add(
            where, QuoteFile(frame.c_str()) + " is " + context.WhyMissing(frame.c_str()) +
                       (number == 0 ? ": the introduction has no frames" : ": the introduction stops before it"));
      }
      return;
    }
    Surface decoded;
    CheckPictureBytes(context, where, frame.c_str(), bytes, {"the intro screen", kScreenWidth, kScreenHeight}, decoded);
  }
}

}  // namespace pack_check
