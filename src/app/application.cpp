#include "app/application.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "app/screen.h"
#include "content/pictures.h"
#include "core/wide_string.h"
#include "gfx/jpeg.h"
#include "gfx/png.h"
#include "platform/files.h"
#include "platform/program_icon.h"

namespace {

constexpr uint32_t kLongestStepMs = 200;
constexpr uint16_t kScreenshotFiles = 5;

// Process-wide by design: packs and files are found relative to it from everywhere.
std::u16string gProgramDirectory;
std::u16string gProgramPath;

}  // namespace

const char16_t* ProgramDirectory() { return gProgramDirectory.c_str(); }

const char16_t* ProgramPath(const char16_t* name) {
  gProgramPath = gProgramDirectory;
  if (name != nullptr) gProgramPath += name;
  return gProgramPath.c_str();
}

// --- AppWindow -------------------------------------------------------------------------------

AppWindow::AppWindow(Platform* platform, std::string settingsPath)
    : settings(std::make_unique<Settings>(std::move(settingsPath))), platform_(platform) {
  gProgramDirectory = WideFromUtf8(ContentDirectory());
}

AppWindow::~AppWindow() = default;

bool AppWindow::Create(const char16_t* className, const char16_t* title) {
  className_ = className;
  title_ = title;
  anotherCopyRuns_ = !platform_->ClaimSingleInstance();
  return !anotherCopyRuns_;
}

// --- GapiApplication -------------------------------------------------------------------------

GapiApplication::GapiApplication(Platform* platform, std::string settingsPath)
    : AppWindow(platform, std::move(settingsPath)) {}

GapiApplication::~GapiApplication() = default;

bool GapiApplication::Create(const char16_t* className, const char16_t* title) {
  return AppWindow::Create(className, title) && OpenDisplay();
}

void GapiApplication::Destroy() {
  CloseDisplay();
  AppWindow::Destroy();
}

void GapiApplication::OnSetFocus() {
  active = true;
  platform_->Resume();
}

void GapiApplication::OnKillFocus() {
  active = false;
  platform_->Suspend();
}

bool GapiApplication::OpenDisplay() {
  if (!platform_->OpenDisplay(&displayProperties)) return false;
  ShowProgramIcon();
  SetScreenMode(ScreenModePortrait);
  return true;
}

void GapiApplication::ShowProgramIcon() {
  Surface icon;
  if (!LoadProgramPicture(icon, kProgramIconPicture, kProgramIconMask) || icon.width != icon.height) return;
  std::vector<uint16_t> pixels;
  pixels.reserve(static_cast<size_t>(icon.width) * icon.height);
  for (uint32_t y = 0; y < icon.height; ++y) pixels.insert(pixels.end(), icon.Row(y), icon.Row(y) + icon.width);
  platform_->SetWindowIcon(pixels.data(), static_cast<int>(icon.width));
}

void GapiApplication::CloseDisplay() {
  platform_->CloseDisplay();
  backSurface.reset();
}

void GapiApplication::SetScreenMode(uint32_t mode) {
  if (mode == screenMode) return;
  backSurface.reset();
  screenMode = mode;
  if (mode != ScreenModeNone) {
    const bool landscape = mode == ScreenModeLandscape;
    const uint32_t width = static_cast<uint32_t>(landscape ? displayProperties.height : displayProperties.width);
    const uint32_t height = static_cast<uint32_t>(landscape ? displayProperties.width : displayProperties.height);
    auto surface = std::make_unique<DepthSurface>();
    if (surface->Create(width, height)) {
      surface->Clear(0);
      surface->ClearDepth();
      backSurface = std::move(surface);
    }
    platform_->SetLandscape(landscape);
  }
  for (uint32_t& state : keyState) state = 0;
}

void GapiApplication::Present() {
  if (backSurface == nullptr || screenMode == ScreenModeNone) return;
  uint8_t* frame = platform_->BeginDraw();
  if (frame == nullptr) return;  // suspended: the frame is dropped
  const int64_t xStep = displayProperties.xStep;
  const int64_t yStep = displayProperties.yStep;
  const DepthSurface& surface = *backSurface;
  const uint32_t width = surface.width & ~1u;  // pixels go out in pairs
  // Portrait: pixel (x, y) to frame + x * xStep + y * yStep. Landscape: surface rows become
  // display columns, left to right, and surface x runs up from the bottom display row.
  const bool landscape = screenMode == ScreenModeLandscape;
  const int64_t stepAlongRow = landscape ? -yStep : xStep;
  const int64_t stepPerRow = landscape ? xStep : yStep;
  const int64_t rowStart = landscape ? (static_cast<int64_t>(surface.width) - 1) * yStep : 0;
  for (uint32_t y = 0; y < surface.height; ++y) {
    const uint16_t* source = surface.Row(y);
    uint8_t* target = frame + rowStart + static_cast<int64_t>(y) * stepPerRow;
    for (uint32_t x = 0; x < width; x += 2) {
      uint32_t pair;
      std::memcpy(&pair, source + x, sizeof pair);
      const uint16_t left = static_cast<uint16_t>(pair);
      const uint16_t right = static_cast<uint16_t>(pair >> 16);
      std::memcpy(target, &left, sizeof left);
      std::memcpy(target + stepAlongRow, &right, sizeof right);
      target += 2 * stepAlongRow;
    }
  }
  platform_->EndDraw();
}

uint8_t GapiApplication::OnKeyDown(uint16_t virtualKey) {
  const uint8_t index = KeyIndexForDeviceKey(screenMode, virtualKey);
  if (index < KeyCount) keyState[index] = kKeyHeld;  // every key-down restarts the hold time
  return index;
}

uint8_t GapiApplication::OnKeyUp(uint16_t virtualKey) {
  const uint8_t index = KeyIndexForDeviceKey(screenMode, virtualKey);
  if (index < KeyCount) keyState[index] = 0;
  return index;
}

void GapiApplication::OnPenDown(int16_t x, int16_t y) {
  penDown = 1;
  OnPenMove(x, y);
}

void GapiApplication::OnPenUp(int16_t, int16_t) { penDown = 0; }

void GapiApplication::OnPenMove(int16_t x, int16_t y) {
  if (screenMode == ScreenModePortrait) {
    penX = x;
    penY = y;
  } else if (screenMode == ScreenModeLandscape) {
    penX = static_cast<int16_t>(displayProperties.height - 1 - y);
    penY = x;
  }
}

bool GapiApplication::Update(uint32_t, fixed) { return true; }

void GapiApplication::Draw() { Present(); }

// --- Application -----------------------------------------------------------------------------

Application::Application(Platform* platform, const ScreenFactory& screenFactory, std::string settingsPath)
    : GapiApplication(platform, std::move(settingsPath)), screens(screenFactory) {
  settings->Load();
  platform_->SetScriptHost(this);
}

Application::~Application() {
  platform_->SetScriptHost(nullptr);
  currentScreen_.reset();
  if (traceFile != nullptr) std::fclose(traceFile);
}

bool Application::OpenTrace(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  if (traceFile != nullptr) std::fclose(traceFile);
  traceFile = file;
  return true;
}

bool Application::Init() {
  LoadContent();
  Start(screens.CreateIntroScreen(this));
  return true;
}

void Application::LoadContent() {
  // Missing content shows up in the screens, not here.
  registry.Load(ProgramDirectory(), WideFromUtf8(UserPackDirectory()).c_str());
}

void Application::Start(Screen* first) {
  currentScreen_.reset(first);
  if (currentScreen_ != nullptr) currentScreen_->Enter();
}

void Application::Exit() {
  if (currentScreen_ != nullptr) currentScreen_->Leave();
}

int Application::Run() {
  bool quit = false;
  while (!quit) {
    PlatformEvent event;
    if (active) {
      platform_->BeginPass();
      if (closePosted_) {
        closePosted_ = false;
        quit = HandleClose();
      }
      while (platform_->PollEvent(&event)) quit = Dispatch(event) || quit;
      // The pass that ends the loop still runs its tick, as the handheld's loop did.
      if (!Tick()) closePosted_ = true;
    } else {
      platform_->WaitEvent(&event);
      quit = Dispatch(event);
    }
  }
  return exitCode != 0 ? exitCode : platform_->ExitStatus();
}

bool Application::Dispatch(const PlatformEvent& event) {
  switch (event.kind) {
    case EventKind::KeyDown:
      inputRecorder.Key(true, OnKeyDown(event.virtualKey));
      break;
    case EventKind::KeyUp:
      inputRecorder.Key(false, OnKeyUp(event.virtualKey));
      break;
    case EventKind::PenDown:
      OnPenDown(event.x, event.y);
      inputRecorder.PenDown(penX, penY);
      break;
    case EventKind::PenUp:
      OnPenUp(event.x, event.y);
      inputRecorder.PenUp();
      break;
    case EventKind::PenMove:
      OnPenMove(event.x, event.y);
      inputRecorder.PenMove(penX, penY);
      break;
    case EventKind::StickMove:
      if (event.virtualKey < kStickAxes) {
        stick[event.virtualKey] = event.x;
        inputRecorder.Stick(event.virtualKey, event.x);
      }
      break;
    case EventKind::FocusGained:
      OnSetFocus();
      break;
    case EventKind::FocusLost:
      OnKillFocus();
      break;
    case EventKind::CloseRequested:
      return HandleClose();
  }
  return false;
}

bool Application::HandleClose() { return OnClose(); }

bool Application::Tick() {
  const uint32_t now = platform_->Milliseconds();
  tickTime = now;
  uint32_t elapsed = now - previousTickTime_;
  if (elapsed > kLongestStepMs) {
    elapsed = kLongestStepMs;
  } else if (elapsed == 0) {
    return true;  // the clock has not moved: skip this frame
  }
  // Frames per second as fixed (1000 * 2^32 / (elapsed * 2^16)), and seconds per frame from it.
  const fixed fps = static_cast<fixed>((int64_t{1000} << 32) / (static_cast<int64_t>(elapsed) << 16));
  const fixed frameSeconds = static_cast<fixed>((int64_t{1} << 32) / fps);
  framesPerSecond = static_cast<uint16_t>(fps >> 16);
  for (uint32_t& state : keyState) {
    if (state & kKeyHeld) state += elapsed;
  }
  inputRecorder.Tick(now, elapsed);
  const bool result = Update(elapsed, frameSeconds);
  if (result) Draw();
  previousTickTime_ = now;
  return result;
}

bool Application::Update(uint32_t elapsedMs, fixed frameSeconds) {
  bool result = true;
  if (currentScreen_ != nullptr) {
    Screen* next = currentScreen_->Update(elapsedMs, frameSeconds);
    if (next != nullptr) {
      currentScreen_->Leave();
      currentScreen_.reset();
      if (next == QuitScreen) {
        result = false;
      } else {
        currentScreen_.reset(next);
        currentScreen_->Enter();
      }
    }
  }
  if (keyState[KeyApp5] != 0) {
    TakeScreenshot();
    keyState[KeyApp5] = 0;
  }
  return result;
}

void Application::Draw() {
  if (currentScreen_ != nullptr && currentScreen_->Draw()) Present();
}

void Application::TakeScreenshot() {
  char name[32];
  std::snprintf(name, sizeof name, "/KestrelRun%u.jpg", static_cast<unsigned>(screenshotNumber_));
  screenshotNumber_ = static_cast<uint16_t>((screenshotNumber_ + 1) % kScreenshotFiles);
  if (backSurface == nullptr) return;
  // A documents folder that the desktop names but that is not there yet is made, as the file
  // manager would; a screenshot that still cannot be written is reported and the game goes on.
  const std::string folder = DocumentsDirectory();
  const std::string path = folder + name;
  if (!MakeDirectories(folder) || !SaveJpeg(*backSurface, WideFromUtf8(path).c_str())) {
    std::fprintf(stderr, "kestrel-run: cannot write the screenshot %s\n", path.c_str());
  }
}

std::string Application::DescribeState() {
  std::string json = "{\"screen\":\"";
  json += currentScreen_ != nullptr ? currentScreen_->Name() : "none";
  json += "\",\"mode\":" + std::to_string(screenMode);
  if (currentScreen_ != nullptr) {
    const std::string extra = currentScreen_->DescribeState();
    if (!extra.empty()) json += "," + extra;
  }
  json += "}";
  return json;
}

bool Application::SaveScreenshotPng(const std::string& path) {
  return backSurface != nullptr && SavePng(*backSurface, WideFromUtf8(path).c_str());
}
