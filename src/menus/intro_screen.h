// The first screen: the maker's logo fading in and out, then the title art sliding up under
// its overlay, then the intro animation from the intro pack. Tapping during the title art or
// the animation skips to the title screen; with SkipIntro set only the logo is shown.
#pragma once

#include <cstdint>
#include <memory>

#include "app/screen.h"
#include "content/data_buffer.h"
#include "core/linear_map.h"
#include "core/ptr_array.h"
#include "gfx/surface.h"

class IntroScreen : public Screen {
 public:
  enum Phase : uint32_t {
    Start = 0,
    LogoFadingIn = 1,
    LogoHeld = 2,
    LogoFadingOut = 3,
    TitleArtSliding = 4,
    Animation = 5,
    Finished = 6,
  };

  explicit IntroScreen(Application* application);
  ~IntroScreen() override;

  bool Enter() override;
  void Leave() override;
  Screen* Update(uint32_t elapsedMs, fixed frameSeconds) override;
  bool Draw() override;
  const char* Name() const override { return "Intro"; }
  std::string DescribeState() const override;

  uint32_t phase() const { return phase_; }
  uint16_t framesLeft() const { return frames_.Count(); }

 private:
  void LoadFrames();
  void DecodeNextFrame();
  void SetPhase(uint32_t phase);

  uint32_t phase_ = Start;
  LinearMap fadeMap_;   // time -> darkness (0 full brightness, 255 black)
  LinearMap slideMap_;  // time -> vertical offset of the title art
  bool redraw_ = false;
  uint32_t timer_ = 0;  // ms in the current phase
  std::unique_ptr<Surface> picture_;
  std::unique_ptr<Surface> overlay_;
  PtrArray<DataBuffer*> frames_;  // undecoded JPEGs of the animation, in order
};
