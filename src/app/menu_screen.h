// The shared base of every menu screen: a background picture with cross-fades, a fade from and
// to black, the frame along the bottom with its OK, cancel and arrow buttons, and a list of
// picture buttons hit by the stylus. Subclasses supply UpdateMenu and DrawMenu.
//
// Life of a menu screen: FadingIn (500 ms from black) -> Active -> FadingOut (500 ms to black,
// once UpdateMenu has returned the next screen) -> Done, when the next screen is handed to the
// application. All menu screens are laid out for the 240 x 320 portrait surface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/screen.h"
#include "core/linear_map.h"
#include "core/ptr_array.h"
#include "gfx/surface.h"

enum FrameFlags : uint32_t {
  FrameShown = 1u << 0,   // draw the frame
  FrameOk = 1u << 1,      // OK button active
  FrameCancel = 1u << 2,  // cancel button active
  FrameArrows = 1u << 3,  // previous and next buttons active
};

enum FrameButton : uint32_t { ButtonOk = 1, ButtonCancel = 2, ButtonNext = 3, ButtonPrevious = 4 };

enum class MenuState : uint32_t { FadingIn = 0, Active = 1, FadingOut = 2, Done = 3 };

struct MenuButton {
  uint32_t id = 0;
  Surface normal;       // ARGB4444, colour + mask
  Surface highlighted;  // ARGB4444, colour + mask
  int16_t x = 0;
  int16_t y = 0;
  bool enabled = true;  // a disabled button is never hit

  bool Contains(int32_t px, int32_t py) const {
    return px >= x && py >= y && px < x + normal.width && py < y + normal.height;
  }
};

class MenuScreen : public Screen {
 public:
  // Times of the menu's fades, milliseconds.
  static constexpr int32_t kFadeMs = 500;
  static constexpr int32_t kCrossFadeMs = 800;

  MenuScreen(Application* application, uint32_t frameFlags, bool live);
  ~MenuScreen() override;

  bool Enter() override;
  void Leave() override;
  Screen* Update(uint32_t elapsedMs, fixed frameSeconds) override;
  bool Draw() override;
  std::string DescribeState() const override;

  // The subclass's own frame: the next screen, or nullptr to stay.
  virtual Screen* UpdateMenu(uint32_t elapsedMs, fixed frameSeconds);
  virtual void DrawMenu() {}

  // The button clicked in this tick (a frame button id or a list button's), or 0; reading it
  // clears it.
  uint32_t TakeClick();
  void AddButton(uint32_t id, uint32_t normalColour, uint32_t normalMask, uint32_t highlightedColour,
                 uint32_t highlightedMask, int16_t x, int16_t y);
  MenuButton* FindButton(uint32_t id) const;
  void RemoveButton(uint32_t id);
  void ClearButtons();
  void SetFrameFlags(uint32_t flags) { frameFlags_ = flags; }

  // Cross-fades to one of the program's pictures; false (and nothing changes) when it is missing.
  bool ShowPicture(uint32_t pictureId);
  // Takes the surface and cross-fades to it over 800 ms; null or an empty surface (a missing
  // picture) fades to black. A cross-fade under way is frozen into the current background at its
  // present opacity first.
  void SetBackground(std::unique_ptr<Surface> background);

  MenuState state() const { return state_; }
  uint32_t frameFlags() const { return frameFlags_; }
  uint32_t highlightedId() const { return highlightedId_; }
  // The darkness of the fade (0 = unchanged, 255 = black) and the opacity of the incoming picture.
  uint8_t FadeDarkness() const { return static_cast<uint8_t>(fadeMap_.y >> 16); }
  uint8_t CrossFadeOpacity() const { return static_cast<uint8_t>(crossFadeMap_.y >> 16); }
  const Surface* background() const { return background_.get(); }
  const Surface* incomingBackground() const { return incoming_.get(); }

 private:

  enum FramePicture {
    LeftBar, CornerPlain, Arrows, ArrowsNext, ArrowsPrevious, BottomCentre, CornerRightPlain, Ok, OkHighlighted,
    Cancel, CancelHighlighted, OkCancel, OkCancelOkHighlighted, OkCancelCancelHighlighted, FramePictureCount
  };

  void TakeInput();
  void DrawFrame(Surface& surface) const;

  bool live_;
  uint32_t frameFlags_;
  MenuState state_ = MenuState::FadingIn;
  uint32_t clickedId_ = 0;
  uint32_t highlightedId_ = 0;
  std::unique_ptr<Surface> background_;
  std::unique_ptr<Surface> incoming_;
  LinearMap crossFadeMap_;
  LinearMap fadeMap_;
  Surface framePictures_[FramePictureCount];
  PtrArray<MenuButton*> buttons_;
  Screen* result_ = nullptr;  // owned until handed to the application
};
