#include "picture_set.h"

void PictureSet::AddPlain(uint32_t id, PictureGroup group, const std::string& title, const Canvas& canvas) {
  pictures_.push_back({id, group, false, 0, title, canvas.OpaquePicture()});
}

void PictureSet::AddMasked(uint32_t id, uint32_t maskId, PictureGroup group, const std::string& title,
                           const Canvas& canvas) {
  pictures_.push_back({id, group, false, maskId, title, canvas.ColourPicture()});
  pictures_.push_back({maskId, group, true, 0, title + " (mask)", canvas.MaskPicture()});
}

void PictureSet::AddSharingMask(uint32_t id, uint32_t maskId, PictureGroup group, const std::string& title,
                                const Canvas& canvas) {
  pictures_.push_back({id, group, false, maskId, title, canvas.ColourPicture()});
}

void PictureSet::AddSharedMask(uint32_t maskId, PictureGroup group, const std::string& title, const Canvas& canvas) {
  pictures_.push_back({maskId, group, true, 0, title, canvas.MaskPicture()});
}

const ProgramPicture* PictureSet::Find(uint32_t id) const {
  for (const ProgramPicture& picture : pictures_) {
    if (picture.id == id) return &picture;
  }
  return nullptr;
}
