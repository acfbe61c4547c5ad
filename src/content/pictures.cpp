#include "content/pictures.h"

bool LoadProgramPicture(Surface& target, uint32_t pictureId) {
  const DataBuffer picture(pictureId);
  return DecodeJpeg(target, picture);
}

bool LoadProgramPicture(Surface& target, uint32_t colourId, uint32_t maskId) {
  const DataBuffer colour(colourId);
  const DataBuffer mask(maskId);
  return DecodeJpegWithMask(target, colour, mask);
}
