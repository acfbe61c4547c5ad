// The platform interface: everything the game needs from the machine it runs on.
//
// The game was made for a handheld with a 240 x 320 frame buffer, hardware keys and a stylus.
// A back-end (SDL2 for the desktop, headless for tests and scripted runs) supplies those as the
// handheld did: a 16-bit frame buffer described by six display properties, key messages in the
// device's virtual key codes, stylus positions in display pixels, focus changes and a wrapping
// millisecond clock. No back-end type crosses this interface.
//
// Callers: the application frame (src/app) only. All calls come from the main thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/audio_output.h"

// The six values the handheld's display library delivered, in its order.
struct DisplayProperties {
  int32_t width = 0;        // pixels
  int32_t height = 0;       // pixels
  int32_t xStep = 0;        // signed byte distance between horizontally adjacent pixels
  int32_t yStep = 0;        // signed byte distance between vertically adjacent pixels
  int32_t bitsPerPixel = 0;
  int32_t formatFlags = 0;
};

// The device's virtual key codes.
namespace DeviceKey {
constexpr uint16_t Left = 0x25;
constexpr uint16_t Up = 0x26;
constexpr uint16_t Right = 0x27;
constexpr uint16_t Down = 0x28;
constexpr uint16_t Action = 0x86;  // the direction pad's press
constexpr uint16_t App1 = 0xC1;
constexpr uint16_t App2 = 0xC2;  // next weapon in play
constexpr uint16_t App3 = 0xC3;  // map view
constexpr uint16_t App4 = 0xC4;  // in-game menu
constexpr uint16_t App5 = 0xC5;  // screenshot
}  // namespace DeviceKey

enum class EventKind : uint8_t {
  KeyDown,     // virtualKey; automatic repeats arrive as further key-downs
  KeyUp,       // virtualKey
  PenDown,     // x, y in display pixels
  PenUp,       // x, y
  PenMove,     // x, y; also while the stylus is up
  FocusGained,
  FocusLost,
  CloseRequested,  // the window's close button, or the end of a script
  StickMove,       // a game controller's stick: virtualKey the StickAxis, x the position
};

// The analogue axes of a game controller; positions run from -32767 (left, up) to 32767.
enum StickAxis : uint16_t { StickLeftX = 0, StickLeftY = 1, StickRightX = 2, StickRightY = 3, kStickAxes = 4 };

struct PlatformEvent {
  EventKind kind = EventKind::CloseRequested;
  uint16_t virtualKey = 0;
  int16_t x = 0;
  int16_t y = 0;
};

// What a scripted run asks of the game: implemented by the application frame.
class ScriptHost {
 public:
  virtual ~ScriptHost() = default;
  // One line of JSON describing the current screen and, in a mission, the chopper and goals.
  virtual std::string DescribeState() = 0;
  // Writes the back surface (what the player sees, in its current orientation) as PNG.
  virtual bool SaveScreenshotPng(const std::string& path) = 0;
  // From now on the flight recorder writes its lines (one per world update) to `path`,
  // replacing any file it wrote to before. False when the file cannot be written.
  virtual bool StartTrace(const std::string& path) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // At most one copy of the game runs: false when another copy already does (it has then been
  // asked to bring its window to the front, and this copy should end).
  virtual bool ClaimSingleInstance() = 0;

  // --- Display -------------------------------------------------------------------------------
  // Opens the full-screen frame buffer; false when there is no display to open.
  virtual bool OpenDisplay(DisplayProperties* properties) = 0;
  virtual void CloseDisplay() = 0;
  // The frame memory to write one frame into, or null while the display is suspended (the frame
  // is then dropped). Every BeginDraw that returned memory is followed by one EndDraw, which
  // shows the frame.
  virtual uint8_t* BeginDraw() = 0;
  virtual void EndDraw() = 0;
  // Called when the game loses and regains the focus.
  virtual void Suspend() = 0;
  virtual void Resume() = 0;
  // The player holds the device turned a quarter clockwise while the game runs in landscape
  // mode: a desktop back-end turns its window, its arrow keys and its pointer to match.
  virtual void SetLandscape(bool landscape) = 0;
  // The program's icon for the window and the task bar: `size` x `size` ARGB4444 pixels, rows
  // top to bottom. Back-ends without a window ignore it.
  virtual void SetWindowIcon(const uint16_t* pixels, int size) {
    (void)pixels;
    (void)size;
  }

  // --- Messages and time ---------------------------------------------------------------------
  // Called by the main loop before it takes the messages of each pass while the game runs.
  virtual void BeginPass() = 0;
  // Takes one waiting message without blocking; false when none is waiting.
  virtual bool PollEvent(PlatformEvent* event) = 0;
  // Blocks until a message arrives (used while the game has no focus).
  virtual void WaitEvent(PlatformEvent* event) = 0;
  // Milliseconds since some fixed moment, 32-bit, wrapping.
  virtual uint32_t Milliseconds() = 0;

  // --- Sound ---------------------------------------------------------------------------------
  // The audio output stream; it stays valid for the life of the platform. Opening it may still
  // fail (no sound device), and then the game runs silently.
  virtual AudioOutput* Audio() = 0;

  // Scripted runs describe the game through this host; other back-ends ignore it.
  virtual void SetScriptHost(ScriptHost* host) { (void)host; }
  // Non-zero when a scripted run failed (for example a screenshot could not be written).
  virtual int ExitStatus() const { return 0; }
};
