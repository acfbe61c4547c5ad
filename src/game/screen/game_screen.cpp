#include "game/screen/game_screen.h"

#include <cstdio>

#include "app/application.h"
#include "app/screen_factory.h"
#include "content/mission_def.h"
#include "content/scene_object.h"
#include "core/wide_string.h"
#include "game/chopper.h"
#include "game/effects.h"
#include "game/mission_instance.h"
#include "game/world_report.h"
#include "gfx/blit.h"
#include "gfx/draw.h"
#include "menus/popup.h"
#include "menus/popup_tree.h"
#include "render/mesh_renderer.h"
#include "render/render_settings.h"
#include "render/scene_view.h"
#include "render/sprite_renderer.h"
#include "render/terrain_map.h"
#include "render/terrain_view.h"

namespace {

constexpr fixed kCameraAboveChopper = 0x18000;  // 1.5 m
constexpr uint16_t kSnapshotShade = 0x2104;
constexpr uint8_t kSnapshotOpacity = 92;

Screen* CreateGameScreen(Application* application, MissionInstance* mission, Chopper* chopper) {
  return new GameScreen(application, mission, chopper);
}

}  // namespace

void RegisterGameScreen(ScreenFactory& factory) { factory.game = &CreateGameScreen; }

GameScreen::GameScreen(Application* app, MissionInstance* mission, Chopper* chopper)
    : Screen(app),
      sounds_(std::make_unique<GameSounds>()),
      world_(std::make_unique<GameWorld>(mission, chopper, sounds_.get())),
      hud_(app),
      recorder_(app->traceFile, &app->tickTime) {
  hud_.SetChopper(chopper);
}

GameScreen::~GameScreen() = default;

bool GameScreen::Enter() {
  world_->SetUp(&hud_.messages);
  world_->SetRecorder(&recorder_);
  terrainView_ = std::make_unique<TerrainView>(*world_->terrain);
  objectView_ = std::make_unique<SceneView>(world_->objects);
  CreateSounds();
  ApplyScreenMode();
  hud_.controlsEnabled = true;
  return true;
}

void GameScreen::Leave() {
  popup_.reset();
  snapshot_.reset();
  terrainView_.reset();
  objectView_.reset();
  world_.reset();
  sounds_.reset();
  if (application->screenMode != ScreenModePortrait) application->SetScreenMode(ScreenModePortrait);
  Screen::Leave();
}

void GameScreen::CreateSounds() {
  if (sounds_ == nullptr) sounds_ = std::make_unique<GameSounds>();
  const Settings& settings = *application->settings;
  sounds_->Load(settings.mute, settings.volume);
  if (world_ != nullptr) world_->sounds = sounds_.get();
}

void GameScreen::DeleteSounds() {
  if (world_ != nullptr) world_->sounds = nullptr;
  sounds_.reset();  // stops the engine loop and every other sound
}

void GameScreen::ApplyScreenMode() {
  const uint32_t mode = application->settings->screenMode;
  if (application->screenMode != mode) application->SetScreenMode(mode);
  hud_.Layout(application->screenMode);
}

Screen* GameScreen::LeaveUnflyableMission() {
  const char16_t* name = world_->mission != nullptr ? world_->mission->definition->name : u"";
  if (quickStart_) {
    std::fprintf(stderr, "kestrel-run: mission \"%s\": its landscape cannot be loaded\n", Utf8FromWide(name).c_str());
    application->exitCode = 1;
    return QuitScreen;
  }
  Screen* selection = application->screens.CreateMissionSelectScreen(application);
  return selection != nullptr ? selection : application->screens.CreateTitleScreen(application);
}

Screen* GameScreen::Update(uint32_t elapsedMs, fixed frameSeconds) {
  // A landscape that was refused would mean flying blind over flat ground at height 0.
  if (world_->terrain == nullptr || !world_->terrain->Usable()) {
    if (Screen* next = LeaveUnflyableMission()) return next;
  }
  if (popup_ != nullptr) return UpdatePopup(elapsedMs, frameSeconds);

  if (world_->missionOver) {
    endDelay_ += elapsedMs;
    if (endDelay_ >= kEndDelayMs) {
      MissionInstance* mission = world_->mission;
      Chopper* chopper = world_->chopper;
      world_->ReleaseMissionAndChopper();
      Screen* debrief = application->screens.CreateDebriefScreen(application, mission, chopper);
      if (debrief != nullptr) return debrief;
      // No debriefing to go to: the world keeps them and the next frame tries again.
      world_->mission = mission;
      world_->chopper = chopper;
      chopper->world = world_.get();
    }
  } else {
    uint32_t* keys = application->keyState;
    if (keys[KeyApp3] != 0) {
      keys[KeyApp3] = 0;
      mapView_ = !mapView_;
    }
    if (keys[KeyApp4] != 0) {
      keys[KeyApp4] = 0;
      DeleteSounds();
      popup_.reset(CreateInGameMenu(application));
      snapshot_.reset();
    }
    hud_.Controls();
    hud_.StickControls(frameSeconds);
  }

  recorder_.SetOutput(application->traceFile);
  const uint32_t tick = application->tickTime;
  world_->Update(elapsedMs, frameSeconds, (tick & 0x200) != 0, (tick & 0x100) != 0);
  hud_.messages.Age(elapsedMs);
  return nullptr;
}

Screen* GameScreen::UpdatePopup(uint32_t elapsedMs, fixed frameSeconds) {
  if (popup_->Update(elapsedMs, frameSeconds)) {
    switch (popup_->Result()) {
      case PopupOrientation:
        ApplyScreenMode();
        snapshot_.reset();
        break;
      case PopupInterlaced:
      case PopupDrawDistance:
      case PopupImageQuality:
        snapshot_.reset();  // the next frame shows the new look behind the popup
        break;
      default:
        break;
    }
    return nullptr;
  }
  Screen* next = nullptr;
  if (popup_->Result() == PopupExit) next = application->screens.CreateTitleScreen(application);
  popup_.reset();
  snapshot_.reset();
  CreateSounds();
  return next;
}

bool GameScreen::Draw() {
  DepthSurface* surface = application->backSurface.get();
  if (surface == nullptr) return true;
  surface->lineDouble = application->settings->interlaced ? 1 : 0;
  const uint32_t tick = application->tickTime;
  if (popup_ == nullptr || snapshot_ == nullptr) DrawGame(*surface, (tick & 0x200) != 0, (tick & 0x100) != 0);
  if (popup_ != nullptr) {
    if (snapshot_ == nullptr) {
      snapshot_ = std::make_unique<Surface>();
      if (snapshot_->Create(surface->width, surface->height)) {
        Blit(*snapshot_, 0, 0, *surface, 0, 0, surface->width, surface->height);
        FillRect(*snapshot_, 0, 0, surface->width, surface->height, kSnapshotShade, false, kSnapshotOpacity);
      }
    }
    Blit(*surface, 0, 0, *snapshot_, 0, 0, snapshot_->width, snapshot_->height);
    popup_->Draw(*surface);
  }
  return true;
}

void GameScreen::DrawGame(DepthSurface& surface, bool slowBlink, bool fastBlink) {
  const Chopper* chopper = world_->chopper;
  if (chopper != nullptr && terrainView_ != nullptr && objectView_ != nullptr) {
    Matrix34 camera = chopper->transform;
    camera.Translate(Vector3(0, kCameraAboveChopper, 0));
    terrainView_->SetCamera(camera.GetTranslation(), chopper->heading);
    objectView_->SetCamera(camera);
    const Settings& settings = *application->settings;
    if (mapView_) {
      terrainView_->RenderMap(surface);
    } else {
      const fixed far = FarDistanceFor(settings.drawDistance);
      const ImageQuality& quality = ImageQualityFor(settings.imageQuality);
      terrainView_->Render(surface, far, quality.nearDistance, quality.filterDistance, quality.stepThresholds);
      objectView_->Prepare(surface.width, surface.height, far);
      DrawObjects(*objectView_, surface);
      if (world_->effects != nullptr) DrawSprites(*objectView_, surface, world_->effects->groups(), far);
    }
  }
  hud_.Draw(surface, slowBlink, fastBlink);
}

std::string GameScreen::DescribeState() const {
  std::string state = "\"mapView\":" + std::to_string(mapView_ ? 1 : 0) +
                      ",\"paused\":" + std::to_string(popup_ != nullptr ? 1 : 0);
  if (popup_ != nullptr) {
    state += ",\"popupDepth\":" + std::to_string(popup_->Depth()) +
             ",\"popupChosenId\":" + std::to_string(popup_->Innermost()->chosenId());
  }
  state += ",\"endDelay\":" + std::to_string(endDelay_);
  if (world_ != nullptr) state += "," + DescribeWorld(*world_, &hud_.messages);
  return state;
}
