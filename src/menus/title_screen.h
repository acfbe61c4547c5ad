// The title screen: the main menu popup over a slide show, the logo and the version line; and
// the two information screens it leads to, the credits and the controls.
#pragma once

#include <cstdint>
#include <memory>

#include "app/menu_screen.h"
#include "gfx/surface.h"

class Popup;

class TitleScreen : public MenuScreen {
 public:
  // The slides are the program's pictures 500 and up; each stays 10 s.
  static constexpr uint16_t kFirstSlide = 500;
  static constexpr uint32_t kSlideMs = 10000;

  explicit TitleScreen(Application* application);
  ~TitleScreen() override;

  bool Enter() override;
  void Leave() override;
  Screen* UpdateMenu(uint32_t elapsedMs, fixed frameSeconds) override;
  void DrawMenu() override;
  const char* Name() const override { return "Title"; }
  std::string DescribeState() const override;

  uint16_t slideNumber() const { return slideNumber_; }
  const Popup* popup() const { return popup_.get(); }

 private:
  Screen* ScreenForChoice(uint16_t chosenId);

  uint32_t slideTimer_ = 0;
  std::unique_ptr<Popup> popup_;
  uint16_t slideNumber_ = kFirstSlide;
  Surface logo_;
};

class CreditsScreen : public MenuScreen {
 public:
  explicit CreditsScreen(Application* application);
  bool Enter() override;
  Screen* UpdateMenu(uint32_t elapsedMs, fixed frameSeconds) override;
  const char* Name() const override { return "Credits"; }

  uint16_t slideNumber() const { return slideNumber_; }

 private:
  uint32_t slideTimer_ = 0;
  uint16_t slideNumber_ = 0;
};

class ControlsScreen : public MenuScreen {
 public:
  explicit ControlsScreen(Application* application);
  bool Enter() override;
  Screen* UpdateMenu(uint32_t elapsedMs, fixed frameSeconds) override;
  const char* Name() const override { return "Controls"; }
};
