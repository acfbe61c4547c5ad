#include "menus/title_screen.h"

#include "app/application.h"
#include "content/pictures.h"
#include "gfx/blit.h"
#include "gfx/font.h"
#include "menus/popup.h"
#include "menus/popup_tree.h"

namespace {

constexpr uint32_t kLogo = 150;
constexpr uint32_t kLogoMask = 151;
constexpr int32_t kLogoTop = 5;
constexpr char16_t kVersion[] = u"Version 1.1.2";

// The credits alternate between two pictures, 5 s each.
constexpr uint16_t kFirstCredits = 160;
constexpr uint32_t kCreditsMs = 5000;
// The key layout of the device.
constexpr uint32_t kControlsPicture = 180;

}  // namespace

// --- TitleScreen -----------------------------------------------------------------------------

TitleScreen::TitleScreen(Application* application) : MenuScreen(application, FrameShown, true) {}

TitleScreen::~TitleScreen() = default;

bool TitleScreen::Enter() {
  MenuScreen::Enter();
  popup_.reset(CreateTitleMenu(application));
  // The timer starts full, so the first slide (501) fades in at once.
  slideTimer_ = kSlideMs;
  slideNumber_ = kFirstSlide;
  LoadProgramPicture(logo_, kLogo, kLogoMask);
  return true;
}

void TitleScreen::Leave() {
  popup_.reset();
  logo_.Release();
  MenuScreen::Leave();
}

Screen* TitleScreen::ScreenForChoice(uint16_t chosenId) {
  const ScreenFactory& screens = application->screens;
  switch (chosenId) {
    case PopupScramble: return screens.CreateMissionSelectScreen(application);
    case PopupHelp: return screens.CreateControlsScreen(application);
    case PopupExit: return QuitScreen;
    case PopupCredits: return screens.CreateCreditsScreen(application);
    default: return nullptr;
  }
}

Screen* TitleScreen::UpdateMenu(uint32_t elapsedMs, fixed frameSeconds) {
  Screen* next = nullptr;
  if (popup_ != nullptr && !popup_->Update(elapsedMs, frameSeconds)) {
    next = ScreenForChoice(popup_->Result());
    // A choice that leads nowhere (a screen that could not be made) brings the menu back, so
    // the player is never left without one.
    popup_.reset(next == nullptr ? CreateTitleMenu(application) : nullptr);
  }

  slideTimer_ += elapsedMs;
  if (slideTimer_ > kSlideMs) {
    ++slideNumber_;
    if (!ShowPicture(slideNumber_)) {
      slideNumber_ = kFirstSlide;
      ShowPicture(slideNumber_);
    }
    slideTimer_ = 0;
  }
  return next;
}

void TitleScreen::DrawMenu() {
  DepthSurface* surface = application->backSurface.get();
  if (surface == nullptr) return;
  if (popup_ != nullptr) popup_->Draw(*surface);
  BlitAlpha(*surface, (surface->width - logo_.width) / 2, kLogoTop, logo_, 0, 0, logo_.width, logo_.height);
  DrawText(*surface, FindFont(u"sysfontSqTiny"), 0xFFFF, kVersion, surface->width - 2, 0, nullptr,
           HorizontalAlign::Right, VerticalAlign::Top);
}

std::string TitleScreen::DescribeState() const {
  std::string state = MenuScreen::DescribeState() + ",\"slide\":" + std::to_string(slideNumber_);
  if (popup_ != nullptr) {
    const Popup* open = popup_->Innermost();
    state += ",\"popupDepth\":" + std::to_string(popup_->Depth()) +
             ",\"popupChosenId\":" + std::to_string(open->chosenId());
  }
  return state;
}

// --- CreditsScreen ---------------------------------------------------------------------------

CreditsScreen::CreditsScreen(Application* application) : MenuScreen(application, FrameShown | FrameOk, true) {}

bool CreditsScreen::Enter() {
  MenuScreen::Enter();
  slideTimer_ = kCreditsMs;
  slideNumber_ = kFirstCredits - 1;
  return true;
}

Screen* CreditsScreen::UpdateMenu(uint32_t elapsedMs, fixed) {
  Screen* next = nullptr;
  if (TakeClick() == ButtonOk) next = application->screens.CreateTitleScreen(application);
  slideTimer_ += elapsedMs;
  if (slideTimer_ > kCreditsMs) {
    ++slideNumber_;
    if (!ShowPicture(slideNumber_)) {
      slideNumber_ = kFirstCredits;
      ShowPicture(slideNumber_);
    }
    slideTimer_ = 0;
  }
  return next;
}

// --- ControlsScreen --------------------------------------------------------------------------

ControlsScreen::ControlsScreen(Application* application) : MenuScreen(application, FrameShown | FrameOk, true) {}

bool ControlsScreen::Enter() {
  MenuScreen::Enter();
  ShowPicture(kControlsPicture);
  return true;
}

Screen* ControlsScreen::UpdateMenu(uint32_t, fixed) {
  return TakeClick() == ButtonOk ? application->screens.CreateTitleScreen(application) : nullptr;
}
