#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <time.h>

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

#include "platform/key_mapping.h"
#include "platform/sdl/sdl_audio_output.h"
#include "platform/sdl/single_instance.h"

namespace {

constexpr int kDisplayWidth = 240;
constexpr int kDisplayHeight = 320;
constexpr int kLargestScale = 16;

// Desktop keys to device keys; the arrows are turned in landscape mode by the caller.
uint16_t DeviceKeyForKeyboard(SDL_Keycode key) {
  switch (key) {
    case SDLK_UP: return DeviceKey::Up;
    case SDLK_DOWN: return DeviceKey::Down;
    case SDLK_LEFT: return DeviceKey::Left;
    case SDLK_RIGHT: return DeviceKey::Right;
    case SDLK_RETURN: case SDLK_KP_ENTER: case SDLK_SPACE: case SDLK_LCTRL: case SDLK_RCTRL:
      return DeviceKey::Action;
    case SDLK_1: return DeviceKey::App1;
    case SDLK_2: case SDLK_q: return DeviceKey::App2;
    case SDLK_3: case SDLK_TAB: return DeviceKey::App3;
    case SDLK_4: case SDLK_ESCAPE: return DeviceKey::App4;
    case SDLK_5: case SDLK_F12: return DeviceKey::App5;
    default: return 0;
  }
}

// Alt+Enter and F11 switch between the window and the full screen; they are not game keys.
bool IsFullscreenToggle(const SDL_Keysym& key) {
  if (key.sym == SDLK_F11) return true;
  return (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT) != 0;
}

uint16_t DeviceKeyForControllerButton(uint8_t button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return DeviceKey::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return DeviceKey::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return DeviceKey::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return DeviceKey::Right;
    case SDL_CONTROLLER_BUTTON_A: return DeviceKey::Action;
    case SDL_CONTROLLER_BUTTON_B: return DeviceKey::App1;
    case SDL_CONTROLLER_BUTTON_X: return DeviceKey::App2;
    case SDL_CONTROLLER_BUTTON_Y: return DeviceKey::App3;
    case SDL_CONTROLLER_BUTTON_START: return DeviceKey::App4;
    case SDL_CONTROLLER_BUTTON_BACK: return DeviceKey::App5;
    default: return 0;
  }
}

class SdlPlatform : public Platform {
 public:
  explicit SdlPlatform(const SdlOptions& options)
      : options_(options),
        audio_(CreateSdlAudioOutput()),
        fullscreen_(options.fullscreen),
        frame_(kDisplayWidth * kDisplayHeight, 0) {}

  ~SdlPlatform() override {
    audio_->Close();
    CloseDisplay();
    for (auto& [id, controller] : controllers_) SDL_GameControllerClose(controller);
    SDL_Quit();
  }

  bool Start() { return SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS) == 0; }

  bool ClaimSingleInstance() override { return instance_.Claim(); }

  bool OpenDisplay(DisplayProperties* properties) override {
    scale_ = options_.scale > 0 ? options_.scale : LargestFittingScale();
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
    if (fullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow("Kestrel Run", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kDisplayWidth * scale_, kDisplayHeight * scale_, flags);
    if (window_ == nullptr) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) {
      CloseDisplay();
      return false;
    }
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);
    portrait_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kDisplayWidth,
                                  kDisplayHeight);
    landscapeTexture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                          kDisplayHeight, kDisplayWidth);
    if (portrait_ == nullptr || landscapeTexture_ == nullptr) {
      CloseDisplay();
      return false;
    }
    ApplyOrientation();
    properties->width = kDisplayWidth;
    properties->height = kDisplayHeight;
    properties->xStep = 2;
    properties->yStep = kDisplayWidth * 2;
    properties->bitsPerPixel = 16;
    properties->formatFlags = 0;
    return true;
  }

  void CloseDisplay() override {
    if (portrait_ != nullptr) SDL_DestroyTexture(portrait_);
    if (landscapeTexture_ != nullptr) SDL_DestroyTexture(landscapeTexture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    portrait_ = landscapeTexture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
  }

  uint8_t* BeginDraw() override {
    if (window_ == nullptr || suspended_) return nullptr;
    return reinterpret_cast<uint8_t*>(frame_.data());
  }

  void EndDraw() override { ShowFrame(); }

  void Suspend() override { suspended_ = true; }
  void Resume() override { suspended_ = false; }

  void SetWindowIcon(const uint16_t* pixels, int size) override {
    if (window_ == nullptr || pixels == nullptr || size <= 0) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint16_t*>(pixels), size, size, 16, size * 2,
                                                           SDL_PIXELFORMAT_ARGB4444);
    if (icon == nullptr) return;
    SDL_SetWindowIcon(window_, icon);  // SDL keeps its own copy
    SDL_FreeSurface(icon);
  }

  void SetLandscape(bool landscape) override {
    if (landscape == landscape_) return;
    landscape_ = landscape;
    ApplyOrientation();
  }

  // A new pass of the main loop: a stylus lift held back from the last one may come now.
  void BeginPass() override { penWentDown_ = false; }

  bool PollEvent(PlatformEvent* event) override {
    if (instance_.RaiseRequested() && window_ != nullptr) SDL_RaiseWindow(window_);
    SDL_Event sdlEvent;
    while (pending_.empty() && SDL_PollEvent(&sdlEvent)) Translate(sdlEvent);
    return TakePending(event);
  }

  void WaitEvent(PlatformEvent* event) override {
    penWentDown_ = false;  // no tick runs while the game waits: nothing to hold back for
    while (pending_.empty()) {
      if (instance_.RaiseRequested() && window_ != nullptr) SDL_RaiseWindow(window_);
      SDL_Event sdlEvent;
      // A timeout, so that a raise request from a second copy is seen while the game waits.
      if (SDL_WaitEventTimeout(&sdlEvent, 250)) Translate(sdlEvent);
    }
    TakePending(event);
  }

  // Milliseconds since the machine started, like the handheld's tick count.
  uint32_t Milliseconds() override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
  }

  AudioOutput* Audio() override { return audio_.get(); }

 private:
  int LargestFittingScale() const {
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 2;
    // Leave room for the window frame, and for the window to turn into landscape.
    const int fit = std::min((usable.w - 16) / kDisplayHeight, (usable.h - 48) / kDisplayHeight);
    return std::max(1, fit);
  }

  void ApplyOrientation() {
    if (window_ == nullptr) return;
    const int width = landscape_ ? kDisplayHeight : kDisplayWidth;
    const int height = landscape_ ? kDisplayWidth : kDisplayHeight;
    SDL_RenderSetLogicalSize(renderer_, width, height);
    if (!fullscreen_) SDL_SetWindowSize(window_, width * scale_, height * scale_);
  }

  void ToggleFullscreen() {
    if (window_ == nullptr) return;
    const bool fullscreen = !fullscreen_;
    if (SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    fullscreen_ = fullscreen;
    ApplyOrientation();  // back in a window: the remembered scale, not the desktop's size
    ReportWindow();
  }

  // A window the player resized shows the picture at the largest whole factor that fits it;
  // that factor becomes the window's scale. The window's size now counts, not the event's: a
  // resize queued before a switch back from the full screen would give the desktop's size.
  void NoteResize() {
    if (window_ == nullptr || fullscreen_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0) return;
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    const int fit = std::min(width / (landscape_ ? kDisplayHeight : kDisplayWidth),
                             height / (landscape_ ? kDisplayWidth : kDisplayHeight));
    const int scale = std::clamp(fit, 1, kLargestScale);
    if (scale == scale_) return;
    scale_ = scale;
    ReportWindow();
  }

  void ReportWindow() {
    if (options_.windowChanged) options_.windowChanged(scale_, fullscreen_);
  }

  // Copies the frame memory to the window as the player holds the device.
  void ShowFrame() {
    if (renderer_ == nullptr) return;
    SDL_Texture* texture = portrait_;
    if (landscape_) {
      // Window pixel (x, y) shows display pixel (y, 319 - x): the device turned a quarter
      // clockwise, its left edge on top.
      rotated_.resize(frame_.size());
      for (int y = 0; y < kDisplayWidth; ++y) {
        for (int x = 0; x < kDisplayHeight; ++x) rotated_[y * kDisplayHeight + x] = frame_[(kDisplayHeight - 1 - x) * kDisplayWidth + y];
      }
      SDL_UpdateTexture(landscapeTexture_, nullptr, rotated_.data(), kDisplayHeight * 2);
      texture = landscapeTexture_;
    } else {
      SDL_UpdateTexture(portrait_, nullptr, frame_.data(), kDisplayWidth * 2);
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

  void QueueKey(EventKind kind, uint32_t source, uint16_t deviceKey) {
    PlatformEvent event{kind};
    if (kind == EventKind::KeyDown) {
      event.virtualKey = landscape_ ? TurnArrowKeyForLandscape(deviceKey) : deviceKey;
      heldKeys_[source] = event.virtualKey;
    } else {
      // Release the device key that was pressed, even if the orientation changed meanwhile. A
      // key that went down as something else (Enter of Alt+Enter) was never pressed for the game.
      auto held = heldKeys_.find(source);
      if (held == heldKeys_.end()) return;
      event.virtualKey = held->second;
      heldKeys_.erase(held);
    }
    pending_.push_back(event);
  }

  // Pointer position in picture pixels (SDL reports them so with a logical size) to display
  // pixels; false on the black bars around the picture.
  bool PointerToDisplay(int x, int y, PlatformEvent* event) const {
    const int width = landscape_ ? kDisplayHeight : kDisplayWidth;
    const int height = landscape_ ? kDisplayWidth : kDisplayHeight;
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    int32_t displayX = 0, displayY = 0;
    PictureToDisplay(landscape_, kDisplayHeight, x, y, &displayX, &displayY);
    event->x = static_cast<int16_t>(displayX);
    event->y = static_cast<int16_t>(displayY);
    return true;
  }

  void Translate(const SDL_Event& e) {
    switch (e.type) {
      case SDL_QUIT:
        pending_.push_back(PlatformEvent{EventKind::CloseRequested});
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) pending_.push_back(PlatformEvent{EventKind::FocusGained});
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) pending_.push_back(PlatformEvent{EventKind::FocusLost});
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) ShowFrame();  // the game may be paused
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) NoteResize();
        break;
      case SDL_KEYDOWN:
        if (IsFullscreenToggle(e.key.keysym)) {
          if (e.key.repeat == 0) ToggleFullscreen();
          break;
        }
        [[fallthrough]];
      case SDL_KEYUP: {
        const uint16_t key = DeviceKeyForKeyboard(e.key.keysym.sym);
        if (key != 0) QueueKey(e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp, e.key.keysym.scancode, key);
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        if (e.button.button != SDL_BUTTON_LEFT) break;
        PlatformEvent event{e.type == SDL_MOUSEBUTTONDOWN ? EventKind::PenDown : EventKind::PenUp};
        const bool inside = PointerToDisplay(e.button.x, e.button.y, &event);
        // A press must land on the picture; a release always lifts the stylus.
        if (inside || event.kind == EventKind::PenUp) pending_.push_back(event);
        break;
      }
      case SDL_MOUSEMOTION: {
        PlatformEvent event{EventKind::PenMove};
        if (PointerToDisplay(e.motion.x, e.motion.y, &event)) pending_.push_back(event);
        break;
      }
      case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* controller = SDL_GameControllerOpen(e.cdevice.which)) {
          controllers_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller))] = controller;
        }
        break;
      case SDL_CONTROLLERDEVICEREMOVED: {
        auto found = controllers_.find(e.cdevice.which);
        if (found != controllers_.end()) {
          SDL_GameControllerClose(found->second);
          controllers_.erase(found);
        }
        break;
      }
      case SDL_CONTROLLERBUTTONDOWN:
      case SDL_CONTROLLERBUTTONUP: {
        const uint16_t key = DeviceKeyForControllerButton(e.cbutton.button);
        // Controller buttons get their own sources, apart from keyboard scancodes.
        const uint32_t source = 0x10000u + e.cbutton.button;
        if (key != 0) QueueKey(e.type == SDL_CONTROLLERBUTTONDOWN ? EventKind::KeyDown : EventKind::KeyUp, source, key);
        break;
      }
      case SDL_CONTROLLERAXISMOTION:
        TranslateStick(e.caxis.axis, e.caxis.value);
        break;
      default:
        break;
    }
  }

  // Both sticks report their position; the game turns them into flight commands.
  void TranslateStick(uint8_t axis, int16_t value) {
    uint16_t stickAxis = kStickAxes;
    switch (axis) {
      case SDL_CONTROLLER_AXIS_LEFTX: stickAxis = StickLeftX; break;
      case SDL_CONTROLLER_AXIS_LEFTY: stickAxis = StickLeftY; break;
      case SDL_CONTROLLER_AXIS_RIGHTX: stickAxis = StickRightX; break;
      case SDL_CONTROLLER_AXIS_RIGHTY: stickAxis = StickRightY; break;
      default: return;
    }
    PlatformEvent event{EventKind::StickMove};
    event.virtualKey = stickAxis;
    event.x = value < -32767 ? -32767 : value;
    pending_.push_back(event);
  }

  bool TakePending(PlatformEvent* event) {
    if (pending_.empty()) return false;
    if (pending_.front().kind == EventKind::PenUp && penWentDown_) return false;
    *event = pending_.front();
    pending_.pop_front();
    if (event->kind == EventKind::PenDown) penWentDown_ = true;
    return true;
  }

  SdlOptions options_;
  SingleInstance instance_;
  std::unique_ptr<AudioOutput> audio_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* portrait_ = nullptr;
  SDL_Texture* landscapeTexture_ = nullptr;
  int scale_ = 1;
  bool fullscreen_ = false;
  bool landscape_ = false;
  bool suspended_ = false;
  std::vector<uint16_t> frame_;
  std::vector<uint16_t> rotated_;
  std::deque<PlatformEvent> pending_;
  std::map<uint32_t, uint16_t> heldKeys_;
  std::map<SDL_JoystickID, SDL_GameController*> controllers_;
  bool penWentDown_ = false;  // the stylus went down in this pass
};

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options) {
  auto platform = std::make_unique<SdlPlatform>(options);
  if (!platform->Start()) return nullptr;
  return platform;
}
