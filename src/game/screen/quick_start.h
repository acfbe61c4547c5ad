// Straight into a mission from the command line, for players and tests: the mission, the
// helicopter and its weapons by name, armed exactly as the loadout screen would hand them over.
#pragma once

#include <string>
#include <vector>

class Application;
class GameScreen;

struct QuickStartChoice {
  std::string mission;
  std::string chopper;               // empty: the first helicopter
  std::vector<std::string> weapons;  // one load of each, in order
};

// The game screen for the choice (not yet entered), or null with a message naming what is
// unknown. Names are matched ignoring case. Needs the application's content loaded.
GameScreen* CreateQuickStartScreen(Application* application, const QuickStartChoice& choice, std::string* error);
