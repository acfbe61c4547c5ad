#include "app/application.h"
#include "app/screen_factory.h"
#include "content/mission_def.h"
#include "content/pictures.h"
#include "core/wide_string.h"
#include "game/chopper.h"
#include "game/mission_instance.h"
#include "menus/selection_screens.h"

namespace {

constexpr uint32_t kSuccessStamp = 400, kFailureStamp = 402;

}  // namespace

DebriefScreen::DebriefScreen(Application* app, MissionInstance* mission, Chopper* chopper)
    : MenuScreen(app, FrameShown | FrameOk, true), mission_(mission), chopper_(chopper) {}

DebriefScreen::~DebriefScreen() = default;

bool DebriefScreen::Enter() {
  MenuScreen::Enter();
  const MissionDef* definition = mission_ != nullptr ? mission_->definition : nullptr;
  SetBackground(PackBackground(definition != nullptr ? definition->pack : nullptr,
                               definition != nullptr ? definition->splashScreen : nullptr));
  success_ = mission_ != nullptr && mission_->IsComplete();
  const uint32_t stamp = success_ ? kSuccessStamp : kFailureStamp;
  LoadProgramPicture(stamp_, stamp, stamp + 1);
  return true;
}

Screen* DebriefScreen::UpdateMenu(uint32_t, fixed) {
  return TakeClick() == ButtonOk ? application->screens.CreateTitleScreen(application) : nullptr;
}

void DebriefScreen::DrawMenu() {
  DepthSurface* surface = application->backSurface.get();
  if (surface == nullptr) return;
  DrawMaskedPicture(*surface, stamp_, (surface->width - stamp_.width) / 2, (surface->height - stamp_.height) / 2);
}

std::string DebriefScreen::DescribeState() const {
  const MissionDef* definition = mission_ != nullptr ? mission_->definition : nullptr;
  return MenuScreen::DescribeState() + ",\"mission\":" + JsonString(definition != nullptr ? definition->name : nullptr) +
         ",\"result\":\"" + (success_ ? "success" : "failure") + "\"";
}
