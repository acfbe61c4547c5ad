// The settings file: whatever it holds, loading gives values the game can use, and saving them
// and loading again gives the same values back.
#include "app/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (64u << 10)) return 0;
  fuzz::ScratchFile file("settings.ini", data, size);
  if (!file.ok()) return 0;

  Settings loaded(file.path());
  FUZZ_CHECK(loaded.Load());
  FUZZ_CHECK(loaded.screenMode <= 1 && loaded.drawDistance <= 3 && loaded.imageQuality <= 3);
  FUZZ_CHECK(loaded.Save());

  Settings reloaded(file.path());
  FUZZ_CHECK(reloaded.Load());
  FUZZ_CHECK(reloaded.skipIntro == loaded.skipIntro && reloaded.interlaced == loaded.interlaced &&
             reloaded.mute == loaded.mute && reloaded.volume == loaded.volume &&
             reloaded.screenMode == loaded.screenMode && reloaded.drawDistance == loaded.drawDistance &&
             reloaded.imageQuality == loaded.imageQuality);
  return 0;
}
