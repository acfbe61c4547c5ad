// kestrel-run: the game.
//
//   kestrel-run [--scale N] [--fullscreen]      play in a window (SDL2); Alt+Enter or F11
//                                               switches to the full screen and back, and the
//                                               window's scale and state are remembered
//   kestrel-run --headless --script FILE        run an input script, no window or sound device
//               [--audio-out FILE.wav]         ... recording what it plays to a WAV file
//   kestrel-run --headless --soak SECONDS [--seed N]
//                                               random play for SECONDS of simulated time, then a
//                                               report of what it visited and of the memory
//   kestrel-run --input-test                    a screen that echoes keys, hold times and taps
//   ... --trace FILE                            the flight recorder: a JSON line per world update
//   ... --record FILE                           the run's input as a script that replays it
//   ... --mission NAME [--chopper NAME] [--weapon NAME]...
//                                               straight into a mission, armed with one load of
//                                               each weapon (and the built-in gun)
//
// Content packs (core.bin, *.bin) are read from $KESTREL_DATA_DIR, else from beside the
// executable, else from the installed data folder; then the player's own packs from
// $XDG_DATA_HOME/kestrel-run.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/settings.h"
#include "core/memory.h"
#include "menus/input_test_screen.h"
#include "game/screen/game_screen.h"
#include "game/screen/quick_start.h"
#include "menus/menu_screens.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_script.h"
#include "platform/headless/soak_input.h"
#include "platform/sdl/sdl_platform.h"
#include "sound/sound.h"
#include "sound/sound_mixer.h"

namespace {

// A day of simulated time: far more than any soak needs, and well inside the 32-bit clock.
constexpr uint32_t kLongestSoakSeconds = 24 * 3600;

struct Options {
  bool help = false;
  bool headless = false;
  bool scaleGiven = false;
  bool fullscreenGiven = false;
  bool inputTest = false;
  std::string script;
  uint32_t soakSeconds = 0;  // 0: no soak
  std::optional<uint64_t> soakSeed;
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
               "       kestrel-run --headless --soak SECONDS [--seed N]   (SECONDS 1..%u, seed 1 by default)\n"
               "       kestrel-run --help\n"
               "quick start: --mission NAME [--chopper NAME] [--weapon NAME]...\n",
               kLongestSoakSeconds);
}

// A whole decimal number within [minimum, maximum], and nothing else.
bool ParseNumber(const char* text, uint64_t minimum, uint64_t maximum, uint64_t* value) {
  if (text[0] < '0' || text[0] > '9') return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtoull(text, &end, 10);
  return *end == '\0' && errno == 0 && *value >= minimum && *value <= maximum;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options->help = true;
      return argc == 2;
    }
    if (arg == "--headless") {
      options->headless = true;
    } else if (arg == "--script" && i + 1 < argc) {
      options->script = argv[++i];
    } else if (arg == "--soak" && i + 1 < argc) {
      uint64_t seconds = 0;
      if (!ParseNumber(argv[++i], 1, kLongestSoakSeconds, &seconds)) return false;
      options->soakSeconds = static_cast<uint32_t>(seconds);
    } else if (arg == "--seed" && i + 1 < argc) {
      uint64_t seed = 0;
      if (!ParseNumber(argv[++i], 0, UINT64_MAX, &seed)) return false;
      options->soakSeed = seed;
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
      uint64_t scale = 0;
      if (!ParseNumber(argv[++i], 1, WindowSettings::kLargestScale, &scale)) return false;
      options->sdl.scale = static_cast<int>(scale);
      options->scaleGiven = true;
    } else if (arg == "--fullscreen") {
      options->sdl.fullscreen = true;
      options->fullscreenGiven = true;
    } else if (arg == "--input-test") {
      options->inputTest = true;
    } else {
      return false;
    }
  }
  const QuickStartChoice& quick = options->quickStart;
  if (quick.mission.empty() && (!quick.chopper.empty() || !quick.weapons.empty())) return false;
  if (options->soakSeconds != 0) {
    // The soak makes its own input and starts the game again when it ends on its own, so it
    // goes with nothing that belongs to a single run.
    return options->headless && options->script.empty() && options->audioOut.empty() && options->trace.empty() &&
           options->record.empty() && quick.mission.empty() && !options->inputTest;
  }
  if (options->soakSeed) return false;
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

// Settings that start at the defaults and are never written: a soak neither depends on the
// player's settings (the same seed gives the same run anywhere) nor changes them at random.
class UnsavedSettings : public Settings {
 public:
  bool Load() override { return SettingsStore::Load(); }
  bool Save() override { return SettingsStore::Save(); }
};

// One run of the game on `platform`, from opening the display to shutdown: the exit status.
int RunGame(Platform* platform, const Options& options) {
  const ScreenFactory factory = MakeScreenFactory(options.inputTest);
  auto application = std::make_unique<Application>(platform, factory);
  if (options.soakSeconds != 0) application->settings = std::make_unique<UnsavedSettings>();
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

// The game played at random until the time is up. The title's Exit ends the game early, as it
// should; the soak then starts it again, as a player would, rather than steering clear of one
// button whose place only the title's layout knows. Every start and shutdown is soaked with it.
int RunSoak(const Options& options) {
  HeadlessPlatform platform;
  SoakInput soak(options.soakSeconds, options.soakSeed.value_or(1));
  platform.AttachInput(&soak);
  int exitCode = RunGame(&platform, options);
  while (exitCode == 0 && !soak.finished()) {
    soak.NoteRestart();
    exitCode = RunGame(&platform, options);
  }
  const bool memoryFlat = soak.Report(stdout);
  if (exitCode != 0) return exitCode;
  if (!memoryFlat) {
    std::fprintf(stderr, "kestrel-run: the resident memory grew by more than %lld KiB after the first minute\n",
                 static_cast<long long>(SoakInput::kGrowthBoundKiB));
    return 1;
  }
  return 0;
}

// The window as the player left it last time, unless the command line says otherwise; every
// change the player makes to it (full screen, size) is remembered at once.
SdlOptions WindowOptions(const Options& options) {
  const std::string settingsPath = Settings::DefaultPath();
  const WindowSettings saved = WindowSettings::Load(settingsPath);
  SdlOptions sdl = options.sdl;
  if (!options.scaleGiven) sdl.scale = saved.scale;
  if (!options.fullscreenGiven) sdl.fullscreen = saved.fullscreen;
  sdl.windowChanged = [settingsPath, remembered = saved](int scale, bool fullscreen) mutable {
    const WindowSettings now{scale, fullscreen};
    if (now == remembered) return;
    if (now.Save(settingsPath)) remembered = now;
  };
  return sdl;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    PrintUsage(stderr);
    return 2;
  }
  if (options.help) {
    PrintUsage(stdout);
    return 0;
  }
  MemoryHooks hooks;
  hooks.showOutOfMemory = &ShowOutOfMemory;
  SetMemoryHooks(hooks);
  if (options.soakSeconds != 0) return RunSoak(options);

  std::unique_ptr<Platform> platform;
  HeadlessScript script;
  if (options.headless) {
    std::string error;
    if (!script.Load(options.script, &error)) {
      std::fprintf(stderr, "kestrel-run: %s\n", error.c_str());
      return 2;
    }
    auto headless = std::make_unique<HeadlessPlatform>();
    headless->AttachInput(&script);
    if (!options.audioOut.empty() && !headless->audio().RecordTo(options.audioOut)) {
      std::fprintf(stderr, "kestrel-run: cannot write %s\n", options.audioOut.c_str());
      return 2;
    }
    platform = std::move(headless);
  } else {
    platform = CreateSdlPlatform(WindowOptions(options));
    if (platform == nullptr) {
      std::fprintf(stderr, "kestrel-run: no display to open a window on (try --headless --script FILE)\n");
      return 1;
    }
  }
  return RunGame(platform.get(), options);
}
