// The program's pictures as they are generated: numbered JPEG resources, each either a plain
// colour picture, a colour picture drawn through a mask, or a mask (a greyscale picture that
// may serve several colour pictures of the same size).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "asset_writer.h"
#include "canvas.h"

// Where a picture belongs, for the contact sheets.
enum class PictureGroup { Screens, MenuFrame, Popups, Selection, Effects, Icons };

struct ProgramPicture {
  uint32_t id = 0;
  PictureGroup group = PictureGroup::Screens;
  bool isMask = false;
  uint32_t maskId = 0;  // for a colour picture drawn through a mask; 0 for a plain picture
  std::string title;    // what it shows, for the contact sheets
  Picture picture;
};

class PictureSet {
 public:
  // A picture shown as it is (backgrounds, slides): the canvas over black.
  void AddPlain(uint32_t id, PictureGroup group, const std::string& title, const Canvas& canvas);
  // A colour picture and its own mask at maskId.
  void AddMasked(uint32_t id, uint32_t maskId, PictureGroup group, const std::string& title, const Canvas& canvas);
  // A colour picture that shares the mask maskId with others of the same size; the mask is
  // written once, from the canvas that AddSharedMask is given.
  void AddSharingMask(uint32_t id, uint32_t maskId, PictureGroup group, const std::string& title,
                      const Canvas& canvas);
  void AddSharedMask(uint32_t maskId, PictureGroup group, const std::string& title, const Canvas& canvas);

  const std::vector<ProgramPicture>& pictures() const { return pictures_; }
  // The picture with that number, or null.
  const ProgramPicture* Find(uint32_t id) const;

 private:
  std::vector<ProgramPicture> pictures_;
};

// The generators, one per family of pictures; each adds its pictures to the set.
void AddMenuFramePictures(PictureSet& set);
void AddPopupPictures(PictureSet& set);
void AddSelectionPictures(PictureSet& set);
void AddScreenPictures(PictureSet& set);
void AddEffectPictures(PictureSet& set);
