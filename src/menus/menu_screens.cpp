#include "menus/menu_screens.h"

#include "app/screen_factory.h"
#include "menus/intro_screen.h"
#include "menus/selection_screens.h"
#include "menus/title_screen.h"

namespace {

template <typename ScreenType>
Screen* Create(Application* application) {
  return new ScreenType(application);
}

}  // namespace

void RegisterMenuScreens(ScreenFactory& factory) {
  factory.intro = &Create<IntroScreen>;
  factory.title = &Create<TitleScreen>;
  factory.credits = &Create<CreditsScreen>;
  factory.controls = &Create<ControlsScreen>;
  factory.missionSelect = &Create<MissionSelectScreen>;
  factory.chopperSelect = [](Application* a, MissionInstance* m) -> Screen* { return new ChopperSelectScreen(a, m); };
  factory.loadout = [](Application* a, MissionInstance* m, Chopper* c) -> Screen* { return new LoadoutScreen(a, m, c); };
  factory.debrief = [](Application* a, MissionInstance* m, Chopper* c) -> Screen* { return new DebriefScreen(a, m, c); };
}
