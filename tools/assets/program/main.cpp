// kestrel-program-assets: writes the program's own pictures and sounds.
//
//   kestrel-program-assets ASSETS [CONTACT-SHEETS]
//
// ASSETS receives raw/<id>.jpg (pictures and masks) and sound/<id>.wav (PCM 16-bit mono,
// 11025 Hz), the folder the game's resource table is compiled from; the desktop icons in
// icons/hicolor/ (a PNG for each size and an SVG, laid out as an icon theme); and a stamp file
// program-assets.stamp written last. With CONTACT-SHEETS, PNG previews of the pictures and a
// list of the sounds with their lengths and levels (sounds.txt) go there too. The same program
// always writes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "asset_writer.h"
#include "contact_sheet.h"
#include "icon.h"
#include "picture_set.h"
#include "program_sounds.h"
#include "synth.h"

namespace {

// High enough that one-pixel caption strokes stay crisp; masks a little higher still, since
// their edges decide what is drawn at all.
constexpr int kPictureQuality = 92;
constexpr int kMaskQuality = 95;

// Every number used once; every mask the size of each colour picture drawn through it.
bool CheckSet(const PictureSet& set) {
  bool ok = true;
  std::set<uint32_t> ids;
  for (const ProgramPicture& picture : set.pictures()) {
    if (!ids.insert(picture.id).second) {
      std::fprintf(stderr, "picture %u is made twice\n", picture.id);
      ok = false;
    }
    if (picture.maskId == 0) continue;
    const ProgramPicture* mask = set.Find(picture.maskId);
    if (mask == nullptr || !mask->isMask || mask->picture.width != picture.picture.width ||
        mask->picture.height != picture.picture.height) {
      std::fprintf(stderr, "picture %u has no mask %u of its size\n", picture.id, picture.maskId);
      ok = false;
    }
  }
  return ok;
}

// One line a sound: number, what it is for, looped or not, length and peak level.
std::string SoundListing(const std::vector<ProgramSound>& sounds) {
  std::string listing;
  for (const ProgramSound& sound : sounds) {
    int peak = 0;
    for (int16_t sample : sound.samples) peak = std::max(peak, std::abs(static_cast<int>(sample)));
    char line[160];
    std::snprintf(line, sizeof line, "%u  %-24s %-8s %6.3f s  peak %5.1f dBFS\n", sound.id, sound.title.c_str(),
                  sound.loops ? "looped" : "one-shot", static_cast<double>(sound.samples.size()) / kSynthRate,
                  peak > 0 ? 20 * std::log10(peak / 32767.0) : -99.0);
    listing += line;
  }
  return listing;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: kestrel-program-assets ASSETS [CONTACT-SHEETS]\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path assets = argv[1];
  std::error_code error;
  fs::create_directories(assets / "raw", error);
  fs::create_directories(assets / "sound", error);

  PictureSet set;
  AddScreenPictures(set);
  AddMenuFramePictures(set);
  AddPopupPictures(set);
  AddSelectionPictures(set);
  AddEffectPictures(set);
  AddProgramIconPicture(set);
  if (!CheckSet(set)) return 1;

  bool ok = true;
  EncodedPictures encoded;
  for (const ProgramPicture& picture : set.pictures()) {
    auto bytes = EncodeJpegPicture(picture.picture, picture.isMask ? kMaskQuality : kPictureQuality);
    const fs::path path = assets / "raw" / (std::to_string(picture.id) + ".jpg");
    if (!WriteBytesToFile(path.string(), bytes)) {
      std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
      ok = false;
    }
    encoded[picture.id] = std::move(bytes);
  }
  const std::vector<ProgramSound> sounds = MakeProgramSounds();
  for (const ProgramSound& sound : sounds) {
    const fs::path path = assets / "sound" / (std::to_string(sound.id) + ".wav");
    if (!WriteBytesToFile(path.string(), EncodeWavMono16(sound.samples, kSynthRate))) {
      std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
      ok = false;
    }
  }
  if (!WriteProgramIcons(assets)) {
    std::fprintf(stderr, "cannot write the icons in %s\n", (assets / "icons").string().c_str());
    ok = false;
  }
  if (argc == 3) {
    fs::create_directories(argv[2], error);
    const std::string listing = SoundListing(sounds);
    if (!WriteContactSheets(argv[2], set, encoded) ||
        !WriteBytesToFile((fs::path(argv[2]) / "sounds.txt").string(), {listing.begin(), listing.end()})) {
      std::fprintf(stderr, "cannot write the contact sheets in %s\n", argv[2]);
      ok = false;
    }
  }
  if (!ok) return 1;
  const std::string stamp = "pictures " + std::to_string(set.pictures().size()) + "\n";
  return WriteBytesToFile((assets / "program-assets.stamp").string(), {stamp.begin(), stamp.end()}) ? 0 : 1;
}
