// kestrel-run: the game.
//
//   kestrel-run [--scale N] [--fullscreen]      play in a window (SDL2)
//   kestrel-run --headless --script FILE        run an input script, no window or sound device
//               [--audio-out FILE.wav]         ... recording what it plays to a WAV file
//   kestrel-run --input-test                    a screen that echoes keys, hold times and taps
//   ... --trace FILE                            the flight recorder: a JSON line per world update
//   ... --record FILE                           the run's input as a script that replays it
//   ... --mission NAME [--chopper NAME] [--weapon NAME]...
//                                               straight into a mission, armed with one load of
//                                               each weapon (and the built-in gun)
//
// Content packs (core.bin, *.bin) are read from $KESTREL_DATA_DIR, else from beside the
// executable, else from the installed data folder.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/application.h"
#include "core/memory.h"
#include "menus/input_test_screen.h"
#include "game/screen/game_screen.h"
#include "game/screen/quick_start.h"
#include "menus/menu_screens.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_script.h"
#include "platform/sdl/sdl_platform.h"
#include "sound/sound.h"
#include "sound/sound_mixer.h"

namespace {

struct Options {
  bool headless = false;
  bool inputTest = false;
  std::string script;
  std::string audioOut;
  std::string trace;
  std::string record;
  QuickStartChoice quickStart;
  SdlOptions sdl;
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: kestrel-run [--scale N] [--fullscreen] [--input-test] [--trace FILE] [--record FILE]\n"
               "                   [QUICK START]\n"
               "       kestrel-run --headless --script FILE [--audio-out FILE.wav] [--input-test] [--trace FILE]\n"
               "                   [--record FILE]\n"
               "                   [QUICK START]\n"
               "quick start: --mission NAME [--chopper NAME] [--weapon NAME]...\n");
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--headless") {
      options->headless = true;
    } else if (arg == "--script" && i + 1 < argc) {
      options->script = argv[++i];
    } else if (arg == "--mission" && i + 1 < argc) {
      options->quickStart.mission = argv[++i];
    } else if (arg == "--chopper" && i + 1 < argc) {
      options->quickStart.chopper = argv[++i];
    } else if (arg == "--weapon" && i + 1 < argc) {
      options->quickStart.weapons.push_back(argv[++i]);
    } else if (arg == "--record" && i + 1 < argc) {
      options->record = argv[++i];
    } else if (arg == "--trace" && i + 1 < argc) {
      options->trace = argv[++i];
    } else if (arg == "--audio-out" && i + 1 < argc) {
      options->audioOut = argv[++i];
    } else if (arg == "--scale" && i + 1 < argc) {
      options->sdl.scale = std::atoi(argv[++i]);
      if (options->sdl.scale < 1 || options->sdl.scale > 16) return false;
    } else if (arg == "--fullscreen") {
      options->sdl.fullscreen = true;
    } else if (arg == "--input-test") {
      options->inputTest = true;
    } else {
      return false;
    }
  }
  const QuickStartChoice& quick = options->quickStart;
  if (quick.mission.empty() && (!quick.chopper.empty() || !quick.weapons.empty())) return false;
  if (!options->headless) return options->audioOut.empty();  // the desktop plays, it does not record
  return !options->script.empty();
}

void ShowOutOfMemory() { std::fprintf(stderr, "Kestrel Run: out of memory\n"); }

ScreenFactory MakeScreenFactory(bool inputTest) {
  ScreenFactory factory;
  RegisterMenuScreens(factory);
  RegisterGameScreen(factory);
  if (inputTest) factory.intro = &CreateInputTestScreen;
  return factory;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    PrintUsage(stderr);
    return 2;
  }
  MemoryHooks hooks;
  hooks.showOutOfMemory = &ShowOutOfMemory;
  SetMemoryHooks(hooks);

  std::unique_ptr<Platform> platform;
  HeadlessScript script;
  if (options.headless) {
    std::string error;
    if (!script.Load(options.script, &error)) {
      std::fprintf(stderr, "kestrel-run: %s\n", error.c_str());
      return 2;
    }
    auto headless = std::make_unique<HeadlessPlatform>();
    headless->AttachScript(&script);
    if (!options.audioOut.empty() && !headless->audio().RecordTo(options.audioOut)) {
      std::fprintf(stderr, "kestrel-run: cannot write %s\n", options.audioOut.c_str());
      return 2;
    }
    platform = std::move(headless);
  } else {
    platform = CreateSdlPlatform(options.sdl);
    if (platform == nullptr) {
      std::fprintf(stderr, "kestrel-run: no display to open a window on (try --headless --script FILE)\n");
      return 1;
    }
  }

  const ScreenFactory factory = MakeScreenFactory(options.inputTest);
  auto application = std::make_unique<Application>(platform.get(), factory);
  if (!application->Create(u"KestrelR", u"Kestrel Run")) {
    if (application->anotherCopyRuns()) return 0;  // the running copy has come to the front
    std::fprintf(stderr, "kestrel-run: cannot open the display\n");
    return 1;
  }
  if (!options.trace.empty() && !application->OpenTrace(options.trace)) {
    std::fprintf(stderr, "kestrel-run: cannot write %s\n", options.trace.c_str());
    return 2;
  }
  if (!options.record.empty() && !application->inputRecorder.Open(options.record)) {
    std::fprintf(stderr, "kestrel-run: cannot write %s\n", options.record.c_str());
    return 2;
  }
  // Every sound of the program plays through the platform's audio output.
  SoundMixer::Instance().SetOutput(platform->Audio());
  if (options.quickStart.mission.empty()) {
    application->Init();
  } else {
    application->LoadContent();
    std::string error;
    GameScreen* game = CreateQuickStartScreen(application.get(), options.quickStart, &error);
    if (game == nullptr) {
      std::fprintf(stderr, "kestrel-run: %s\n", error.c_str());
      application->Destroy();
      SoundMixer::Instance().SetOutput(nullptr);
      return 2;
    }
    application->Start(game);
  }
  // The start-up sound, once, whatever the settings say; it keeps the audio output open until
  // it is released at shutdown.
  Sound startupSound;
  startupSound.LoadFromResource(140);
  startupSound.Play(false);
  const int exitCode = application->Run();
  application->Exit();
  startupSound.Release();
  application->Destroy();
  application.reset();
  SoundMixer::Instance().SetOutput(nullptr);
  return exitCode;
}
