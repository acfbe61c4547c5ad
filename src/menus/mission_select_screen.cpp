#include "app/application.h"
#include "app/screen_factory.h"
#include "content/mission_def.h"
#include "core/wide_string.h"
#include "game/mission_instance.h"
#include "menus/selection_screens.h"

namespace {

// The mission shown last, for the whole run of the program: coming back shows it again.
uint16_t rememberedMission = 0;

}  // namespace

MissionSelectScreen::MissionSelectScreen(Application* app) : MenuScreen(app, FrameShown | FrameCancel, true) {}

bool MissionSelectScreen::Enter() {
  MenuScreen::Enter();
  Show(rememberedMission);
  return true;
}

void MissionSelectScreen::Show(uint16_t index) {
  const PtrArray<MissionDef*>& missions = application->registry.missions;
  if (missions.Empty()) {
    current_ = nullptr;
    SetFrameFlags(FrameShown | FrameCancel);
    SetBackground(nullptr);
    return;
  }
  if (index >= missions.Count()) index = 0;
  rememberedMission = index;
  current_ = missions[index];
  SetFrameFlags(FrameShown | FrameCancel | FrameArrows | FrameOk);
  SetBackground(PackBackground(current_->pack, current_->splashScreen));
}

Screen* MissionSelectScreen::UpdateMenu(uint32_t, fixed) {
  const ScreenFactory& screens = application->screens;
  const uint16_t count = application->registry.missions.Count();
  const uint32_t clicked = TakeClick();
  switch (clicked) {
    case ButtonOk: {
      if (current_ == nullptr) break;
      auto* mission = new MissionInstance(current_);
      Screen* next = screens.CreateChopperSelectScreen(application, mission);
      if (next == nullptr) delete mission;
      return next;
    }
    case ButtonCancel:
      return screens.CreateTitleScreen(application);
    case ButtonNext:
    case ButtonPrevious:
      if (count != 0) Show(NeighbourIndex(rememberedMission, count, clicked == ButtonNext));
      break;
    default:
      break;
  }
  return nullptr;
}

void MissionSelectScreen::DrawMenu() {
  if (current_ == nullptr && application->backSurface != nullptr) {
    DrawEmptyListNotice(*application->backSurface, u"No missions installed");
  }
}

std::string MissionSelectScreen::DescribeState() const {
  return MenuScreen::DescribeState() + ",\"mission\":" + JsonString(current_ != nullptr ? current_->name : nullptr) +
         ",\"index\":" + std::to_string(rememberedMission);
}
