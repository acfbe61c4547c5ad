// The popup menus of the program: the title menu with its options tree, and the in-game menu.
// Each factory creates its popup, opens it (its widgets start sliding in) and returns it; the
// caller owns the root and deletes it once its Update reports that it stopped.
#pragma once

#include <cstdint>

class Application;
class Popup;

// Ids the popups report to the screens that hold them.
enum PopupId : uint16_t {
  PopupScramble = 100,
  PopupOptions = 120,
  PopupHelp = 130,
  PopupExit = 140,  // also YES in the quit popup
  PopupBack = 150,  // also NO in the quit popup
  PopupGraphics = 200,
  PopupSound = 210,
  PopupIntro = 220,
  PopupCredits = 230,
  PopupInterlaced = 300,
  PopupOrientation = 310,  // the item that opens the orientation popup, and its toggle
  PopupDrawDistance = 320,
  PopupImageQuality = 330,
  PopupMute = 340,
  PopupSkipIntro = 360,
  PopupQuit = 400,
};

Popup* CreateTitleMenu(Application* application);
Popup* CreateInGameMenu(Application* application);
