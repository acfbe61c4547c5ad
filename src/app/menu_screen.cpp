#include "app/menu_screen.h"

#include "app/application.h"
#include "content/pictures.h"
#include "gfx/blit.h"
#include "gfx/draw.h"

namespace {

struct FramePictureSource {
  uint16_t colour;
  uint16_t mask;
  int16_t x;
  int16_t y;
};

// The frame pieces, in the order of MenuScreen::FramePicture: picture numbers and where they go.
constexpr FramePictureSource kFrameSources[] = {
    {800, 801, 0, 0},     {802, 803, 0, 235},   {818, 821, 0, 235},   {819, 821, 0, 235},   {820, 821, 0, 235},
    {804, 805, 70, 275},  {806, 807, 180, 250}, {808, 810, 180, 250}, {809, 810, 180, 250}, {811, 813, 180, 250},
    {812, 813, 180, 250}, {814, 817, 180, 250}, {815, 817, 180, 250}, {816, 817, 180, 250},
};

// Hit areas of the frame buttons: x from..to and y from..to, the second numbers excluded.
struct FrameHitArea {
  uint32_t flag;
  uint32_t id;
  int32_t left, right, top, bottom;
};
constexpr FrameHitArea kFrameHitAreas[] = {
    {FrameArrows, ButtonPrevious, 5, 46, 250, 291},
    {FrameArrows, ButtonNext, 23, 64, 273, 314},
    {FrameCancel, ButtonCancel, 205, 241, 250, 278},
    {FrameOk, ButtonOk, 187, 233, 265, 314},
};

constexpr fixed Milliseconds(int32_t ms) { return IntToFixed(ms); }

void DrawMasked(Surface& target, const Surface& picture, int32_t x, int32_t y) {
  BlitAlpha(target, x, y, picture, 0, 0, picture.width, picture.height);
}

const char* StateName(MenuState state) {
  switch (state) {
    case MenuState::FadingIn: return "FadingIn";
    case MenuState::Active: return "Active";
    case MenuState::FadingOut: return "FadingOut";
    case MenuState::Done: return "Done";
  }
  return "?";
}

}  // namespace

MenuScreen::MenuScreen(Application* application, uint32_t frameFlags, bool live)
    : Screen(application), live_(live), frameFlags_(frameFlags) {}

MenuScreen::~MenuScreen() {
  buttons_.DeleteAll();
  if (result_ != QuitScreen) delete result_;  // a successor never handed over
}

bool MenuScreen::Enter() {
  if (!Screen::Enter()) return false;
  state_ = MenuState::FadingIn;
  clickedId_ = highlightedId_ = 0;
  background_.reset();
  incoming_.reset();
  crossFadeMap_.Init(0, Milliseconds(kCrossFadeMs), 0, IntToFixed(255));
  fadeMap_.Init(0, Milliseconds(kFadeMs), IntToFixed(255), 0);  // the screen starts black
  for (int i = 0; i < FramePictureCount; ++i) {
    LoadProgramPicture(framePictures_[i], kFrameSources[i].colour, kFrameSources[i].mask);
  }
  return true;
}

void MenuScreen::Leave() {
  background_.reset();
  incoming_.reset();
  Screen::Leave();
}

void MenuScreen::TakeInput() {
  const Application& app = *application;
  if (app.penDown) {
    highlightedId_ = 0;
    for (const MenuButton* button : buttons_) {
      if (button->enabled && button->Contains(app.penX, app.penY)) highlightedId_ = button->id;
    }
    for (const FrameHitArea& area : kFrameHitAreas) {
      if ((frameFlags_ & area.flag) && app.penX >= area.left && app.penX < area.right && app.penY >= area.top &&
          app.penY < area.bottom) {
        highlightedId_ = area.id;
      }
    }
  } else {
    // A button is clicked by lifting the stylus over it; the click lasts one tick.
    clickedId_ = highlightedId_;
    highlightedId_ = 0;
  }
  // Keys click once per key-down message: their state is cleared when taken.
  uint32_t* keys = application->keyState;
  if (frameFlags_ & FrameArrows) {
    const struct {
      uint8_t key;
      uint32_t id;
    } arrows[] = {{KeyLeft, ButtonPrevious}, {KeyUp, ButtonPrevious}, {KeyRight, ButtonNext}, {KeyDown, ButtonNext}};
    for (const auto& arrow : arrows) {
      if (keys[arrow.key] != 0) {
        clickedId_ = arrow.id;
        keys[arrow.key] = 0;
      }
    }
  }
  if ((frameFlags_ & FrameOk) && keys[KeyAction] != 0) {
    clickedId_ = ButtonOk;
    keys[KeyAction] = 0;
  }
}

Screen* MenuScreen::Update(uint32_t elapsedMs, fixed frameSeconds) {
  TakeInput();

  if (crossFadeMap_.Advance(elapsedMs) && crossFadeMap_.x == crossFadeMap_.x1) {
    background_ = std::move(incoming_);  // the cross-fade is complete
  }
  if (state_ == MenuState::FadingIn && fadeMap_.Advance(elapsedMs) && fadeMap_.x == fadeMap_.x1) {
    state_ = MenuState::Active;
  }
  if (live_ || state_ == MenuState::Active) {
    Screen* next = UpdateMenu(elapsedMs, frameSeconds);
    if (result_ == nullptr && next != nullptr) {
      result_ = next;
      state_ = MenuState::FadingOut;
      fadeMap_.Init(0, Milliseconds(kFadeMs), 0, IntToFixed(255));
    } else if (next != nullptr && next != QuitScreen) {
      delete next;  // the decision was taken already; later ones are not acted on
    }
  }
  if (state_ == MenuState::FadingOut && fadeMap_.Advance(elapsedMs) && fadeMap_.x == fadeMap_.x1) {
    state_ = MenuState::Done;
  }
  if (state_ != MenuState::Done) return nullptr;
  Screen* next = result_;
  result_ = nullptr;
  return next;
}

Screen* MenuScreen::UpdateMenu(uint32_t, fixed) { return nullptr; }

bool MenuScreen::Draw() {
  DepthSurface* surface = application->backSurface.get();
  if (surface == nullptr) return true;
  if (background_ != nullptr) {
    Blit(*surface, 0, 0, *background_, 0, 0, background_->width, background_->height);
  } else {
    surface->Clear(0);
  }
  const uint8_t opacity = CrossFadeOpacity();
  if (incoming_ != nullptr && (opacity & ~7u) != 0) {
    BlitBlend(*surface, 0, 0, *incoming_, 0, 0, incoming_->width, incoming_->height, opacity);
  }
  if (state_ == MenuState::Active || live_) DrawMenu();
  for (const MenuButton* button : buttons_) {
    DrawMasked(*surface, button->id == highlightedId_ ? button->highlighted : button->normal, button->x, button->y);
  }
  if (frameFlags_ & FrameShown) DrawFrame(*surface);
  if (state_ == MenuState::FadingIn || state_ == MenuState::FadingOut) {
    FillRect(*surface, 0, 0, 240, 320, 0, false, FadeDarkness());
  }
  return true;
}

void MenuScreen::DrawFrame(Surface& surface) const {
  const auto draw = [&](FramePicture picture) {
    DrawMasked(surface, framePictures_[picture], kFrameSources[picture].x, kFrameSources[picture].y);
  };
  draw(LeftBar);
  if (frameFlags_ & FrameArrows) {
    draw(highlightedId_ == ButtonNext ? ArrowsNext : highlightedId_ == ButtonPrevious ? ArrowsPrevious : Arrows);
  } else {
    draw(CornerPlain);
  }
  draw(BottomCentre);
  const bool ok = (frameFlags_ & FrameOk) != 0;
  const bool cancel = (frameFlags_ & FrameCancel) != 0;
  if (ok && cancel) {
    draw(highlightedId_ == ButtonOk ? OkCancelOkHighlighted
         : highlightedId_ == ButtonCancel ? OkCancelCancelHighlighted
                                          : OkCancel);
  } else if (ok) {
    draw(highlightedId_ == ButtonOk ? OkHighlighted : Ok);
  } else if (cancel) {
    draw(highlightedId_ == ButtonCancel ? CancelHighlighted : Cancel);
  } else {
    draw(CornerRightPlain);
  }
}

uint32_t MenuScreen::TakeClick() {
  const uint32_t clicked = clickedId_;
  clickedId_ = 0;
  return clicked;
}

void MenuScreen::AddButton(uint32_t id, uint32_t normalColour, uint32_t normalMask, uint32_t highlightedColour,
                           uint32_t highlightedMask, int16_t x, int16_t y) {
  auto* button = new MenuButton;
  button->id = id;
  button->x = x;
  button->y = y;
  LoadProgramPicture(button->normal, normalColour, normalMask);
  LoadProgramPicture(button->highlighted, highlightedColour, highlightedMask);
  if (!buttons_.Append(button)) delete button;
}

MenuButton* MenuScreen::FindButton(uint32_t id) const {
  for (MenuButton* button : buttons_) {
    if (button->id == id) return button;
  }
  return nullptr;
}

void MenuScreen::RemoveButton(uint32_t id) {
  for (uint16_t i = 0; i < buttons_.Count();) {
    if (buttons_[i]->id == id) {
      delete buttons_.RemoveAt(i);
    } else {
      ++i;
    }
  }
}

void MenuScreen::ClearButtons() { buttons_.DeleteAll(); }

bool MenuScreen::ShowPicture(uint32_t pictureId) {
  auto picture = std::make_unique<Surface>();
  if (!LoadProgramPicture(*picture, pictureId)) return false;
  SetBackground(std::move(picture));
  return true;
}

void MenuScreen::SetBackground(std::unique_ptr<Surface> background) {
  // No picture (a missing or broken one) fades to black: an empty surface would draw nothing
  // and leave the last picture showing.
  if (background == nullptr || !background->HasPixels()) {
    background = std::make_unique<Surface>();
    if (background->Create(240, 320)) background->Clear(0);
  }
  if (incoming_ != nullptr) {
    const uint8_t opacity = CrossFadeOpacity();
    if (background_ != nullptr) {
      // Freeze the half-finished cross-fade into the current picture.
      BlitBlend(*background_, 0, 0, *incoming_, 0, 0, incoming_->width, incoming_->height, opacity);
      incoming_.reset();
    } else {
      background_ = std::move(incoming_);
      FillRect(*background_, 0, 0, background_->width, background_->height, 0, false,
               static_cast<uint8_t>(255 - opacity));
    }
  }
  incoming_ = std::move(background);
  crossFadeMap_.Init(0, Milliseconds(kCrossFadeMs), 0, IntToFixed(255));
}

std::string MenuScreen::DescribeState() const {
  return std::string("\"menuState\":\"") + StateName(state_) + "\"";
}
