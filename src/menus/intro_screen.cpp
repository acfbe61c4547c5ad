#include "menus/intro_screen.h"

#include <algorithm>
#include <cstdio>

#include "app/application.h"
#include "content/pictures.h"
#include "gfx/blit.h"
#include "gfx/draw.h"

namespace {

constexpr uint32_t kMakerLogo = 100;
constexpr uint32_t kTitleOverlay = 110;
constexpr uint32_t kTitleOverlayMask = 111;
constexpr uint32_t kTitleArt = 112;

constexpr int32_t kFadeMs = 500;
constexpr uint32_t kLogoHoldMs = 1000;
constexpr int32_t kTitleSlideMs = 3000;
constexpr int32_t kTitleSlideRows = 60;
constexpr uint32_t kFrameMs = 100;  // each animation frame stays at least this long

// Advances a map to the phase timer, never past its end: true when its output changed.
bool AdvanceTo(LinearMap& map, uint32_t timerMs) {
  const fixed time = IntToFixed(static_cast<int32_t>(std::min<uint32_t>(timerMs, 0x7FFF)));
  return map.SetInput(std::min(map.x1, time));
}

uint8_t Darkness(const LinearMap& fade) { return static_cast<uint8_t>(fade.y >> 16); }

}  // namespace

IntroScreen::IntroScreen(Application* application) : Screen(application) {}

IntroScreen::~IntroScreen() { frames_.DeleteAll(); }

bool IntroScreen::Enter() {
  phase_ = Start;
  picture_ = std::make_unique<Surface>();
  overlay_ = std::make_unique<Surface>();
  return true;
}

void IntroScreen::Leave() {
  picture_.reset();
  overlay_.reset();
}

void IntroScreen::SetPhase(uint32_t phase) {
  phase_ = phase;
  redraw_ = true;
}

void IntroScreen::LoadFrames() {
  const ContentPack* pack = application->registry.introPack;
  if (pack == nullptr) return;
  for (uint32_t number = 0; number < 1000; ++number) {
    char name[32];
    std::snprintf(name, sizeof name, "intro\\%03u.jpg", number);
    const std::u16string wide(name, name + std::char_traits<char>::length(name));
    auto* frame = new DataBuffer(pack, wide.c_str());
    if (frame->Empty() || !frames_.Append(frame)) {
      delete frame;
      return;
    }
  }
}

void IntroScreen::DecodeNextFrame() {
  DataBuffer* frame = frames_.RemoveAt(0);
  DecodeJpeg(*picture_, *frame);
  delete frame;
}

Screen* IntroScreen::Update(uint32_t elapsedMs, fixed) {
  timer_ += elapsedMs;
  const bool skipIntro = application->settings->skipIntro;
  switch (phase_) {
    case Start:
      LoadProgramPicture(*picture_, kMakerLogo);
      fadeMap_.Init(0, IntToFixed(kFadeMs), IntToFixed(255), 0);
      timer_ = 0;
      SetPhase(LogoFadingIn);
      break;
    case LogoFadingIn:
    case LogoFadingOut:
      if (fadeMap_.x < fadeMap_.x1 && AdvanceTo(fadeMap_, timer_)) redraw_ = true;
      if (fadeMap_.x < fadeMap_.x1) break;
      if (phase_ == LogoFadingIn) {
        timer_ = 0;
        SetPhase(LogoHeld);
      } else if (skipIntro) {
        timer_ = 0;
        SetPhase(Finished);
      } else {
        LoadProgramPicture(*picture_, kTitleArt);
        LoadProgramPicture(*overlay_, kTitleOverlay, kTitleOverlayMask);
        fadeMap_.Init(0, IntToFixed(kFadeMs), IntToFixed(255), 0);
        slideMap_.Init(0, IntToFixed(kTitleSlideMs), IntToFixed(kTitleSlideRows), 0);
        timer_ = 0;
        SetPhase(TitleArtSliding);
      }
      break;
    case LogoHeld:
      if (timer_ < kLogoHoldMs) {
        if (!skipIntro && frames_.Empty()) LoadFrames();
        break;
      }
      fadeMap_.Init(0, IntToFixed(kFadeMs), 0, IntToFixed(255));
      timer_ = 0;
      SetPhase(LogoFadingOut);
      break;
    case TitleArtSliding:
      if (application->penDown) {
        SetPhase(Finished);
        break;
      }
      if (slideMap_.x < slideMap_.x1) {
        const bool moved = AdvanceTo(slideMap_, timer_);
        const bool faded = AdvanceTo(fadeMap_, timer_);
        if (moved || faded) redraw_ = true;
        break;
      }
      if (frames_.Empty()) {
        SetPhase(Finished);
        break;
      }
      DecodeNextFrame();
      timer_ = 0;
      SetPhase(Animation);
      break;
    case Animation:
      if (application->penDown || frames_.Empty()) {
        SetPhase(Finished);
      } else if (timer_ >= kFrameMs) {
        redraw_ = true;
      }
      break;
    default:
      return application->screens.CreateTitleScreen(application);
  }
  return nullptr;
}

bool IntroScreen::Draw() {
  DepthSurface* surface = application->backSurface.get();
  if (!redraw_ || surface == nullptr) return true;
  const Surface& picture = *picture_;
  switch (phase_) {
    case LogoFadingIn:
    case LogoFadingOut:
      surface->Clear(0);
      Blit(*surface, 0, 0, picture, 0, 0, picture.width, picture.height);
      FillRect(*surface, 0, 0, surface->width, surface->height, 0, false, Darkness(fadeMap_));
      break;
    case LogoHeld:
      surface->Clear(0);
      Blit(*surface, 0, 0, picture, 0, 0, picture.width, picture.height);
      break;
    case TitleArtSliding: {
      surface->Clear(0);
      const int32_t offset = slideMap_.y >> 16;
      Blit(*surface, 0, offset, picture, 0, 0, picture.width, picture.height);
      FillRect(*surface, 0, 0, surface->width, surface->height, 0, false, Darkness(fadeMap_));
      BlitAlpha(*surface, 0, 0, *overlay_, 0, 0, overlay_->width, overlay_->height);
      break;
    }
    case Animation:
      Blit(*surface, 0, 0, picture, 0, 0, picture.width, picture.height);
      if (!frames_.Empty()) {
        DecodeNextFrame();
        timer_ = 0;
      }
      break;
    default:
      surface->Clear(0);
      break;
  }
  redraw_ = false;
  return true;
}

std::string IntroScreen::DescribeState() const {
  return "\"phase\":" + std::to_string(phase_) + ",\"framesLeft\":" + std::to_string(frames_.Count());
}
