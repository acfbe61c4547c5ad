// One full-screen state of the program: the intro, a menu, the mission itself.
//
// The application holds exactly one current screen. Every frame it calls Update and then, if
// the frame goes on, Draw. Update returns what comes next: nullptr to stay, a newly created
// screen to switch to it, or QuitScreen to end the program. The application then calls Leave on
// this screen, deletes it and calls Enter on the successor, all in the same tick; there is no
// stack of screens.
#pragma once

#include <cstdint>
#include <string>

#include "core/fixed.h"

class Application;

class Screen {
 public:
  explicit Screen(Application* application) : application(application) {}
  virtual ~Screen() = default;
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // Once, when the screen becomes current (its result is not acted on).
  virtual bool Enter() { return true; }
  // Once, before the screen is deleted or when the program ends.
  virtual void Leave() {}
  // The successor (created with new and owned by the caller from then on), nullptr, or QuitScreen.
  virtual Screen* Update(uint32_t elapsedMs, fixed frameSeconds);
  // True to present the back surface this frame.
  virtual bool Draw() { return false; }

  // For scripted runs: the screen's name, and further "key": value pairs of JSON describing its
  // state (without braces; empty when there is nothing to add).
  virtual const char* Name() const = 0;
  virtual std::string DescribeState() const { return {}; }

 protected:
  Application* application;
};

// The value of Update that ends the program. Never dereferenced or deleted.
extern Screen* const QuitScreen;
