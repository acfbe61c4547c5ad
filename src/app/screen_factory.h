// Creates the screens of the program, one function per kind.
//
// The screen kinds live in the libraries above the application shell (menus, game); the program
// fills this table when it starts, so a screen asks for its successor without depending on the
// library that builds it. A kind that is not filled in, or that cannot be allocated, gives
// nullptr, which the application takes as "stay on this screen"; nothing is handed over then.
#pragma once

class Application;
class Chopper;
class MissionInstance;
class Screen;

struct ScreenFactory {
  Screen* (*intro)(Application*) = nullptr;
  Screen* (*title)(Application*) = nullptr;
  Screen* (*credits)(Application*) = nullptr;
  Screen* (*controls)(Application*) = nullptr;
  Screen* (*missionSelect)(Application*) = nullptr;
  // The mission instance and the chopper are handed over: the new screen owns them.
  Screen* (*chopperSelect)(Application*, MissionInstance*) = nullptr;
  Screen* (*loadout)(Application*, MissionInstance*, Chopper*) = nullptr;
  Screen* (*game)(Application*, MissionInstance*, Chopper*) = nullptr;
  Screen* (*debrief)(Application*, MissionInstance*, Chopper*) = nullptr;

  Screen* CreateIntroScreen(Application* a) const { return intro ? intro(a) : nullptr; }
  Screen* CreateTitleScreen(Application* a) const { return title ? title(a) : nullptr; }
  Screen* CreateCreditsScreen(Application* a) const { return credits ? credits(a) : nullptr; }
  Screen* CreateControlsScreen(Application* a) const { return controls ? controls(a) : nullptr; }
  Screen* CreateMissionSelectScreen(Application* a) const { return missionSelect ? missionSelect(a) : nullptr; }
  Screen* CreateChopperSelectScreen(Application* a, MissionInstance* m) const {
    return chopperSelect ? chopperSelect(a, m) : nullptr;
  }
  Screen* CreateLoadoutScreen(Application* a, MissionInstance* m, Chopper* c) const {
    return loadout ? loadout(a, m, c) : nullptr;
  }
  Screen* CreateGameScreen(Application* a, MissionInstance* m, Chopper* c) const { return game ? game(a, m, c) : nullptr; }
  Screen* CreateDebriefScreen(Application* a, MissionInstance* m, Chopper* c) const {
    return debrief ? debrief(a, m, c) : nullptr;
  }
};
