#include "menus/input_test_screen.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/application.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "menus/popup.h"
#include "menus/popup_tree.h"

namespace {

// The HUD's colours: dark translucent panels, green text, brighter green titles.
constexpr uint16_t kPanelColour = 0x2104;
constexpr uint16_t kTextColour = 0x47E8;
constexpr uint16_t kTitleColour = 0x87F0;
constexpr uint16_t kBackground = 0x0841;
constexpr uint16_t kPenColour = 0xFFE0;

const char* const kKeyNames[KeyCount] = {"Up", "Down", "Left", "Right", "Action",
                                         "App1", "App2", "App3", "App4", "App5"};

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

class InputTestScreen : public Screen {
 public:
  explicit InputTestScreen(Application* application)
      : Screen(application), regular_(FindFont(u"sysfontSqTiny")), bold_(FindFont(u"sysfontSqTinyBold")) {}

  Screen* Update(uint32_t elapsedMs, fixed frameSeconds) override {
    lastStepMs_ = elapsedMs;
    // The menu key opens the in-game menu over the echo, as a game would: a way to try the
    // popups and their options. Its YES to quitting ends the program.
    if (application->keyState[KeyApp4] != 0 && popup_ == nullptr) {
      application->keyState[KeyApp4] = 0;
      popup_.reset(CreateInGameMenu(application));
    }
    if (popup_ != nullptr) {
      const bool running = popup_->Update(elapsedMs, frameSeconds);
      if (const uint16_t result = popup_->Result()) lastPopupResult_ = result;
      if (!running) popup_.reset();
      if (lastPopupResult_ == PopupExit) return QuitScreen;
    }
    // The screenshot key is taken by the application; remember the last key the others saw.
    for (uint8_t key = 0; key < KeyCount; ++key) {
      if (application->keyState[key] != 0) lastKey_ = key;
    }
    if (application->penDown) {
      tapX_ = application->penX;
      tapY_ = application->penY;
    }
    return nullptr;
  }

  bool Draw() override {
    DepthSurface* surface = application->backSurface.get();
    if (surface == nullptr) return false;
    surface->Clear(kBackground);
    const int32_t width = surface->width;

    DrawPanel(*surface, 4, 4, width - 8, 38, kPanelColour, true, 200);
    Text(*surface, bold_, kTitleColour, "INPUT TEST", width / 2, 8, HorizontalAlign::Centre);
    Text(*surface, regular_, kTextColour, "sysfontSqTiny: The quick brown fox 0123456789", 8, 20);
    Text(*surface, bold_, kTextColour, "Bold: SCRAMBLE! Mission 42", 8, 30);

    DrawPanel(*surface, 4, 46, width - 8, 12 + 10 * KeyCount, kPanelColour, true, 200);
    for (uint8_t key = 0; key < KeyCount; ++key) {
      const uint32_t state = application->keyState[key];
      char line[64];
      if (state & kKeyHeld) {
        std::snprintf(line, sizeof line, "held %u ms", static_cast<unsigned>(state & ~kKeyHeld));
      } else {
        std::snprintf(line, sizeof line, "-");
      }
      const int32_t y = 52 + 10 * key;
      Text(*surface, bold_, key == lastKey_ ? kTitleColour : kTextColour, kKeyNames[key], 10, y);
      Text(*surface, regular_, kTextColour, line, 70, y);
    }

    const int32_t infoTop = 62 + 10 * KeyCount;
    DrawPanel(*surface, 4, infoTop, width - 8, 36, kPanelColour, true, 200);
    char line[96];
    std::snprintf(line, sizeof line, "pen %d, %d %s", application->penX, application->penY,
                  application->penDown ? "down" : "up");
    Text(*surface, regular_, kTextColour, line, 10, infoTop + 6);
    std::snprintf(line, sizeof line, "%u fps, step %u ms, mode %u, menu %u", application->framesPerSecond,
                  static_cast<unsigned>(lastStepMs_), static_cast<unsigned>(application->screenMode),
                  static_cast<unsigned>(lastPopupResult_));
    Text(*surface, regular_, kTextColour, line, 10, infoTop + 18);
    if (popup_ != nullptr) popup_->Draw(*surface);

    if (tapX_ >= 0 && tapY_ >= 0) {
      DrawLine(*surface, tapX_ - 4, tapY_, tapX_ + 4, tapY_, kPenColour);
      DrawLine(*surface, tapX_, tapY_ - 4, tapX_, tapY_ + 4, kPenColour);
    }
    return true;
  }

  const char* Name() const override { return "InputTest"; }
  std::string DescribeState() const override {
    std::string state = "\"popupResult\":" + std::to_string(lastPopupResult_);
    if (popup_ != nullptr) state += ",\"popupDepth\":" + std::to_string(popup_->Depth());
    return state;
  }

 private:
  static void Text(Surface& surface, const Font* font, uint16_t colour, const std::string& text, int32_t x,
                   int32_t y, HorizontalAlign align = HorizontalAlign::Left) {
    DrawText(surface, font, colour, Wide(text).c_str(), x, y, nullptr, align, VerticalAlign::Top);
  }

  const Font* regular_;
  const Font* bold_;
  uint32_t lastStepMs_ = 0;
  uint8_t lastKey_ = KeyCount;
  int32_t tapX_ = -1;
  int32_t tapY_ = -1;
  std::unique_ptr<Popup> popup_;
  uint16_t lastPopupResult_ = 0;
};

}  // namespace

Screen* CreateInputTestScreen(Application* application) { return new InputTestScreen(application); }
