// kestrel-bench game: the time of a whole game frame (world update, terrain, objects, effect
// sprites, HUD, and the copy into the frame memory) as the application's tick runs it, on the
// headless platform, along a scripted flight over a mission: take-off to 40 m, half speed ahead
// in a wide right-hand circle, a shot of the second weapon (the first named with --weapon) every
// two seconds. Prints the median milliseconds per
// frame and the frames per second.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "bench_commands.h"
#include "game/screen/game_screen.h"
#include "game/screen/quick_start.h"
#include "platform/headless/headless_platform.h"

namespace {

struct Options {
  std::string content;  // the folder of the packs; default: beside the program
  QuickStartChoice choice;
  uint32_t quality = 3;
  uint32_t distance = 3;
  bool landscape = false;
  int frames = 2000;
  std::string png;  // the last frame, to look at
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--mission" && hasValue) {
      options.choice.mission = argv[++i];
    } else if (arg == "--weapon" && hasValue) {
      options.choice.weapons.push_back(argv[++i]);
    } else if (arg == "--content" && hasValue) {
      options.content = argv[++i];
    } else if (arg == "--quality" && hasValue) {
      options.quality = static_cast<uint32_t>(std::atoi(argv[++i]));
    } else if (arg == "--distance" && hasValue) {
      options.distance = static_cast<uint32_t>(std::atoi(argv[++i]));
    } else if (arg == "--frames" && hasValue) {
      options.frames = std::atoi(argv[++i]);
    } else if (arg == "--png" && hasValue) {
      options.png = argv[++i];
    } else if (arg == "--landscape") {
      options.landscape = true;
    } else {
      return false;
    }
  }
  return !options.choice.mission.empty() && options.quality < 4 && options.distance < 4 && options.frames > 0;
}

// The pilot's hands for frame `frame`: keys and stylus set the way the platform's messages
// would set them.
void Fly(Application& application, int frame, bool landscape) {
  application.penDown = 0;
  if (frame == 5) {
    // The altitude gauge at 40 m: 80 pixels above its 0 m mark.
    application.penX = landscape ? 312 : 233;
    application.penY = landscape ? 145 : 225;
    application.penDown = 1;
  }
  if (frame >= 90 && frame < 140 && frame % 10 == 0) application.keyState[KeyUp] = kKeyHeld;
  if (frame == 100) application.keyState[KeyApp2] = kKeyHeld;  // the rockets
  application.keyState[KeyRight] = frame >= 150 ? kKeyHeld : 0;
  if (frame >= 150 && frame % 60 == 0) application.keyState[KeyAction] = kKeyHeld;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

int RunGameBench(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "kestrel-bench game: bad arguments\n");
    return 2;
  }
  if (!options.content.empty()) setenv("KESTREL_DATA_DIR", options.content.c_str(), 1);
  const std::string settingsPath =
      (std::filesystem::temp_directory_path() / "kestrel-bench-game-settings.ini").string();  // read, never written

  HeadlessPlatform platform;
  Application application(&platform, ScreenFactory(), settingsPath);
  if (!application.Create(u"KestrelR", u"Kestrel Run")) return 1;
  Settings& settings = *application.settings;
  settings.mute = true;
  settings.imageQuality = options.quality;
  settings.drawDistance = options.distance;
  settings.screenMode = options.landscape ? ScreenModeLandscape : ScreenModePortrait;
  application.LoadContent();
  std::string error;
  GameScreen* game = CreateQuickStartScreen(&application, options.choice, &error);
  if (game == nullptr) {
    std::fprintf(stderr, "kestrel-bench game: %s\n", error.c_str());
    return 2;
  }
  application.Start(game);
  application.OnSetFocus();

  std::vector<double> milliseconds;
  milliseconds.reserve(static_cast<size_t>(options.frames));
  for (int frame = 0; frame < options.frames; ++frame) {
    platform.AdvanceClock(33);
    Fly(application, frame, options.landscape);
    const auto start = std::chrono::steady_clock::now();
    const bool goesOn = application.Tick();
    const auto end = std::chrono::steady_clock::now();
    milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    if (!goesOn) break;
  }
  const GameWorld& world = game->world();
  const double median = Median(milliseconds);
  std::printf("game: %s, quality %u, distance %u, %s, %zu frames; the mission %s\n", options.choice.mission.c_str(),
              options.quality, options.distance, options.landscape ? "landscape" : "portrait", milliseconds.size(),
              world.missionOver ? "ended during the run" : "still running at the end");
  std::printf("median %.3f ms per frame, %.0f frames per second\n", median, median > 0 ? 1000.0 / median : 0.0);
  if (!options.png.empty() && !application.SaveScreenshotPng(options.png)) {
    std::fprintf(stderr, "kestrel-bench game: cannot write %s\n", options.png.c_str());
  }
  application.Exit();
  application.Destroy();
  return 0;
}
