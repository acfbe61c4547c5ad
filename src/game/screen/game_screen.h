// The screen that runs one mission: each frame it turns keys and stylus into the chopper's
// commands, advances the world, draws the 3D view (or the overview map) with the HUD over it,
// and 1501 ms after the mission has ended hands the mission and the chopper to the debriefing.
// The menu key pauses the game under the in-game menu.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/screen.h"
#include "game/flight_recorder.h"
#include "game/game_sounds.h"
#include "game/game_world.h"
#include "game/screen/hud.h"

class Chopper;
class DepthSurface;
class MissionInstance;
class Popup;
class SceneView;
class Surface;
class TerrainView;
struct ScreenFactory;

class GameScreen : public Screen {
 public:
  // The time from the mission's end to the debriefing.
  static constexpr uint32_t kEndDelayMs = 1501;

  // Takes over the mission instance and the chopper (built, reset and armed).
  GameScreen(Application* application, MissionInstance* mission, Chopper* chopper);
  ~GameScreen() override;

  bool Enter() override;
  void Leave() override;
  Screen* Update(uint32_t elapsedMs, fixed frameSeconds) override;
  bool Draw() override;
  const char* Name() const override { return "game"; }
  std::string DescribeState() const override;

  // Started straight from the command line: a mission that cannot be flown ends the program
  // with status 1 instead of going back to the mission selection.
  void SetQuickStart(bool quickStart) { quickStart_ = quickStart; }

  const GameWorld& world() const { return *world_; }
  const GameSounds* sounds() const { return sounds_.get(); }
  const Hud& hud() const { return hud_; }
  bool mapView() const { return mapView_; }
  bool paused() const { return popup_ != nullptr; }

 private:
  Screen* UpdatePopup(uint32_t elapsedMs, fixed frameSeconds);
  // What follows a mission whose landscape could not be loaded.
  Screen* LeaveUnflyableMission();
  void CreateSounds();
  void DeleteSounds();
  void ApplyScreenMode();
  void DrawGame(DepthSurface& surface, bool slowBlink, bool fastBlink);

  std::unique_ptr<GameSounds> sounds_;
  std::unique_ptr<GameWorld> world_;
  Hud hud_;
  std::unique_ptr<TerrainView> terrainView_;
  std::unique_ptr<SceneView> objectView_;
  bool mapView_ = false;
  std::unique_ptr<Popup> popup_;
  std::unique_ptr<Surface> snapshot_;  // the darkened last frame behind the popup
  uint32_t endDelay_ = 0;
  FlightRecorder recorder_;
  bool quickStart_ = false;
};

// Fills the screen factory's entry for the game screen.
void RegisterGameScreen(ScreenFactory& factory);
