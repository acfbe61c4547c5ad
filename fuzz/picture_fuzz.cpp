// The picture decoding wrapper around libjpeg, as the game calls it for every picture, sky and
// texture: a plain colour picture, and a colour picture with a mask (the input is cut in two
// where its first byte says).
//
// Checked: a picture either decodes to a surface within the size bound or leaves it empty.
#include "fuzz_support.h"
#include "gfx/jpeg.h"

namespace {

void CheckDecoded(const Surface& surface, bool decoded) {
  if (decoded) {
    FUZZ_CHECK(surface.width > 0 && surface.height > 0);
    FUZZ_CHECK(surface.width <= kMaxJpegSide && surface.height <= kMaxJpegSide);
  } else {
    FUZZ_CHECK(surface.width == 0 && surface.height == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint32_t pictureSize = static_cast<uint32_t>(size - 1);
  const uint8_t* picture = data + 1;
  {
    Surface surface;
    CheckDecoded(surface, DecodeJpeg(surface, picture, pictureSize));
  }
  const uint32_t split = pictureSize * data[0] / 255;
  Surface sprite;
  CheckDecoded(sprite, DecodeJpegWithMask(sprite, picture, split, picture + split, pictureSize - split));
  return 0;
}
