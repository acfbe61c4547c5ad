#include "menus/menu_screens.h"

#include "app/screen_factory.h"
#include "menus/intro_screen.h"
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
}
