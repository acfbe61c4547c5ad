// The spine of the program: the window and its messages, the display and the keys, the tick
// loop and the current screen.
//
// Three levels, each building on the one before, as on the handheld:
//   AppWindow        the window, its message handlers and the settings;
//   GapiApplication  the full-screen display, the back surface, the keys and the stylus;
//   Application      the current screen, the content, the tick.
// Everything runs on the main thread. The platform layer supplies the window, the frame memory,
// the messages and the clock.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "app/input_recorder.h"
#include "app/keys.h"
#include "app/screen_factory.h"
#include "app/settings.h"
#include "content/content_registry.h"
#include "core/fixed.h"
#include "gfx/surface.h"
#include "platform/platform.h"

class Screen;

// The folder content packs are read from, ending in '/'; set when the application starts.
const char16_t* ProgramDirectory();
// ProgramDirectory() followed by `name`, in one shared buffer valid until the next call.
const char16_t* ProgramPath(const char16_t* name);

class AppWindow {
 public:
  AppWindow(Platform* platform, std::string settingsPath);
  virtual ~AppWindow();
  AppWindow(const AppWindow&) = delete;
  AppWindow& operator=(const AppWindow&) = delete;

  // Claims the single running copy and opens the window; false when another copy runs (it has
  // been brought to the front) or the window cannot be made.
  virtual bool Create(const char16_t* className, const char16_t* title);
  virtual void Destroy() {}

  virtual void OnSetFocus() {}
  virtual void OnKillFocus() {}
  virtual void OnPenDown(int16_t, int16_t) {}
  virtual void OnPenUp(int16_t, int16_t) {}
  virtual void OnPenMove(int16_t, int16_t) {}
  virtual uint8_t OnKeyDown(uint16_t) { return KeyCount; }
  virtual uint8_t OnKeyUp(uint16_t) { return KeyCount; }
  // True: the window closes (and the program ends).
  virtual bool OnClose() { return true; }

  Platform& platform() const { return *platform_; }
  // Set when Create failed because another copy of the game runs.
  bool anotherCopyRuns() const { return anotherCopyRuns_; }

  std::unique_ptr<Settings> settings;

 protected:
  Platform* platform_;
  std::u16string className_;
  std::u16string title_;
  bool anotherCopyRuns_ = false;
};

class GapiApplication : public AppWindow {
 public:
  GapiApplication(Platform* platform, std::string settingsPath);
  ~GapiApplication() override;

  bool Create(const char16_t* className, const char16_t* title) override;
  void Destroy() override;
  void OnSetFocus() override;
  void OnKillFocus() override;
  void OnPenDown(int16_t x, int16_t y) override;
  void OnPenUp(int16_t x, int16_t y) override;
  void OnPenMove(int16_t x, int16_t y) override;
  // The logical key found (its state now held, 0 ms), or KeyCount.
  uint8_t OnKeyDown(uint16_t virtualKey) override;
  uint8_t OnKeyUp(uint16_t virtualKey) override;

  virtual bool OpenDisplay();
  // Gives the window the program's icon (a desktop shows it in the task bar).
  void ShowProgramIcon();
  virtual void CloseDisplay();
  // Replaces the back surface by one for the new mode (cleared to black, depths empty) and
  // clears every key state; nothing happens when the mode is already current.
  void SetScreenMode(uint32_t mode);
  // Copies the back surface into the display's frame memory, turned for landscape mode.
  void Present();

  virtual bool Update(uint32_t elapsedMs, fixed frameSeconds);
  virtual void Draw();

  bool active = false;  // true while the window has the focus
  DisplayProperties displayProperties;
  std::unique_ptr<DepthSurface> backSurface;
  uint32_t keyState[KeyCount] = {};
  uint32_t screenMode = ScreenModeNone;
  uint16_t framesPerSecond = 1;
  uint32_t tickTime = 0;  // milliseconds, the time of the current tick
  int16_t penX = 32767;   // back-surface coordinates; kept when the stylus lifts
  int16_t penY = 32767;
  uint32_t penDown = 0;
  int16_t stick[kStickAxes] = {};  // a game controller's sticks, -32767..32767 (StickAxis)
};

class Application : public GapiApplication, public ScriptHost {
 public:
  Application(Platform* platform, const ScreenFactory& screens, std::string settingsPath = Settings::DefaultPath());
  ~Application() override;

  // Loads the content and enters the intro. Always true.
  bool Init();
  // The two halves of Init, for a run that starts on another screen: every pack and definition,
  // then the first screen (owned from now on; null: none) entered.
  void LoadContent();
  void Start(Screen* first);
  // The current screen, if any, leaves.
  void Exit();
  // The message loop: runs until the window closes; returns the exit code.
  int Run();
  // One frame: false asks the program to close.
  bool Tick();

  bool Update(uint32_t elapsedMs, fixed frameSeconds) override;
  void Draw() override;

  // Writes the back surface to the next of the five screenshot files, in turn; silent on failure.
  void TakeScreenshot();
  // The flight recorder's file from now on (replacing an earlier one); false when it cannot
  // be written.
  bool OpenTrace(const std::string& path);

  Screen* currentScreen() const { return currentScreen_.get(); }
  ScreenFactory screens;
  ContentRegistry registry;  // every pack and definition, for the whole run
  // Where the game screen's flight recorder writes, or null: no recording. Owned.
  std::FILE* traceFile = nullptr;
  // Set by a screen that ends the program because it failed; Run returns it.
  int exitCode = 0;
  // Writes the run's input as a replayable script when opened (kestrel-run --record).
  InputRecorder inputRecorder;

  // ScriptHost
  std::string DescribeState() override;
  bool SaveScreenshotPng(const std::string& path) override;
  bool StartTrace(const std::string& path) override { return OpenTrace(path); }

 private:
  // Handles one platform message; true when it ended the message loop.
  bool Dispatch(const PlatformEvent& event);
  // The window's close: true when the program ends.
  bool HandleClose();

  std::unique_ptr<Screen> currentScreen_;
  uint32_t previousTickTime_ = 0;  // 0 at start, so the first tick sees the longest step
  bool closePosted_ = false;
  uint16_t screenshotNumber_ = 0;  // the next of the files 0..4
};
