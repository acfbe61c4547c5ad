// WAV files as the sound loader reads them: the RIFF chunk walk, then the conversion to the
// mixer's 22050 Hz 8-bit form.
//
// Checked: the samples found lie inside the file.
#include "fuzz_support.h"
#include "sound/sound.h"
#include "sound/wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  WavContents contents;
  if (ReadWavImage(data, static_cast<uint32_t>(size), &contents)) {
    FUZZ_CHECK(contents.samples >= data && contents.samples + contents.size <= data + size);
  }
  Sound sound;
  sound.LoadFromMemory(data, static_cast<uint32_t>(size));
  return 0;
}
